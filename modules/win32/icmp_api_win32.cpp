#include "modules/win32/icmp_api_win32.h"

#include <iphlpapi.h>
#include <icmpapi.h>

#include <cstdlib>
#include <cstring>

#include "base/win32/error_text.h"

namespace Diagnostic {

std::string ToThreadAnsi(const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n = WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string out(n > 0 ? n : 0, '\0');
  if (n > 0)
    WideCharToMultiByte(CP_THREAD_ACP, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
  return out;
}

std::wstring FromThreadAnsi(const char* text) {
  if (!text || !*text) return std::wstring();
  const int n = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
  std::wstring out(n > 0 ? n : 0, L'\0');
  if (n > 0) MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, &out[0], n);
  if (!out.empty() && out.back() == L'\0') out.pop_back();
  return out;
}

void Win32IcmpApi::StartSockets() {
  WSADATA data;
  if (WSAStartup(MAKEWORD(1, 1), &data) == 0) ++m_started;
}

void Win32IcmpApi::CleanupSockets() {
  if (m_started > 0) {
    --m_started;
    WSACleanup();
  }
}

std::optional<uint32_t> Win32IcmpApi::Resolve(const std::wstring& host, uint32_t* error) {
  const std::string name = ToThreadAnsi(host);
  const hostent* entry = gethostbyname(name.c_str());
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) {
    *error = static_cast<uint32_t>(WSAGetLastError());
    if (entry && *error == 0) *error = WSANO_DATA;  // an answer without an IPv4 address
    return std::nullopt;
  }
  uint32_t address;
  std::memcpy(&address, entry->h_addr_list[0], sizeof address);
  return address;
}

std::optional<std::wstring> Win32IcmpApi::ReverseName(uint32_t address) {
  const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&address), sizeof address, AF_INET);
  if (!entry || !entry->h_name) return std::nullopt;
  return FromThreadAnsi(entry->h_name);
}

std::wstring Win32IcmpApi::DottedText(uint32_t address) {
  in_addr a;
  a.s_addr = address;
  return FromThreadAnsi(inet_ntoa(a));
}

bool Win32IcmpApi::OpenIcmp(uint32_t* error) {
  m_icmp = IcmpCreateFile();
  if (m_icmp == INVALID_HANDLE_VALUE) {
    *error = GetLastError();
    return false;
  }
  return true;
}

size_t Win32IcmpApi::ReplyBufferSize(uint32_t packetSize) {
  // One reply record (its real size: 40 bytes on 64-bit Windows, not 28),
  // the echoed data, and the 8 bytes of an ICMP error the system asks room for.
  return sizeof(ICMP_ECHO_REPLY) + packetSize + 8;
}

bool Win32IcmpApi::AllocateBuffers(uint32_t packetSize, uint32_t* error) {
  m_packetSize = packetSize;
  m_replySize = ReplyBufferSize(packetSize);
  m_request = static_cast<unsigned char*>(std::malloc(packetSize ? packetSize : 1));
  m_reply = static_cast<unsigned char*>(std::malloc(m_replySize));
  if (!m_request || !m_reply) {
    *error = ERROR_NOT_ENOUGH_MEMORY;
    return false;
  }
  std::memset(m_request, 0xAA, packetSize);
  return true;
}

bool Win32IcmpApi::SendEcho(uint32_t address, uint8_t ttl, uint32_t timeoutMs, EchoReply* reply, uint32_t* error) {
  IP_OPTION_INFORMATION options = {};
  options.Ttl = ttl;
  std::memset(m_reply, 0, m_replySize);
  const DWORD n = IcmpSendEcho(m_icmp, address, m_request, static_cast<WORD>(m_packetSize),
                               ttl ? &options : nullptr, m_reply, static_cast<DWORD>(m_replySize), timeoutMs);
  if (n == 0) {
    *error = GetLastError();
    return false;
  }
  const auto* r = reinterpret_cast<const ICMP_ECHO_REPLY*>(m_reply);
  reply->address = r->Address;
  reply->roundTripMs = r->RoundTripTime;
  reply->dataSize = r->DataSize;
  reply->ttl = r->Options.Ttl;
  reply->status = r->Status;
  return true;
}

void Win32IcmpApi::Release() {
  std::free(m_request);
  std::free(m_reply);
  m_request = m_reply = nullptr;
  if (m_icmp != INVALID_HANDLE_VALUE) IcmpCloseHandle(m_icmp);
  m_icmp = INVALID_HANDLE_VALUE;
}

std::wstring Win32IcmpApi::SystemErrorText(uint32_t code) { return base::SystemMessage(code); }

}  // namespace Diagnostic
