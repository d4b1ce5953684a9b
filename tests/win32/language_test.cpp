#include <gtest/gtest.h>
#include <windows.h>

#include "app/language_support.h"
#include "app/win32/language_platform_win32.h"
#include "app/win32/resource_module.h"
#include "base/strings.h"
#include "test_support.h"

namespace {

const base::StringEntry kRussian[] = {
#include "strings_ru.inc"
};
const base::StringEntry kEnglish[] = {
#include "strings_en.inc"
};

// Puts the program file back as the resource module after each test.
class LanguageTest : public ::testing::Test {
 protected:
  void TearDown() override { app::ExchangeResourceModule(GetModuleHandleW(nullptr)); }
  app::Win32LanguagePlatform platform;
};

TEST_F(LanguageTest, CompiledTablesMatchTheirSourcesExactly) {
  // Catches anything the resource compiler makes of escapes and Cyrillic.
  for (const auto& e : kRussian)
    EXPECT_EQ(app::LoadModuleString(GetModuleHandleW(nullptr), e.id), e.text) << "string " << e.id;
  const std::wstring dll = testing_win32::ProgramFolder() + L"probix_win32_testsENU.dll";
  HMODULE english = LoadLibraryW(dll.c_str());
  ASSERT_NE(english, nullptr);
  for (const auto& e : kEnglish) EXPECT_EQ(app::LoadModuleString(english, e.id), e.text) << "string " << e.id;
  EXPECT_EQ(app::LoadModuleString(english, 99999), L"");
  FreeLibrary(english);
}

TEST_F(LanguageTest, OwnLanguageComesFromTheVersionResource) { EXPECT_EQ(app::ProgramOwnLanguage(), 0x0419); }

TEST_F(LanguageTest, EnglishModuleIsLoadedAndReturnedFrom) {
  app::CLanguageSupport support(platform, app::ProgramOwnLanguage());
  const std::wstring russianCaption = app::LoadResString(10001);
  ASSERT_EQ(russianCaption.substr(0, 10), L"Voxtrel - ");

  ASSERT_TRUE(support.TryLanguage(1033));
  EXPECT_NE(app::ResourceModule(), GetModuleHandleW(nullptr));
  EXPECT_EQ(app::LoadResString(10001), L"Voxtrel - connection quality check");
  EXPECT_EQ(app::VersionString(L"ProductVersion"), app::VersionString(L"FileVersion"));
  EXPECT_NE(app::VersionString(L"FileDescription").find(L"English"), std::wstring::npos);

  ASSERT_TRUE(support.TryLanguage(1049));  // the program's own language
  EXPECT_EQ(app::ResourceModule(), GetModuleHandleW(nullptr));
  EXPECT_EQ(app::LoadResString(10001), russianCaption);
  EXPECT_EQ(app::VersionString(L"OriginalFilename"), L"probix.exe");
  EXPECT_EQ(app::VersionString(L"NoSuchName"), L"");
}

TEST_F(LanguageTest, LanguageWithoutModuleFails) {
  app::CLanguageSupport support(platform, app::ProgramOwnLanguage());
  EXPECT_FALSE(support.TryLanguage(0x0407));  // German: no probix_win32_testsDEU.dll
  EXPECT_EQ(app::ResourceModule(), GetModuleHandleW(nullptr));
}

TEST_F(LanguageTest, AbbreviationsAndCandidates) {
  EXPECT_EQ(platform.LocaleAbbreviation(0x0419), L"RUS");
  EXPECT_EQ(platform.LocaleAbbreviation(0x0409), L"ENU");
  const auto candidates = app::StartupLanguageCandidates(L"1033", 0x0419);
  ASSERT_EQ(candidates.size(), 6u);
  EXPECT_EQ(candidates[0], 1033);
  EXPECT_EQ(candidates[1], GetUserDefaultUILanguage());
  EXPECT_EQ(candidates[5], 0x0419);
  EXPECT_EQ(app::StartupLanguageCandidates(L"abc", 0)[0], 0);
  EXPECT_EQ(app::StartupLanguageCandidates(L"", 0)[0], 0);
}

TEST_F(LanguageTest, ModulesAreLoadedOnlyByFullPath) {
  EXPECT_EQ(platform.OpenModule(L"probix_win32_testsENU.dll"), nullptr);
  auto module = platform.OpenModule(testing_win32::ProgramFolder() + L"probix_win32_testsENU.dll");
  EXPECT_NE(module, nullptr);
  platform.ReleaseModule(module);
}

}  // namespace
