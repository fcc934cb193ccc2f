// The real clock under Wine: precise enough to time the protocol's pauses.
#include "platform/clock_win32.h"

#include <gtest/gtest.h>

namespace halvard {
namespace {

// Lower bounds only: a busy machine may sleep longer, never shorter.
TEST(Win32Clock, ASleepMovesTheClockAtLeastAsFarAsAsked) {
  Win32Clock clock;
  for (std::uint32_t ms : {1u, 10u, 50u}) {
    std::uint64_t t0 = clock.NowMs();
    clock.Sleep(ms);
    std::uint64_t t1 = clock.NowMs();
    // The millisecond count truncates, so one millisecond may be lost between two readings.
    EXPECT_GE(t1 - t0 + 1, ms) << "after Sleep(" << ms << ")";
  }
  SystemTimeUtc now = clock.UtcNow();
  EXPECT_GE(now.year, 2024);
  EXPECT_TRUE(now.month >= 1 && now.month <= 12);
}

TEST(Win32Clock, NeverRunsBackwards) {
  Win32Clock clock;
  std::uint64_t last = clock.NowMs();
  for (int i = 0; i < 100000; ++i) {
    std::uint64_t now = clock.NowMs();
    ASSERT_GE(now, last);
    last = now;
  }
}

}  // namespace
}  // namespace halvard
