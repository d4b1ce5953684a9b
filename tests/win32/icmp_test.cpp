// The ping and traceroute modules over the real IP Helper and Winsock, on
// loopback. These run only where the test run is isolated in a network
// namespace of its own (PROBIX_ISOLATED), so that no lookup leaves the machine.
#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>

#include <iphlpapi.h>
#include <icmpapi.h>

#include <regex>

#include "app/win32/resource_module.h"
#include "base/utf8.h"
#include "base/win32/error_text.h"
#include "base/win32/system_clock.h"
#include "modules/icmp_ping.h"
#include "modules/tracert.h"
#include "modules/win32/icmp_api_win32.h"

namespace {

class IcmpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetEnvironmentVariableW(L"PROBIX_ISOLATED", nullptr, 0) == 0)
      GTEST_SKIP() << "needs an isolated network namespace (scripts/test as root)";
  }
  std::vector<std::string> Lines(const std::wstring& log) {
    std::vector<std::string> out;
    const std::string text = base::ToUtf8(log);
    size_t start = 0;
    for (size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
      out.push_back(text.substr(start, at - start));
    return out;
  }
  app::ResourceStrings strings;
  base::SystemClock clock;
  Diagnostic::ModuleContext context{&strings, &clock};
  Diagnostic::Win32IcmpApi api;
};

TEST_F(IcmpTest, LoopbackPingBlockLineByLine) {
  Diagnostic::ICMPPing ping(nullptr, context, api, L"127.0.0.1");
  ASSERT_TRUE(ping.Run()) << base::ToUtf8(ping.Log());
  const auto lines = Lines(ping.Log());
  ASSERT_EQ(lines.size(), 15u) << base::ToUtf8(ping.Log());  // 1 + 10 + empty + the statistics in 3 CR LF pieces
  EXPECT_TRUE(std::regex_match(lines[0], std::regex(R"(Pinging (\S+ \[)?127\.0\.0\.1\]? with 512 bytes of data:)")))
      << lines[0];
  for (int i = 1; i <= 10; ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(R"(Reply from 127\.0\.0\.1: bytes=512 time=\d+ms TTL=\d+)")))
        << lines[i];
  EXPECT_EQ(lines[11], "");
  EXPECT_EQ(lines[12], "Ping statistics for 127.0.0.1:");
  EXPECT_EQ(lines[13], "\r\tPackets: Sent = 10, Received = 10, Lost = 0 (0% loss),\nApproximate round trip times in milli-seconds:");
  EXPECT_EQ(lines[14].substr(0, 11), "\tMinimum = ");
  EXPECT_EQ(ping.Sent(), 10u);
  EXPECT_EQ(ping.Received(), 10u);
  EXPECT_LE(ping.Minimum(), ping.Average());
  EXPECT_LE(ping.Average(), ping.Maximum());
  EXPECT_GE(ping.EndTime(), ping.StartTime());
  EXPECT_GT(ping.StartTime(), 1600000000000ULL);  // milliseconds since 1970
}

TEST_F(IcmpTest, UnresolvableNameGivesOneLineWithTheResolverError) {
  Diagnostic::ICMPPing ping(nullptr, context, api, L"no-such-host.invalid");
  EXPECT_FALSE(ping.Run());
  EXPECT_EQ(ping.Sent(), 0u);
  const std::wstring expected = L"Could not find IP address for no-such-host.invalid: 0x00002af9 - " +
                                Diagnostic::ErrorTextFrom(base::SystemMessage(11001), 11001) + L"\r\n";
  EXPECT_EQ(ping.Log(), expected);
}

TEST_F(IcmpTest, LoopbackTraceIsOneHop) {
  Diagnostic::Tracert trace(nullptr, context, api, L"127.0.0.1");
  ASSERT_TRUE(trace.Run()) << base::ToUtf8(trace.Log());
  ASSERT_EQ(trace.Hops().size(), 1u);
  const auto lines = Lines(trace.Log());
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(R"(  1\t(<1ms|\d+ms)\t(<1ms|\d+ms)\t(<1ms|\d+ms)\t.*127\.0\.0\.1\]?)")))
      << lines[1];
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3], "Trace complete.");
}

TEST(IcmpBuffers, ReplyBufferHoldsRecordDataAndErrorRoom) {
  EXPECT_EQ(Diagnostic::Win32IcmpApi::ReplyBufferSize(512), sizeof(ICMP_ECHO_REPLY) + 512 + 8);
}

}  // namespace
