// The six evaluators: each grades its node's module into result items and
// returns the outcome that picks the branch.
#pragma once
#include "engine/check_node.h"

namespace engine {

bool EvaluateServiceAvailability(CheckWorker& worker, CheckNode& node);
bool EvaluateDnsAvailability(CheckWorker& worker, CheckNode& node);
bool EvaluateInternetAvailability(CheckWorker& worker, CheckNode& node);
bool EvaluateRouteDelays(CheckWorker& worker, CheckNode& node);
bool EvaluateAudioDevices(CheckWorker& worker, CheckNode& node);
bool EvaluateSipCheck(CheckWorker& worker, CheckNode& node);

// The title a node is listed with when a stop cancels it (empty: not listed).
std::wstring CancelledTitle(const CheckWorker& worker, const CheckNode& node);

}  // namespace engine
