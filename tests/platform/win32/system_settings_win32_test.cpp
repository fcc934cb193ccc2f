// The system-settings seam against the real system calls: each value set is read back, and the
// value the machine had is put back afterwards.
#include "platform/system_settings_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace halvard {
namespace {

TEST(SystemSettingsWin32, SetReadBackAndRestore) {
  Win32SystemSettings s;
  const int cursor = s.CursorSpeed(), click = s.DoubleClickTime(), wheel = s.WheelLines();
  ASSERT_GE(cursor, 1);
  ASSERT_GT(click, 0);

  const int newCursor = cursor == 6 ? 14 : 6;
  EXPECT_TRUE(s.SetCursorSpeed(newCursor, false));
  EXPECT_EQ(s.CursorSpeed(), newCursor);
  int raw = 0;
  SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &raw, 0);
  EXPECT_EQ(raw, newCursor);

  const int newClick = click == 300 ? 700 : 300;
  EXPECT_TRUE(s.SetDoubleClickTime(newClick));
  EXPECT_EQ(static_cast<int>(GetDoubleClickTime()), newClick);

  EXPECT_TRUE(s.SetWheelLines(7, false));
  EXPECT_EQ(s.WheelLines(), 7);
  EXPECT_TRUE(s.SetWheelLines(kWheelOnePage, false));
  EXPECT_EQ(s.WheelLines(), kWheelOnePage);
  UINT lines = 0;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  EXPECT_EQ(lines, WHEEL_PAGESCROLL);

  // Back to what the machine had, made permanent as CANCEL does.
  EXPECT_TRUE(s.SetCursorSpeed(cursor, true));
  EXPECT_TRUE(s.SetDoubleClickTime(click));
  EXPECT_TRUE(s.SetWheelLines(wheel, true));
  EXPECT_EQ(s.CursorSpeed(), cursor);
  EXPECT_EQ(s.DoubleClickTime(), click);
  EXPECT_EQ(s.WheelLines(), wheel);
}

}  // namespace
}  // namespace halvard
