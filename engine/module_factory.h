// Makes the modules of a run. The run tree is built from what the factory
// can make: a kind of check it cannot make (null) is left out of the tree.
#pragma once
#include <memory>
#include <string>

#include "modules/icmp_api.h"
#include "modules/module.h"

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

// The ICMP checks over an IcmpApi; audio and SIP come from `next` when given.
class IcmpModuleFactory : public ModuleFactory {
 public:
  IcmpModuleFactory(const Diagnostic::ModuleContext& context, Diagnostic::IcmpApi& api) : m_context(context), m_api(api) {}
  std::shared_ptr<Diagnostic::Module> MakePing(Diagnostic::ModuleListener* listener, const std::wstring& host) override;
  std::shared_ptr<Diagnostic::Module> MakeTracert(Diagnostic::ModuleListener* listener,
                                                  const std::wstring& host) override;
  std::shared_ptr<Diagnostic::Module> MakeAudio(Diagnostic::ModuleListener*) override { return nullptr; }
  std::shared_ptr<Diagnostic::Module> MakeSip(Diagnostic::ModuleListener*, const SipModuleParams&) override {
    return nullptr;
  }

 private:
  Diagnostic::ModuleContext m_context;
  Diagnostic::IcmpApi& m_api;
};

}  // namespace engine
