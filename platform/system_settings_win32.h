// The system-settings seam over SystemParametersInfoW and the double-click time.
#pragma once

#include "platform/system_settings.h"

namespace halvard {

class Win32SystemSettings : public SystemSettings {
 public:
  int CursorSpeed() override;
  bool SetCursorSpeed(int speed, bool persist) override;
  int DoubleClickTime() override;
  bool SetDoubleClickTime(int ms) override;
  int WheelLines() override;
  bool SetWheelLines(int lines, bool persist) override;
};

}  // namespace halvard
