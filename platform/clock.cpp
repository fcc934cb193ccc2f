#include "platform/clock.h"

namespace halvard {

// Virtual time starts at 2026-01-01 00:00:00.000 UTC (a Thursday) and counts on from there.
SystemTimeUtc VirtualClock::UtcNow() const {
  std::uint64_t ms = nowMs_;
  std::uint64_t days = ms / 86400000;
  std::uint64_t rest = ms % 86400000;
  SystemTimeUtc t;
  t.millisecond = static_cast<std::uint16_t>(rest % 1000);
  t.second = static_cast<std::uint16_t>(rest / 1000 % 60);
  t.minute = static_cast<std::uint16_t>(rest / 60000 % 60);
  t.hour = static_cast<std::uint16_t>(rest / 3600000);
  t.dayOfWeek = static_cast<std::uint16_t>((4 + days) % 7);
  int year = 2026;
  for (;;) {
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    std::uint64_t len = leap ? 366 : 365;
    if (days < len) break;
    days -= len;
    ++year;
  }
  static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  int month = 0;
  for (; month < 12; ++month) {
    std::uint64_t len = kMonthDays[month] + (month == 1 && leap ? 1 : 0);
    if (days < len) break;
    days -= len;
  }
  t.year = static_cast<std::uint16_t>(year);
  t.month = static_cast<std::uint16_t>(month + 1);
  t.day = static_cast<std::uint16_t>(days + 1);
  return t;
}

}  // namespace halvard
