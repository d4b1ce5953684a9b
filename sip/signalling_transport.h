// What the test call needs of its signalling socket: one connected IPv4
// socket to the SIP server, polled in steps of 100 ms.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace Diagnostic {

enum SocketEvents : uint8_t { kEventNone = 0, kReadable = 1, kWritable = 2, kClosed = 4, kFailed = 8 };

class SignallingTransport {
 public:
  virtual ~SignallingTransport() = default;
  // True when connected and selected for events; a failure writes its line.
  virtual bool Connect() = 0;
  // May be called any number of times.
  virtual void Close() = 0;
  // Bytes sent (0: nothing).
  virtual size_t Send(const char* data, size_t size) = 0;
  // Bytes received (0: nothing).
  virtual size_t Receive(char* buffer, size_t capacity) = 0;
  // Waits at most 100 ms; returns SocketEvents bits (kFailed alone when set).
  virtual uint8_t WaitForEvents() = 0;
  virtual std::wstring LocalAddress() const = 0;
  virtual uint16_t LocalPort() const = 0;
};

}  // namespace Diagnostic
