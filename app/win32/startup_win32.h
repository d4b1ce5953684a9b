// The Win32 pieces of start-up: the registry override, the run-log folder,
// and where system libraries may be loaded from.
#pragma once
#include <windows.h>

#include <string>

#include "app/log_path.h"

namespace app {

constexpr wchar_t kAccountKey[] = L"Software\\Quorvane\\Softphone\\Account\\";
constexpr wchar_t kSupportMailValue[] = L"xVxqCustomerSupportMail";

// Opens the softphone's account key for reading and reads the support mail
// override. `key` receives the open key (or null); the caller closes it when
// the program ends. Returns false when the key or the value is missing.
bool ReadSupportMailOverride(HKEY* key, std::wstring* mail);

class Win32LogPathPlatform : public LogPathPlatform {
 public:
  std::wstring TempPath() override;
  uint32_t CreateFolder(const std::wstring& path) override;
};

// Full path of the run log (creates the "Voxtrel" sub-folder).
std::wstring RunLogFilePath();

// Removes the current folder from the DLL search and, where the system has
// it, restricts implicit searches to the program folder and System32.
void HardenDllSearch();

// Loads a DLL from the system folder only.
HMODULE LoadSystemLibrary(const wchar_t* name);

}  // namespace app
