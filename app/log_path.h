// Location of the run log that the support package carries:
// <temporary folder>\Voxtrel\probix.log.
#pragma once
#include <cstdint>
#include <string>

namespace app {

class LogPathPlatform {
 public:
  virtual ~LogPathPlatform() = default;
  // The per-user temporary folder; empty when it cannot be had.
  virtual std::wstring TempPath() = 0;
  // Creates a folder; 0 on success, otherwise the system error code.
  virtual uint32_t CreateFolder(const std::wstring& path) = 0;
};

constexpr uint32_t kErrorPathNotFound = 3;

std::wstring RunLogPath(LogPathPlatform& platform);

}  // namespace app
