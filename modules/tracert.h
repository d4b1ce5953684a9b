// Traces the route to the service with ICMP echo requests of growing TTL,
// three probes a hop, in the manner of the system's tracert.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "modules/icmp_api.h"
#include "modules/module.h"

namespace Diagnostic {

struct Hop {
  static constexpr size_t kNameChars = 128;  // including the terminator
  uint32_t address = 0;
  uint32_t average = 0;
  int32_t times[3] = {0, 0, 0};
  std::wstring name;  // at most kNameChars - 1 characters
};

class Tracert : public Module {
 public:
  static constexpr unsigned kIdTitle = 111;
  static constexpr uint32_t kMaxSilentHops = 10;
  static constexpr uint32_t kTtlLimit = 255;

  Tracert(ModuleListener* listener, const ModuleContext& context, IcmpApi& api, std::wstring host,
          uint32_t packetSize = 512);

  bool Run() override;
  bool Succeeded() const override { return m_reached; }
  std::wstring Title() const override { return strings().Load(kIdTitle); }

  const std::wstring& Host() const { return m_host; }
  const std::vector<Hop>& Hops() const { return m_hops; }

 private:
  std::wstring TimeText(int32_t time) const;

  IcmpApi& m_api;
  std::wstring m_host;
  uint32_t m_packetSize;
  std::vector<Hop> m_hops;
  bool m_reached = false;
};

}  // namespace Diagnostic
