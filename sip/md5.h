// MD5 (RFC 1321) and the program's uses of it.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace Diagnostic {

using Md5Digest = std::array<uint8_t, 16>;

// Where digests come from: the system's library, or the built-in code.
class Md5 {
 public:
  virtual ~Md5() = default;
  virtual Md5Digest Digest(const void* data, size_t size) = 0;
};

// RFC 1321, written out.
class BuiltinMd5 : public Md5 {
 public:
  Md5Digest Digest(const void* data, size_t size) override;
};

// 32 hexadecimal digits, high nibble first, in UPPERCASE.
std::wstring UpperHex(const Md5Digest& digest);
// MD5 of the UTF-8 bytes of a text, as UpperHex.
std::wstring Md5Hex(Md5& md5, const std::wstring& text);

}  // namespace Diagnostic
