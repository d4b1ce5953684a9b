#pragma once
#include <cstdint>
#include <string>

namespace base {
// The system's message text for an error code (FormatMessageW, from the
// system, default language), exactly as the system gives it; empty when it
// has none.
std::wstring SystemMessage(uint32_t code);
}  // namespace base
