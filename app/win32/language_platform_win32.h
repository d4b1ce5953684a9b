#pragma once
#include <windows.h>

#include <mutex>
#include <string>

#include "app/language_support.h"

namespace app {

class Win32LanguagePlatform : public LanguagePlatform {
 public:
  std::wstring LocaleAbbreviation(uint16_t language) override;
  std::wstring ProgramPath() override;
  Module OpenModule(const std::wstring& path) override;
  void ReleaseModule(Module module) override;
  void SetResourceModule(Module module) override;
};

// The language of the program file's own version resource (0 when none).
uint16_t ProgramOwnLanguage();

// The process-wide language support, created on first use under a lock.
// Null (after a message box) if it cannot be allocated.
CLanguageSupport* LanguageSupportInstance();

// A version-information string ("ProductVersion", ...) of the resource
// module; empty when the string is absent. Throws std::runtime_error when the
// resource module has no version resource.
std::wstring VersionString(const std::wstring& name);

// The start-up candidates: the option text (StrToIntW), the user's and the
// system's UI languages, the user's and the system's default languages, and
// the program's own language.
std::vector<uint16_t> StartupLanguageCandidates(const std::wstring& optionText, uint16_t ownLanguage);

}  // namespace app
