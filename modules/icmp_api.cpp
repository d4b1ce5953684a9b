#include "modules/icmp_api.h"

#include "base/format.h"

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

}  // namespace Diagnostic
