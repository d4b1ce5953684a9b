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
#include "base/format.h"
#include "engine/check_worker.h"
#include "engine/module_factory.h"
#include "engine/result_text.h"
#include "engine/win32/worker_platform_win32.h"
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

namespace {

// The whole engine on its thread with the real modules, against loopback:
// the ping block of the result text, title to verdict.
class RecordingListener : public CheckWorkerListener {
 public:
  void OnMessage(const wchar_t* text, int) override { text_.AddLine(text); }
  void OnProgress(int) override {}
  void OnFinished() override { finished = true; }
  engine::ResultText text_;
  bool finished = false;
};

TEST_F(IcmpTest, EngineRunAgainstLoopbackGivesThePingBlock) {
  app::ServiceConfig config;
  config.serviceHost = L"127.0.0.1";
  config.serviceWebAddress = L"https://localhost/";
  config.internetProbeHost = L"127.0.0.1";
  engine::StandardModuleFactory factory(context, api);
  engine::Win32WorkerPlatform platform;
  RecordingListener listener;
  CheckWorker worker(&listener, &config, factory, platform, strings);
  ASSERT_TRUE(worker.Start());
  worker.Wait();
  ASSERT_TRUE(listener.finished);
  const auto lines = Lines(listener.text_.Text());
  const std::string title = base::ToUtf8(strings.Load(103));
  ASSERT_GE(lines.size(), 24u);
  EXPECT_EQ(lines[0], "CustomerId: En");
  EXPECT_EQ(lines[1], title);
  EXPECT_EQ(lines[2], "");
  std::string banner = base::ToUtf8(base::Format(strings.Load(1012), strings.Load(103)));
  ASSERT_EQ(banner.substr(banner.size() - 2), "\r\n");  // the banner's own line end, then the added one
  EXPECT_EQ(lines[3], banner.substr(0, banner.size() - 2));
  EXPECT_EQ(lines[4], "");
  EXPECT_TRUE(std::regex_match(lines[5], std::regex(R"(Pinging (\S+ \[)?127\.0\.0\.1\]? with 512 bytes of data:)")));
  for (int i = 6; i < 16; ++i)
    EXPECT_TRUE(std::regex_match(lines[i], std::regex(R"(Reply from 127\.0\.0\.1: bytes=512 time=\d+ms TTL=\d+)"))) << lines[i];
  EXPECT_EQ(lines[16], "");
  EXPECT_EQ(lines[17], "Ping statistics for 127.0.0.1:");
  EXPECT_TRUE(std::regex_match(lines[20], std::regex("-------- .+: \\d\\d:\\d\\d\\.\\d\\d\\d --------"))) << lines[20];
  EXPECT_EQ(lines[21], " - " + base::ToUtf8(strings.Load(1020)));
  EXPECT_EQ(lines[22], "");
  EXPECT_EQ(lines[23], base::ToUtf8(strings.Load(111)));  // the route check follows
  ASSERT_FALSE(worker.Results().empty());
  EXPECT_EQ(worker.Results()[0]->title, strings.Load(1019));
}

}  // namespace
