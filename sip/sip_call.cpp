#include "sip/sip_call.h"

#include "base/base64.h"
#include "base/utf8.h"

namespace Diagnostic {
namespace {
constexpr unsigned kIdCreateInstanceError = 120;
constexpr unsigned kIdCallMethodError = 121;
constexpr unsigned kIdStatistics = 139;
constexpr unsigned kIdNoPlaybackDevice = 143;
constexpr unsigned kIdNoCaptureDevice = 144;
constexpr uint32_t kPlayLengthMs = 3600000;
const wchar_t kRule[] = L"---------------------------------------";
}  // namespace

SIPCall::SIPCall(Module* owner, std::unique_ptr<SignallingTransport> socket, const CallServices& services,
                 const std::wstring& account, const std::wstring& target, const std::wstring& password, bool udp,
                 bool media)
    : m_owner(owner),
      m_socket(std::move(socket)),
      m_services(services),
      m_builder(m_values, *services.random, *services.md5),
      m_media(media) {
  m_values.account = account;
  m_values.target = target;
  m_values.remoteTarget = target;
  m_values.password = password;
  m_values.udp = udp;
  m_values.cseq = services.random->Next() % 10000;
}

SIPCall::~SIPCall() {
  if (m_plugin) {
    try {
      m_plugin->Shutdown(-1);
    } catch (const ComError&) {
      // Being destroyed: nothing more to report to.
    }
    m_plugin.reset();
  }
  m_socket->Close();
}

void SIPCall::Fail() {
  m_state = kCallFailed;
  m_socket->Close();
}

bool SIPCall::SendMessage(const std::wstring& text) {
  ModuleMessage(m_owner, 0, L"SIP-OUT:\r\n%s\r\n%s\r\n", text, kRule);
  const std::string bytes = base::ToUtf8(text);
  return m_socket->Send(bytes.data(), bytes.size()) == bytes.size();
}

bool SIPCall::Run() {
  m_challenges = 0;
  if (!m_socket->Connect()) return false;
  m_values.localAddress = m_socket->LocalAddress();
  m_values.localPort = m_socket->LocalPort();

  if (m_media) {
    int32_t hr = 0;
    if (m_services.media) m_plugin = m_services.media->Create(&hr);
    if (!m_plugin) {
      if (hr == 0) hr = static_cast<int32_t>(0x80004005);  // no component at all: E_FAIL
      const uint32_t code = static_cast<uint32_t>(hr);
      ModuleMessage(m_owner, 1, kIdCreateInstanceError, code,
                    ErrorTextFrom(m_services.errorText ? m_services.errorText(code) : L"", code));
      Fail();
      return false;
    }
    const std::wstring aec = m_plugin->SetAEC(1);
    if (!aec.empty()) {
      Log(L"Couldn't set AEC, error: " + aec);
      m_socket->Close();  // the first wait ends the call
    }
    if (m_plugin->GetAudioDevice(L"audioInp").empty()) {
      ModuleMessage(m_owner, 1, kIdNoCaptureDevice);
      Fail();
      return false;
    }
    if (m_plugin->GetAudioDevice(L"audioOut").empty()) {
      ModuleMessage(m_owner, 1, kIdNoPlaybackDevice);
      Fail();
      return false;
    }
  }

  SipFramer framer;
  base::Clock& clock = *m_services.clock;
  const uint64_t start = clock.NowMs();
  bool result = false;
  for (;;) {
    const uint64_t elapsed = clock.NowMs() - start;
    if ((m_state == kNothingSent || m_state == kInviteSent) && elapsed > kAnswerTimeoutMs) {
      ModuleMessage(m_owner, 0, L"Timeout: %ums", kAnswerTimeoutMs);
      result = false;
      break;
    }
    if (m_state == kRemoteHangUp) {
      result = true;
      break;
    }
    if (m_state == kCallFailed || m_state == kUnexpected) {
      result = false;
      break;
    }
    if (elapsed > kCallLengthMs) {
      Log(L"Stop call from probix");
      HangUp();
      result = true;
      break;
    }
    if (m_challenges > kMaxChallenges) {
      Log(L"Auth error");
      HangUp();
      result = false;
      break;
    }
    const uint8_t events = m_socket->WaitForEvents();
    if (events & kReadable) {
      const size_t n = m_socket->Receive(framer.WritePosition(), framer.Capacity());
      if (n == 0) {
        result = false;
        break;
      }
      for (const std::string& message : framer.Received(n)) HandleAnswer(base::FromUtf8(message));
    }
    if (events & (kClosed | kFailed)) {
      result = false;
      break;
    }
    SenderStep();
  }
  m_socket->Close();
  return result;
}

void SIPCall::HandleAnswer(const std::wstring& message) {
  ModuleMessage(m_owner, 0, L"SIP-IN:\r\n%s\r\n%s\r\n", message, kRule);
  const std::wstring first = base::AsciiLower(FirstLine(message));
  if (first == L"sip/2.0 100 trying") {
    m_state = kTrying;
  } else if (first == L"sip/2.0 180 ringing" || first == L"sip/2.0 183 session progress") {
    m_state = kRinging;
  } else if (first == L"sip/2.0 200 ok") {
    m_state = kAnswered;
    ExtractOkValues(message, m_values);
    StartMedia();
  } else if (first == L"sip/2.0 401 authentication required") {
    if (m_plugin) m_plugin->DestroyLeg(kLeg);
    ++m_challenges;
    m_state = kChallenged;
    ExtractChallenge(message, m_values);
    if (m_values.challenge.qop == L"auth") {
      const uint64_t seconds = m_services.clock->NowMs() / 1000 * 1000;
      m_values.challenge.cnonce = ClientNonce(*m_services.md5, LocalTimeText(m_services.localTime(seconds)));
    }
  } else if (first == L"sip/2.0 bye") {
    m_state = kRemoteHangUp;
  } else {
    Log(L"Unexpected packet from server: " + FirstLine(message));
    m_state = kUnexpected;
  }
}

void SIPCall::SetUpMedia() {
  if (!m_plugin) return;
  std::wstring text = m_plugin->CreateLeg(kLeg, L"", L"");
  bool failed = false;
  if (!text.empty()) {
    Log(L"SIP checking: CreateLeg error - " + text);
    failed = true;
  } else if (!(text = m_plugin->StartLegStatistics(kLeg)).empty()) {
    Log(L"SIP checking: StartLegStatistics error - " + text);
    failed = true;
  } else {
    text = m_plugin->GetLocalSDP(kLeg, L"xml");
    if (text.empty() || text[0] != L'<') {
      Log(L"SIP checking: GetLocalSDP error - " + text);
      failed = true;
    } else {
      std::optional<std::wstring> ip;
      try {
        ip = m_services.media->MediaAddressOfLocalSdp(text);
      } catch (const ComError&) {
        ip.reset();
      }
      if (!ip) {
        Log(L"SIP checking: Parce XML error");
        failed = true;
      } else {
        const size_t colon = ip->find(L':');
        m_values.mediaPort = colon == std::wstring::npos ? std::wstring() : ip->substr(colon + 1);
      }
    }
  }
  if (failed) {
    Fail();
  } else if (m_values.mediaPort.empty()) {
    Log(L"SIP checking: Can't get media plugin port");
    Fail();
  }
}

void SIPCall::StartMedia() {
  std::wstring remote;
  if (m_values.remoteMediaAddress.empty() || m_values.remoteMediaPort.empty())
    Log(L"Wrong incoming sdp");
  else
    remote = RemoteSdpXml(m_values.remoteMediaAddress, m_values.remoteMediaPort);
  if (!m_plugin) return;

  std::wstring text;
  if (!(text = m_plugin->SetVolumeAmplification(1.0)).empty())
    ModuleMessage(m_owner, 0, kIdCallMethodError, L"SetVolumeAmplification", text);
  if (!(text = m_plugin->SetOutputVolume(kLeg, 100)).empty())
    ModuleMessage(m_owner, 0, kIdCallMethodError, L"SetOutputVolume", text);
  if (!(text = m_plugin->SetInputVolume(kLeg, 100)).empty())
    ModuleMessage(m_owner, 0, kIdCallMethodError, L"SetInputVolume", text);

  text = m_plugin->SetRemoteSDP(kLeg, remote, L"xml");
  if (text.empty()) text = m_plugin->Activate(kLeg);
  if (!text.empty()) {
    m_plugin->DestroyLeg(kLeg);
    ModuleMessage(m_owner, 0, kIdCallMethodError, L"Activate", text);
    Fail();
    return;
  }
  const std::string sound = m_services.media->Sound();
  if (sound.empty()) return;
  const std::wstring encoded = base::FromUtf8(base::Base64Encode(sound));
  if (!(text = m_plugin->PlayToRemote(kLeg, encoded, kPlayLengthMs)).empty())
    ModuleMessage(m_owner, 0, kIdCallMethodError, L"PlayToRemote", text);
}

void SIPCall::HangUp() {
  if (m_plugin) {
    const std::wstring statistics = m_plugin->GetLegStatistics(kLeg);
    for (const auto& [name, value] : ParseStatistics(statistics)) m_statistics[name] = value;
    ModuleMessage(m_owner, 0, kIdStatistics, statistics);
    m_plugin->StopLegStatistics(kLeg);
    m_plugin->PlayToRemote(kLeg, L"", 0);
    std::wstring text;
    if (!(text = m_plugin->Deactivate(kLeg)).empty())
      ModuleMessage(m_owner, 0, kIdCallMethodError, L"Deactivate", text);
    if (!(text = m_plugin->DestroyLeg(kLeg)).empty())
      ModuleMessage(m_owner, 0, kIdCallMethodError, L"DestroyLeg", text);
  }
  SendMessage(m_builder.Bye());
  m_state = kByeSent;
}

void SIPCall::SenderStep() {
  switch (m_state) {
    case kNothingSent: {
      SetUpMedia();
      SendMessage(m_builder.Invite());
      m_state = kInviteSent;
      break;
    }
    case kAnswered:
      SendMessage(m_builder.AckFor200());
      m_state = kEstablished;
      break;
    case kChallenged: {
      SendMessage(m_builder.AckFor401());
      SetUpMedia();
      SendMessage(m_builder.Invite());
      m_state = kInviteWithCredentialsSent;
      break;
    }
    default:
      break;
  }
}

}  // namespace Diagnostic
