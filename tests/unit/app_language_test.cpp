#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "app/language_support.h"
#include "base/format.h"

namespace {

// A system with a fixed set of language module files beside the program.
class FakeLanguagePlatform : public app::LanguagePlatform {
 public:
  std::wstring programPath = L"C:\\Apps\\probix.exe";
  std::set<std::wstring> files;             // module files that exist
  std::vector<std::wstring> loadAttempts;   // paths asked for, in order
  std::vector<uint16_t> abbreviationAsks;
  Module resourceModule = kProgram;
  std::map<Module, int> references;

  static inline Module const kProgram = reinterpret_cast<Module>(1);

  std::wstring LocaleAbbreviation(uint16_t language) override {
    abbreviationAsks.push_back(language);
    switch (language) {
      case 0x0419: return L"RUS";
      case 0x0819: return L"RUM";
      case 0x0409: return L"ENU";
      case 0x0407: return L"DEU";
      default: return L"";
    }
  }
  std::wstring ProgramPath() override { return programPath; }
  Module OpenModule(const std::wstring& path) override {
    loadAttempts.push_back(path);
    Module m = nullptr;
    if (path == programPath) m = kProgram;
    else if (files.count(path)) m = reinterpret_cast<Module>(static_cast<uintptr_t>(0x1000 + files.size() + loadAttempts.size()));
    if (m) {
      ++references[m];
      names[m] = path;
    }
    return m;
  }
  void ReleaseModule(Module module) override { --references[module]; }
  void SetResourceModule(Module module) override { resourceModule = module; }

