#include "base/utf8.h"

namespace base {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendWide(std::wstring& out, char32_t cp) {
  if constexpr (sizeof(wchar_t) == 2) {
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out += static_cast<wchar_t>(0xD800 + (cp >> 10));
      out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
      return;
    }
  }
  out += static_cast<wchar_t>(cp);
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

}  // namespace

std::string ToUtf8(const std::wstring& text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = static_cast<char32_t>(text[i]);
    if constexpr (sizeof(wchar_t) == 2) {
      c &= 0xFFFF;
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
        char32_t low = static_cast<char32_t>(text[i + 1]) & 0xFFFF;
        if (low >= 0xDC00 && low <= 0xDFFF) {
          AppendUtf8(out, 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
          ++i;
          continue;
        }
      }
    }
    if (IsSurrogate(c) || c > 0x10FFFF) c = kReplacement;
    AppendUtf8(out, c);
  }
  return out;
}

std::wstring FromUtf8(const std::string& bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  const size_t n = bytes.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out += static_cast<wchar_t>(b);
      ++i;
      continue;
    }
    int need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF;  // bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
      need = 1; cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      need = 2; cp = b & 0x0F;
      if (b == 0xE0) lo = 0xA0;
      if (b == 0xED) hi = 0x9F;  // no encoded surrogates
    } else if (b >= 0xF0 && b <= 0xF4) {
      need = 3; cp = b & 0x07;
      if (b == 0xF0) lo = 0x90;
      if (b == 0xF4) hi = 0x8F;
    } else {
      AppendWide(out, kReplacement);
      ++i;
      continue;
    }
    // Maximal subpart: consume valid continuation bytes; a bad one ends the
    // sequence with one replacement character and is looked at again.
    size_t j = i + 1;
    int got = 0;
    while (got < need && j < n) {
      const unsigned char c = static_cast<unsigned char>(bytes[j]);
      const unsigned char l = got == 0 ? lo : 0x80;
      const unsigned char h = got == 0 ? hi : 0xBF;
      if (c < l || c > h) break;
      cp = (cp << 6) | (c & 0x3F);
      ++j;
      ++got;
    }
    AppendWide(out, got == need ? cp : kReplacement);
    i = j;
  }
  return out;
}

std::wstring AsciiLower(std::wstring text) {
  for (auto& c : text)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return text;
}

bool EqualsNoCaseAscii(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && AsciiLower(a) == AsciiLower(b);
}

}  // namespace base
