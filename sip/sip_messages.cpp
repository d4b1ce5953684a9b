#include "sip/sip_messages.h"

#include <cstdlib>
#include <cstring>

#include "base/format.h"
#include "base/utf8.h"

namespace Diagnostic {

int CRandom::Next() { return std::rand(); }

std::wstring RandomText(RandomSource& random, size_t n) {
  static const wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyz0123456789";
  std::wstring out;
  for (size_t i = 0; i < n; ++i) out += kAlphabet[random.Next() % 35];
  return out;
}

void SipMessageBuilder::NewBranch() { m_v.branch = L"z9hG4bK" + RandomText(m_random, 35); }

const std::wstring& SipMessageBuilder::LocalTag() {
  if (m_v.localTag.empty()) m_v.localTag = RandomText(m_random, 32);
  return m_v.localTag;
}

std::wstring SipMessageBuilder::Via(bool rportFirst) const {
  std::wstring via = L"Via: SIP/2.0/" + std::wstring(m_v.udp ? L"UDP " : L"TCP ") + m_v.localAddress +
                     base::Format(L":%d;", m_v.localPort);
  via += rportFirst ? base::Format(L"rport;branch=%s", m_v.branch) : base::Format(L"branch=%s;rport", m_v.branch);
  return via + L"\r\n";
}

std::wstring SipMessageBuilder::From() {
  return L"From: \"echotest\" <sip:" + m_v.account + L">;tag=" + LocalTag() + L"\r\n";
}

std::wstring SipMessageBuilder::SdpOffer() const {
  return L"v=0\r\n"
         L"o=- 12973677497139430 1 IN IP4 " + m_v.localAddress + L"\r\n"
         L"s=Sondrix\r\n"
         L"c=IN IP4 " + m_v.localAddress + L"\r\n"
         L"t=0 0\r\n"
         L"m=audio " + (m_v.mediaPort.empty() ? std::wstring(L"52176") : m_v.mediaPort) + L" RTP/AVP 0 8 101\r\n"
         L"a=rtpmap:0 PCMU/8000\r\n"
         L"a=rtpmap:8 PCMA/8000\r\n"
         L"a=rtpmap:101 telephone-event/8000\r\n"
         L"a=fmtp:101 0-16,32-49,64-89\r\n"
         L"a=sendrecv\r\n";
}

std::wstring SipMessageBuilder::Invite() {
  NewBranch();
  std::wstring m = L"INVITE sip:" + m_v.target + L" SIP/2.0\r\n";
  m += Via(true);
  m += L"Max-Forwards: 70\r\n";
  m += From();
  m += L"To: <sip:" + m_v.target + L">\r\n";
  m += L"Contact: \"echotest\" <sip:" + m_v.account + base::Format(L":%d>\r\n", m_v.localPort);
  if (m_v.callId.empty()) m_v.callId = RandomText(m_random, 32);
  m += L"Call-ID: " + m_v.callId + L"\r\n";
  m += base::Format(L"CSeq: %d INVITE\r\n", ++m_v.cseq);
  m += L"Allow: INVITE, ACK, CANCEL, OPTIONS, BYE, REFER, NOTIFY, MESSAGE, SUBSCRIBE, INFO\r\n";
  m += L"Supported: replaces\r\n";
  m += L"User-Agent: Sondrix\r\n";
  m += L"Content-Type: application/sdp\r\n";
  if (!m_v.challenge.nonce.empty()) m += AuthorizationLine(m_md5, m_v.account, m_v.password, m_v.challenge);
  const std::wstring sdp = SdpOffer();
  m += base::Format(L"Content-Length: %d\r\n\r\n", static_cast<unsigned>(sdp.size()));
  return m + sdp;
}

std::wstring SipMessageBuilder::Ack() {
  std::wstring m = L"ACK sip:" + m_v.remoteTarget + L" SIP/2.0\r\n";
  m += Via(true);
  m += L"Max-Forwards: 70\r\n";
  m += From();
  m += L"To: <sip:" + m_v.target + L">;tag=" + m_v.remoteTag + L"\r\n";
  m += L"Call-ID: " + m_v.callId + L"\r\n";
  m += base::Format(L"CSeq: %d ACK\r\n", m_v.cseq);
  m += L"Content-Length: 0\r\n\r\n";
  return m;
}

std::wstring SipMessageBuilder::AckFor200() {
  NewBranch();
  return Ack();
}

std::wstring SipMessageBuilder::AckFor401() { return Ack(); }

std::wstring SipMessageBuilder::Bye() {
  NewBranch();
  std::wstring m = L"BYE sip:" + m_v.remoteTarget + L" SIP/2.0\r\n";
  m += Via(false);
  m += L"Max-Forwards: 70\r\n";
  m += L"User-Agent: Sondrix\r\n";
  m += L"To: <sip:" + m_v.target + L">;tag=" + m_v.remoteTag + L"\r\n";
  m += From();
  m += L"Call-ID: " + m_v.callId + L"\r\n";
  m += base::Format(L"CSeq: %d BYE\r\n", ++m_v.cseq);
  m += L"Content-Length: 0\r\n\r\n";
  return m;
}

SipFramer::SipFramer() : m_buffer(kBufferSize, '\0') {}

std::vector<std::string> SipFramer::Received(size_t n) {
  std::vector<std::string> messages;
  if (n > Capacity()) n = Capacity();  // never past the terminator's byte
  const size_t filled = m_kept + n;
  m_buffer[filled] = '\0';
  // The buffer is taken as one NUL-terminated string: a NUL in the data ends it.
  const size_t length = std::strlen(m_buffer.data());
  const std::string content(m_buffer.data(), length);
  static const char kStatus[] = "SIP/2.0 ";
  const size_t first = content.find(kStatus);
  m_kept = 0;
  if (first != std::string::npos) {
    const size_t second = content.find(kStatus, first + 1);
    if (second == std::string::npos) {
      messages.push_back(content);
    } else {
      messages.push_back(content.substr(0, second));
      const size_t rest = content.size() - second;
      std::memmove(m_buffer.data(), content.data() + second, rest);
      m_kept = rest;
    }
  }
  m_buffer[m_kept] = '\0';
  return messages;
}

std::wstring FirstLine(const std::wstring& message) {
  const size_t end = message.find(L"\r\n");
  return end == std::wstring::npos ? std::wstring() : message.substr(0, end);
}

void ExtractValue(const std::wstring& message, const std::wstring& key, wchar_t terminator, std::wstring* value,
                  size_t from) {
  if (from == std::wstring::npos) return;
  const size_t at = message.find(key, from);
  if (at == std::wstring::npos) return;
  const size_t start = at + key.size();
  const size_t end = message.find(terminator, start);
  if (end == std::wstring::npos) return;
  *value = message.substr(start, end - start);
}

void ExtractOkValues(const std::wstring& message, DialogValues& v) {
  ExtractValue(message, L"tag=", L'\r', &v.remoteTag, message.find(L"To: "));
  ExtractValue(message, L"Contact: <sip:", L'>', &v.remoteTarget);
  v.remoteMediaAddress.clear();
  v.remoteMediaPort.clear();
  ExtractValue(message, L"IN IP4 ", L'\r', &v.remoteMediaAddress);
  ExtractValue(message, L"m=audio ", L' ', &v.remoteMediaPort);
}

void ExtractChallenge(const std::wstring& message, DialogValues& v) {
  ExtractValue(message, L"tag=", L'\r', &v.remoteTag, message.find(L"To: "));
  ExtractValue(message, L"realm=\"", L'"', &v.challenge.realm);
  ExtractValue(message, L"nonce=\"", L'"', &v.challenge.nonce);
  ExtractValue(message, L"opaque=\"", L'"', &v.challenge.opaque);
  ExtractValue(message, L"qop=\"", L'"', &v.challenge.qop);
}

}  // namespace Diagnostic