  std::wstring ResourceFile() { return resourceModule == kProgram ? programPath : names[resourceModule]; }
  std::map<Module, std::wstring> names;
};

// The languages whose abbreviation was looked up, i.e. the identifiers tried
// other than the program's own.
std::vector<uint16_t> Tried(const FakeLanguagePlatform& p) { return p.abbreviationAsks; }

TEST(LanguageChain, RelativesAreTriedInOrder) {
  const struct {
    uint16_t language;
    std::vector<uint16_t> tried;
  } cases[] = {
      {0x0819, {0x0819, 0x0019, 0x0419}},  // Russian (Moldova): itself, neutral, default
      {0x0419, {0x0419, 0x0019}},          // sublanguage already the default
      {0x0019, {0x0019, 0x0419}},          // neutral: then the default sublanguage
      {0x0407, {0x0407, 0x0007}},
  };
  for (const auto& c : cases) {
    FakeLanguagePlatform p;
    app::CLanguageSupport support(p, 0);  // no own language: nothing is accepted
    EXPECT_FALSE(support.TryLanguage(c.language));
    EXPECT_EQ(Tried(p), c.tried) << std::hex << c.language;
  }
}

TEST(LanguageChain, ModuleForTheDefaultSublanguageIsFoundThird) {
  FakeLanguagePlatform p;
  p.files = {L"C:\\Apps\\probixRUS.dll"};
  app::CLanguageSupport support(p, 0x0409);
  // 0x0819 -> RUM (no file), 0x0019 -> no abbreviation, 0x0419 -> RUS.
  EXPECT_TRUE(support.TryLanguage(0x0819));
  EXPECT_EQ(p.ResourceFile(), L"C:\\Apps\\probixRUS.dll");
  EXPECT_EQ(Tried(p), (std::vector<uint16_t>{0x0819, 0x0019, 0x0419}));
  EXPECT_EQ(p.loadAttempts, (std::vector<std::wstring>{L"C:\\Apps\\probixRUM.dll", L"C:\\Apps\\probixRUS.dll"}));
  EXPECT_EQ(support.CurrentLanguage(), 0x0419);
}

TEST(LanguageChain, ZeroIsNeverAccepted) {
  FakeLanguagePlatform p;
  app::CLanguageSupport support(p, 0);
  EXPECT_FALSE(support.TryLanguage(0));
  EXPECT_TRUE(p.abbreviationAsks.empty());
}

TEST(LanguageChain, OwnLanguageIsAcceptedWithoutLoading) {
  FakeLanguagePlatform p;
  app::CLanguageSupport support(p, 0x0419);
  EXPECT_TRUE(support.TryLanguage(0x0419));
  EXPECT_TRUE(p.loadAttempts.empty());
  EXPECT_EQ(p.resourceModule, FakeLanguagePlatform::kProgram);
  EXPECT_EQ(support.CurrentLanguage(), 0x0419);
}

TEST(LanguageChain, StartupChainFallsBackToTheProgram) {
  // The user's languages have no module; the own language ends the chain.
  FakeLanguagePlatform p;
  app::CLanguageSupport support(p, 0x0419);
  const int chosen = app::ChooseLanguage(support, {0, 0x0407, 0x0407, 0x0409, 0x0409, 0x0419});
  EXPECT_EQ(chosen, 5);
  EXPECT_EQ(p.resourceModule, FakeLanguagePlatform::kProgram);
  EXPECT_FALSE(support.HasLanguageModule());
}

TEST(LanguageChain, ProgramWithoutVersionResourceKeepsItsOwnResources) {
  FakeLanguagePlatform p;
  app::CLanguageSupport support(p, 0);
  EXPECT_EQ(app::ChooseLanguage(support, {0, 0x0407, 0x0407, 0x0407, 0x0407, 0}), -1);
  EXPECT_EQ(p.resourceModule, FakeLanguagePlatform::kProgram);
}

TEST(LanguageChain, OptionSelectsEnglishModuleAndOwnLanguageReturnsToTheProgram) {
  FakeLanguagePlatform p;
  p.files = {L"C:\\Apps\\probixENU.dll"};
  app::CLanguageSupport support(p, 0x0419);
  EXPECT_EQ(app::ChooseLanguage(support, {1033, 0x0419, 0x0419, 0x0419, 0x0419, 0x0419}), 0);
  EXPECT_EQ(p.ResourceFile(), L"C:\\Apps\\probixENU.dll");
  EXPECT_TRUE(support.HasLanguageModule());
  auto module = p.resourceModule;

  EXPECT_TRUE(support.TryLanguage(0x0419));  // back to the program: module released
  EXPECT_EQ(p.resourceModule, FakeLanguagePlatform::kProgram);
  EXPECT_EQ(p.references[module], 0);
  EXPECT_FALSE(support.HasLanguageModule());
}

TEST(LanguageChain, SwitchingModulesReleasesThePreviousOne) {
  FakeLanguagePlatform p;
  p.files = {L"C:\\Apps\\probixENU.dll", L"C:\\Apps\\probixDEU.dll"};
  app::CLanguageSupport support(p, 0x0419);
  ASSERT_TRUE(support.TryLanguage(0x0409));
  auto english = p.resourceModule;
  ASSERT_TRUE(support.TryLanguage(0x0407));
  EXPECT_EQ(p.ResourceFile(), L"C:\\Apps\\probixDEU.dll");
  EXPECT_EQ(p.references[english], 0);
}

TEST(LanguageModulePath, ReplacesTheExtension) {
  EXPECT_EQ(app::LanguageModulePath(L"C:\\Apps\\probix-En.exe", L"RUS"), L"C:\\Apps\\probix-EnRUS.dll");
  EXPECT_EQ(app::LanguageModulePath(L"C:\\My.Apps\\probix", L"ENU"), L"C:\\My.Apps\\probixENU.dll");
  EXPECT_EQ(app::LanguageModulePath(L"C:\\Apps\\probix.v2.exe", L"ENU"), L"C:\\Apps\\probix.v2ENU.dll");
}

TEST(VersionSubBlock, TranslationEntryAndFallback) {
  const unsigned char russianUnicode[] = {0x19, 0x04, 0xB0, 0x04};  // 0x0419, code page 1200
  EXPECT_EQ(app::VersionSubBlock(russianUnicode, 4, 0x0409, L"ProductVersion"),
            L"\\StringFileInfo\\041904B0\\ProductVersion");
  const unsigned char englishAnsi[] = {0x09, 0x04, 0xE4, 0x04};  // 0x0409, code page 1252
  EXPECT_EQ(app::VersionSubBlock(englishAnsi, 4, 0x0419, L"FileVersion"), L"\\StringFileInfo\\040904E4\\FileVersion");
  // Anything but exactly one entry of four bytes uses the user's language.
  EXPECT_EQ(app::VersionSubBlock(nullptr, 0, 0x0419, L"ProductVersion"), L"\\StringFileInfo\\041904B0\\ProductVersion");
  const unsigned char two[] = {0x19, 0x04, 0xB0, 0x04, 0x09, 0x04, 0xB0, 0x04};
  EXPECT_EQ(app::VersionSubBlock(two, 8, 0x0c0a, L"ProductVersion"), L"\\StringFileInfo\\0C0A04B0\\ProductVersion");
}

}  // namespace
