// The clock seam: every pause and time stamp of the protocol goes through it, so tests run on a
// virtual clock and check the exact pauses.
#pragma once

#include <cstdint>

namespace halvard {

struct SystemTimeUtc {
  std::uint16_t year = 0, month = 0, dayOfWeek = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(std::uint32_t ms) = 0;
  virtual std::uint64_t NowMs() const = 0;  // monotonic
  virtual SystemTimeUtc UtcNow() const = 0;
};

// Time that moves only when someone sleeps or a test advances it. Sleeping costs nothing.
class VirtualClock : public Clock {
 public:
  void Sleep(std::uint32_t ms) override {
    nowMs_ += ms;
    slept_ += ms;
    ++sleeps_;
  }
  std::uint64_t NowMs() const override { return nowMs_; }
  SystemTimeUtc UtcNow() const override;

  void Advance(std::uint64_t ms) { nowMs_ += ms; }
  std::uint64_t TotalSlept() const { return slept_; }
  std::uint64_t SleepCount() const { return sleeps_; }
  void ResetCounters() { slept_ = sleeps_ = 0; }

 private:
  std::uint64_t nowMs_ = 0;
  std::uint64_t slept_ = 0;
  std::uint64_t sleeps_ = 0;
};

}  // namespace halvard
