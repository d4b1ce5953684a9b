// Pings one host with ICMP echo requests and keeps the statistics the
// availability evaluators grade.
#pragma once
#include <cstdint>
#include <string>

#include "modules/icmp_api.h"
#include "modules/module.h"

namespace Diagnostic {

class ICMPPing : public Module {
 public:
  static constexpr unsigned kIdTitle = 103;

  ICMPPing(ModuleListener* listener, const ModuleContext& context, IcmpApi& api, std::wstring host,
           uint32_t count = 10, uint32_t packetSize = 512);

  bool Run() override;
  bool Succeeded() const override { return m_success; }
  std::wstring Title() const override { return strings().Load(kIdTitle); }

  const std::wstring& Host() const { return m_host; }
  uint32_t Sent() const { return m_sent; }
  uint32_t Received() const { return m_received; }
  uint32_t Lost() const { return m_lost; }
  uint32_t LossPercent() const { return m_lossPercent; }
  uint32_t Minimum() const { return m_minimum; }
  uint32_t Maximum() const { return m_maximum; }
  uint32_t Total() const { return m_total; }
  uint32_t Average() const { return m_average; }

 private:
  IcmpApi& m_api;
  std::wstring m_host;
  uint32_t m_count;
  uint32_t m_packetSize;
  uint32_t m_sent = 0, m_received = 0, m_lost = 0, m_lossPercent = 0;
  uint32_t m_minimum = 0, m_maximum = 0, m_total = 0, m_average = 0;
  bool m_success = false;
};

}  // namespace Diagnostic
