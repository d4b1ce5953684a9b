#include "modules/tracert.h"

namespace Diagnostic {
namespace {
constexpr IcmpStartLines kStartLines = {115, 114, 116, 117};
constexpr unsigned kIdHop = 112;
constexpr unsigned kIdMs = 113;
constexpr unsigned kIdComplete = 118;
constexpr uint32_t kTimeoutMs = 1000;
}  // namespace

Tracert::Tracert(ModuleListener* listener, const ModuleContext& context, IcmpApi& api, std::wstring host,
                 uint32_t packetSize)
    : Module(listener, context), m_api(api), m_host(std::move(host)), m_packetSize(packetSize) {}

std::wstring Tracert::TimeText(int32_t time) const {
  if (time < 0) return L"*";
  if (time == 0) return L"<" + base::Format(strings().Load(kIdMs), 1);
  return base::Format(strings().Load(kIdMs), time);
}

bool Tracert::Run() {
  m_reached = false;
  MarkStart();
  m_hops.clear();
  m_api.StartSockets();

  if (const std::optional<uint32_t> target = StartIcmpCheck(this, m_api, m_host, m_packetSize, kStartLines)) {
    uint32_t error = 0;
    uint32_t silent = 0;
    for (uint32_t ttl = 1; ttl < kTtlLimit; ++ttl) {
      m_hops.emplace_back();
      Hop& hop = m_hops.back();
      bool noReply = true;
      std::optional<std::wstring> reverseName;  // looked up once, for the name and the address column
      uint32_t sum = 0, answered = 0;
      for (int probe = 0; probe < 3; ++probe) {
        EchoReply reply;
        if (m_api.SendEcho(*target, static_cast<uint8_t>(ttl), kTimeoutMs, &reply, &error)) {
          noReply = false;
          hop.times[probe] = static_cast<int32_t>(reply.roundTripMs);
          sum += reply.roundTripMs;
          ++answered;
          if (hop.address == 0) {
            hop.address = reply.address;
            reverseName = m_api.ReverseName(reply.address);
            hop.name = reverseName && !reverseName->empty() ? *reverseName : m_api.DottedText(reply.address);
            // A name longer than the field is cut to fit, like the fixed buffer it stands for.
            if (hop.name.size() > Hop::kNameChars - 1) hop.name.resize(Hop::kNameChars - 1);
          }
        } else {
          hop.times[probe] = -1;
        }
      }
      hop.average = answered ? sum / answered : 0;
      const std::wstring column =
          noReply ? std::wstring(L"-") : AddressDisplayFrom(m_api.DottedText(hop.address), reverseName);
      ModuleMessage(this, 0, kIdHop, ttl, TimeText(hop.times[0]), TimeText(hop.times[1]), TimeText(hop.times[2]),
                    column);
      if (hop.address == *target) {
        m_reached = true;
        break;
      }
      silent = noReply ? silent + 1 : 0;
      if (silent == kMaxSilentHops) break;
    }
    // However the loop ended; not after a failure before it.
    ModuleMessage(this, 0, L"");
    ModuleMessage(this, 0, kIdComplete);
  }

  m_api.Release();
  MarkEnd();
  m_api.CleanupSockets();
  return m_reached;
}

}  // namespace Diagnostic
