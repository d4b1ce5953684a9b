#include "app/log_path.h"

namespace app {
namespace {
void EnsureTrailingBackslash(std::wstring& path) {
  if (!path.empty() && path.back() != L'\\') path += L'\\';
}
}  // namespace

std::wstring RunLogPath(LogPathPlatform& platform) {
  std::wstring temp = platform.TempPath();
  // The system's temporary folder ends with a backslash; one that does not
  // still gets its own sub-folder rather than a sibling named "...Voxtrel".
  EnsureTrailingBackslash(temp);
  std::wstring path = temp + L"Voxtrel";
  // Any outcome but a missing parent keeps the sub-folder (created or there).
  if (platform.CreateFolder(path) == kErrorPathNotFound) path = temp;
  EnsureTrailingBackslash(path);
  return path + L"probix.log";
}

}  // namespace app
