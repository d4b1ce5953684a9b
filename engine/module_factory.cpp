#include "engine/module_factory.h"

#include "modules/icmp_ping.h"
#include "modules/tracert.h"

namespace engine {

std::shared_ptr<Diagnostic::Module> IcmpModuleFactory::MakePing(Diagnostic::ModuleListener* listener,
                                                                const std::wstring& host) {
  return std::make_shared<Diagnostic::ICMPPing>(listener, m_context, m_api, host, 10, 512);
}

std::shared_ptr<Diagnostic::Module> IcmpModuleFactory::MakeTracert(Diagnostic::ModuleListener* listener,
                                                                   const std::wstring& host) {
  return std::make_shared<Diagnostic::Tracert>(listener, m_context, m_api, host, 512);
}

}  // namespace engine
