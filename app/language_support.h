// Choice of the user-interface language: every resource is loaded from the
// "resource module", which is the program file or a resource-only language
// module beside it named <program><ABBREV>.dll (e.g. probixENU.dll).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace app {

// What the language choice needs of the system.
class LanguagePlatform {
 public:
  using Module = void*;
  virtual ~LanguagePlatform() = default;
  // Three-letter abbreviation of a language (RUS, ENU); empty when unknown.
  virtual std::wstring LocaleAbbreviation(uint16_t language) = 0;
  // Full path of the program file.
  virtual std::wstring ProgramPath() = 0;
  // Loads a module by full path; null on failure.
  virtual Module OpenModule(const std::wstring& path) = 0;
  virtual void ReleaseModule(Module module) = 0;
  // Makes `module` the process's resource module (an atomic exchange).
  virtual void SetResourceModule(Module module) = 0;
};

// <program path without its extension><abbreviation>.dll
std::wstring LanguageModulePath(const std::wstring& programPath, const std::wstring& abbreviation);

// The version-information sub-block for a string `name`. `translation` is the
// value of \VarFileInfo\Translation (used only when exactly 4 bytes).
std::wstring VersionSubBlock(const unsigned char* translation, size_t translationBytes,
                             uint16_t userDefaultLanguage, const std::wstring& name);

class CLanguageSupport {
 public:
  // `ownLanguage`: the language of the program file's version resource (0: none).
  CLanguageSupport(LanguagePlatform& platform, uint16_t ownLanguage);

  // Selects the module for `language` or a close relative: L, then L with the
  // sublanguage cleared, then the primary language with SUBLANG_DEFAULT.
  bool TryLanguage(uint16_t language);

  uint16_t OwnLanguage() const { return m_ownLanguage; }
  uint16_t CurrentLanguage() const { return m_currentLanguage; }
  bool HasLanguageModule() const { return m_module != nullptr; }

 private:
  bool LoadCurrent();
  void ReturnToProgram();

  LanguagePlatform& m_platform;
  uint16_t m_ownLanguage;
  uint16_t m_currentLanguage = 0;
  LanguagePlatform::Module m_module = nullptr;
};

// The start-up chain: the option's language, then the system's four defaults,
// then the program's own language. Returns the index of the accepted
// candidate, or -1 when none was (the program file's resources stay).
int ChooseLanguage(CLanguageSupport& support, const std::vector<uint16_t>& candidates);

}  // namespace app
