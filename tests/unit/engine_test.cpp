#include <gtest/gtest.h>

#include "engine/check_worker.h"
#include "engine/evaluators.h"
#include "engine/result_text.h"
#include "fakes.h"
#include "modules/icmp_ping.h"
#include "modules/tracert.h"

namespace {

using fakes::Echo;
using fakes::Ip;

constexpr uint32_t kService = Ip(198, 18, 3, 2);
constexpr uint32_t kWeb = Ip(198, 18, 3, 3);
constexpr uint32_t kInternet = Ip(198, 18, 9, 9);

// Ping and trace over one fake ICMP world; audio and SIP as fixed outcomes.
class FakeFactory : public engine::ModuleFactory {
 public:
  FakeFactory(const Diagnostic::ModuleContext& context, fakes::FakeIcmp& icmp) : m_context(context), m_icmp(icmp) {}
  bool audioOk = true, sipTcpOk = true, sipUdpOk = true, sipCallOk = true;
  bool withAudioAndSip = true;
  std::vector<std::wstring> made;
  std::function<void()> onCallRun;

  std::shared_ptr<Diagnostic::Module> MakePing(Diagnostic::ModuleListener* l, const std::wstring& host) override {
    made.push_back(L"ping " + host);
    return std::make_shared<Diagnostic::ICMPPing>(l, m_context, m_icmp, host);
  }
  std::shared_ptr<Diagnostic::Module> MakeTracert(Diagnostic::ModuleListener* l, const std::wstring& host) override {
    made.push_back(L"trace " + host);
    return std::make_shared<Diagnostic::Tracert>(l, m_context, m_icmp, host);
  }
  std::shared_ptr<Diagnostic::Module> MakeAudio(Diagnostic::ModuleListener* l) override {
    if (!withAudioAndSip) return nullptr;
    made.push_back(L"audio");
    return std::make_shared<fakes::FakeModule>(l, m_context, L"Audio", audioOk,
                                               audioOk ? L"" : L" - no capture device");
  }
  std::shared_ptr<Diagnostic::Module> MakeSip(Diagnostic::ModuleListener* l, const engine::SipModuleParams& p) override {
    if (!withAudioAndSip) return nullptr;
    made.push_back(L"sip " + p.transport + (p.withCall ? L" call" : L""));
    const bool ok = p.withCall ? sipCallOk : p.transport == L"TCP" ? sipTcpOk : sipUdpOk;
    auto m = std::make_shared<fakes::FakeModule>(l, m_context, L"SIP " + p.transport + (p.withCall ? L" call" : L""), ok);
    if (p.withCall) m->onRun = [this] { if (onCallRun) onCallRun(); };
    return m;
  }

 private:
  Diagnostic::ModuleContext m_context;
  fakes::FakeIcmp& m_icmp;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    config.serviceHost = L"sip.voxtrel.test";
    config.serviceWebAddress = L"https://www.voxtrel.test/";
    config.internetProbeHost = L"198.18.9.9";
    icmp.names = {{L"sip.voxtrel.test", kService}, {L"www.voxtrel.test", kWeb}, {L"198.18.9.9", kInternet}};
    // A route of one router, then the service.
    icmp.hopScript[1] = {{true, 1, Ip(198, 18, 1, 1)}};
    icmp.hopScript[2] = {{true, 2}};
  }
  void AllPingsAnswer(int count = 10, uint32_t rtt = 20) {
    icmp.pingScript.clear();
    for (int i = 0; i < count; ++i) icmp.pingScript.push_back({true, rtt});
  }
  std::vector<std::wstring> Titles() const {
    std::vector<std::wstring> out;
    for (const auto& r : worker.Results()) out.push_back(r->title);
    return out;
  }
  std::vector<int> Grades() const {
    std::vector<int> out;
    for (const auto& r : worker.Results()) out.push_back(r->grade);
    return out;
  }
  std::wstring S(unsigned id) const { return fakes::Russian().Load(id); }

  base::ManualClock clock{1700000000000ULL};
  fakes::FakeIcmp icmp{&clock};
  Diagnostic::ModuleContext context{&fakes::Russian(), &clock};
  FakeFactory factory{context, icmp};
  fakes::FakeWorkerPlatform platform;
  fakes::RecordingListener listener;
  app::ServiceConfig config;
  CheckWorker worker{&listener, &config, factory, platform, fakes::Russian()};
};

