#include "base/format.h"

#include <cwchar>
#include <vector>

namespace base {

FormatArg::FormatArg(const wchar_t* v) : m_kind(Kind::kText), m_text(v), m_length(v ? std::wcslen(v) : 0) {}

int64_t FormatArg::AsSigned() const {
  return m_kind == Kind::kSigned ? m_signed : static_cast<int64_t>(m_unsigned);
}

uint64_t FormatArg::AsUnsigned() const {
  return m_kind == Kind::kSigned ? static_cast<uint64_t>(m_signed) : m_unsigned;
}

namespace {

constexpr int kMaxWidth = 4096;

struct Spec {
  bool left = false, plus = false, space = false, alt = false, zero = false;
  int width = 0;
  int precision = -1;
  bool wide64 = false;
};

std::wstring Digits(uint64_t v, unsigned base, bool upper) {
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::wstring s;
  do {
    s.insert(s.begin(), static_cast<wchar_t>(set[v % base]));
    v /= base;
  } while (v);
  return s;
}

void Pad(std::wstring& out, const std::wstring& body, const Spec& spec, const std::wstring& prefix,
         bool zeroAllowed) {
  const size_t len = prefix.size() + body.size();
  const size_t width = spec.width > 0 ? static_cast<size_t>(spec.width) : 0;
  const size_t fill = width > len ? width - len : 0;
  if (spec.left) {
    out += prefix;
    out += body;
    out.append(fill, L' ');
  } else if (spec.zero && zeroAllowed) {
    out += prefix;
    out.append(fill, L'0');
    out += body;
  } else {
    out.append(fill, L' ');
    out += prefix;
    out += body;
  }
}

void FormatInteger(std::wstring& out, const FormatArg& arg, wchar_t conv, const Spec& spec) {
  std::wstring prefix, body;
  if (conv == L'd' || conv == L'i') {
    int64_t v = spec.wide64 ? arg.AsSigned() : static_cast<int32_t>(static_cast<uint32_t>(arg.AsUnsigned()));
    uint64_t mag = v < 0 ? static_cast<uint64_t>(-(v + 1)) + 1 : static_cast<uint64_t>(v);
    if (v < 0) prefix = L"-";
    else if (spec.plus) prefix = L"+";
    else if (spec.space) prefix = L" ";
    body = Digits(mag, 10, false);
  } else {
    uint64_t v = spec.wide64 ? arg.AsUnsigned() : static_cast<uint32_t>(arg.AsUnsigned());
    unsigned base = conv == L'u' ? 10 : conv == L'o' ? 8 : 16;
    body = Digits(v, base, conv == L'X');
    if (spec.alt && v != 0) {
      if (conv == L'x') prefix = L"0x";
      else if (conv == L'X') prefix = L"0X";
      else if (conv == L'o') body.insert(body.begin(), L'0');
    }
  }
  if (spec.precision >= 0) {
    if (spec.precision == 0 && body == L"0") body.clear();
    if (body.size() < static_cast<size_t>(spec.precision)) body.insert(0, spec.precision - body.size(), L'0');
  }
  Pad(out, body, spec, prefix, spec.precision < 0);
}

}  // namespace

std::wstring FormatList(const std::wstring& format, std::initializer_list<FormatArg> list) {
  std::vector<const FormatArg*> args;
  for (const auto& a : list) args.push_back(&a);
  size_t next = 0;
  auto take = [&]() -> const FormatArg* { return next < args.size() ? args[next++] : nullptr; };

  std::wstring out;
  out.reserve(format.size() + 16);
  const size_t n = format.size();
  size_t i = 0;
  while (i < n) {
    wchar_t c = format[i];
    if (c != L'%') {
      out += c;
      ++i;
      continue;
    }
    const size_t start = i++;
    if (i < n && format[i] == L'%') {
      out += L'%';
      ++i;
      continue;
    }
    Spec spec;
    for (; i < n; ++i) {
      wchar_t f = format[i];
      if (f == L'-') spec.left = true;
      else if (f == L'+') spec.plus = true;
      else if (f == L' ') spec.space = true;
      else if (f == L'#') spec.alt = true;
      else if (f == L'0') spec.zero = true;
      else break;
    }
    auto number = [&](int& target) {
      if (i < n && format[i] == L'*') {
        ++i;
        const FormatArg* a = take();
        const int64_t v = a ? a->AsSigned() : 0;
        target = static_cast<int>(v > kMaxWidth ? kMaxWidth : v < -kMaxWidth ? -kMaxWidth : v);
        return;
      }
      long long v = 0;
      while (i < n && format[i] >= L'0' && format[i] <= L'9') {
        v = v * 10 + (format[i] - L'0');
        if (v > kMaxWidth) v = kMaxWidth;  // a hostile format cannot ask for gigabytes
        ++i;
      }
      target = static_cast<int>(v);
    };
    number(spec.width);
    if (spec.width < 0) {
      spec.left = true;
      spec.width = -spec.width;
    }
    if (i < n && format[i] == L'.') {
      ++i;
      spec.precision = 0;
      number(spec.precision);
      if (spec.precision < 0) spec.precision = -1;
    }
    // Length modifiers.
    while (i < n) {
      if (format[i] == L'h' || format[i] == L'z' || format[i] == L'j' || format[i] == L't') {
        ++i;
      } else if (format[i] == L'l') {
        ++i;
        if (i < n && format[i] == L'l') {
          spec.wide64 = true;
          ++i;
        }
      } else if (format.compare(i, 3, L"I64") == 0) {
        spec.wide64 = true;
        i += 3;
      } else if (format.compare(i, 3, L"I32") == 0) {
        i += 3;
      } else {
        break;
      }
    }
    if (i >= n) {  // a format that ends inside a conversion: keep it as written
      out.append(format, start, n - start);
      break;
    }
    const wchar_t conv = format[i++];
    switch (conv) {
      case L's':
      case L'S': {
        const FormatArg* a = take();
        std::wstring body;
        if (a && a->kind() == FormatArg::Kind::kText) {
          body.assign(a->text() ? a->text() : L"", a->length());
        } else if (a && a->kind() == FormatArg::Kind::kChar) {
          body.assign(1, static_cast<wchar_t>(a->AsUnsigned()));
        } else if (a) {
          body = a->kind() == FormatArg::Kind::kSigned ? std::to_wstring(a->AsSigned())
                                                       : std::to_wstring(a->AsUnsigned());
        }
        if (spec.precision >= 0 && body.size() > static_cast<size_t>(spec.precision)) body.resize(spec.precision);
        Pad(out, body, spec, L"", false);
        break;
      }
      case L'c':
      case L'C': {
        const FormatArg* a = take();
        std::wstring body;
        if (a && a->kind() != FormatArg::Kind::kText) body.assign(1, static_cast<wchar_t>(a->AsUnsigned()));
        Pad(out, body, spec, L"", false);
        break;
      }
      case L'd': case L'i': case L'u': case L'x': case L'X': case L'o': {
        const FormatArg* a = take();
        if (a && a->kind() != FormatArg::Kind::kText) FormatInteger(out, *a, conv, spec);
        else Pad(out, L"", spec, L"", false);
        break;
      }
      default:  // unknown conversion: shown as written, consumes nothing
        out.append(format, start, i - start);
        break;
    }
  }
  return out;
}

}  // namespace base
