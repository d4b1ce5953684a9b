// MD5, digest pieces, framing and extraction; and the hostile-input tests:
// the RFC 4475 torture messages and a bounded random-input driver fed to the
// framing and the answer handling.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "base/utf8.h"
#include "fakes.h"
#include "modules/sip_module.h"
#include "sip/digest.h"
#include "sip/md5.h"
#include "sip/sip_messages.h"
#include "sip_fakes.h"

namespace {

TEST(Md5, Rfc1321Suite) {
  const std::pair<std::string, const wchar_t*> suite[] = {
      {"", L"D41D8CD98F00B204E9800998ECF8427E"},
      {"a", L"0CC175B9C0F1B6A831C399E269772661"},
      {"abc", L"900150983CD24FB0D6963F7D28E17F72"},
      {"message digest", L"F96B697D7CB7938D525A2F31AAF161D0"},
      {"abcdefghijklmnopqrstuvwxyz", L"C3FCD3D76192E4007DFB496CCA67E13B"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", L"D174AB98D277D9F5A5611C2C9F419D9F"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       L"57EDF4A22BE3C955AC49DA2E2107B67A"},
  };
  Diagnostic::BuiltinMd5 md5;
  for (const auto& [text, hex] : suite) EXPECT_EQ(Diagnostic::UpperHex(md5.Digest(text.data(), text.size())), hex);
  // Lengths around the padding boundary.
  for (size_t n : {55u, 56u, 63u, 64u, 65u, 119u, 120u}) {
    const std::string s(n, 'x');
    EXPECT_EQ(Diagnostic::UpperHex(md5.Digest(s.data(), s.size())).size(), 32u);
  }
  // A text is hashed as its UTF-8 bytes.
  EXPECT_EQ(Diagnostic::Md5Hex(md5, L"\x0436"), Diagnostic::UpperHex(md5.Digest("\xD0\xB6", 2)));
}

TEST(Digest, ClientNonceAndResponse) {
  Diagnostic::BuiltinMd5 md5;
  std::tm t = {};
  t.tm_mday = 11;
  t.tm_mon = 11;
  t.tm_year = 125;
  t.tm_hour = 18;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ(Diagnostic::LocalTimeText(t), L"11/12/2025 18:05:09");
  EXPECT_EQ(Diagnostic::ClientNonce(md5, L"11/12/2025 18:05:09"), L"IlERMxlMV8boA04PGwi/UA==");
  Diagnostic::Challenge c{L"voxtrel.test", L"4f1a2b3c", L"", L"auth", L"IlERMxlMV8boA04PGwi/UA=="};
  EXPECT_EQ(Diagnostic::DigestResponse(md5, L"echotest@198.18.3.2", L"Tib4Welo", c),
            L"DF6A170CF37BAFFFE64A263F27CF674C");
}

TEST(RandomText, UsesOnlyTheFirst35Characters) {
  fakes::CountingRandom random;
  const std::wstring text = Diagnostic::RandomText(random, 70);
  EXPECT_EQ(text.substr(0, 36), L"abcdefghijklmnopqrstuvwxyz012345678a");
  EXPECT_EQ(text.find(L'9'), std::wstring::npos);
}

TEST(Extraction, KeyTerminatorAndFirstOccurrence) {
  std::wstring value = L"kept";
  Diagnostic::ExtractValue(L"realm=\"a\" realm=\"b\"", L"realm=\"", L'"', &value);
  EXPECT_EQ(value, L"a");
  Diagnostic::ExtractValue(L"realm=\"unterminated", L"realm=\"", L'"', &value);
  EXPECT_EQ(value, L"a");  // no terminator: unchanged
  Diagnostic::ExtractValue(L"realm=\"\"", L"realm=\"", L'"', &value);
  EXPECT_EQ(value, L"");  // present and empty

  Diagnostic::DialogValues v;
  v.remoteTarget = L"echotest_in@x";
  Diagnostic::ExtractOkValues(L"SIP/2.0 200 OK\r\nFrom: <sip:a>;tag=mine\r\nTo: <sip:b>;tag=theirs\r\n"
                              L"Contact: \"Echo\" <sip:echo@x>\r\n\r\no=- 1 1 IN IP4 198.18.3.2\r\n",
                              v);
  EXPECT_EQ(v.remoteTag, L"theirs");          // searched from "To: "
  EXPECT_EQ(v.remoteTarget, L"echotest_in@x");  // a display name hides the Contact
  EXPECT_EQ(v.remoteMediaAddress, L"198.18.3.2");
  EXPECT_EQ(v.remoteMediaPort, L"");
  EXPECT_EQ(Diagnostic::FirstLine(L"no line end"), L"");
}

TEST(Framing, SplitsOnStatusLinesAndKeepsTheRest) {
  Diagnostic::SipFramer framer;
  auto feed = [&framer](const std::string& bytes) {
    std::copy(bytes.begin(), bytes.end(), framer.WritePosition());
    return framer.Received(bytes.size());
  };
  EXPECT_TRUE(feed("INVITE sip:x SIP/2.0\r\n\r\n").empty());  // a request: dropped
  auto m = feed("junk SIP/2.0 100 Trying\r\n\r\nSIP/2.0 180 Ringing\r\n");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], "junk SIP/2.0 100 Trying\r\n\r\n");  // what stands before the first status line comes along
  m = feed("\r\n");
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], "SIP/2.0 180 Ringing\r\n\r\n");
  m = feed(std::string("SIP/2.0 200 OK\r\n\0SIP/2.0 100 Trying\r\n", 38));
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0], "SIP/2.0 200 OK\r\n");  // a NUL ends the text
}