TEST_F(EngineTest, ReachableServiceRunsTheGoodAudioPathWithItsProgress) {
  AllPingsAnswer();
  worker.Run();
  EXPECT_EQ(factory.made, (std::vector<std::wstring>{L"sip UDP call", L"sip UDP", L"sip TCP", L"audio",
                                                     L"trace sip.voxtrel.test", L"ping 198.18.9.9",
                                                     L"ping www.voxtrel.test", L"ping sip.voxtrel.test"}));
  EXPECT_EQ(listener.progress, (std::vector<int>{12, 30, 47, 73, 100}));
  EXPECT_EQ(listener.Shown(),
            (std::vector<std::wstring>{S(103), L" - " + S(1020) + L"\r\n", S(111), L" - " + S(1020) + L"\r\n", L"Audio",
                                       L" - " + S(1020) + L"\r\n", L"SIP TCP", L" - " + S(1020) + L"\r\n", L"SIP UDP call",
                                       L" - " + S(1020) + L"\r\n"}));
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1019), L"Audio", L"SIP TCP", L"SIP UDP call"}));
  EXPECT_EQ(worker.Results()[0]->value, L"20ms");
  EXPECT_EQ(engine::OverallGrade(worker.Results()), GradeExcellent);
  EXPECT_EQ(platform.inits, 1);
  EXPECT_EQ(platform.uninits, 1);
}

TEST_F(EngineTest, BadAudioTestsUdpSignallingBeforeTheCall) {
  AllPingsAnswer();
  factory.audioOk = false;
  worker.Run();
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1019), L"Audio", L"SIP TCP", L"SIP UDP", L"SIP UDP call"}));
  EXPECT_EQ(worker.Results()[1]->recommendation, L" - no capture device\r\n");  // the module's log
  EXPECT_EQ(listener.progress.back(), 100);
  EXPECT_EQ(engine::OverallGrade(worker.Results()), GradeSatisfactory);
}

TEST_F(EngineTest, UnreachableServiceWithResolvableWebHostGoesOnToTheRoute) {
  // Service and web host resolve; the service never answers, the web host does.
  icmp.pingScript.assign(10, Echo{false});
  for (int i = 0; i < 10; ++i) icmp.pingScript.push_back({true, 30});
  worker.Run();
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1016), L"Audio", L"SIP TCP", L"SIP UDP call"}));
  EXPECT_EQ(worker.Results()[0]->value, L"sip.voxtrel.test");
  EXPECT_EQ(listener.Shown()[2], S(103));  // DNS ping ran second
  EXPECT_EQ(listener.Shown()[4], S(111));
}

TEST_F(EngineTest, NoNetworkEndsAfterTheInternetPing) {
  icmp.names.clear();  // nothing resolves...
  icmp.names[L"198.18.9.9"] = kInternet;
  icmp.pingScript.assign(10, Echo{false});  // ...and the probe host is silent
  worker.Run();
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1015), S(1023), S(1022)}));
  EXPECT_EQ(Grades(), (std::vector<int>{3, 3, 3}));
  EXPECT_EQ(worker.Results()[0]->recommendation, base::Format(S(1044), L"sip.voxtrel.test"));
  EXPECT_EQ(worker.Results()[1]->recommendation, S(1038));
  EXPECT_EQ(worker.Results()[2]->recommendation, S(1037));
  // Each step takes its share of the longest path still ahead, so a path that
  // ends early ends below 100 (the result screen follows at once).
  EXPECT_EQ(listener.progress, (std::vector<int>{12, 25, 37}));
  EXPECT_EQ(engine::OverallGrade(worker.Results()), GradeError);
}

TEST_F(EngineTest, StopDuringTheServicePingListsThePassBranchAsCancelled) {
  AllPingsAnswer();
  icmp.onFirstSend = [this] { worker.Stop(); };
  worker.Run();
  // Route delays are not listed; audio, SIP TCP (good-audio node) and the call are.
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1019), S(1068), S(1030), S(1061)}));
  EXPECT_EQ(Grades(), (std::vector<int>{0, 4, 4, 4}));
  EXPECT_EQ(listener.progress, std::vector<int>{12});
  EXPECT_EQ(engine::OverallGrade(worker.Results()), GradeExcellent);
}

