#include "engine/evaluators.h"

#include "base/format.h"
#include "engine/check_worker.h"
#include "modules/icmp_ping.h"
#include "modules/tracert.h"

namespace engine {
namespace {

enum : unsigned {
  kIdAddressNotFound = 1015,
  kIdServiceUnavailable = 1016,
  kIdHighLoss = 1017,
  kIdHighDelay = 1018,
  kIdServiceAvailable = 1019,
  kIdInternetUnavailable = 1022,
  kIdDnsUnavailable = 1023,
  kIdHopDelay = 1024,
  kIdCheckNetwork = 1037,
  kIdCheckDns = 1038,
  kIdOpenRtpPorts = 1040,
  kIdNoAnswerFrom = 1041,
  kIdLossPercent = 1042,
  kIdBandwidth = 1043,
  kIdNoAddress = 1044,
  kIdServiceTitle = 1053,
  kIdDnsTitle = 1055,
  kIdInternetTitle = 1056,
  kIdIcmpDelays = 1057,
  kIdCannotMeasure = 1058,
  kIdAudioTitle = 1068,
};

constexpr uint32_t kMaxLossPercent = 10;
constexpr uint32_t kMaxAverageMs = 200;
constexpr uint32_t kHopJumpMs = 50;

std::wstring Text(const CheckWorker& worker, unsigned id) { return worker.Strings().Load(id); }

}  // namespace

bool EvaluateServiceAvailability(CheckWorker& worker, CheckNode& node) {
  auto* ping = dynamic_cast<Diagnostic::ICMPPing*>(node.module.get());
  if (!ping) return node.module->Succeeded();
  const std::wstring& host = ping->Host();
  const auto& s = worker.Strings();
  if (ping->Sent() == 0) {
    worker.AddResult(GradeError, Text(worker, kIdAddressNotFound), host, base::Format(s.Load(kIdNoAddress), host));
    return false;
  }
  if (ping->Lost() == ping->Sent()) {
    worker.AddResult(GradeError, Text(worker, kIdServiceUnavailable), host, base::Format(s.Load(kIdNoAnswerFrom), host));
    return false;
  }
  if (ping->LossPercent() > kMaxLossPercent) {
    worker.AddResult(GradeError, Text(worker, kIdHighLoss), base::Format(L"%d%%", ping->LossPercent()),
                     base::Format(s.Load(kIdLossPercent), ping->LossPercent(), host));
    return false;
  }
  if (ping->Average() > kMaxAverageMs) {
    worker.AddResult(GradeNotice, Text(worker, kIdHighDelay), base::Format(L"%dms", ping->Average()),
                     Text(worker, kIdBandwidth));
    return true;
  }
  worker.AddResult(GradeExcellent, Text(worker, kIdServiceAvailable), base::Format(L"%dms", ping->Average()), L"");
  return true;
}

bool EvaluateDnsAvailability(CheckWorker& worker, CheckNode& node) {
  auto* ping = dynamic_cast<Diagnostic::ICMPPing*>(node.module.get());
  if (!ping) return node.module->Succeeded();
  if (ping->Sent() != 0) return true;
  worker.AddResult(GradeError, Text(worker, kIdDnsUnavailable), L"", Text(worker, kIdCheckDns));
  return false;
}

bool EvaluateInternetAvailability(CheckWorker& worker, CheckNode& node) {
  auto* ping = dynamic_cast<Diagnostic::ICMPPing*>(node.module.get());
  if (!ping) return node.module->Succeeded();
  if (ping->Lost() != ping->Sent()) return true;
  worker.AddResult(GradeError, Text(worker, kIdInternetUnavailable), L"", Text(worker, kIdCheckNetwork));
  return false;
}

bool EvaluateRouteDelays(CheckWorker& worker, CheckNode& node) {
  auto* trace = dynamic_cast<Diagnostic::Tracert*>(node.module.get());
  if (!trace) return node.module->Succeeded();
  if (trace->Succeeded()) {
    uint32_t previous = 0;
    for (const auto& hop : trace->Hops()) {
      if (hop.average > previous && hop.average - previous > kHopJumpMs)
        worker.AddResult(GradeNotice, base::Format(Text(worker, kIdHopDelay), hop.name),
                         base::Format(L"%dms", hop.average), L"");
      previous = hop.average;
    }
  } else {
    worker.AddResult(GradeSatisfactory, Text(worker, kIdIcmpDelays), L"", Text(worker, kIdCannotMeasure));
  }
  return trace->Succeeded();
}

bool EvaluateAudioDevices(CheckWorker& worker, CheckNode& node) {
  const bool ok = node.module->Succeeded();
  std::wstring recommendation;
  if (!ok) {
    recommendation = node.module->Log();
    if (recommendation.empty()) recommendation = Text(worker, kIdOpenRtpPorts);
  }
  worker.AddResult(ok ? GradeExcellent : GradeError, node.module->Title(), L"", recommendation);
  return ok;
}

bool EvaluateSipCheck(CheckWorker& worker, CheckNode& node) {
  const bool ok = node.module->Succeeded();
  worker.AddResult(ok ? GradeExcellent : GradeError, node.module->Title(), L"",
                   ok ? std::wstring() : Text(worker, kIdOpenRtpPorts));
  return ok;
}

std::wstring CancelledTitle(const CheckWorker& worker, const CheckNode& node) {
  if (node.evaluator == EvaluateServiceAvailability) return Text(worker, kIdServiceTitle);
  if (node.evaluator == EvaluateDnsAvailability) return Text(worker, kIdDnsTitle);
  if (node.evaluator == EvaluateInternetAvailability) return Text(worker, kIdInternetTitle);
  if (node.evaluator == EvaluateAudioDevices) return Text(worker, kIdAudioTitle);
  if (node.evaluator == EvaluateSipCheck && node.cancelledTitleId) return Text(worker, node.cancelledTitleId);
  return std::wstring();  // route delays: not listed
}

}  // namespace engine
