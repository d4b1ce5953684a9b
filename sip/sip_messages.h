// The texts the test call sends (INVITE with its SDP offer, ACK, BYE), the
// framing of what it receives, and the values it takes out of answers.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sip/digest.h"

namespace Diagnostic {

// Draws from the C library generator seeded by the worker thread.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  virtual int Next() = 0;  // 0..RAND_MAX
};

class CRandom : public RandomSource {
 public:
  int Next() override;
};

// n characters, each position rand() % 35 of "a..z0..9" (so never '9').
std::wstring RandomText(RandomSource& random, size_t n);

struct DialogValues {
  std::wstring account;       // echotest@<service>
  std::wstring target;        // echotest_in@<service>
  std::wstring remoteTarget;  // the target, or the Contact of a 200 answer
  std::wstring password;
  bool udp = true;
  std::wstring localAddress;
  uint16_t localPort = 0;
  std::wstring mediaPort;  // empty without the media plugin
  std::wstring localTag, remoteTag, callId, branch;
  int32_t cseq = 0;
  Challenge challenge;
  // Far-end media of the last 200 answer.
  std::wstring remoteMediaAddress, remoteMediaPort;
};

class SipMessageBuilder {
 public:
  SipMessageBuilder(DialogValues& values, RandomSource& random, Md5& md5) : m_v(values), m_random(random), m_md5(md5) {}

  std::wstring Invite();          // increments CSeq, new branch, Authorization once a nonce is known
  std::wstring AckFor200();       // new branch
  std::wstring AckFor401();       // the INVITE's branch
  std::wstring Bye();             // increments CSeq, new branch
  std::wstring SdpOffer() const;  // the media port, or 52176 without the plugin

 private:
  std::wstring Via(bool rportFirst) const;
  std::wstring From();
  std::wstring Ack();
  void NewBranch();
  const std::wstring& LocalTag();

  DialogValues& m_v;
  RandomSource& m_random;
  Md5& m_md5;
};

// The receive buffer of the call and its framing on "SIP/2.0 ".
class SipFramer {
 public:
  static constexpr size_t kBufferSize = 524288;

  SipFramer();
  // Where the next read goes and how much it may take: one byte always stays
  // free for the terminator the framing relies on.
  char* WritePosition() { return m_buffer.data() + m_kept; }
  size_t Capacity() const { return kBufferSize - 1 - m_kept; }
  // Takes `n` bytes just read at WritePosition() and returns the messages to
  // hand to the call; keeps the start of a following message.
  std::vector<std::string> Received(size_t n);

 private:
  std::vector<char> m_buffer;
  size_t m_kept = 0;
};

// The text before the first CR LF; empty when there is none.
std::wstring FirstLine(const std::wstring& message);

// Extraction by key and terminator, first occurrence, case-sensitive; the
// value is left alone when the key or the terminator is missing.
void ExtractValue(const std::wstring& message, const std::wstring& key, wchar_t terminator, std::wstring* value,
                  size_t from = 0);
// From a 200 answer: remote tag, remote target, far-end media (fresh).
void ExtractOkValues(const std::wstring& message, DialogValues& v);
// From a 401 answer: remote tag, realm, nonce, opaque and qop.
void ExtractChallenge(const std::wstring& message, DialogValues& v);

}  // namespace Diagnostic
