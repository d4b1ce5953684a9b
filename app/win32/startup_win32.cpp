#include "app/win32/startup_win32.h"

#include <vector>

#include "app/app_state.h"

namespace app {

bool ReadSupportMailOverride(HKEY* key, std::wstring* mail) {
  *key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kAccountKey, 0, KEY_READ, key) != ERROR_SUCCESS) {
    *key = nullptr;
    return false;
  }
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(*key, kSupportMailValue, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // The stored data need not end with a NUL: read into a buffer of its size
  // and cut the text at the first NUL or the end of the data.
  std::vector<unsigned char> data(size + sizeof(wchar_t));
  DWORD got = size;
  if (RegQueryValueExW(*key, kSupportMailValue, nullptr, &type, data.data(), &got) != ERROR_SUCCESS) return false;
  *mail = TextFromRegistryData(data.data(), got < size ? got : size);
  return true;
}

std::wstring Win32LogPathPlatform::TempPath() {
  wchar_t buffer[MAX_PATH] = {};
  const DWORD n = GetTempPathW(MAX_PATH, buffer);
  if (n == 0 || n > MAX_PATH) return std::wstring();
  return std::wstring(buffer, n);
}

uint32_t Win32LogPathPlatform::CreateFolder(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) ? 0 : GetLastError();
}

std::wstring RunLogFilePath() {
  Win32LogPathPlatform platform;
  return RunLogPath(platform);
}

void HardenDllSearch() {
  SetDllDirectoryW(L"");
  // Present from Windows 8 and on Windows 7 with KB2533623; looked up so the
  // program still starts without it.
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  if (setDefault) setDefault(0x00000200 /* APPLICATION_DIR */ | 0x00000800 /* SYSTEM32 */);
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  wchar_t folder[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  std::wstring path(folder, n);
  if (path.back() != L'\\') path += L'\\';
  path += name;
  return LoadLibraryW(path.c_str());
}

}  // namespace app
