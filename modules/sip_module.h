// SIP signalling to the service over one transport; one instance also places
// the echo-test call and judges whether audio flowed both ways.
#pragma once
#include <functional>
#include <memory>
#include <string>

#include "modules/module.h"
#include "sip/sip_call.h"

namespace Diagnostic {

// Everything a SIP check needs to make its call.
struct SipEnvironment {
  CallServices services;
  // The signalling socket to `host`:5060 whose error lines go to `owner`.
  std::function<std::unique_ptr<SignallingTransport>(Module* owner, const std::wstring& host, bool udp)> makeSocket;
};

class SIP : public Module {
 public:
  static constexpr unsigned kIdTitleConnect = 123;
  static constexpr unsigned kIdTitleCall = 142;

  SIP(ModuleListener* listener, const ModuleContext& context, const SipEnvironment& environment, std::wstring server,
      std::wstring account, std::wstring target, std::wstring password, std::wstring transport, bool withCall);

  bool Run() override;
  bool Succeeded() const override { return m_success; }
  std::wstring Title() const override;

  bool IsUdp() const;
  bool WithCall() const { return m_withCall; }
  const std::map<std::wstring, std::wstring>& Statistics() const { return m_statistics; }

 private:
  const SipEnvironment& m_environment;
  std::wstring m_server, m_account, m_target, m_password, m_transport;
  bool m_withCall;
  bool m_success = false;
  std::map<std::wstring, std::wstring> m_statistics;
};

// The media verdict of the echo-test call: statistics obtained, and neither
// "AUDIO_BYTES_SENT" nor "AUDIO_BYTES_RECEIVED" reported as exactly "0".
bool MediaFlowed(const std::map<std::wstring, std::wstring>& statistics);

}  // namespace Diagnostic
