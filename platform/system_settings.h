// The system-settings seam: the three pointer settings the system keeps for the user (cursor
// speed, double-click time, wheel lines), which Halvard keeps per profile and puts in force when
// a profile is shown. Every set takes effect at once; `persist` also stores the value in the
// user's profile, and every change is announced to the other programs.
#pragma once

#include <cstdint>
#include <vector>

namespace halvard {

// Wheel lines meaning "one page per notch".
inline constexpr int kWheelOnePage = -1;

class SystemSettings {
 public:
  virtual ~SystemSettings() = default;
  // Cursor speed 1-20.
  virtual int CursorSpeed() = 0;
  virtual bool SetCursorSpeed(int speed, bool persist) = 0;
  // Milliseconds.
  virtual int DoubleClickTime() = 0;
  virtual bool SetDoubleClickTime(int ms) = 0;
  // Lines per notch, or kWheelOnePage.
  virtual int WheelLines() = 0;
  virtual bool SetWheelLines(int lines, bool persist) = 0;
};

// The settings in memory, with what was made permanent; for tests and the simulated world.
class MemorySystemSettings : public SystemSettings {
 public:
  int CursorSpeed() override { return cursor; }
  bool SetCursorSpeed(int speed, bool persist) override {
    if (failSets) return false;
    cursor = speed;
    if (persist) storedCursor = speed;
    ++sets;
    return true;
  }
  int DoubleClickTime() override { return doubleClick; }
  bool SetDoubleClickTime(int ms) override {
    if (failSets) return false;
    doubleClick = ms;
    ++sets;
    return true;
  }
  int WheelLines() override { return wheel; }
  bool SetWheelLines(int lines, bool persist) override {
    if (failSets) return false;
    wheel = lines;
    if (persist) storedWheel = lines;
    ++sets;
    return true;
  }

  int cursor = 10, doubleClick = 500, wheel = 3;
  // What the user's profile holds (-100: never stored).
  int storedCursor = -100, storedWheel = -100;
  int sets = 0;
  bool failSets = false;
};

}  // namespace halvard
