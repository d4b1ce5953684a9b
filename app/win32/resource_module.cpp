#include "app/win32/resource_module.h"

#include <atomic>

namespace app {
namespace {
std::atomic<HMODULE>& Slot() {
  static std::atomic<HMODULE> module{GetModuleHandleW(nullptr)};
  return module;
}
}  // namespace

HMODULE ResourceModule() { return Slot().load(); }

HMODULE ExchangeResourceModule(HMODULE module) { return Slot().exchange(module); }

std::wstring LoadModuleString(HMODULE module, UINT id) {
  // With a zero buffer size LoadStringW hands out a pointer into the resource
  // itself, so no text is cut at an arbitrary length.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  if (length <= 0 || !text) return std::wstring();
  return std::wstring(text, static_cast<size_t>(length));
}

std::wstring LoadResString(UINT id) { return LoadModuleString(ResourceModule(), id); }

}  // namespace app
