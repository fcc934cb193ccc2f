#include "platform/system_settings_win32.h"

#include <windows.h>

namespace halvard {
namespace {

// Every change is announced; only a permanent one goes to the user's profile.
UINT Flags(bool persist) { return SPIF_SENDCHANGE | (persist ? SPIF_UPDATEINIFILE : 0u); }

}  // namespace

int Win32SystemSettings::CursorSpeed() {
  int speed = 0;
  if (!SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0)) return 10;
  return speed;
}

bool Win32SystemSettings::SetCursorSpeed(int speed, bool persist) {
  // The speed travels in the pointer argument itself; it goes in the unused first argument as
  // well, which is where Wine takes it from.
  return SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                               reinterpret_cast<void*>(static_cast<INT_PTR>(speed)),
                               Flags(persist)) != FALSE;
}

int Win32SystemSettings::DoubleClickTime() { return static_cast<int>(GetDoubleClickTime()); }

bool Win32SystemSettings::SetDoubleClickTime(int ms) { return ::SetDoubleClickTime(static_cast<UINT>(ms)) != FALSE; }

int Win32SystemSettings::WheelLines() {
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 3;
  return lines == WHEEL_PAGESCROLL ? kWheelOnePage : static_cast<int>(lines);
}

bool Win32SystemSettings::SetWheelLines(int lines, bool persist) {
  const UINT value = lines == kWheelOnePage ? WHEEL_PAGESCROLL : static_cast<UINT>(lines);
  return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, value, nullptr, Flags(persist)) != FALSE;
}

}  // namespace halvard
