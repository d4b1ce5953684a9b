#include "app/service_config.h"

namespace app {

ServiceConfig MakeServiceConfig(const base::Strings& strings) {
  ServiceConfig c;
  c.serviceHost = strings.Load(kIdServiceHost);
  c.echoTestAccount = strings.Load(kIdEchoTestAccount);
  c.echoTestPassword = L"Tib4Welo";
  c.echoTestTarget = L"echotest_in";
  c.serviceWebAddress = strings.Load(kIdServiceWebAddress);
  c.internetProbeHost = L"8.8.8.8";
  return c;
}

std::wstring DomainOfLogin(const std::wstring& login) {
  const size_t at = login.find(L'@');
  return at == std::wstring::npos ? login : login.substr(at + 1);
}

void ApplyServiceAddress(ServiceConfig& config, const std::wstring& dotted) {
  if (dotted.empty()) return;
  config.echoTestAccount = L"echotest@" + dotted;
  config.echoTestTarget = L"echotest_in@" + dotted;
  config.serviceHost = dotted;
}

std::wstring HostFromWebAddress(const std::wstring& address) {
  std::wstring rest = address;
  const size_t scheme = rest.find(L"://");
  if (scheme != std::wstring::npos) rest.erase(0, scheme + 3);
  const size_t end = rest.find_first_of(L"/?#");
  if (end != std::wstring::npos) rest.resize(end);
  const size_t at = rest.rfind(L'@');
  if (at != std::wstring::npos) rest.erase(0, at + 1);
  if (!rest.empty() && rest[0] == L'[') {  // [v6]:port
    const size_t close = rest.find(L']');
    return close == std::wstring::npos ? rest.substr(1) : rest.substr(1, close - 1);
  }
  return rest.substr(0, rest.find(L':'));
}

}  // namespace app
