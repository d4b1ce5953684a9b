// What the ping and traceroute modules need of the system: Winsock start-up,
// name resolution, reverse lookup, the ICMP echo functions and error texts.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

namespace Diagnostic {

struct EchoReply {
  uint32_t address = 0;  // source of the reply, network byte order as stored by the system
  uint32_t roundTripMs = 0;
  uint16_t dataSize = 0;
  uint8_t ttl = 0;
  uint32_t status = 0;
};

class IcmpApi {
 public:
  virtual ~IcmpApi() = default;

  virtual void StartSockets() = 0;    // WSAStartup 1.1
  virtual void CleanupSockets() = 0;  // WSACleanup

  // First IPv4 address of a host name or dotted address; on failure returns
  // nothing and sets `error` (the resolver's last error).
  virtual std::optional<uint32_t> Resolve(const std::wstring& host, uint32_t* error) = 0;
  // Reverse name of an address; nothing when there is none.
  virtual std::optional<std::wstring> ReverseName(uint32_t address) = 0;
  virtual std::wstring DottedText(uint32_t address) = 0;

  // The ICMP handle; false (with `error`) when it cannot be opened.
  virtual bool OpenIcmp(uint32_t* error) = 0;
  // Request and reply buffers for `packetSize` bytes of data (request filled
  // with 0xAA); false (with `error`) when they cannot be had.
  virtual bool AllocateBuffers(uint32_t packetSize, uint32_t* error) = 0;
  // One echo request with a 1000 ms time-out; `ttl` 0 sends no IP options.
  // True when the system returned a reply (whatever its status).
  virtual bool SendEcho(uint32_t address, uint8_t ttl, uint32_t timeoutMs, EchoReply* reply, uint32_t* error) = 0;
  // Frees the buffers and closes the handle (whatever was obtained).
  virtual void Release() = 0;

  // The system's message for an error code (may be empty).
  virtual std::wstring SystemErrorText(uint32_t code) = 0;
};

class Module;

// The numbered lines of the common start of the ping and the trace.
struct IcmpStartLines {
  unsigned notFound;    // "Could not find IP address for %s: 0x%08x - %s"
  unsigned announce;    // the target line: the address display, then the packet size
  unsigned openFailed;  // "Unable to open ICMP service: 0x%08x - %s"
  unsigned noBuffer;    // "Failed to allocate packet buffer: 0x%08x - %s"
};

// Resolves the host, announces the target, opens the ICMP handle and gets the
// buffers, writing the line of whichever step fails. Returns the target
// address when the check can send.
std::optional<uint32_t> StartIcmpCheck(Module* module, IcmpApi& api, const std::wstring& host, uint32_t packetSize,
                                       const IcmpStartLines& lines);

// The error text of a code as the modules quote it.
std::wstring IcmpErrorText(IcmpApi& api, uint32_t code);

// "name [dotted]" when the reverse name differs from the dotted text,
// otherwise the dotted text alone (also when it is empty).
std::wstring AddressDisplay(IcmpApi& api, uint32_t address);
// The same rule for a reverse name already looked up.
std::wstring AddressDisplayFrom(const std::wstring& dotted, const std::optional<std::wstring>& name);

}  // namespace Diagnostic
