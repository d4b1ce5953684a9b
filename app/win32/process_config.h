#pragma once
#include "app/service_config.h"

namespace app {
// The process-wide configuration, built before wWinMain from the program
// file's own strings (before any language module is chosen).
ServiceConfig& ProcessServiceConfig();
}  // namespace app
