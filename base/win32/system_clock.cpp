#include "base/win32/system_clock.h"

#include <windows.h>

namespace base {

uint64_t SystemClock::NowMs() {
  FILETIME ft;
  GetSystemTimeAsFileTime(&ft);
  return FileTimeToUnixMs((static_cast<uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

void SystemClock::SleepMs(uint32_t ms) { SleepEx(ms, TRUE); }

}  // namespace base
