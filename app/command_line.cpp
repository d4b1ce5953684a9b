#include "app/command_line.h"

namespace app {

std::optional<std::wstring> FindOption(const std::wstring& commandLine, const std::wstring& name) {
  if (name.empty()) return std::nullopt;
  const size_t at = commandLine.find(name);
  if (at == std::wstring::npos) return std::nullopt;
  if (at != 0 && commandLine[at - 1] != L' ') return std::nullopt;
  const size_t after = at + name.size();
  if (after == commandLine.size() || commandLine[after] == L' ') return std::wstring();
  if (commandLine[after] != L'=') return std::nullopt;
  const size_t valueStart = after + 1;
  const size_t end = commandLine.find(L' ', valueStart);
  return commandLine.substr(valueStart, end == std::wstring::npos ? std::wstring::npos : end - valueStart);
}

}  // namespace app
