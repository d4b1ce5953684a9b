// One SIP check over the real Winsock socket, for the tests against SIPp and
// other peers: probix_sip_probe SERVER TRANSPORT LOGFILE
// Writes the check's log (UTF-8) to LOGFILE; exit code 0 when it succeeded.
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "app/win32/resource_module.h"
#include "base/utf8.h"
#include "base/win32/system_clock.h"
#include "engine/win32/worker_platform_win32.h"
#include "modules/sip_module.h"
#include "modules/win32/sip_environment_win32.h"

int wmain(int argc, wchar_t** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc != 4) {
    std::fputs("usage: probix_sip_probe SERVER UDP|TCP LOGFILE\n", stderr);
    return 2;
  }
  engine::Win32WorkerPlatform platform;
  platform.SeedRandom();
  app::ResourceStrings strings;
  base::SystemClock clock;
  Diagnostic::ModuleContext context{&strings, &clock};
  Diagnostic::Win32SipEnvironment environment(clock);
  const std::wstring server = argv[1];
  Diagnostic::SIP check(nullptr, context, environment.Get(), server, L"echotest@" + server, L"echotest_in@" + server,
                        L"Tib4Welo", argv[2], false);
  const bool ok = check.Run();
  const std::string log = base::ToUtf8(check.Log());
  if (FILE* f = _wfopen(argv[3], L"wb")) {
    std::fwrite(log.data(), 1, log.size(), f);
    std::fclose(f);
  }
  std::printf("%s in %u ms\n", ok ? "succeeded" : "failed", static_cast<unsigned>(check.EndTime() - check.StartTime()));
  return ok ? 0 : 1;
}
