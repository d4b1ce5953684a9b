#include <gtest/gtest.h>

#include <ctime>

#include "base/utf8.h"
#include "fakes.h"
#include "modules/sip_module.h"
#include "sip_fakes.h"

namespace {

using fakes::ScriptedSocket;

const std::string kTo = "To: <sip:echotest_in@198.18.3.2>;tag=srv7\r\n";

// An answer from the echo service: status line, the usual headers, a body.
std::string Answer(const std::string& status, const std::string& extra = "", const std::string& body = "",
                   const std::string& to = kTo) {
  return status + "\r\nVia: SIP/2.0/UDP 198.18.1.2:50600;rport=50600;branch=z9hG4bKx\r\n" +
         "From: \"echotest\" <sip:echotest@198.18.3.2>;tag=bcdefghijklmnopqrstuvwxyz0123456\r\n" + to +
         "Call-ID: 78abcdefghijklmnopqrstuvwxyz0123\r\nCSeq: 1 INVITE\r\n" + extra +
         "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

const std::string kChallenge =
    "WWW-Authenticate: Digest realm=\"voxtrel.test\", nonce=\"4f1a2b3c\", opaque=\"op42\", qop=\"auth\"\r\n";
const std::string kExpectedCnonce = "IlERMxlMV8boA04PGwi/UA==";
const std::string kExpectedResponse = "DF6A170CF37BAFFFE64A263F27CF674C";
const std::string kAnswerSdp =
    "v=0\r\no=- 1 1 IN IP4 198.18.3.2\r\ns=echo\r\nc=IN IP4 198.18.3.2\r\nt=0 0\r\nm=audio 30000 RTP/AVP 0\r\n";

std::string Method(const std::string& message) { return message.substr(0, message.find(' ')); }

class SipCallTest : public ::testing::Test {
 protected:
  SipCallTest() {
    net.clock = &clock;
    environment.services.clock = &clock;
    environment.services.random = &random;
    environment.services.md5 = &md5;
    environment.services.localTime = [](uint64_t ms) {
      const std::time_t t = static_cast<std::time_t>(ms / 1000);
      return *std::gmtime(&t);
    };
    environment.makeSocket = [this](Diagnostic::Module*, const std::wstring& host, bool udp) {
      hostAsked = host;
      udpAsked = udp;
      return std::make_unique<ScriptedSocket>(&net);
    };
  }

  std::unique_ptr<Diagnostic::SIP> Make(const std::wstring& transport = L"UDP", bool withCall = false) {
    if (withCall) environment.services.media = &media;
    return std::make_unique<Diagnostic::SIP>(nullptr, context, environment, L"198.18.3.2", L"echotest@198.18.3.2",
                                             L"echotest_in@198.18.3.2", L"Tib4Welo", transport, withCall);
  }
  std::vector<std::string> Methods() const {
    std::vector<std::string> out;
    for (const auto& m : net.sent) out.push_back(Method(m));
    return out;
  }
  int Count(const std::string& method) const {
    int n = 0;
    for (const auto& m : net.sent) n += Method(m) == method;
    return n;
  }
  std::string Header(size_t index, const std::string& name) const {
    const std::string& m = net.sent.at(index);
    const size_t at = m.find("\r\n" + name + ": ");
    if (at == std::string::npos) return "";
    return m.substr(at + 2, m.find("\r\n", at + 2) - at - 2);
  }
  // Answers every INVITE with the given status lines, in order, 20 ms apart.
  void AnswerInvites(std::vector<std::string> answers) {
    net.responder = [answers](ScriptedSocket::Shared& s, const std::string& sent) {
      if (Method(sent) != "INVITE") return;
      uint64_t delay = 20;
      for (const auto& a : answers) {
        s.Answer(delay, a);
        delay += 20;
      }
    };
  }
  bool Logged(const Diagnostic::Module& m, const std::wstring& line) const {
    return m.Log().find(line + L"\r\n") != std::wstring::npos;
  }

  base::ManualClock clock{1765476309000ULL};  // 2025-12-11 18:05:09 UTC
  fakes::CountingRandom random;
  Diagnostic::BuiltinMd5 md5;
  fakes::FakeMediaFactory media;
  ScriptedSocket::Shared net;
  Diagnostic::SipEnvironment environment;
  Diagnostic::ModuleContext context{&fakes::Russian(), &clock};
  std::wstring hostAsked;
  bool udpAsked = false;
};

TEST_F(SipCallTest, InviteIsByteExact) {
  auto sip = Make();
  sip->Run();  // no answer: one INVITE, then the time-out
  ASSERT_EQ(net.sent.size(), 1u);
  const std::string sdp =
      "v=0\r\no=- 12973677497139430 1 IN IP4 198.18.1.2\r\ns=Sondrix\r\nc=IN IP4 198.18.1.2\r\nt=0 0\r\n"
      "m=audio 52176 RTP/AVP 0 8 101\r\na=rtpmap:0 PCMU/8000\r\na=rtpmap:8 PCMA/8000\r\n"
      "a=rtpmap:101 telephone-event/8000\r\na=fmtp:101 0-16,32-49,64-89\r\na=sendrecv\r\n";
  EXPECT_EQ(net.sent[0],
            "INVITE sip:echotest_in@198.18.3.2 SIP/2.0\r\n"
            "Via: SIP/2.0/UDP 198.18.1.2:50600;rport;branch=z9hG4bKbcdefghijklmnopqrstuvwxyz012345678a\r\n"
            "Max-Forwards: 70\r\n"
            "From: \"echotest\" <sip:echotest@198.18.3.2>;tag=bcdefghijklmnopqrstuvwxyz0123456\r\n"
            "To: <sip:echotest_in@198.18.3.2>\r\n"
            "Contact: \"echotest\" <sip:echotest@198.18.3.2:50600>\r\n"
            "Call-ID: 78abcdefghijklmnopqrstuvwxyz0123\r\n"
            "CSeq: 1 INVITE\r\n"
            "Allow: INVITE, ACK, CANCEL, OPTIONS, BYE, REFER, NOTIFY, MESSAGE, SUBSCRIBE, INFO\r\n"
            "Supported: replaces\r\n"
            "User-Agent: Sondrix\r\n"
            "Content-Type: application/sdp\r\n"
            "Content-Length: 238\r\n\r\n" + sdp);
  EXPECT_EQ(sdp.size(), 238u);
  EXPECT_TRUE(udpAsked);
  EXPECT_EQ(hostAsked, L"198.18.3.2");
}

TEST_F(SipCallTest, RingingThenSilenceHangsUpAt18Seconds) {
  AnswerInvites({Answer("SIP/2.0 100 Trying"), Answer("SIP/2.0 180 Ringing")});
  auto sip = Make();
  EXPECT_TRUE(sip->Run());
  EXPECT_EQ(Methods(), (std::vector<std::string>{"INVITE", "BYE"}));
  EXPECT_TRUE(Logged(*sip, L"Stop call from probix"));
  EXPECT_GT(net.sentAt.back(), 18000u);
  EXPECT_LE(net.sentAt.back(), 18200u);
  EXPECT_EQ(Header(1, "To"), "To: <sip:echotest_in@198.18.3.2>;tag=");  // no 200: no remote tag yet
}

TEST_F(SipCallTest, NoAnswerOverUdpTimesOutWithoutBye) {
  auto sip = Make(L"udp");  // transport compared without case
  EXPECT_FALSE(sip->Run());
  EXPECT_EQ(Methods(), std::vector<std::string>{"INVITE"});
  EXPECT_TRUE(Logged(*sip, L"Timeout: 3000ms"));
  EXPECT_GT(sip->EndTime() - sip->StartTime(), 3000u);
  EXPECT_LE(sip->EndTime() - sip->StartTime(), 3200u);
  EXPECT_TRUE(udpAsked);
}

TEST_F(SipCallTest, ChallengeOnEveryInviteGivesUpAfterTheFourth) {
  AnswerInvites({Answer("SIP/2.0 401 Authentication required", kChallenge)});
  auto sip = Make(L"TCP");
  EXPECT_FALSE(sip->Run());
  EXPECT_FALSE(udpAsked);
  EXPECT_EQ(Count("INVITE"), 5);
  EXPECT_EQ(Count("ACK"), 4);
  EXPECT_EQ(Methods().back(), "BYE");
  EXPECT_TRUE(Logged(*sip, L"Auth error"));
  EXPECT_EQ(Header(0, "Via").substr(0, 21), "Via: SIP/2.0/TCP 198.");
}

TEST_F(SipCallTest, CSeqNumberingAndBranchesAcrossAChallenge) {
  int invites = 0;
  net.responder = [&invites](ScriptedSocket::Shared& s, const std::string& sent) {
    if (Method(sent) != "INVITE") return;
    if (++invites == 1) {
      s.Answer(20, Answer("SIP/2.0 401 Authentication required", kChallenge));
    } else {
      s.Answer(20, Answer("SIP/2.0 200 OK", "Contact: <sip:echo@198.18.3.9:5070>\r\n", kAnswerSdp));
    }
  };
  fakes::LcgRandom lcg;  // branches from a sequence without a short period
  environment.services.random = &lcg;
  auto sip = Make();
  EXPECT_TRUE(sip->Run());
  ASSERT_EQ(Methods(), (std::vector<std::string>{"INVITE", "ACK", "INVITE", "ACK", "BYE"}));
  EXPECT_EQ(Header(0, "CSeq"), "CSeq: 1 INVITE");
  EXPECT_EQ(Header(1, "CSeq"), "CSeq: 1 ACK");  // acknowledges the challenged INVITE
  EXPECT_EQ(Header(2, "CSeq"), "CSeq: 2 INVITE");
  EXPECT_EQ(Header(3, "CSeq"), "CSeq: 2 ACK");
  EXPECT_EQ(Header(4, "CSeq"), "CSeq: 3 BYE");
  // The ACK of a 401 reuses the INVITE's branch; the ACK of a 200 and the BYE get new ones.
  auto branch = [this](size_t i) { return Header(i, "Via").substr(Header(i, "Via").find("branch=")); };
  EXPECT_EQ(branch(1), branch(0));
  EXPECT_NE(branch(3), branch(2));
  EXPECT_EQ(Header(4, "Via").substr(Header(4, "Via").size() - 6), ";rport");
  // ACK and BYE go to the Contact of the 200; To keeps the target and gets the tag.
  EXPECT_EQ(net.sent[3].substr(0, 37), "ACK sip:echo@198.18.3.9:5070 SIP/2.0\r");
  EXPECT_EQ(Header(3, "To"), "To: <sip:echotest_in@198.18.3.2>;tag=srv7");
  EXPECT_EQ(net.sent[4].substr(0, 37), "BYE sip:echo@198.18.3.9:5070 SIP/2.0\r");
  // In the BYE, To comes before From; the ACK has no User-Agent and no body.
  EXPECT_LT(net.sent[4].find("\r\nTo: "), net.sent[4].find("\r\nFrom: "));
  EXPECT_EQ(net.sent[3].find("User-Agent"), std::string::npos);
  EXPECT_EQ(net.sent[3].substr(net.sent[3].size() - 21), "Content-Length: 0\r\n\r\n");
}

TEST_F(SipCallTest, AuthorizationLineIsByteExact) {
  // Computed independently (Python hashlib): cnonce = Base64(MD5(UTF-16LE
  // "11/12/2025 18:05:09")) and the uppercase-hex response over it.
  int invites = 0;
  net.responder = [&invites](ScriptedSocket::Shared& s, const std::string& sent) {
    if (Method(sent) == "INVITE" && ++invites == 1)
      s.Answer(20, Answer("SIP/2.0 401 Authentication required", kChallenge));
  };
  auto sip = Make();
  sip->Run();
  ASSERT_GE(net.sent.size(), 3u);
  EXPECT_EQ(Header(2, "Authorization"),
            "Authorization: Digest username=\"echotest@198.18.3.2\", realm=\"voxtrel.test\", nonce=\"4f1a2b3c\", "
            "uri=\"sip:echotest@198.18.3.2\", qop=\"auth\", algorithm=MD5, nc=\"00000001\", "
            "cnonce=\"" + kExpectedCnonce + "\", response=\"" + kExpectedResponse + "\", opaque=\"op42\"");
  // It stands between Content-Type and Content-Length.
  EXPECT_LT(net.sent[2].find("Content-Type: "), net.sent[2].find("Authorization: "));
  EXPECT_LT(net.sent[2].find("Authorization: "), net.sent[2].find("Content-Length: "));
}

TEST_F(SipCallTest, TwoChallengesInOneSecondShareTheClientNonce) {
  int invites = 0;
  net.responder = [&invites](ScriptedSocket::Shared& s, const std::string& sent) {
    if (Method(sent) == "INVITE" && ++invites <= 2)
      s.Answer(20, Answer("SIP/2.0 401 Authentication required", kChallenge));
  };
  auto sip = Make();
  sip->Run();
  ASSERT_EQ(Count("INVITE"), 3);
  const std::string second = Header(2, "Authorization"), third = Header(4, "Authorization");
  ASSERT_NE(second, "");
  EXPECT_EQ(second, third);  // same second, same nonce: the same header, nc never advances
}

TEST_F(SipCallTest, ChallengeWithoutOpaqueOrQop) {
  int invites = 0;
  net.responder = [&invites](ScriptedSocket::Shared& s, const std::string& sent) {
    if (Method(sent) == "INVITE" && ++invites == 1)
      s.Answer(20, Answer("SIP/2.0 401 Authentication required",
                          "WWW-Authenticate: Digest realm=\"voxtrel.test\", nonce=\"4f1a2b3c\"\r\n"));
  };
  auto sip = Make();
  sip->Run();
  // No qop "auth": no client nonce, the response without "auth" but with its colons.
  EXPECT_EQ(Header(2, "Authorization"),
            "Authorization: Digest username=\"echotest@198.18.3.2\", realm=\"voxtrel.test\", nonce=\"4f1a2b3c\", "
            "uri=\"sip:echotest@198.18.3.2\", qop=\"auth\", algorithm=MD5, nc=\"00000001\", cnonce=\"\", "
            "response=\"7E5732761241FB7C382C32EA17003F8E\", opaque=\"\"");
}

TEST_F(SipCallTest, ToWithoutTagGivesAnEmptyTagInTheAck) {
  AnswerInvites({Answer("SIP/2.0 200 OK", "", kAnswerSdp, "To: <sip:echotest_in@198.18.3.2>\r\n")});
  auto sip = Make();
  EXPECT_TRUE(sip->Run());
  ASSERT_EQ(Method(net.sent.at(1)), "ACK");
  EXPECT_EQ(Header(1, "To"), "To: <sip:echotest_in@198.18.3.2>;tag=");
  EXPECT_EQ(net.sent[1].substr(0, 35), "ACK sip:echotest_in@198.18.3.2 SIP/");  // no Contact: the target
}

TEST_F(SipCallTest, TwoAnswersInOneReadAreHandledOneReadApart) {
  net.responder = [](ScriptedSocket::Shared& s, const std::string& sent) {
    if (Method(sent) != "INVITE") return;
    s.Answer(20, Answer("SIP/2.0 100 Trying") + Answer("SIP/2.0 180 Ringing"));
    s.Answer(1000, Answer("SIP/2.0 183 Session Progress"));
  };
  auto sip = Make();
  EXPECT_TRUE(sip->Run());
  const std::wstring log = sip->Log();
  const size_t trying = log.find(L"SIP-IN:\r\nSIP/2.0 100 Trying");
  const size_t ringing = log.find(L"SIP-IN:\r\nSIP/2.0 180 Ringing");
  ASSERT_NE(trying, std::wstring::npos);
  ASSERT_NE(ringing, std::wstring::npos);
  EXPECT_LT(trying, ringing);
  // The 183 waits in the buffer for a read that never comes.
  EXPECT_EQ(log.find(L"SIP-IN:\r\nSIP/2.0 183"), std::wstring::npos);
  EXPECT_NE(log.find(L"SIP-IN:\r\nSIP/2.0 100 Trying\r\n"), std::wstring::npos);
}

TEST_F(SipCallTest, ReasonPhraseIsPartOfTheComparison) {
  AnswerInvites({Answer("SIP/2.0 401 Unauthorized", kChallenge)});
  auto sip = Make();
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(Logged(*sip, L"Unexpected packet from server: SIP/2.0 401 Unauthorized"));
  EXPECT_EQ(Methods(), std::vector<std::string>{"INVITE"});

  net = ScriptedSocket::Shared{};
  net.clock = &clock;
  AnswerInvites({Answer("SIP/2.0 180 RINGING")});  // the case of the rest does not matter
  auto again = Make();
  EXPECT_TRUE(again->Run());
}

TEST_F(SipCallTest, ServerRequestsAreDroppedByTheFraming) {
  AnswerInvites({Answer("SIP/2.0 180 Ringing"),
                 "BYE sip:echotest@198.18.1.2:50600 SIP/2.0\r\nVia: SIP/2.0/UDP 198.18.3.2:5060;branch=z9hG4bKs\r\n"
                 "CSeq: 5 BYE\r\nContent-Length: 0\r\n\r\n"});
  auto sip = Make();
  EXPECT_TRUE(sip->Run());
  EXPECT_TRUE(Logged(*sip, L"Stop call from probix"));  // the request changed nothing
  EXPECT_EQ(sip->Log().find(L"SIP-IN:\r\nBYE"), std::wstring::npos);
}

TEST_F(SipCallTest, FarEndHangUpLineEndsTheCallWithSuccess) {
  AnswerInvites({Answer("SIP/2.0 180 Ringing"), Answer("SIP/2.0 BYE")});
  auto sip = Make();
  EXPECT_TRUE(sip->Run());
  EXPECT_EQ(Methods(), std::vector<std::string>{"INVITE"});
  EXPECT_LT(sip->EndTime() - sip->StartTime(), 1000u);
}

TEST_F(SipCallTest, ClosedConnectionEndsTheCallWithoutBye) {
  net.responder = [](ScriptedSocket::Shared& s, const std::string& sent) {
    if (Method(sent) == "INVITE") s.Answer(20, Answer("SIP/2.0 100 Trying"), Diagnostic::kClosed);
  };
  auto sip = Make(L"TCP");
  EXPECT_FALSE(sip->Run());
  EXPECT_EQ(Methods(), std::vector<std::string>{"INVITE"});
  EXPECT_NE(sip->Log().find(L"SIP-IN:\r\nSIP/2.0 100 Trying"), std::wstring::npos);  // data before the close counts
}

TEST_F(SipCallTest, FailedConnectEndsAtOnce) {
  net.connectOk = false;
  auto sip = Make();
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(net.sent.empty());
}

// --- With the media component (a fake) ---

TEST_F(SipCallTest, EchoCallSucceedsWhenAudioFlowedBothWays) {
  std::vector<std::wstring> calls;
  media.config.calls = &calls;
  AnswerInvites({Answer("SIP/2.0 200 OK", "Contact: <sip:echo@198.18.3.2>\r\n", kAnswerSdp)});
  auto sip = Make(L"UDP", true);
  EXPECT_TRUE(sip->Run());
  EXPECT_EQ(sip->Statistics().at(L"AUDIO_BYTES_SENT"), L"1200");
  EXPECT_NE(net.sent[0].find("m=audio 40000 RTP/AVP 0 8 101\r\n"), std::string::npos);  // the component's port
  EXPECT_EQ(media.seen.remoteSdp,
            L"<sdp ip=\"[198.18.3.2]\" origUser=\"-\" sessionID=\"1111\" sessionVersion=\"9999\" originIP=\"[198.18.3.2]\">"
            L"<media media=\"audio\" ip=\"[198.18.3.2]:30000\" protocol=\"RTP/AVP\" direction=\"sendrecv\">"
            L"<codec id=\"0\" name=\"PCMU/8000\"/><codec id=\"4\" name=\"G723/8000\"/><codec id=\"8\" name=\"PCMA/8000\"/>"
            L"<codec id=\"101\" name=\"telephone-event/8000\" format=\"0-15\"/></media></sdp>");
  ASSERT_EQ(media.seen.play.size(), 2u);
  EXPECT_EQ(media.seen.play[0], (std::pair<std::wstring, int32_t>{L"UklGRgQAAABXQVZF", 3600000}));
  EXPECT_EQ(media.seen.play[1], (std::pair<std::wstring, int32_t>{L"", 0}));
  const std::vector<std::wstring> hangUp(calls.end() - 6, calls.end() - 1);
  EXPECT_EQ(hangUp, (std::vector<std::wstring>{L"GetLegStatistics", L"StopLegStatistics", L"PlayToRemote",
                                                L"Deactivate", L"DestroyLeg"}));
  EXPECT_EQ(calls.back(), L"Shutdown");  // at destruction
}

TEST_F(SipCallTest, MediaVerdictFromTheStatistics) {
  const struct {
    std::wstring statistics;
    bool ok;
  } cases[] = {
      {L"AUDIO_BYTES_SENT: 1200\nAUDIO_BYTES_RECEIVED: 0\n", false},
      {L"AUDIO_BYTES_SENT: 0\nAUDIO_BYTES_RECEIVED: 1100", false},
      {L"AUDIO_BYTES_SENT: 1200\nAUDIO_BYTES_RECEIVED: 0\r\n", true},  // "0\r" is not "0"
      {L"PACKETS_LOST: 3\nJITTER: 2\n", true},                           // neither name: no objection
      {L"AUDIO_BYTES_SENT: 0\nAUDIO_BYTES_SENT: 5\n", true},             // the later line wins
      {L"", false},                                                      // no statistics at all
  };
  for (const auto& c : cases) {
    net = ScriptedSocket::Shared{};
    net.clock = &clock;
    media.config.statistics = c.statistics;
    AnswerInvites({Answer("SIP/2.0 200 OK", "", kAnswerSdp)});
    auto sip = Make(L"UDP", true);
    EXPECT_EQ(sip->Run(), c.ok) << base::ToUtf8(c.statistics);
  }
}

TEST_F(SipCallTest, WithoutCallTheStatisticsAreNeverLookedAt) {
  media.config.statistics = L"AUDIO_BYTES_SENT: 0\n";
  environment.services.media = &media;
  AnswerInvites({Answer("SIP/2.0 200 OK", "", kAnswerSdp)});
  auto sip = Make(L"UDP", false);
  EXPECT_TRUE(sip->Run());
  EXPECT_EQ(media.seen.created, 0);  // no component was even made
}

TEST_F(SipCallTest, MissingCaptureDeviceSendsNoInvite) {
  media.config.input = L"";
  auto sip = Make(L"UDP", true);
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(net.sent.empty());
  EXPECT_TRUE(Logged(*sip, fakes::Russian().Load(144)));
}

TEST_F(SipCallTest, ComponentThatCannotBeCreated) {
  media.createFails = true;
  auto sip = Make(L"UDP", true);
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(Logged(*sip, L"CreateInstance error: 0x80040154 - HRESULT 0x80040154"));
}

TEST_F(SipCallTest, AnswerWithoutMediaLineAndRefusedDescription) {
  media.config.remoteSdp = L"bad description";
  AnswerInvites({Answer("SIP/2.0 200 OK", "", "v=0\r\nc=IN IP4 198.18.3.2\r\n")});
  auto sip = Make(L"UDP", true);
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(Logged(*sip, L"Wrong incoming sdp"));
  EXPECT_EQ(media.seen.remoteSdp, L"");
  EXPECT_TRUE(Logged(*sip, L"Call method error Activate: bad description"));
}

TEST_F(SipCallTest, LocalSdpFailureStillSendsTheInviteOnAClosedSocket) {
  media.config.localSdp = L"no leg";
  auto sip = Make(L"UDP", true);
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(Logged(*sip, L"SIP checking: GetLocalSDP error - no leg"));
  EXPECT_TRUE(net.sent.empty());  // the socket was closed before the INVITE went out
  EXPECT_LT(sip->EndTime() - sip->StartTime(), 500u);
}

TEST_F(SipCallTest, ComponentFailureIsContainedByTheCheck) {
  media.config.throwOnActivate = true;
  AnswerInvites({Answer("SIP/2.0 200 OK", "", kAnswerSdp)});
  auto sip = Make(L"UDP", true);
  EXPECT_FALSE(sip->Run());
  EXPECT_TRUE(Logged(*sip, L"Media component error in Activate: 0x8000ffff"));
  EXPECT_NE(sip->EndTime(), 0u);
}

TEST(SipTitles, ByCallFlagAndTransport) {
  base::ManualClock clock;
  Diagnostic::ModuleContext context{&fakes::Russian(), &clock};
  Diagnostic::SipEnvironment environment;
  Diagnostic::SIP call(nullptr, context, environment, L"s", L"a", L"t", L"p", L"UDP", true);
  Diagnostic::SIP tcp(nullptr, context, environment, L"s", L"a", L"t", L"p", L"TCP", false);
  EXPECT_EQ(call.Title(), fakes::Russian().Load(142) + L"UDP");
  EXPECT_EQ(tcp.Title(), fakes::Russian().Load(123) + L"TCP");
  EXPECT_FALSE(tcp.IsUdp());
  EXPECT_FALSE(call.Succeeded());
}

}  // namespace
