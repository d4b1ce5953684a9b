#include "engine/win32/worker_platform_win32.h"

#include <windows.h>
#include <objbase.h>

#include <cstdlib>
#include <ctime>

namespace engine {

void Win32WorkerPlatform::SeedRandom() { std::srand(static_cast<unsigned>(_time64(nullptr) + GetTickCount())); }

bool Win32WorkerPlatform::InitApartment() { return SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }

void Win32WorkerPlatform::UninitApartment() { CoUninitialize(); }

}  // namespace engine
