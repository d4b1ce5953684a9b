// The SIP checks' surroundings on Windows: Winsock sockets, the system's MD5,
// the C library generator and local time.
#pragma once
#include "base/clock.h"
#include "modules/sip_module.h"
#include "sip/win32/cryptdll_md5.h"

namespace Diagnostic {

class Win32SipEnvironment {
 public:
  // `media` may be null: then no echo-test call can be made.
  explicit Win32SipEnvironment(base::Clock& clock, MediaPluginFactory* media = nullptr);
  const SipEnvironment& Get() const { return m_environment; }

 private:
  CryptdllMd5 m_md5;
  CRandom m_random;
  SipEnvironment m_environment;
};

}  // namespace Diagnostic
