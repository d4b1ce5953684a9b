// Time as the program measures it: milliseconds since 1970-01-01 UTC from the
// system clock. Everything that waits or stamps a time goes through Clock so
// tests can run long timers instantly.
#pragma once
#include <cstdint>

namespace base {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual uint64_t NowMs() = 0;
  virtual void SleepMs(uint32_t ms) = 0;
};

// Windows FILETIME (100 ns units since 1601) to milliseconds since 1970.
constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ULL;
constexpr uint64_t FileTimeToUnixMs(uint64_t fileTime) {
  return fileTime < kFileTimeUnixEpoch ? 0 : (fileTime - kFileTimeUnixEpoch) / 10000;
}

// Clock tests drive by hand: time moves only when told to (SleepMs advances it).
class ManualClock : public Clock {
 public:
  explicit ManualClock(uint64_t start = 0) : m_now(start) {}
  uint64_t NowMs() override { return m_now; }
  void SleepMs(uint32_t ms) override { m_now += ms; }
  void Advance(uint64_t ms) { m_now += ms; }

 private:
  uint64_t m_now;
};

}  // namespace base
