#include "modules/win32/sip_environment_win32.h"

#include <ctime>

#include "base/win32/error_text.h"
#include "sip/win32/sip_session.h"

namespace Diagnostic {

Win32SipEnvironment::Win32SipEnvironment(base::Clock& clock, MediaPluginFactory* media) {
  m_environment.services.clock = &clock;
  m_environment.services.random = &m_random;
  m_environment.services.md5 = &m_md5;
  m_environment.services.localTime = [](uint64_t unixMs) {
    const __time64_t seconds = static_cast<__time64_t>(unixMs / 1000);
    std::tm local = {};
    _localtime64_s(&local, &seconds);
    return local;
  };
  m_environment.services.media = media;
  m_environment.services.errorText = [](uint32_t code) { return base::SystemMessage(code); };
  m_environment.makeSocket = [](Module* owner, const std::wstring& host, bool udp) -> std::unique_ptr<SignallingTransport> {
    return std::make_unique<SIPSession>(owner, host, udp);
  };
}

}  // namespace Diagnostic
