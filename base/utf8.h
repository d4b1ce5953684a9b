// UTF-8 <-> wide text. wchar_t is 16 bits on Windows (UTF-16, surrogate pairs)
// and 32 bits natively (UTF-32); both are handled. Invalid input never throws:
// each broken sequence or lone surrogate becomes U+FFFD.
#pragma once
#include <string>

namespace base {

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& bytes);

// Lowercase ASCII letters only; everything else is left alone.
std::wstring AsciiLower(std::wstring text);
bool EqualsNoCaseAscii(const std::wstring& a, const std::wstring& b);

}  // namespace base
