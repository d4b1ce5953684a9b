// Where a check run goes: the service's SIP server, the echo-test account and
// number, the web host and the Internet probe.
#pragma once
#include <string>

#include "base/strings.h"

namespace app {

// Ids of the deployment strings.
constexpr unsigned kIdServiceWebAddress = 10006;
constexpr unsigned kIdServiceHost = 10007;
constexpr unsigned kIdEchoTestAccount = 10008;

struct ServiceConfig {
  std::wstring serviceHost;
  std::wstring echoTestAccount;
  std::wstring echoTestPassword;
  std::wstring echoTestTarget;
  std::wstring serviceWebAddress;
  std::wstring internetProbeHost;
};

// The defaults, with the deployment strings taken from `strings`.
ServiceConfig MakeServiceConfig(const base::Strings& strings);

// The domain of a login: the text after the first '@', the whole login when
// it has none, empty when '@' is its last character.
std::wstring DomainOfLogin(const std::wstring& login);

// Points the run at the service's address found for the user's domain.
void ApplyServiceAddress(ServiceConfig& config, const std::wstring& dotted);

// The host name inside a web address such as "https://www.example.test/":
// the scheme, user info, port, path, query and fragment are dropped. A text
// without "://" is taken as a host (or dotted address) already.
std::wstring HostFromWebAddress(const std::wstring& address);

}  // namespace app
