#include "base/win32/error_text.h"

#include <windows.h>

namespace base {

std::wstring SystemMessage(uint32_t code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  std::wstring text;
  if (n && buffer) text.assign(buffer, n);
  if (buffer) LocalFree(buffer);
  return text;
}

}  // namespace base