TEST(Framing, AFullReadLeavesRoomForTheTerminator) {
  Diagnostic::SipFramer framer;
  EXPECT_EQ(framer.Capacity(), Diagnostic::SipFramer::kBufferSize - 1);
  std::string big(framer.Capacity(), 'x');
  big.replace(0, 8, "SIP/2.0 ");
  big.replace(1000, 8, "SIP/2.0 ");
  std::copy(big.begin(), big.end(), framer.WritePosition());
  auto m = framer.Received(big.size());
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].size(), 1000u);
  EXPECT_EQ(framer.Capacity(), Diagnostic::SipFramer::kBufferSize - 1 - (big.size() - 1000));
  // A claim beyond the capacity is cut to it: the buffer holds one message of
  // all its bytes but the terminator's.
  std::fill(framer.WritePosition(), framer.WritePosition() + framer.Capacity(), 'y');
  m = framer.Received(framer.Capacity() + 50);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_EQ(m[0].size(), Diagnostic::SipFramer::kBufferSize - 1);
  EXPECT_EQ(m[0].back(), 'y');
}

TEST(Statistics, ParsingRules) {
  const auto s = Diagnostic::ParseStatistics(L"A: 1\nB: two: parts\r\nnoseparator\nA: 3\nLAST");
  EXPECT_EQ(s.at(L"A"), L"3");
  EXPECT_EQ(s.at(L"B"), L"two: parts\r");
  EXPECT_EQ(s.at(L"LAST"), L"");
  EXPECT_EQ(s.count(L"noseparator"), 0u);
}

// ---- Hostile input ----

// A call whose INVITE is answered by the given reads.
bool CallWithReads(const std::vector<std::string>& reads) {
  base::ManualClock clock(1765476309000ULL);
  fakes::CountingRandom random;
  Diagnostic::BuiltinMd5 md5;
  fakes::FakeMediaFactory media;
  fakes::ScriptedSocket::Shared net;
  net.clock = &clock;
  net.responder = [reads](fakes::ScriptedSocket::Shared& s, const std::string& sent) {
    if (sent.compare(0, 7, "INVITE ") != 0) return;
    uint64_t at = 10;
    for (const auto& r : reads) s.Answer(at += 10, r);
  };
  Diagnostic::SipEnvironment environment;
  environment.services = {&clock, &random, &md5, [](uint64_t) { return std::tm{}; }, &media, {}};
  environment.makeSocket = [&net](Diagnostic::Module*, const std::wstring&, bool) {
    return std::make_unique<fakes::ScriptedSocket>(&net);
  };
  Diagnostic::ModuleContext context{&fakes::Russian(), &clock};
  Diagnostic::SIP sip(nullptr, context, environment, L"198.18.3.2", L"echotest@198.18.3.2", L"echotest_in@198.18.3.2",
                      L"Tib4Welo", L"UDP", true);
  const uint64_t start = clock.NowMs();
  sip.Run();
  // Every call ends, and within its limits.
  return clock.NowMs() - start <= Diagnostic::SIPCall::kCallLengthMs + 1000;
}

// What the answer handling takes from any bytes: framing, first line,
// extraction of every value.
void Digest(Diagnostic::SipFramer& framer, const std::string& bytes) {
  const size_t n = std::min(bytes.size(), framer.Capacity());
  std::copy(bytes.begin(), bytes.begin() + n, framer.WritePosition());
  for (const std::string& message : framer.Received(n)) {
    const std::wstring text = base::FromUtf8(message);
    Diagnostic::DialogValues v;
    Diagnostic::FirstLine(text);
    Diagnostic::ExtractOkValues(text, v);
    Diagnostic::ExtractChallenge(text, v);
  }
}

