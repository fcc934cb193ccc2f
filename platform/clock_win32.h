// The real clock on Windows.
#pragma once

#include "platform/clock.h"

namespace halvard {

class Win32Clock : public Clock {
 public:
  void Sleep(std::uint32_t ms) override;
  std::uint64_t NowMs() const override;
  SystemTimeUtc UtcNow() const override;
};

}  // namespace halvard
