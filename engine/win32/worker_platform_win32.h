#pragma once
#include "engine/check_worker.h"

namespace engine {
class Win32WorkerPlatform : public WorkerPlatform {
 public:
  void SeedRandom() override;
  bool InitApartment() override;
  void UninitApartment() override;
};
}  // namespace engine
