#include "app/win32/process_config.h"

#include "app/win32/resource_module.h"

namespace app {
namespace {
ServiceConfig g_processConfig = MakeServiceConfig(ModuleStrings(GetModuleHandleW(nullptr)));
}

ServiceConfig& ProcessServiceConfig() { return g_processConfig; }
}  // namespace app
