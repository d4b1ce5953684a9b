// The ICMP port over Winsock 1.1 and the IP Helper echo functions.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include "modules/icmp_api.h"

namespace Diagnostic {

class Win32IcmpApi final : public IcmpApi {
 public:
  ~Win32IcmpApi() override { Release(); }

  void StartSockets() override;
  void CleanupSockets() override;
  std::optional<uint32_t> Resolve(const std::wstring& host, uint32_t* error) override;
  std::optional<std::wstring> ReverseName(uint32_t address) override;
  std::wstring DottedText(uint32_t address) override;
  bool OpenIcmp(uint32_t* error) override;
  bool AllocateBuffers(uint32_t packetSize, uint32_t* error) override;
  bool SendEcho(uint32_t address, uint8_t ttl, uint32_t timeoutMs, EchoReply* reply, uint32_t* error) override;
  void Release() override;
  std::wstring SystemErrorText(uint32_t code) override;

  // Bytes of the reply buffer for `packetSize` bytes of data.
  static size_t ReplyBufferSize(uint32_t packetSize);

 private:
  int m_started = 0;
  HANDLE m_icmp = INVALID_HANDLE_VALUE;
  unsigned char* m_request = nullptr;
  unsigned char* m_reply = nullptr;
  uint32_t m_packetSize = 0;
  size_t m_replySize = 0;
};

// Text in the thread's ANSI code page, as the Winsock 1.1 resolver takes it.
std::string ToThreadAnsi(const std::wstring& text);
std::wstring FromThreadAnsi(const char* text);

}  // namespace Diagnostic