TEST_F(EngineTest, StopDuringTheLastCheckListsNothing) {
  AllPingsAnswer();
  factory.onCallRun = [this] { worker.Stop(); };
  worker.Run();
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1019), L"Audio", L"SIP TCP", L"SIP UDP call"}));
}

TEST_F(EngineTest, WithoutAudioAndSipTheTreeEndsAfterTheRoute) {
  AllPingsAnswer();
  factory.withAudioAndSip = false;
  worker.Run();
  EXPECT_EQ(listener.progress, (std::vector<int>{25, 100}));  // the DNS branch is still the longest
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1019)}));
}

TEST_F(EngineTest, ResultTextOfOneCheckFrame) {
  AllPingsAnswer(10, 0);
  factory.withAudioAndSip = false;
  icmp.hopScript = {{1, {{true, 0}}}};
  worker.Run();
  engine::ResultText text;
  for (const auto& l : listener.lines) text.AddLine(l.null ? nullptr : l.text.c_str());
  text.AppendGrade(fakes::Russian(), engine::OverallGrade(worker.Results()));
  std::wstring expected = L"CustomerId: En\r\n" + S(103) + L"\r\n\r\n-------- " + S(1012).substr(9, 5) +
                          L" \"" + S(103) + L"\" --------\r\n\r\nPinging 198.18.3.2 with 512 bytes of data:\r\n";
  for (int i = 0; i < 10; ++i) expected += L"Reply from 198.18.3.2: bytes=512 time=0ms TTL=64\r\n";
  expected += L"\r\nPing statistics for 198.18.3.2:\r\n\r\tPackets: Sent = 10, Received = 10, Lost = 0 (0% loss),\n"
              L"Approximate round trip times in milli-seconds:\r\n\tMinimum = 0ms, Maximum = 0ms, Average = 0ms\r\n";
  expected += base::Format(S(1013), L"00:00.000") + L"\r\n - " + S(1020) + L"\r\n\r\n";
  expected += S(111) + L"\r\n\r\n" + base::Format(S(1012), S(111)) + L"\r\n";
  expected += L"Tracing route to 198.18.3.2:\r\n  1\t<1ms\t<1ms\t<1ms\t198.18.3.2\r\n\r\nTrace complete.\r\n";
  expected += base::Format(S(1013), L"00:00.000") + L"\r\n - " + S(1020) + L"\r\n\r\n";
  expected += L"\r\n" + S(1010) + S(1020);
  EXPECT_EQ(text.Text(), expected);
}

TEST_F(EngineTest, ThreadRunsTwiceFromAnEmptyList) {
  AllPingsAnswer();
  factory.withAudioAndSip = false;
  ASSERT_TRUE(worker.Start());
  worker.Wait();
  EXPECT_EQ(listener.finished, 1);
  const size_t firstRun = listener.lines.size();
  ASSERT_EQ(worker.Results().size(), 1u);

  AllPingsAnswer();
  icmp.pingScript.clear();  // the second run's service is silent: a different list
  icmp.names.erase(L"www.voxtrel.test");
  ASSERT_TRUE(worker.Start());
  worker.Wait();
  EXPECT_EQ(listener.finished, 2);
  EXPECT_EQ(listener.lines[0].text, L"CustomerId: En");
  EXPECT_EQ(listener.lines[firstRun].text, L"CustomerId: En");
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1016), S(1023), S(1022)}));
  EXPECT_EQ(platform.seeds, 2);
}

// --- Evaluators at their thresholds ---

class EvaluatorTest : public EngineTest {
 protected:
  // Runs a ping of `count` requests, the first `lost` unanswered, the rest at `rtt`.
  bool Service(int count, int lost, uint32_t rtt, bool resolves = true) {
    icmp.pingScript.clear();
    for (int i = 0; i < count; ++i) icmp.pingScript.push_back(i < lost ? Echo{false} : Echo{true, rtt});
    if (!resolves) icmp.names.erase(L"sip.voxtrel.test");
    CheckNode node;
    node.module = std::make_shared<Diagnostic::ICMPPing>(nullptr, context, icmp, L"sip.voxtrel.test", count);
    node.module->Run();
    return engine::EvaluateServiceAvailability(worker, node);
  }
};

