#include "app/app_state.h"

#include "app/command_line.h"

namespace app {

AppState& App() {
  static AppState state;
  return state;
}

void ReadOptions(const std::wstring& commandLine, AppState& state) {
  if (auto login = FindOption(commandLine, L"-l")) state.currentLogin = *login;
  if (auto language = FindOption(commandLine, L"-t")) state.languageOption = *language;
}

std::wstring TextFromRegistryData(const unsigned char* data, size_t bytes) {
  std::wstring text;
  for (size_t i = 0; i + 2 <= bytes; i += 2) {
    const wchar_t c = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) break;
    text += c;
  }
  return text;
}

}  // namespace app
