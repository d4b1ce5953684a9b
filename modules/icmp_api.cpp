#include "modules/icmp_api.h"

#include "base/format.h"
#include "modules/module.h"

namespace Diagnostic {

std::wstring AddressDisplayFrom(const std::wstring& dotted, const std::optional<std::wstring>& name) {
  if (!dotted.empty() && name && !name->empty() && *name != dotted) return base::Format(L"%s [%s]", *name, dotted);
  return dotted;
}

std::wstring AddressDisplay(IcmpApi& api, uint32_t address) {
  const std::wstring dotted = api.DottedText(address);
  if (dotted.empty()) return dotted;
  return AddressDisplayFrom(dotted, api.ReverseName(address));
}

std::wstring IcmpErrorText(IcmpApi& api, uint32_t code) { return ErrorTextFrom(api.SystemErrorText(code), code); }

std::optional<uint32_t> StartIcmpCheck(Module* module, IcmpApi& api, const std::wstring& host, uint32_t packetSize,
                                       const IcmpStartLines& lines) {
  uint32_t error = 0;
  const std::optional<uint32_t> target = api.Resolve(host, &error);
  if (!target) {
    ModuleMessage(module, 0, lines.notFound, host, error, IcmpErrorText(api, error));
    return std::nullopt;
  }
  // The trace's line takes no size; a surplus value is ignored by the format.
  ModuleMessage(module, 0, lines.announce, AddressDisplay(api, *target), packetSize);
  if (!api.OpenIcmp(&error)) {
    ModuleMessage(module, 0, lines.openFailed, error, IcmpErrorText(api, error));
    return std::nullopt;
  }
  if (!api.AllocateBuffers(packetSize, &error)) {
    ModuleMessage(module, 0, lines.noBuffer, error, IcmpErrorText(api, error));
    return std::nullopt;
  }
  return target;
}

}  // namespace Diagnostic
