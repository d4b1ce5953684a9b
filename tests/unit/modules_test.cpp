#include <gtest/gtest.h>

#include "fakes.h"
#include "modules/icmp_ping.h"
#include "modules/tracert.h"

namespace {

using fakes::Echo;
using fakes::Ip;

class ModuleTest : public ::testing::Test {
 protected:
  base::ManualClock clock{1700000000000ULL};
  fakes::FakeIcmp icmp{&clock};
  Diagnostic::ModuleContext context{&fakes::Russian(), &clock};
  fakes::RecordingListener listener;  // a CheckWorkerListener is a fine ModuleListener stand-in below

  struct Forward : Diagnostic::ModuleListener {
    explicit Forward(fakes::RecordingListener* target) : to(target) {}
    fakes::RecordingListener* to;
    void OnMessage(const wchar_t* text, int show) override { to->OnMessage(text, show); }
  } forward{&listener};

  std::wstring LogOf(const std::vector<std::wstring>& lines) {
    std::wstring s;
    for (const auto& l : lines) s += l + L"\r\n";
    return s;
  }
};

TEST_F(ModuleTest, PingLinesAndStatistics) {
  icmp.names[L"198.18.3.2"] = Ip(198, 18, 3, 2);
  icmp.pingScript = {{true, 0}, {true, 5}, {true, 3}, {false}, {true, 2}, {true, 1}, {false}, {true, 4}, {false}, {true, 1}};
  Diagnostic::ICMPPing ping(&forward, context, icmp, L"198.18.3.2");
  EXPECT_TRUE(ping.Run());
  EXPECT_EQ(ping.Sent(), 10u);
  EXPECT_EQ(ping.Received(), 7u);
  EXPECT_EQ(ping.Lost(), 3u);
  EXPECT_EQ(ping.LossPercent(), 30u);
  EXPECT_EQ(ping.Minimum(), 0u);
  EXPECT_EQ(ping.Maximum(), 5u);
  EXPECT_EQ(ping.Total(), 16u);
  EXPECT_EQ(ping.Average(), 2u);
  EXPECT_EQ(ping.EndTime() - ping.StartTime(), 16u + 3 * 1000);

  std::vector<std::wstring> expected = {L"Pinging 198.18.3.2 with 512 bytes of data:"};
  const uint32_t rtts[] = {0, 5, 3, 0, 2, 1, 0, 4, 0, 1};
  const bool answered[] = {1, 1, 1, 0, 1, 1, 0, 1, 0, 1};
  for (int i = 0; i < 10; ++i)
    expected.push_back(answered[i] ? base::Format(L"Reply from 198.18.3.2: bytes=512 time=%dms TTL=64", rtts[i])
                                   : std::wstring(L"Request error: 0x00002b02 - Request timed out."));
  expected.push_back(L"");
  expected.push_back(
      L"Ping statistics for 198.18.3.2:\r\n\r\tPackets: Sent = 10, Received = 7, Lost = 3 (30% loss),\n"
      L"Approximate round trip times in milli-seconds:\r\n\tMinimum = 0ms, Maximum = 5ms, Average = 2ms");
  EXPECT_EQ(ping.Log(), LogOf(expected));
  for (const auto& l : listener.lines) EXPECT_EQ(l.show, 0);
  EXPECT_EQ(icmp.startups, 1);
  EXPECT_EQ(icmp.cleanups, 1);
}

TEST_F(ModuleTest, PingStatisticsOfThreeReplies) {
  icmp.names[L"h"] = Ip(198, 18, 0, 1);
  icmp.pingScript = {{true, 0}, {true, 5}, {true, 3}};
  Diagnostic::ICMPPing ping(nullptr, context, icmp, L"h", 3);  // no listener: still logs
  EXPECT_TRUE(ping.Run());
  EXPECT_EQ(ping.Minimum(), 0u);
  EXPECT_EQ(ping.Maximum(), 5u);
  EXPECT_EQ(ping.Total(), 8u);
  EXPECT_EQ(ping.Average(), 2u);
  EXPECT_NE(ping.Log().find(L"Minimum = 0ms, Maximum = 5ms, Average = 2ms\r\n"), std::wstring::npos);
}

TEST_F(ModuleTest, PingFailuresEndWithOneLine) {
  struct Case {
    const char* name;
    bool resolves, openFails, buffersFail;
    std::wstring log;
  } cases[] = {
      {"unresolvable", false, false, false,
       L"Could not find IP address for nowhere.test: 0x00002af9 - No such host is known. \r\n"},
      {"no handle", true, true, false,
       L"Pinging 198.18.0.1 with 512 bytes of data:\r\nUnable to open ICMP service: 0x00000005 - HRESULT 0x00000005\r\n"},
      {"no buffer", true, false, true,
       L"Pinging 198.18.0.1 with 512 bytes of data:\r\nFailed to allocate packet buffer: 0x00000008 - HRESULT 0x00000008\r\n"},
  };
  for (const auto& c : cases) {
    fakes::FakeIcmp api(&clock);
    if (c.resolves) api.names[L"nowhere.test"] = Ip(198, 18, 0, 1);
    api.openFails = c.openFails;
    api.buffersFail = c.buffersFail;
    Diagnostic::ICMPPing ping(nullptr, context, api, L"nowhere.test");
    EXPECT_FALSE(ping.Run()) << c.name;
    EXPECT_EQ(ping.Sent(), 0u) << c.name;
    EXPECT_EQ(ping.Log(), c.log) << c.name;
    EXPECT_EQ(api.releases, 1) << c.name;
    EXPECT_NE(ping.EndTime(), 0u);
  }
}

TEST_F(ModuleTest, PingShowsTheReverseNameOnlyWhenItDiffers) {
  icmp.names[L"198.18.3.2"] = Ip(198, 18, 3, 2);
  icmp.names[L"198.18.3.3"] = Ip(198, 18, 3, 3);
  icmp.reverse[Ip(198, 18, 3, 2)] = L"sip.voxtrel.test";
  icmp.reverse[Ip(198, 18, 3, 3)] = L"198.18.3.3";
  Diagnostic::ICMPPing named(nullptr, context, icmp, L"198.18.3.2", 1);
  named.Run();
  EXPECT_EQ(named.Log().substr(0, named.Log().find(L"\r\n")),
            L"Pinging sip.voxtrel.test [198.18.3.2] with 512 bytes of data:");
  Diagnostic::ICMPPing same(nullptr, context, icmp, L"198.18.3.3", 1);
  same.Run();
  EXPECT_EQ(same.Log().substr(0, same.Log().find(L"\r\n")), L"Pinging 198.18.3.3 with 512 bytes of data:");
}

TEST_F(ModuleTest, MissingStringGivesAnEmptyLine) {
  Diagnostic::ICMPPing module(&forward, Diagnostic::ModuleContext{&fakes::Russian(), &clock}, icmp, L"x");
  Diagnostic::ModuleMessage(&module, 1, 55555u, 7);
  EXPECT_EQ(module.Log(), L"\r\n");
  ASSERT_EQ(listener.lines.size(), 1u);
  EXPECT_EQ(listener.lines[0].text, L"");
  EXPECT_EQ(listener.lines[0].show, 1);
}

// A three-hop route: two routers, then the target.
class TraceTest : public ModuleTest {
 protected:
  static constexpr uint32_t kTarget = Ip(198, 18, 3, 2);
  void SetUp() override {
    icmp.names[L"sip.voxtrel.test"] = kTarget;
    icmp.reverse[Ip(198, 18, 1, 1)] = L"r1.lab.test";
    icmp.reverse[kTarget] = L"sip.voxtrel.test";
  }
};

TEST_F(TraceTest, LinesOfAReachedTarget) {
  icmp.hopScript[1] = {{true, 0, Ip(198, 18, 1, 1)}};
  icmp.hopScript[2] = {{false}, {true, 12, Ip(198, 18, 2, 2)}, {false}};  // only the second probe answers
  icmp.hopScript[3] = {{true, 80}, {true, 81}, {true, 83}};
  Diagnostic::Tracert trace(nullptr, context, icmp, L"sip.voxtrel.test");
  EXPECT_TRUE(trace.Run());
  EXPECT_EQ(trace.Log(),
            L"Tracing route to sip.voxtrel.test [198.18.3.2]:\r\n"
            L"  1\t<1ms\t<1ms\t<1ms\tr1.lab.test [198.18.1.1]\r\n"
            L"  2\t*\t12ms\t*\t198.18.2.2\r\n"
            L"  3\t80ms\t81ms\t83ms\tsip.voxtrel.test [198.18.3.2]\r\n"
            L"\r\n"
            L"Trace complete.\r\n");
  ASSERT_EQ(trace.Hops().size(), 3u);
  EXPECT_EQ(trace.Hops()[0].average, 0u);
  EXPECT_EQ(trace.Hops()[1].average, 12u);
  EXPECT_EQ(trace.Hops()[1].times[0], -1);
  EXPECT_EQ(trace.Hops()[1].name, L"198.18.2.2");  // no reverse name: the dotted text
  EXPECT_EQ(trace.Hops()[2].average, 81u);
  EXPECT_EQ(icmp.ttlsSent, (std::vector<uint8_t>{1, 1, 1, 2, 2, 2, 3, 3, 3}));
}

TEST_F(TraceTest, FirstAnsweringAddressNamesTheHop) {
  icmp.hopScript[1] = {{true, 2, Ip(198, 18, 1, 1)}, {true, 2, Ip(198, 18, 1, 9)}, {true, 2, kTarget}};
  icmp.hopScript[2] = {{true, 3}};
  Diagnostic::Tracert trace(nullptr, context, icmp, L"sip.voxtrel.test");
  EXPECT_TRUE(trace.Run());
  ASSERT_EQ(trace.Hops().size(), 2u);  // hop 1 answered from the target too, but its address is the first one
  EXPECT_EQ(trace.Hops()[0].address, Ip(198, 18, 1, 1));
}

TEST_F(TraceTest, TenSilentHopsEndTheTrace) {
  icmp.hopScript[1] = {{true, 1, Ip(198, 18, 1, 1)}};
  Diagnostic::Tracert trace(nullptr, context, icmp, L"sip.voxtrel.test");
  EXPECT_FALSE(trace.Run());
  EXPECT_EQ(trace.Hops().size(), 11u);
  EXPECT_NE(trace.Log().find(L" 11\t*\t*\t*\t-\r\n\r\nTrace complete.\r\n"), std::wstring::npos);
  EXPECT_EQ(trace.EndTime() - trace.StartTime(), 1u * 3 + 30000u);
}

TEST_F(TraceTest, TtlRunsOutAt254) {
  for (int ttl = 1; ttl < 255; ++ttl) icmp.hopScript[ttl] = {{true, 1, Ip(198, 19, ttl / 200, ttl % 200 + 1)}};
  Diagnostic::Tracert trace(nullptr, context, icmp, L"sip.voxtrel.test");
  EXPECT_FALSE(trace.Run());
  EXPECT_EQ(trace.Hops().size(), 254u);
  EXPECT_NE(trace.Log().find(L"Trace complete."), std::wstring::npos);
}

TEST_F(TraceTest, LongReverseNamesAreCutToTheField) {
  const std::wstring longName(300, L'n');
  icmp.reverse[kTarget] = longName;
  icmp.hopScript[1] = {{true, 1}};
  Diagnostic::Tracert trace(nullptr, context, icmp, L"sip.voxtrel.test");
  EXPECT_TRUE(trace.Run());
  EXPECT_EQ(trace.Hops()[0].name, std::wstring(127, L'n'));
  EXPECT_NE(trace.Log().find(longName + L" [198.18.3.2]"), std::wstring::npos);  // the line keeps it whole
}

TEST_F(TraceTest, FailuresBeforeTheLoopWriteNoCompletion) {
  fakes::FakeIcmp api(&clock);
  Diagnostic::Tracert unresolved(nullptr, context, api, L"nowhere.test");
  EXPECT_FALSE(unresolved.Run());
  EXPECT_EQ(unresolved.Log(), L"Could not find IP address for nowhere.test: 0x00002af9 - No such host is known. \r\n");

  api.names[L"h"] = Ip(198, 18, 0, 1);
  api.openFails = true;
  Diagnostic::Tracert noHandle(nullptr, context, api, L"h");
  EXPECT_FALSE(noHandle.Run());
  EXPECT_EQ(noHandle.Log(),
            L"Tracing route to 198.18.0.1:\r\nUnable to open ICMP service: 0x00000005 - HRESULT 0x00000005\r\n");
  EXPECT_TRUE(noHandle.Hops().empty());
}

}  // namespace