std::vector<std::string> TortureMessages() {
  std::vector<std::string> out;
  const std::string dir = PROBIX_TESTDATA_DIR "/rfc4475/";
  std::ifstream manifest(dir + "MANIFEST.tsv");
  std::string line;
  std::getline(manifest, line);  // header
  while (std::getline(manifest, line)) {
    const std::string file = line.substr(0, line.find('\t'));
    std::ifstream in(dir + file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    if (!s.str().empty()) out.push_back(s.str());
  }
  return out;
}

// Replies of our own making: the hostile shapes a server could send.
const std::vector<std::string> kHostileAnswers = {
    "SIP/2.0 ",
    "SIP/2.0 200 OK",
    "SIP/2.0 200 OK\r\nTo: \r\nContact: <sip:\r\nm=audio \r\nIN IP4 ",
    "SIP/2.0 401 Authentication required\r\nrealm=\"\r\nnonce=\"\r\nopaque=\"",
    "SIP/2.0 401 Authentication required\r\nTo: <sip:x>;tag=\r\n" + std::string(70000, 'n') + "\r\n",
    "SIP/2.0 200 OK\r\n\xff\xfe\xc0\xaf\xed\xa0\x80 broken UTF-8\r\n",
    std::string("SIP/2.0 100 Trying\r\n\0\0\0SIP/2.0 200 OK\r\n", 40),
    "SIP/2.0 SIP/2.0 SIP/2.0 SIP/2.0 \r\n",
    "sip/2.0 bye\r\n",
};

TEST(HostileInput, Rfc4475MessagesWholeSplitAndConcatenated) {
  const auto messages = TortureMessages();
  if (messages.empty()) GTEST_SKIP() << "the RFC 4475 messages are not beside this clone (../shared/testdata)";
  std::string all;
  for (const auto& m : messages) {
    all += m;
    EXPECT_TRUE(CallWithReads({m}));
    Diagnostic::SipFramer framer;
    for (size_t cut = 0; cut <= m.size(); ++cut) {  // split at every byte
      Digest(framer, m.substr(0, cut));
      Digest(framer, m.substr(cut));
    }
  }
  EXPECT_TRUE(CallWithReads({all}));
  // As answers, the torture responses go through the whole call too.
  std::vector<std::string> asAnswers;
  for (const auto& m : messages) asAnswers.push_back("SIP/2.0 100 Trying\r\n\r\n" + m);
  EXPECT_TRUE(CallWithReads(asAnswers));
}

TEST(HostileInput, OurOwnHostileAnswers) {
  for (const auto& a : kHostileAnswers) {
    EXPECT_TRUE(CallWithReads({a}));
    EXPECT_TRUE(CallWithReads({a, a, a}));
  }
}

// A bounded random-input driver: reads of random bytes built around the
// tokens the handling looks for and slices of the RFC 4475 messages (when
// present), fed to the framing and to whole calls.
TEST(HostileInput, RandomReadsNeverBreakTheHandling) {
  std::mt19937 rng(4475);
  const std::vector<std::string> seeds = TortureMessages();
  const std::string tokens[] = {"SIP/2.0 ", "SIP/2.0 200 OK\r\n", "SIP/2.0 401 Authentication required\r\n", "To: ",
                          "tag=", "\r\n", "Contact: <sip:", ">", "IN IP4 ", "m=audio ", " ", "realm=\"", "nonce=\"",
                          "opaque=\"", "qop=\"auth\"", "\"", std::string("\0", 1), "\xd0\xb6", "\xff"};
  auto randomRead = [&]() {
    std::string s;
    const int parts = rng() % 24;
    for (int i = 0; i < parts; ++i) {
      if (!seeds.empty() && rng() % 4 == 0) {
        const std::string& seed = seeds[rng() % seeds.size()];
        const size_t from = rng() % seed.size();
        s += seed.substr(from, rng() % (seed.size() - from + 1));
      } else if (rng() % 3) {
        s += tokens[rng() % (sizeof tokens / sizeof *tokens)];
      } else {
        const int n = rng() % 12;
        for (int k = 0; k < n; ++k) s += static_cast<char>(rng() % 256);
      }
    }
    return s;
  };
  Diagnostic::SipFramer framer;
  for (int i = 0; i < 100000; ++i) Digest(framer, randomRead());
  for (int i = 0; i < 600; ++i) {
    std::vector<std::string> reads(1 + rng() % 4);
    for (auto& r : reads) r = randomRead();
    EXPECT_TRUE(CallWithReads(reads));
  }
}

}  // namespace
