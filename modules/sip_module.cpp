#include "modules/sip_module.h"

#include "base/utf8.h"

namespace Diagnostic {

SIP::SIP(ModuleListener* listener, const ModuleContext& context, const SipEnvironment& environment,
         std::wstring server, std::wstring account, std::wstring target, std::wstring password,
         std::wstring transport, bool withCall)
    : Module(listener, context),
      m_environment(environment),
      m_server(std::move(server)),
      m_account(std::move(account)),
      m_target(std::move(target)),
      m_password(std::move(password)),
      m_transport(std::move(transport)),
      m_withCall(withCall) {}

std::wstring SIP::Title() const {
  return strings().Load(m_withCall ? kIdTitleCall : kIdTitleConnect) + m_transport;
}

bool SIP::IsUdp() const { return base::EqualsNoCaseAscii(m_transport, L"UDP"); }

bool MediaFlowed(const std::map<std::wstring, std::wstring>& statistics) {
  if (statistics.empty()) return false;
  for (const auto& [name, value] : statistics)
    if ((name == L"AUDIO_BYTES_SENT" || name == L"AUDIO_BYTES_RECEIVED") && value == L"0") return false;
  return true;
}

bool SIP::Run() {
  m_success = true;
  MarkStart();
  const bool udp = IsUdp();
  try {
    SIPCall call(this, m_environment.makeSocket(this, m_server, udp), m_environment.services, m_account, m_target,
                 m_password, udp, m_withCall);
    m_success = call.Run();
    m_statistics = call.Statistics();
    if (m_withCall && !MediaFlowed(m_statistics)) m_success = false;
  } catch (const ComError& error) {
    // The media component failed outright: this check fails, the run goes on.
    ModuleMessage(this, 1, L"Media component error in %s: 0x%08x", error.Operation(),
                  static_cast<uint32_t>(error.Result()));
    m_success = false;
  }
  MarkEnd();
  return m_success;
}

}  // namespace Diagnostic
