#include "app/win32/language_platform_win32.h"

#include <shlwapi.h>

#include <new>
#include <stdexcept>
#include <vector>

#include "app/win32/resource_module.h"

namespace app {

std::wstring Win32LanguagePlatform::LocaleAbbreviation(uint16_t language) {
  wchar_t buffer[4] = {};
  if (!GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_SABBREVLANGNAME, buffer, 4)) return std::wstring();
  return buffer;
}

std::wstring Win32LanguagePlatform::ProgramPath() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return path;
}

LanguagePlatform::Module Win32LanguagePlatform::OpenModule(const std::wstring& path) {
  // Only ever a full path beside the program: never a search of the current
  // or any other folder.
  if (PathIsRelativeW(path.c_str())) return nullptr;
  return LoadLibraryW(path.c_str());
}

void Win32LanguagePlatform::ReleaseModule(Module module) {
  if (module) FreeLibrary(static_cast<HMODULE>(module));
}

void Win32LanguagePlatform::SetResourceModule(Module module) {
  ExchangeResourceModule(static_cast<HMODULE>(module));
}

namespace {

// A private copy of a module's version resource 1 (VerQueryValueW may write
// into the block it is given).
bool CopyVersionResource(HMODULE module, std::vector<unsigned char>& block) {
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16) /* RT_VERSION */);
  if (!info) return false;
  HGLOBAL handle = LoadResource(module, info);
  const void* data = handle ? LockResource(handle) : nullptr;
  const DWORD size = SizeofResource(module, info);
  if (!data || !size) return false;
  block.assign(static_cast<const unsigned char*>(data), static_cast<const unsigned char*>(data) + size);
  return true;
}

}  // namespace

uint16_t ProgramOwnLanguage() {
  std::vector<unsigned char> block;
  if (!CopyVersionResource(GetModuleHandleW(nullptr), block)) return 0;
  void* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length) || length < 4) return 0;
  return static_cast<uint16_t>(static_cast<const unsigned char*>(value)[0] |
                               (static_cast<const unsigned char*>(value)[1] << 8));
}

CLanguageSupport* LanguageSupportInstance() {
  static std::once_flag once;
  static CLanguageSupport* instance = nullptr;
  std::call_once(once, [] {
    static Win32LanguagePlatform platform;
    instance = new (std::nothrow) CLanguageSupport(platform, ProgramOwnLanguage());
    if (!instance)
      MessageBoxA(nullptr, "The Voxtrel unable to allocate memory for CLanguageSupport\r\n", "Voxtrel error",
                  MB_ICONERROR);
  });
  return instance;
}

std::wstring VersionString(const std::wstring& name) {
  std::vector<unsigned char> block;
  if (!CopyVersionResource(ResourceModule(), block)) throw std::runtime_error("no version resource");
  void* value = nullptr;
  UINT length = 0;
  const unsigned char* translation = nullptr;
  size_t translationBytes = 0;
  if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &length)) {
    translation = static_cast<const unsigned char*>(value);
    translationBytes = length;
  }
  const std::wstring subBlock = VersionSubBlock(translation, translationBytes, GetUserDefaultLangID(), name);
  if (!VerQueryValueW(block.data(), subBlock.c_str(), &value, &length) || !value || !length) return std::wstring();
  const wchar_t* text = static_cast<const wchar_t*>(value);
  size_t n = 0;
  while (n < length && text[n]) ++n;
  return std::wstring(text, n);
}

std::vector<uint16_t> StartupLanguageCandidates(const std::wstring& optionText, uint16_t ownLanguage) {
  return {static_cast<uint16_t>(StrToIntW(optionText.c_str())),
          GetUserDefaultUILanguage(),
          GetSystemDefaultUILanguage(),
          GetUserDefaultLangID(),
          GetSystemDefaultLangID(),
          ownLanguage};
}

}  // namespace app
