// Base64 of RFC 4648 (standard alphabet, '=' padding, no line breaks).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace base {

std::string Base64Encode(const void* data, size_t size);
inline std::string Base64Encode(const std::string& bytes) { return Base64Encode(bytes.data(), bytes.size()); }
// Strict decoding: any character outside the alphabet, bad padding or a
// length that is not a multiple of four gives nothing.
std::optional<std::vector<uint8_t>> Base64Decode(const std::string& text);

}  // namespace base
