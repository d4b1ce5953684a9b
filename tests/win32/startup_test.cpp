#include <gtest/gtest.h>
#include <windows.h>

#include "app/win32/startup_win32.h"

namespace {

class RegistryOverride : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane");
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, app::kAccountKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                              nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    if (m_key) RegCloseKey(m_key);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane");
  }
  void Store(DWORD type, const void* data, DWORD bytes) {
    ASSERT_EQ(RegSetValueExW(m_key, app::kSupportMailValue, 0, type, static_cast<const BYTE*>(data), bytes),
              ERROR_SUCCESS);
  }
  HKEY m_key = nullptr;
};

TEST_F(RegistryOverride, ReadsTheValueFromTheCurrentUser) {
  const wchar_t mail[] = L"helpdesk@example.test";
  Store(REG_SZ, mail, sizeof mail);
  HKEY key = nullptr;
  std::wstring got;
  EXPECT_TRUE(app::ReadSupportMailOverride(&key, &got));
  EXPECT_EQ(got, mail);
  EXPECT_NE(key, nullptr);  // stays open for the program's lifetime
  RegCloseKey(key);
}

TEST_F(RegistryOverride, DataWithoutTerminatorIsCutAtItsEnd) {
  const wchar_t mail[] = L"abc@example.test";
  Store(REG_SZ, mail, static_cast<DWORD>((sizeof mail) - sizeof(wchar_t)));  // no NUL stored
  HKEY key = nullptr;
  std::wstring got;
  EXPECT_TRUE(app::ReadSupportMailOverride(&key, &got));
  EXPECT_EQ(got, L"abc@example.test");
  if (key) RegCloseKey(key);
}

TEST_F(RegistryOverride, MissingValueOrKeyOrWrongTypeLeavesItEmpty) {
  HKEY key = nullptr;
  std::wstring got;
  EXPECT_FALSE(app::ReadSupportMailOverride(&key, &got));  // key without the value
  EXPECT_EQ(got, L"");
  if (key) RegCloseKey(key);

  const DWORD number = 5;
  Store(REG_DWORD, &number, sizeof number);
  EXPECT_FALSE(app::ReadSupportMailOverride(&key, &got));
  EXPECT_EQ(got, L"");
  if (key) RegCloseKey(key);

  RegCloseKey(m_key);
  m_key = nullptr;
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Quorvane");
  EXPECT_FALSE(app::ReadSupportMailOverride(&key, &got));
  EXPECT_EQ(key, nullptr);
}

TEST(RunLogFile, LivesInTheVoxtrelFolderOfTheRealTemporaryFolder) {
  wchar_t temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  const std::wstring folder = std::wstring(temp) + L"Voxtrel";
  RemoveDirectoryW(folder.c_str());  // created anew when missing
  EXPECT_EQ(app::RunLogFilePath(), folder + L"\\probix.log");
  const DWORD attributes = GetFileAttributesW(folder.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(app::RunLogFilePath(), folder + L"\\probix.log");  // and kept when it exists
}

TEST(SystemLibraries, ComeFromTheSystemFolder) {
  HMODULE richEdit = app::LoadSystemLibrary(L"RICHED20.DLL");
  ASSERT_NE(richEdit, nullptr);
  wchar_t loaded[MAX_PATH] = {}, system[MAX_PATH] = {};
  GetModuleFileNameW(richEdit, loaded, MAX_PATH);
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(_wcsnicmp(loaded, system, wcslen(system)), 0) << loaded;
  FreeLibrary(richEdit);
  EXPECT_EQ(app::LoadSystemLibrary(L"no-such-library.dll"), nullptr);
}

}  // namespace
