// The process-wide texts of the program: the current login, the language
// option and the support mail override. Touched on the user-interface thread.
#pragma once
#include <string>

namespace app {

struct AppState {
  std::wstring currentLogin;
  std::wstring languageOption;
  std::wstring supportMailOverride;
};

AppState& App();

// Applies the "-l" and "-t" options of the command line to the process state.
void ReadOptions(const std::wstring& commandLine, AppState& state);

// Text of a registry value as stored, which need not be NUL-terminated: it
// ends at the first NUL or at the end of the data; an odd last byte is dropped.
std::wstring TextFromRegistryData(const unsigned char* data, size_t bytes);

}  // namespace app
