// Starts probix.exe itself and looks at its window: the language chosen by
// the command line shows in the caption.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "test_support.h"

namespace {

struct FoundWindow {
  DWORD processId;
  HWND hwnd;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param) {
  auto* found = reinterpret_cast<FoundWindow*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64] = {};
  GetClassNameW(hwnd, cls, 64);
  if (pid == found->processId && std::wstring(cls) == L"ProbixPlaceholderFrame") {
    found->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Runs probix.exe with `arguments`, returns its caption and exit code.
void RunProgram(const std::wstring& arguments, std::wstring* caption, DWORD* exitCode, RECT* rect = nullptr) {
  const std::wstring exe = testing_win32::ProgramFolder() + L"probix.exe";
  std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      << GetLastError();
  FoundWindow found = {pi.dwProcessId, nullptr};
  for (int i = 0; i < 300 && !found.hwnd; ++i) {  // up to 30 s for a cold start
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&found));
    if (!found.hwnd) Sleep(100);
  }
  if (found.hwnd) {
    wchar_t text[256] = {};
    GetWindowTextW(found.hwnd, text, 256);
    *caption = text;
    if (rect) GetWindowRect(found.hwnd, rect);
    PostMessageW(found.hwnd, WM_CLOSE, 0, 0);
  } else {
    TerminateProcess(pi.hProcess, 99);
  }
  EXPECT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
  GetExitCodeProcess(pi.hProcess, exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  ASSERT_NE(found.hwnd, nullptr) << "no window";
}

class Program : public ::testing::Test {
 protected:
  void SetUp() override {
    if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0) GTEST_SKIP() << "no display for windows";
  }
};

const std::wstring kRussianCaption =
    L"Voxtrel - \x043f\x0440\x043e\x0432\x0435\x0440\x043a\x0430 \x043a\x0430\x0447\x0435\x0441\x0442\x0432\x0430 "
    L"\x0441\x043e\x0435\x0434\x0438\x043d\x0435\x043d\x0438\x044f";

TEST_F(Program, EnglishByOption) {
  std::wstring caption;
  DWORD code = 0;
  RECT rect = {};
  RunProgram(L"-l=user@voxtrel.test -t=1033", &caption, &code, &rect);
  EXPECT_EQ(caption, L"Voxtrel - connection quality check");
  EXPECT_EQ(code, 1u);  // the frame's quit code
  EXPECT_EQ(rect.right - rect.left, 600);
  EXPECT_EQ(rect.bottom - rect.top, 460);
}

TEST_F(Program, RussianByOption) {
  std::wstring caption;
  DWORD code = 0;
  RunProgram(L"-t=1049", &caption, &code);
  EXPECT_EQ(caption, kRussianCaption);
}

TEST_F(Program, WithoutOptionTheUserInterfaceLanguageDecides) {
  std::wstring caption;
  DWORD code = 0;
  RunProgram(L"", &caption, &code);
  const LANGID ui = GetUserDefaultUILanguage();
  if ((ui & 0x3FF) == LANG_ENGLISH)
    EXPECT_EQ(caption, L"Voxtrel - connection quality check");
  else if ((ui & 0x3FF) == LANG_RUSSIAN)
    EXPECT_EQ(caption, kRussianCaption);
  else
    GTEST_SKIP() << "user interface language " << ui;
}

}  // namespace
