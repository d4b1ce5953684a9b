#include <algorithm>
#include <map>

#include "engine/check_worker.h"
#include "engine/evaluators.h"
#include "engine/result_text.h"

namespace {
constexpr unsigned kIdStartBanner = 1012;
constexpr unsigned kIdDurationBanner = 1013;

// Titles of cancelled SIP nodes: the signalling checks by their transport,
// the echo-test call by what it proves (media through UDP).
constexpr unsigned kIdSipTcpConnection = 1030;
constexpr unsigned kIdSipUdpConnection = 1031;
constexpr unsigned kIdSipUdpMedia = 1061;

std::shared_ptr<CheckNode> Node(std::shared_ptr<Diagnostic::Module> module, Evaluator evaluator,
                                std::shared_ptr<CheckNode> passNext, std::shared_ptr<CheckNode> failNext,
                                unsigned cancelledTitleId = 0) {
  // A check the program cannot make is left out: its place goes to the next
  // node of its pass branch.
  if (!module) return passNext;
  auto node = std::make_shared<CheckNode>();
  node->module = std::move(module);
  node->evaluator = evaluator;
  node->passNext = std::move(passNext);
  node->failNext = std::move(failNext);
  node->cancelledTitleId = cancelledTitleId;
  return node;
}
}  // namespace

int Depth(const CheckNode* node) {
  if (!node) return 0;
  return 1 + std::max(Depth(node->passNext.get()), Depth(node->failNext.get()));
}

namespace engine {

std::shared_ptr<CheckNode> BuildRunTree(CheckWorker& worker, const app::ServiceConfig& c, ModuleFactory& factory) {
  SipModuleParams sip{c.serviceHost, c.echoTestAccount, c.echoTestTarget, c.echoTestPassword, L"UDP", true};
  auto sipCall = factory.MakeSip(&worker, sip);
  auto sipCallNode = Node(sipCall, EvaluateSipCheck, nullptr, nullptr, kIdSipUdpMedia);

  sip.withCall = false;
  auto sipUdp = factory.MakeSip(&worker, sip);
  auto sipUdpNode = Node(sipUdp, EvaluateSipCheck, sipCallNode, nullptr, kIdSipUdpConnection);

  sip.transport = L"TCP";
  auto sipTcp = factory.MakeSip(&worker, sip);
  auto sipTcpGoodAudio = Node(sipTcp, EvaluateSipCheck, sipCallNode, sipCallNode, kIdSipTcpConnection);
  auto sipTcpBadAudio = Node(sipTcp, EvaluateSipCheck, sipUdpNode, sipUdpNode, kIdSipTcpConnection);

  auto audio = factory.MakeAudio(&worker);
  auto audioNode = Node(audio, EvaluateAudioDevices, sipTcpGoodAudio, sipTcpBadAudio);

  auto routeNode = Node(factory.MakeTracert(&worker, c.serviceHost), EvaluateRouteDelays, audioNode, audioNode);
  auto internetNode = Node(factory.MakePing(&worker, c.internetProbeHost), EvaluateInternetAvailability, routeNode,
                           nullptr);
  // The web address is a URL; the probe pings the host inside it.
  auto dnsNode = Node(factory.MakePing(&worker, app::HostFromWebAddress(c.serviceWebAddress)),
                      EvaluateDnsAvailability, routeNode, internetNode);
  auto serviceNode = Node(factory.MakePing(&worker, c.serviceHost), EvaluateServiceAvailability, routeNode, dnsNode);

  worker.SetRunModules(sipCall, sipUdp, sipTcp, audio);
  return serviceNode;
}

}  // namespace engine

void WalkRunTree(CheckWorker& worker, std::shared_ptr<CheckNode> root) {
  const base::Strings& strings = worker.Strings();
  float progress = 0.0f;
  std::shared_ptr<CheckNode> current = std::move(root);
  while (current) {
    Diagnostic::Module& module = *current->module;
    const std::wstring title = module.Title();
    worker.OnMessage(title.c_str(), 1);
    worker.OnMessage(nullptr, 0);
    worker.OnMessage(base::Format(strings.Load(kIdStartBanner), title).c_str(), 0);

    const int remaining = std::max(Depth(current->passNext.get()), Depth(current->failNext.get()));
    progress = progress + (100.0f - progress) / static_cast<float>(remaining + 1);

    bool ok = module.Run();
    if (current->evaluator) ok = current->evaluator(worker, *current);

    const std::wstring& text = ok ? current->passText : current->failText;
    std::shared_ptr<CheckNode> next = ok ? current->passNext : current->failNext;
    if (!text.empty()) worker.OnMessage(text.c_str(), 1);

    const uint64_t duration = module.EndTime() == 0 ? 0 : module.EndTime() - module.StartTime();
    worker.OnMessage(base::Format(strings.Load(kIdDurationBanner), engine::DurationText(duration)).c_str(), 0);
    const std::wstring verdict = strings.Load(module.Succeeded() ? engine::kIdExcellent : engine::kIdError);
    worker.OnMessage(base::Format(L" - %s\r\n", verdict).c_str(), 1);

    if (worker.Listener()) worker.Listener()->OnProgress(static_cast<int>(progress));

    if (worker.StopRequested()) {
      for (std::shared_ptr<CheckNode> n = next; n; n = n->passNext) {
        const std::wstring cancelled = engine::CancelledTitle(worker, *n);
        if (!cancelled.empty()) worker.AddResult(GradeCancelled, cancelled, L"", L"");
      }
      return;
    }
    current = std::move(next);
  }
}
