#include <gtest/gtest.h>

#include "base/base64.h"
#include "base/clock.h"
#include "base/utf8.h"

namespace {

std::wstring W(std::initializer_list<char32_t> codepoints) {
  std::wstring s;
  for (char32_t c : codepoints) {
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
      c -= 0x10000;
      s += static_cast<wchar_t>(0xD800 + (c >> 10));
      s += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
    } else {
      s += static_cast<wchar_t>(c);
    }
  }
  return s;
}

TEST(Utf8, RoundTripsEveryPlane) {
  const struct {
    std::wstring wide;
    std::string utf8;
  } cases[] = {
      {L"", ""},
      {L"abc", "abc"},
      {W({0x41F, 0x440, 0x438}), "\xD0\x9F\xD1\x80\xD0\xB8"},               // Cyrillic, 2 bytes each
      {W({0x20AC}), "\xE2\x82\xAC"},                                        // euro sign, 3 bytes
      {W({0x1F600}), "\xF0\x9F\x98\x80"},                                   // outside the BMP: surrogate pair on Windows
      {W({0x10FFFF}), "\xF4\x8F\xBF\xBF"},
      {W({0x7F, 0x80, 0x7FF, 0x800, 0xFFFF}), "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(base::ToUtf8(c.wide), c.utf8);
    EXPECT_EQ(base::FromUtf8(c.utf8), c.wide);
  }
}

TEST(Utf8, InvalidInputBecomesReplacementCharacters) {
  const std::wstring R = W({0xFFFD});
  const struct {
    std::string utf8;
    std::wstring wide;
  } cases[] = {
      {"a\x80z", L"a" + R + L"z"},                       // lone continuation byte
      {"\xC0\xAF", R + R},                               // overlong encoding
      {"\xE0\x80\xAF", R + R + R},                       // overlong three-byte form
      {"\xED\xA0\x80", R + R + R},                       // encoded surrogate
      {"\xF4\x90\x80\x80", R + R + R + R},               // beyond U+10FFFF
      {"\xE2\x82", R},                                   // truncated at the end
      {"\xE2\x82z", R + L"z"},                           // truncated before a letter: one replacement
      {"\xFF\xFE", R + R},
  };
  for (const auto& c : cases) EXPECT_EQ(base::FromUtf8(c.utf8), c.wide) << c.utf8.size();
}

TEST(Utf8, LoneSurrogatesAreReplacedWhenEncoding) {
  if (sizeof(wchar_t) != 2) GTEST_SKIP() << "surrogates exist only in 16-bit text";
  std::wstring lone;
  lone += static_cast<wchar_t>(0xD800);
  lone += L'x';
  lone += static_cast<wchar_t>(0xDC00);
  EXPECT_EQ(base::ToUtf8(lone), "\xEF\xBF\xBDx\xEF\xBF\xBD");
}

TEST(AsciiCase, ComparesOnlyAsciiWithoutCase) {
  EXPECT_TRUE(base::EqualsNoCaseAscii(L"udp", L"UDP"));
  EXPECT_FALSE(base::EqualsNoCaseAscii(L"udp", L"udp "));
  EXPECT_EQ(base::AsciiLower(W({'A', 0x41F})), W({'a', 0x41F}));  // Cyrillic untouched
}

TEST(Base64, Rfc4648Vectors) {
  const std::pair<std::string, std::string> vectors[] = {
      {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},        {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
  };
  for (const auto& [plain, encoded] : vectors) {
    EXPECT_EQ(base::Base64Encode(plain), encoded);
    auto decoded = base::Base64Decode(encoded);
    ASSERT_TRUE(decoded.has_value()) << encoded;
    EXPECT_EQ(std::string(decoded->begin(), decoded->end()), plain);
  }
}

TEST(Base64, EncodesAllByteValuesWithoutLineBreaks) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  bytes += bytes;  // 512 bytes: long enough for a MIME encoder to wrap
  const std::string text = base::Base64Encode(bytes);
  EXPECT_EQ(text.size(), 684u);
  EXPECT_EQ(text.find('\n'), std::string::npos);
  EXPECT_EQ(text.substr(0, 8), "AAECAwQF");
  auto back = base::Base64Decode(text);
  ASSERT_TRUE(back);
  EXPECT_EQ(std::string(back->begin(), back->end()), bytes);
}

TEST(Base64, RejectsMalformedText) {
  for (const char* bad : {"Zg=", "Z===", "Zg=a", "Zm9v!A==", "=Zg=", "Zg==Zg=="}) EXPECT_FALSE(base::Base64Decode(bad)) << bad;
}

TEST(Clock, FileTimeConversion) {
  EXPECT_EQ(base::FileTimeToUnixMs(116444736000000000ULL), 0u);
  EXPECT_EQ(base::FileTimeToUnixMs(116444736000000000ULL + 12345678), 1234u);  // 100 ns units, truncated
  EXPECT_EQ(base::FileTimeToUnixMs(0), 0u);                                   // before 1970 clamps
  base::ManualClock clock(1000);
  clock.SleepMs(250);
  EXPECT_EQ(clock.NowMs(), 1250u);
}

}  // namespace
