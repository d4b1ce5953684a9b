#include "app/language_support.h"

#include "base/format.h"

namespace app {

std::wstring LanguageModulePath(const std::wstring& programPath, const std::wstring& abbreviation) {
  // The extension starts at the last dot of the file name (not of a folder).
  const size_t slash = programPath.find_last_of(L"\\/");
  const size_t dot = programPath.rfind(L'.');
  std::wstring stem = programPath;
  if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash)) stem.resize(dot);
  return stem + abbreviation + L".dll";
}

std::wstring VersionSubBlock(const unsigned char* translation, size_t translationBytes,
                             uint16_t userDefaultLanguage, const std::wstring& name) {
  if (translation && translationBytes == 4) {
    const uint32_t v = translation[0] | (translation[1] << 8) | (translation[2] << 16) |
                       (static_cast<uint32_t>(translation[3]) << 24);
    return base::Format(L"\\StringFileInfo\\%02X%02X%02X%02X\\%s", (v >> 8) & 0xFF, v & 0xFF, v >> 24,
                        (v >> 16) & 0xFF, name);
  }
  return base::Format(L"\\StringFileInfo\\%04X04B0\\%s", static_cast<unsigned>(userDefaultLanguage), name);
}

CLanguageSupport::CLanguageSupport(LanguagePlatform& platform, uint16_t ownLanguage)
    : m_platform(platform), m_ownLanguage(ownLanguage) {}

bool CLanguageSupport::TryLanguage(uint16_t language) {
  if (language == 0) return false;
  m_currentLanguage = language;
  if (LoadCurrent()) return true;
  if (language >= 0x400) {
    m_currentLanguage = language & 0x3FF;
    if (LoadCurrent()) return true;
  }
  if ((language >> 10) != 1) {
    m_currentLanguage = static_cast<uint16_t>((m_currentLanguage & 0x3FF) | 0x400);
    if (LoadCurrent()) return true;
  }
  return false;
}

void CLanguageSupport::ReturnToProgram() {
  if (!m_module) return;
  LanguagePlatform::Module program = m_platform.OpenModule(m_platform.ProgramPath());
  m_platform.SetResourceModule(program);
  m_platform.ReleaseModule(m_module);
  // The program's own handle takes the module's place (freed never, like the
  // program itself); it is not a language module.
  m_module = nullptr;
}

bool CLanguageSupport::LoadCurrent() {
  if (m_currentLanguage == m_ownLanguage) {
    ReturnToProgram();
    return true;
  }
  const std::wstring abbreviation = m_platform.LocaleAbbreviation(m_currentLanguage);
  if (abbreviation.empty()) return false;
  const std::wstring path = LanguageModulePath(m_platform.ProgramPath(), abbreviation);
  LanguagePlatform::Module module = m_platform.OpenModule(path);
  if (!module) return false;
  ReturnToProgram();
  m_module = module;
  m_platform.SetResourceModule(module);
  return true;
}

int ChooseLanguage(CLanguageSupport& support, const std::vector<uint16_t>& candidates) {
  for (size_t i = 0; i < candidates.size(); ++i)
    if (support.TryLanguage(candidates[i])) return static_cast<int>(i);
  return -1;
}

}  // namespace app
