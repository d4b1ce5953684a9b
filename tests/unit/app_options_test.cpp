#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/command_line.h"
#include "app/service_config.h"

namespace {

TEST(Options, FirstOccurrenceRules) {
  const struct {
    const wchar_t* line;
    const wchar_t* name;
    bool present;
    const wchar_t* value;
  } cases[] = {
      {L"-l=user@voxtrel.test -t=1033", L"-l", true, L"user@voxtrel.test"},
      {L"-l=user@voxtrel.test -t=1033", L"-t", true, L"1033"},
      {L"x-l=abc", L"-l", false, L""},           // not at the start or after a space
      {L"-lx=abc", L"-l", false, L""},           // the name is followed by a letter
      {L"-l", L"-l", true, L""},                 // present without '=': empty value
      {L"-l -t=1049", L"-l", true, L""},
      {L"-l -t=1049", L"-t", true, L"1049"},
      {L"-l=a=b", L"-l", true, L"a=b"},          // only the first '=' separates
      {L"-l=", L"-l", true, L""},
      {L"x-l=abc -l=real", L"-l", false, L""},   // only the first occurrence is examined
      {L"a  -t=7", L"-t", true, L"7"},
      {L"", L"-l", false, L""},
      {L"-t=1033\t-l=x", L"-t", true, L"1033\t-l=x"},  // only a space ends a value
  };
  for (const auto& c : cases) {
    auto got = app::FindOption(c.line, c.name);
    EXPECT_EQ(got.has_value(), c.present) << c.line;
    if (got) {
      EXPECT_EQ(*got, c.value) << c.line;
    }
  }
}

TEST(Options, ReadOptionsFillsTheProcessTexts) {
  app::AppState state;
  app::ReadOptions(L"-l -t=1049", state);
  EXPECT_EQ(state.currentLogin, L"");
  EXPECT_EQ(state.languageOption, L"1049");

  app::AppState other;
  other.currentLogin = L"kept";
  app::ReadOptions(L"x-l=abc", other);  // absent option leaves the text alone
  EXPECT_EQ(other.currentLogin, L"kept");
}

TEST(RegistryText, StopsAtNulOrEndOfData) {
  const unsigned char terminated[] = {'a', 0, 'b', 0, 0, 0, 'z', 0};
  const unsigned char unterminated[] = {'a', 0, 'b', 0};
  const unsigned char odd[] = {'a', 0, 'b'};
  const unsigned char cyrillic[] = {0x1F, 0x04, 0x40, 0x04};
  EXPECT_EQ(app::TextFromRegistryData(terminated, sizeof terminated), L"ab");
  EXPECT_EQ(app::TextFromRegistryData(unterminated, sizeof unterminated), L"ab");
  EXPECT_EQ(app::TextFromRegistryData(odd, sizeof odd), L"a");
  EXPECT_EQ(app::TextFromRegistryData(cyrillic, sizeof cyrillic), L"\x41F\x440");
  EXPECT_EQ(app::TextFromRegistryData(nullptr, 0), L"");
}

TEST(ServiceConfig, DefaultsAndDeploymentStrings) {
  base::TableStrings strings{{10006, L"https://www.voxtrel.test/"},
                             {10007, L"sip.voxtrel.test"},
                             {10008, L"echotest@sip.voxtrel.test"}};
  const app::ServiceConfig c = app::MakeServiceConfig(strings);
  EXPECT_EQ(c.serviceHost, L"sip.voxtrel.test");
  EXPECT_EQ(c.echoTestAccount, L"echotest@sip.voxtrel.test");
  EXPECT_EQ(c.echoTestPassword, L"Tib4Welo");
  EXPECT_EQ(c.echoTestTarget, L"echotest_in");
  EXPECT_EQ(c.serviceWebAddress, L"https://www.voxtrel.test/");
  EXPECT_EQ(c.internetProbeHost, L"8.8.8.8");
}

TEST(ServiceConfig, HostOfTheWebAddress) {
  const std::pair<const wchar_t*, const wchar_t*> cases[] = {
      {L"https://www.voxtrel.test/", L"www.voxtrel.test"},
      {L"http://www.voxtrel.test", L"www.voxtrel.test"},
      {L"https://user:pw@www.voxtrel.test:8443/a/b?x#y", L"www.voxtrel.test"},
      {L"https://198.18.3.2/", L"198.18.3.2"},
      {L"https://[2001:db8::1]:443/", L"2001:db8::1"},
      {L"www.voxtrel.test", L"www.voxtrel.test"},  // already a host name
      {L"www.voxtrel.test/path", L"www.voxtrel.test"},
      {L"", L""},
  };
  for (const auto& [address, host] : cases) EXPECT_EQ(app::HostFromWebAddress(address), host) << address;
}

}  // namespace
