// One test call from the diagnostic to the service's echo number: a loop that
// polls the signalling socket every 100 ms, handles what arrived and sends
// what the state calls for. No retransmission: a lost INVITE shows as the
// 3000 ms time-out.
#pragma once
#include <cstdint>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "base/clock.h"
#include "modules/module.h"
#include "sip/media_plugin.h"
#include "sip/sip_messages.h"
#include "sip/signalling_transport.h"

namespace Diagnostic {

enum CallState : int32_t {
  kNothingSent = 0,
  kInviteSent = 1,
  kTrying = 2,
  kRinging = 3,
  kAnswered = 4,
  kChallenged = 5,
  kInviteWithCredentialsSent = 6,
  kEstablished = 7,
  kRemoteHangUp = 9,
  kCallFailed = 11,
  kUnexpected = 12,
  kByeSent = 13,
};

// What a call needs besides its socket: time, the C library generator, MD5,
// local time, and (for the echo-test call) the media component.
struct CallServices {
  base::Clock* clock;
  RandomSource* random;
  Md5* md5;
  std::function<std::tm(uint64_t unixMs)> localTime;
  MediaPluginFactory* media = nullptr;  // null: the call cannot drive media
  // The system's text for an error code (empty: none).
  std::function<std::wstring(uint32_t code)> errorText;
};

class SIPCall {
 public:
  static constexpr uint32_t kAnswerTimeoutMs = 3000;
  static constexpr uint32_t kCallLengthMs = 18000;
  static constexpr int kMaxChallenges = 3;
  static constexpr const wchar_t* kLeg = L"SIPTestLeg";

  SIPCall(Module* owner, std::unique_ptr<SignallingTransport> socket, const CallServices& services,
          const std::wstring& account, const std::wstring& target, const std::wstring& password, bool udp,
          bool media);
  ~SIPCall();
  SIPCall(const SIPCall&) = delete;
  SIPCall& operator=(const SIPCall&) = delete;

  // True when the call succeeded as far as signalling goes.
  bool Run();
  const std::map<std::wstring, std::wstring>& Statistics() const { return m_statistics; }
  CallState State() const { return m_state; }

 private:
  void Log(const std::wstring& line) { ModuleMessage(m_owner, 0, L"%s", line); }
  bool SendMessage(const std::wstring& text);
  void HandleAnswer(const std::wstring& message);
  void SenderStep();
  void SetUpMedia();
  void StartMedia();
  void HangUp();
  void Fail();

  Module* m_owner;
  std::unique_ptr<SignallingTransport> m_socket;
  CallServices m_services;
  DialogValues m_values;
  SipMessageBuilder m_builder;
  CallState m_state = kNothingSent;
  bool m_media;
  std::unique_ptr<MediaPlugin> m_plugin;
  int m_challenges = 0;
  std::map<std::wstring, std::wstring> m_statistics;
};

}  // namespace Diagnostic
