#pragma once
#include "base/clock.h"

namespace base {

class SystemClock : public Clock {
 public:
  uint64_t NowMs() override;
  void SleepMs(uint32_t ms) override;
};

}  // namespace base
