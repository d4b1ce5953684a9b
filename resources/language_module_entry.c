/* Entry point of a resource-only language module: it runs no code. */
#include <windows.h>

BOOL WINAPI LanguageModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
