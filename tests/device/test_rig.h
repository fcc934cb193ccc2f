// One simulated machine with the supported mouse on it, on a virtual clock.
#pragma once

#include <memory>

#include "platform/clock.h"
#include "device/ic_tessel.h"
#include "device/simulated_hid.h"
#include "device/simulated_mouse.h"

namespace halvard::testing {

struct MouseRig {
  VirtualClock clock;
  SimulatedMouse mouse{&clock, 0x2002};
  SimulatedHid hid;
  int row = hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
  std::u16string path = hid.At(row).path;
  std::unique_ptr<CIcTessel> tessel = std::make_unique<CIcTessel>(hid, clock);

  // The controller on the mouse, as the main window leaves it after connecting.
  void Connect() {
    tessel->Reset();
    tessel->setDeviceType(mouse.Version());
    tessel->SetDevicePath(path);
    mouse.ClearTrace();
    clock.ResetCounters();
  }
  int SetReports() const {
    int n = 0;
    for (const auto& e : mouse.Trace()) n += e.set ? 1 : 0;
    return n;
  }
};

}  // namespace halvard::testing
