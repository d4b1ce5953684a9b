#include "sip/win32/sip_session.h"

#include <cstring>

#include "base/win32/error_text.h"
#include "modules/win32/icmp_api_win32.h"

namespace Diagnostic {
namespace {
constexpr unsigned kIdSocketError = 126;
constexpr int kWouldBlockTries = 3;
constexpr DWORD kWaitMs = 100;
}  // namespace

SIPSession::SIPSession(Module* owner, std::wstring serverHost, bool udp, uint16_t serverPort)
    : m_owner(owner), m_serverHost(std::move(serverHost)), m_serverPort(serverPort), m_udp(udp) {}

SIPSession::~SIPSession() { Close(); }

void SIPSession::ErrorLine(const wchar_t* step, uint32_t code) {
  ModuleMessage(m_owner, 0, kIdSocketError, step, code, ErrorTextFrom(base::SystemMessage(code), code));
}

bool SIPSession::Connect() {
  // Started on every connect and never stopped here: the process keeps
  // Winsock for as long as it lives.
  WSADATA data;
  const int started = WSAStartup(MAKEWORD(2, 2), &data);
  if (started != 0) {
    ErrorLine(L"WSAStartup", static_cast<uint32_t>(started));
    return false;
  }
  const std::string host = ToThreadAnsi(m_serverHost);
  const hostent* entry = gethostbyname(host.c_str());
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) {
    ErrorLine(L"gethostbyname", static_cast<uint32_t>(WSAGetLastError()));
    return false;
  }
  sockaddr_in server = {};
  server.sin_family = AF_INET;
  server.sin_port = htons(m_serverPort);
  std::memcpy(&server.sin_addr, entry->h_addr_list[0], sizeof server.sin_addr);

  m_socket = WSASocketW(AF_INET, m_udp ? SOCK_DGRAM : SOCK_STREAM, m_udp ? IPPROTO_UDP : IPPROTO_TCP, nullptr, 0,
                        WSA_FLAG_OVERLAPPED);
  if (m_socket == INVALID_SOCKET) {
    ErrorLine(L"WSASocket", static_cast<uint32_t>(WSAGetLastError()));
    return false;
  }
  m_event = WSACreateEvent();
  if (m_event == WSA_INVALID_EVENT) {
    ErrorLine(L"WSACreateEvent", static_cast<uint32_t>(WSAGetLastError()));
    return false;
  }
  // UDP is connected too: only the server's datagrams reach the socket.
  if (WSAConnect(m_socket, reinterpret_cast<const sockaddr*>(&server), sizeof server, nullptr, nullptr, nullptr,
                 nullptr) == SOCKET_ERROR) {
    ErrorLine(L"WSAConnect", static_cast<uint32_t>(WSAGetLastError()));
    Close();
    return false;
  }
  sockaddr_in local = {};
  int length = sizeof local;
  if (getsockname(m_socket, reinterpret_cast<sockaddr*>(&local), &length) == SOCKET_ERROR) {
    ErrorLine(L"getsockname", static_cast<uint32_t>(WSAGetLastError()));
    Close();
    return false;
  }
  m_localAddress = FromThreadAnsi(inet_ntoa(local.sin_addr));
  m_localPort = ntohs(local.sin_port);
  if (WSAEventSelect(m_socket, m_event, FD_READ | FD_WRITE | FD_CLOSE) == SOCKET_ERROR) {
    ErrorLine(L"WSAEventSelect", static_cast<uint32_t>(WSAGetLastError()));
    Close();
    return false;
  }
  return true;
}

void SIPSession::Close() {
  if (m_socket != INVALID_SOCKET) {
    shutdown(m_socket, SD_BOTH);
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
  }
  if (m_event != WSA_INVALID_EVENT) {
    WSACloseEvent(m_event);
    m_event = WSA_INVALID_EVENT;
  }
}

size_t SIPSession::Transfer(bool send, char* data, size_t size) {
  WSABUF buffer;
  buffer.len = static_cast<ULONG>(size);
  buffer.buf = data;
  for (int wouldBlock = 0;;) {
    DWORD bytes = 0, flags = 0;
    const int rc = send ? WSASend(m_socket, &buffer, 1, &bytes, 0, nullptr, nullptr)
                        : WSARecv(m_socket, &buffer, 1, &bytes, &flags, nullptr, nullptr);
    if (rc == 0) return bytes;
    const int error = WSAGetLastError();
    if (error == WSAEWOULDBLOCK) {
      // At most three sleeps of 100 ms; then nothing was transferred, silently.
      SleepEx(kWaitMs, TRUE);
      if (++wouldBlock >= kWouldBlockTries) return 0;
      continue;
    }
    ErrorLine(send ? L"WSASend" : L"WSARecv", static_cast<uint32_t>(error));
    return 0;
  }
}

size_t SIPSession::Send(const char* data, size_t size) { return Transfer(true, const_cast<char*>(data), size); }

size_t SIPSession::Receive(char* buffer, size_t capacity) { return Transfer(false, buffer, capacity); }

uint8_t SIPSession::WaitForEvents() {
  const DWORD waited = WSAWaitForMultipleEvents(1, &m_event, FALSE, kWaitMs, FALSE);
  if (waited == WSA_WAIT_FAILED) {
    const int error = WSAGetLastError();
    if (error != WSA_INVALID_HANDLE) ErrorLine(L"WSAWaitForMultipleEvents", static_cast<uint32_t>(error));
    return kFailed;
  }
  if (waited != WSA_WAIT_EVENT_0) return kEventNone;
  if (!WSAResetEvent(m_event)) {
    ErrorLine(L"WSAResetEvent", static_cast<uint32_t>(WSAGetLastError()));
    return kFailed;
  }
  WSANETWORKEVENTS events = {};
  if (WSAEnumNetworkEvents(m_socket, m_event, &events) == SOCKET_ERROR) {
    ErrorLine(L"WSAEnumNetworkEvents", static_cast<uint32_t>(WSAGetLastError()));
    return kFailed;
  }
  uint8_t flags = kEventNone;
  uint32_t failure = 0;
  const struct {
    long bit;
    int index;
    uint8_t flag;
  } kinds[] = {{FD_READ, FD_READ_BIT, kReadable}, {FD_WRITE, FD_WRITE_BIT, kWritable}, {FD_CLOSE, FD_CLOSE_BIT, kClosed}};
  for (const auto& k : kinds) {
    if (!(events.lNetworkEvents & k.bit)) continue;
    const int code = events.iErrorCode[k.index];
    if (code == 0) {
      flags |= k.flag;
    } else {
      if (failure == 0) failure = static_cast<uint32_t>(code);
      flags |= kFailed;
    }
  }
  if (flags & kFailed) {
    ErrorLine(L"event", failure);
    return kFailed;
  }
  return flags;
}

}  // namespace Diagnostic
