#include "platform/clock_win32.h"

#include <windows.h>

namespace halvard {

namespace {
std::int64_t CounterFrequency() {
  LARGE_INTEGER f{};
  QueryPerformanceFrequency(&f);
  return f.QuadPart > 0 ? f.QuadPart : 1;
}
}  // namespace

void Win32Clock::Sleep(std::uint32_t ms) { ::Sleep(ms); }

// The performance counter, not the tick count: the tick count moves in steps of many
// milliseconds (coarser still under Wine), too coarse to time a 10 ms pause.
std::uint64_t Win32Clock::NowMs() const {
  static const std::int64_t frequency = CounterFrequency();
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  const std::int64_t ticks = c.QuadPart;
  return static_cast<std::uint64_t>(ticks / frequency * 1000 + ticks % frequency * 1000 / frequency);
}

SystemTimeUtc Win32Clock::UtcNow() const {
  SYSTEMTIME st{};
  GetSystemTime(&st);
  return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace halvard