TEST_F(EvaluatorTest, ServiceAvailabilityTable) {
  struct Case {
    int count, lost;
    uint32_t rtt;
    bool resolves;
    bool pass;
    int grade;
    unsigned title;
    std::wstring value;
  } cases[] = {
      {10, 1, 200, true, true, 0, 1019, L"200ms"},     // 10 % and 200 ms: no remark
      {100, 11, 20, true, false, 3, 1017, L"11%"},    // 11 % fails
      {10, 8, 20, true, false, 3, 1017, L"80%"},      // 2 replies of 10: loss, not "unavailable"
      {10, 0, 201, true, true, 1, 1018, L"201ms"},    // slow but passes with a notice
      {10, 10, 0, true, false, 3, 1016, L"sip.voxtrel.test"},
      {10, 0, 0, false, false, 3, 1015, L"sip.voxtrel.test"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    icmp.names[L"sip.voxtrel.test"] = kService;
    const size_t before = worker.Results().size();
    EXPECT_EQ(Service(c.count, c.lost, c.rtt, c.resolves), c.pass);
    ASSERT_EQ(worker.Results().size(), before + 1);
    const auto& r = *worker.Results().back();
    EXPECT_EQ(r.grade, c.grade);
    EXPECT_EQ(r.title, S(c.title));
    EXPECT_EQ(r.value, c.value);
  }
  // The 11 % item names the figure and the host.
  const auto& lossItem = *worker.Results()[1];
  EXPECT_EQ(lossItem.recommendation, base::Format(S(1042), 11, L"sip.voxtrel.test"));
  EXPECT_EQ(lossItem.recommendation.substr(0, 4), L"11% ");
  EXPECT_EQ(worker.Results()[0]->recommendation, L"");
  EXPECT_EQ(worker.Results()[3]->recommendation, S(1043));
}

TEST_F(EvaluatorTest, NoIcmpHandleStillReadsAsAddressNotFound) {
  icmp.openFails = true;
  EXPECT_FALSE(Service(10, 0, 0));
  EXPECT_EQ(worker.Results().back()->title, S(1015));
}

TEST_F(EvaluatorTest, HopJumpsOverFiftyMillisecondsAreFlagged) {
  const uint32_t averages[] = {10, 70, 75, 0, 140};
  for (int ttl = 1; ttl <= 5; ++ttl) {
    const uint32_t avg = averages[ttl - 1];
    icmp.hopScript[ttl] = avg ? std::vector<Echo>{{true, avg, ttl == 5 ? 0u : Ip(198, 18, ttl, 1)}}
                              : std::vector<Echo>{{ttl == 4, 0, Ip(198, 18, 4, 1)}};
  }
  icmp.hopScript[4] = {{false}};  // a silent hop: average 0
  icmp.reverse[Ip(198, 18, 2, 1)] = L"r2.lab.test";
  CheckNode node;
  node.module = std::make_shared<Diagnostic::Tracert>(nullptr, context, icmp, L"sip.voxtrel.test");
  node.module->Run();
  EXPECT_TRUE(engine::EvaluateRouteDelays(worker, node));
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{base::Format(S(1024), L"r2.lab.test"),
                                                 base::Format(S(1024), L"198.18.3.2")}));
  EXPECT_EQ(Grades(), (std::vector<int>{1, 1}));
  EXPECT_EQ(worker.Results()[0]->value, L"70ms");
  EXPECT_EQ(worker.Results()[1]->value, L"140ms");
}

TEST_F(EvaluatorTest, UnreachedTraceGivesOneSatisfactoryItem) {
  icmp.hopScript = {{1, {{true, 100, Ip(198, 18, 1, 1)}}}};  // one slow router, then silence
  CheckNode node;
  node.module = std::make_shared<Diagnostic::Tracert>(nullptr, context, icmp, L"sip.voxtrel.test");
  node.module->Run();
  EXPECT_FALSE(engine::EvaluateRouteDelays(worker, node));
  ASSERT_EQ(worker.Results().size(), 1u);
  EXPECT_EQ(worker.Results()[0]->grade, GradeSatisfactory);
  EXPECT_EQ(worker.Results()[0]->title, S(1057));
  EXPECT_EQ(worker.Results()[0]->recommendation, S(1058));
}

