// The one printf-style formatter for every text format of the program,
// including formats that come from a language module. It cannot misbehave on
// a bad format: a missing argument formats as empty, surplus arguments are
// ignored, a conversion that does not fit its argument's kind yields nothing.
//
// Supported: %s %S %d %i %u %x %X %o %c %%, flags "-+ #0", width and precision
// (digits or '*'), length modifiers h l ll I32 I64 (ll/I64 select 64 bits;
// otherwise integers are taken as 32-bit, as the Windows C library does).
#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>

namespace base {

class FormatArg {
 public:
  enum class Kind { kSigned, kUnsigned, kText, kChar };

  FormatArg(int v) : m_kind(Kind::kSigned), m_signed(v) {}
  FormatArg(long v) : m_kind(Kind::kSigned), m_signed(v) {}
  FormatArg(long long v) : m_kind(Kind::kSigned), m_signed(v) {}
  FormatArg(unsigned v) : m_kind(Kind::kUnsigned), m_unsigned(v) {}
  FormatArg(unsigned long v) : m_kind(Kind::kUnsigned), m_unsigned(v) {}
  FormatArg(unsigned long long v) : m_kind(Kind::kUnsigned), m_unsigned(v) {}
  FormatArg(unsigned short v) : m_kind(Kind::kUnsigned), m_unsigned(v) {}
  FormatArg(unsigned char v) : m_kind(Kind::kUnsigned), m_unsigned(v) {}
  FormatArg(wchar_t v) : m_kind(Kind::kChar), m_unsigned(static_cast<uint32_t>(v)) {}
  FormatArg(const std::wstring& v) : m_kind(Kind::kText), m_text(v.data()), m_length(v.size()) {}
  // A null pointer formats like an empty text.
  FormatArg(const wchar_t* v);

  Kind kind() const { return m_kind; }
  int64_t AsSigned() const;
  uint64_t AsUnsigned() const;
  const wchar_t* text() const { return m_text; }
  size_t length() const { return m_length; }

 private:
  Kind m_kind;
  int64_t m_signed = 0;
  uint64_t m_unsigned = 0;
  const wchar_t* m_text = nullptr;
  size_t m_length = 0;
};

std::wstring FormatList(const std::wstring& format, std::initializer_list<FormatArg> args);

template <class... Args>
std::wstring Format(const std::wstring& format, const Args&... args) {
  return FormatList(format, {FormatArg(args)...});
}

}  // namespace base
