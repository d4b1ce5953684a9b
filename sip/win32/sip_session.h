// The signalling socket over Winsock 2.2: one connected IPv4 socket, UDP or
// TCP, to port 5060 of the SIP server, driven through a network event polled
// in steps of 100 ms. Every failing step writes one line to the owner's log.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "modules/module.h"
#include "sip/signalling_transport.h"

namespace Diagnostic {

class SIPSession final : public SignallingTransport {
 public:
  static constexpr uint16_t kServerPort = 5060;

  SIPSession(Module* owner, std::wstring serverHost, bool udp, uint16_t serverPort = kServerPort);
  ~SIPSession() override;

  bool Connect() override;
  void Close() override;
  size_t Send(const char* data, size_t size) override;
  size_t Receive(char* buffer, size_t capacity) override;
  uint8_t WaitForEvents() override;
  std::wstring LocalAddress() const override { return m_localAddress; }
  uint16_t LocalPort() const override { return m_localPort; }

 private:
  void ErrorLine(const wchar_t* step, uint32_t code);
  size_t Transfer(bool send, char* data, size_t size);

  Module* m_owner;
  std::wstring m_serverHost;
  uint16_t m_serverPort;
  bool m_udp;
  WSAEVENT m_event = WSA_INVALID_EVENT;
  SOCKET m_socket = INVALID_SOCKET;
  std::wstring m_localAddress;
  uint16_t m_localPort = 0;
};

}  // namespace Diagnostic
