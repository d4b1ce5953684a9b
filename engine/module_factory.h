// Makes the modules of a run. The run tree is built from what the factory
// can make: a kind of check it cannot make (null) is left out of the tree.
#pragma once
#include <memory>
#include <string>

#include "modules/icmp_api.h"
#include "modules/module.h"
#include "modules/sip_module.h"

namespace engine {

struct SipModuleParams {
  std::wstring server, account, target, password, transport;
  bool withCall = false;
};

class ModuleFactory {
 public:
  virtual ~ModuleFactory() = default;
  // 10 echo requests of 512 bytes.
  virtual std::shared_ptr<Diagnostic::Module> MakePing(Diagnostic::ModuleListener* listener,
                                                       const std::wstring& host) = 0;
  // Probes of 512 bytes.
  virtual std::shared_ptr<Diagnostic::Module> MakeTracert(Diagnostic::ModuleListener* listener,
                                                          const std::wstring& host) = 0;
  virtual std::shared_ptr<Diagnostic::Module> MakeAudio(Diagnostic::ModuleListener* listener) = 0;
  virtual std::shared_ptr<Diagnostic::Module> MakeSip(Diagnostic::ModuleListener* listener,
                                                      const SipModuleParams& params) = 0;
};

// The checks the program has: ping and trace over an IcmpApi; SIP signalling
// when a SIP environment is given, and the echo-test call only when that
// environment can also drive the media component. Audio comes with the media
// component too.
class StandardModuleFactory : public ModuleFactory {
 public:
  StandardModuleFactory(const Diagnostic::ModuleContext& context, Diagnostic::IcmpApi& api,
                        const Diagnostic::SipEnvironment* sip = nullptr)
      : m_context(context), m_api(api), m_sip(sip) {}
  std::shared_ptr<Diagnostic::Module> MakePing(Diagnostic::ModuleListener* listener, const std::wstring& host) override;
  std::shared_ptr<Diagnostic::Module> MakeTracert(Diagnostic::ModuleListener* listener,
                                                  const std::wstring& host) override;
  std::shared_ptr<Diagnostic::Module> MakeAudio(Diagnostic::ModuleListener*) override { return nullptr; }
  std::shared_ptr<Diagnostic::Module> MakeSip(Diagnostic::ModuleListener* listener,
                                              const SipModuleParams& params) override;

 private:
  Diagnostic::ModuleContext m_context;
  Diagnostic::IcmpApi& m_api;
  const Diagnostic::SipEnvironment* m_sip;
};

}  // namespace engine
