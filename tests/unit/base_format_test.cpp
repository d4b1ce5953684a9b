#include <gtest/gtest.h>

#include <climits>

#include "base/format.h"

namespace {

using base::Format;

TEST(Format, ConversionsFlagsWidthAndPrecision) {
  const std::wstring text = L"Hello";
  const struct {
    std::wstring got, want;
  } cases[] = {
      {Format(L"%s|%d|%u", text, -5, 7u), L"Hello|-5|7"},
      {Format(L"%x %X", 0xbeefu, 0xbeefu), L"beef BEEF"},
      {Format(L"0x%08x", 0x2AF9u), L"0x00002af9"},
      {Format(L"0x%08x", -2147467259), L"0x80004005"},  // an HRESULT passed as int
      {Format(L"HRESULT 0x%8.8x", 5u), L"HRESULT 0x00000005"},
      {Format(L"%02d:%02d", 1, 5), L"01:05"},
      {Format(L"%3d|%-3d|%03d", 7, 7, 7), L"  7|7  |007"},
      {Format(L"%+d %+d", 5, -5), L"+5 -5"},
      {Format(L"(%+dm)", 0), L"(+0m)"},
      {Format(L"%c%c", L'A', 0x436), L"A\x436"},
      {Format(L"100%%"), L"100%"},
      {Format(L"%d%%", 11), L"11%"},
      {Format(L"%.3s|%5s|%-5s|", text, L"ab", L"ab"), L"Hel|   ab|ab   |"},
      {Format(L"%.3d", 5), L"005"},
      {Format(L"%#x %#o", 255u, 8u), L"0xff 010"},
      {Format(L"%*d|%-*d", 4, 1, 3, 2), L"   1|2  "},
      {Format(L"%d", INT_MIN), L"-2147483648"},
      {Format(L"%u", -1), L"4294967295"},                      // 32-bit, as the C library on Windows
      {Format(L"%lld %I64u", -5000000000LL, 5000000000ULL), L"-5000000000 5000000000"},
      {Format(L"%d", 5000000000LL), L"705032704"},             // plain %d is 32-bit
      {Format(L"%ls and %S", L"wide", L"wide2"), L"wide and wide2"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.got, c.want);
}

TEST(Format, BadFormatsNeverMisbehave) {
  EXPECT_EQ(Format(L"[%s] [%d] [%x]"), L"[] [] []");                 // missing arguments: empty
  EXPECT_EQ(Format(L"%s", L"a", L"b", 3), L"a");                    // surplus ignored
  EXPECT_EQ(Format(L"%d|%s", L"text", 42), L"|42");                 // wrong kinds: nothing / digits
  EXPECT_EQ(Format(L"%s", static_cast<const wchar_t*>(nullptr)), L"");
  EXPECT_EQ(Format(L"50%"), L"50%");                                // lone percent at the end
  EXPECT_EQ(Format(L"%q %d", 1), L"%q 1");                          // unknown conversion kept, takes nothing
  EXPECT_EQ(Format(L"%5"), L"%5");
  EXPECT_EQ(Format(L"%999999999d", 1).size(), 4096u);               // absurd widths are bounded
  EXPECT_EQ(Format(L"%*d", INT_MIN, 1).size(), 4096u);
  EXPECT_EQ(Format(L"%n%p", 1, 2), L"%n%p");                        // no writes through %n
}

TEST(Format, ProgramFormats) {
  EXPECT_EQ(Format(L"Ping statistics for %s:\r\n\r\tPackets: Sent = %d, Received = %d, Lost = %d (%d%% loss),\n"
                   L"Approximate round trip times in milli-seconds:\r\n\tMinimum = %dms, Maximum = %dms, Average = %dms",
                   std::wstring(L"198.18.0.1"), 10u, 7u, 3u, 30u, 0u, 5u, 2u),
            L"Ping statistics for 198.18.0.1:\r\n\r\tPackets: Sent = 10, Received = 7, Lost = 3 (30% loss),\n"
            L"Approximate round trip times in milli-seconds:\r\n\tMinimum = 0ms, Maximum = 5ms, Average = 2ms");
  EXPECT_EQ(Format(L"%3d\t%s\t%s\t%s\t%s", 1, L"<1ms", L"*", L"12ms", L"router [198.18.1.1]"),
            L"  1\t<1ms\t*\t12ms\trouter [198.18.1.1]");
  EXPECT_EQ(Format(L"%3d\t", 254), L"254\t");
  EXPECT_EQ(Format(L"Socket error at %s:  %u - %s", L"WSAConnect", 10061u, L"Connection refused"),
            L"Socket error at WSAConnect:  10061 - Connection refused");
  EXPECT_EQ(Format(L"Reply from %s: bytes=%d time=%dms TTL=%d", L"127.0.0.1", static_cast<unsigned short>(512), 0u,
                   static_cast<unsigned char>(128)),
            L"Reply from 127.0.0.1: bytes=512 time=0ms TTL=128");
  EXPECT_EQ(Format(L"%d:%02d:%02d.%03d", 1, 2, 3, 4), L"1:02:03.004");
  EXPECT_EQ(Format(L"-------- \x421\x442\x430\x440\x442 \"%s\" --------\r\n", L"X"),
            L"-------- \x421\x442\x430\x440\x442 \"X\" --------\r\n");
}

}  // namespace
