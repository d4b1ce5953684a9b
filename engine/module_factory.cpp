#include "engine/module_factory.h"

#include "modules/icmp_ping.h"
#include "modules/tracert.h"

namespace engine {

std::shared_ptr<Diagnostic::Module> StandardModuleFactory::MakePing(Diagnostic::ModuleListener* listener,
                                                                const std::wstring& host) {
  return std::make_shared<Diagnostic::ICMPPing>(listener, m_context, m_api, host, 10, 512);
}

std::shared_ptr<Diagnostic::Module> StandardModuleFactory::MakeTracert(Diagnostic::ModuleListener* listener,
                                                                   const std::wstring& host) {
  return std::make_shared<Diagnostic::Tracert>(listener, m_context, m_api, host, 512);
}

}  // namespace engine

namespace engine {

std::shared_ptr<Diagnostic::Module> StandardModuleFactory::MakeSip(Diagnostic::ModuleListener* listener,
                                                                   const SipModuleParams& p) {
  if (!m_sip || (p.withCall && !m_sip->services.media)) return nullptr;
  return std::make_shared<Diagnostic::SIP>(listener, m_context, *m_sip, p.server, p.account, p.target, p.password,
                                           p.transport, p.withCall);
}

}  // namespace engine