TEST_F(EvaluatorTest, DnsAndInternetAvailability) {
  CheckNode node;
  icmp.names.erase(L"www.voxtrel.test");
  node.module = std::make_shared<Diagnostic::ICMPPing>(nullptr, context, icmp, L"www.voxtrel.test");
  node.module->Run();
  EXPECT_FALSE(engine::EvaluateDnsAvailability(worker, node));
  icmp.names[L"www.voxtrel.test"] = kWeb;
  icmp.pingScript.assign(10, Echo{false});
  node.module = std::make_shared<Diagnostic::ICMPPing>(nullptr, context, icmp, L"www.voxtrel.test");
  node.module->Run();
  EXPECT_TRUE(engine::EvaluateDnsAvailability(worker, node));  // resolved: passes however silent
  EXPECT_FALSE(engine::EvaluateInternetAvailability(worker, node));
  icmp.pingScript.assign(9, Echo{false});
  icmp.pingScript.push_back({true, 5});
  node.module = std::make_shared<Diagnostic::ICMPPing>(nullptr, context, icmp, L"www.voxtrel.test");
  node.module->Run();
  EXPECT_TRUE(engine::EvaluateInternetAvailability(worker, node));  // one reply is enough
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{S(1023), S(1022)}));
}

TEST_F(EvaluatorTest, FailedModuleWithPassingEvaluatorStillReadsError) {
  // The verdict line follows the module's own success.
  struct PassAnyway {
    static bool Evaluate(CheckWorker&, CheckNode&) { return true; }
  };
  auto next = std::make_shared<CheckNode>();
  next->module = std::make_shared<fakes::FakeModule>(&worker, context, L"Next", true);
  auto root = std::make_shared<CheckNode>();
  root->module = std::make_shared<fakes::FakeModule>(&worker, context, L"First", false);
  root->evaluator = PassAnyway::Evaluate;
  root->passNext = next;
  WalkRunTree(worker, root);
  EXPECT_EQ(listener.Shown(), (std::vector<std::wstring>{L"First", L" - " + S(1021) + L"\r\n", L"Next",
                                                         L" - " + S(1020) + L"\r\n"}));
  EXPECT_EQ(listener.progress, (std::vector<int>{50, 100}));
}

TEST(OverallGrade, Rules) {
  auto item = [](int grade, std::wstring recommendation = L"") {
    return std::make_shared<const CheckResult>(CheckResult{grade, L"t", L"", std::move(recommendation)});
  };
  EXPECT_EQ(engine::OverallGrade({}), GradeExcellent);
  EXPECT_EQ(engine::OverallGrade({item(0), item(3)}), GradeError);
  EXPECT_EQ(engine::OverallGrade({item(3, L"r"), item(0)}), GradeSatisfactory);  // error first, recommendation
  EXPECT_EQ(engine::OverallGrade({item(3), item(0)}), GradeExcellent);  // error first without advice
  EXPECT_EQ(engine::OverallGrade({item(0), item(1)}), GradeExcellent);
  EXPECT_EQ(engine::OverallGrade({item(2), item(0)}), GradeSatisfactory);
  EXPECT_EQ(engine::OverallGrade({item(0), item(4)}), GradeExcellent);  // cancelled last
  EXPECT_EQ(engine::OverallGrade({item(3, L"r"), item(4)}), GradeSatisfactory);
}

TEST(DurationText, Forms) {
  EXPECT_EQ(engine::DurationText(0), L"00:00.000");
  EXPECT_EQ(engine::DurationText(5042), L"00:05.042");
  EXPECT_EQ(engine::DurationText(59999), L"00:59.999");
  EXPECT_EQ(engine::DurationText(3599999), L"59:59.999");
  EXPECT_EQ(engine::DurationText(3723004), L"1:02:03.004");
}

TEST(ResultTextCollector, NullLinesAndGradeLine) {
  engine::ResultText text;
  text.AddLine(L"a");
  text.AddLine(nullptr);
  text.AddLine(L"b\r\n");
  text.AppendGrade(fakes::Russian(), GradeSatisfactory);
  EXPECT_EQ(text.Text(), L"a\r\n\r\nb\r\n\r\n\r\n" + fakes::Russian().Load(1010) + fakes::Russian().Load(1059));
}

}  // namespace
