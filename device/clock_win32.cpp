#include "device/clock_win32.h"

#include <windows.h>

namespace halvard {

void Win32Clock::Sleep(std::uint32_t ms) { ::Sleep(ms); }

std::uint64_t Win32Clock::NowMs() const { return GetTickCount64(); }

SystemTimeUtc Win32Clock::UtcNow() const {
  SYSTEMTIME st{};
  GetSystemTime(&st);
  return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

}  // namespace halvard
