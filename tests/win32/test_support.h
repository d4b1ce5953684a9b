// Helpers shared by the Windows tests.
#pragma once
#include <windows.h>

#include <string>

namespace testing_win32 {

inline std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p = path;
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

}  // namespace testing_win32
