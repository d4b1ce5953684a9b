#include "modules/icmp_ping.h"

namespace Diagnostic {
namespace {
constexpr IcmpStartLines kStartLines = {106, 109, 104, 105};
constexpr unsigned kIdRequestError = 107;
constexpr unsigned kIdReply = 108;
constexpr unsigned kIdStatistics = 110;
constexpr uint32_t kTimeoutMs = 1000;
}  // namespace

ICMPPing::ICMPPing(ModuleListener* listener, const ModuleContext& context, IcmpApi& api, std::wstring host,
                   uint32_t count, uint32_t packetSize)
    : Module(listener, context), m_api(api), m_host(std::move(host)), m_count(count), m_packetSize(packetSize) {}

bool ICMPPing::Run() {
  m_sent = m_received = m_lost = m_lossPercent = 0;
  m_minimum = m_maximum = m_total = m_average = 0;
  m_success = false;
  MarkStart();
  m_api.StartSockets();

  if (const std::optional<uint32_t> target = StartIcmpCheck(this, m_api, m_host, m_packetSize, kStartLines)) {
    uint32_t error = 0;
    for (uint32_t i = 0; i < m_count; ++i) {
      ++m_sent;
      EchoReply reply;
      if (m_api.SendEcho(*target, 0, kTimeoutMs, &reply, &error)) {
        const uint32_t t = reply.roundTripMs;
        if (m_received == 0 || t < m_minimum) m_minimum = t;
        if (t > m_maximum) m_maximum = t;
        m_total += t;
        ++m_received;
        ModuleMessage(this, 0, kIdReply, m_api.DottedText(reply.address), reply.dataSize, t, reply.ttl);
      } else {
        ModuleMessage(this, 0, kIdRequestError, error, IcmpErrorText(m_api, error));
      }
    }
    m_lost = m_sent - m_received;
    m_lossPercent = m_sent ? m_lost * 100 / m_sent : 0;
    m_average = m_received ? m_total / m_received : 0;
    ModuleMessage(this, 0, L"");
    ModuleMessage(this, 0, kIdStatistics, m_api.DottedText(*target), m_sent, m_received, m_lost, m_lossPercent,
                  m_minimum, m_maximum, m_average);
    m_success = m_lost < m_sent;
  }

  m_api.Release();
  MarkEnd();
  m_api.CleanupSockets();
  return m_success;
}

}  // namespace Diagnostic
