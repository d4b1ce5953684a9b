// probix.exe: start-up, language, message loop, shutdown.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/app_state.h"
#include "app/win32/language_platform_win32.h"
#include "app/win32/process_config.h"
#include "app/win32/startup_win32.h"
#include "ui/message_loop.h"
#include "ui/placeholder_frame.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int showCommand) {
  app::HardenDllSearch();
  app::ProcessServiceConfig();  // built from the program file's own strings

  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  app::AppState& state = app::App();
  app::ReadOptions(commandLine ? commandLine : L"", state);

  if (app::CLanguageSupport* language = app::LanguageSupportInstance())
    app::ChooseLanguage(*language, app::StartupLanguageCandidates(state.languageOption, language->OwnLanguage()));

  HKEY accountKey = nullptr;
  std::wstring mail;
  if (app::ReadSupportMailOverride(&accountKey, &mail)) state.supportMailOverride = mail;

  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
  InitCommonControlsEx(&controls);

  HMODULE richEdit = app::LoadSystemLibrary(L"RICHED20.DLL");

  int exitCode = 0;
  {
    ui::MessageLoop loop;
    ui::ScopedMessageLoop current(&loop);
    ui::PlaceholderFrame frame;
    if (frame.Create(showCommand)) exitCode = loop.Run();
  }

  if (richEdit) FreeLibrary(richEdit);
  CoUninitialize();
  if (accountKey) RegCloseKey(accountKey);
  return exitCode;
}
