// Vendor event reports as any bytes: a decoded report names a launch entry that exists, or a
// profile 0-4 with a level 0-3 (any level on a profile change), a lock state 0/1 or a rate 0-3;
// the monitor sends each at most once to the routed window and once to the display.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "device/simulated_hid.h"
#include "ipc/messages.h"
#include "monitor/command_dispatcher.h"
#include "platform/message_box.h"
#include "platform/registry_memory.h"

namespace {

using namespace halvard;

class NoWindow : public MonitorWindow {
 public:
  void SetOsdMenuText(bool) override {}
  void ShowTrayMenu() override { std::abort(); }
  void Destroy() override { std::abort(); }
};

constexpr std::int32_t kOsd = 0x100, kMain = 0x200;

struct Rig {
  Rig() : windows(clock), mouse(&clock) {
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    client = std::make_unique<CHidClient>(hid, box, registry);
    dispatcher = std::make_unique<CCommandDispatcher>(MonitorDeps{registry, windows, files, shell, clock, *client, window});
    RegistryStore store(registry);
    store.SetDword(kOsdHandle, kOsd);
    store.SetDword(kProcessHandle, kMain);
    store.SetDword(kCurrentDialog, kRouteMainWindow);
    windows.live = {HandleFromValue(kOsd), HandleFromValue(kMain)};
    dispatcher->BeginCreate(HandleFromValue(0x500));
    dispatcher->FinishCreate(false, true);
  }
  VirtualClock clock;
  VirtualWindowServices windows;
  MemoryRegistry registry;
  MemoryFiles files;
  RecordingShell shell;
  RecordingMessageBox box;
  SimulatedMouse mouse;
  SimulatedHid hid;
  NoWindow window;
  std::unique_ptr<CHidClient> client;
  std::unique_ptr<CCommandDispatcher> dispatcher;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Rig* rig = new Rig;
  const std::span<const std::uint8_t> report(data, size);
  const auto event = DecodeVendorReport(report);
  if (event && (size < kVendorReportSize || data[0] != kVendorReportId)) std::abort();
  if (event) {
    switch (event->type) {
      case kEventLaunch:
        if (event->launchCode > 54) std::abort();
        break;
      case kEventProfile:
      case kEventDpiLevel: {
        const DpiStateWord w = DpiStateWord::Unpack(event->word);
        if (w.profile > 4 || (event->word >> 24) != 0 || (event->word & 0x08) != 0) std::abort();
        if (w.profileChanged != (event->type == kEventProfile)) std::abort();
        if (event->type == kEventDpiLevel && !w.HasLevel()) std::abort();
        break;
      }
      case kEventLock:
        if (event->word > 1) std::abort();
        break;
      case kEventPollingRate:
        if (event->word > 3) std::abort();
        break;
      default:
        std::abort();
    }
  }
  rig->windows.posted.clear();
  rig->shell.started.clear();
  const DeviceIdentity mouse{0x2E4A, 0x1C07, 0x2002};
  const int handled = rig->dispatcher->OnHidInput(report, mouse);
  if (handled != (size == kVendorReportSize && data[0] == kVendorReportId ? 1 : 0)) std::abort();
  const std::size_t expected = handled && event && event->type != kEventLaunch ? 2 : 0;
  if (rig->windows.posted.size() != expected) std::abort();
  if (!rig->shell.started.empty()) std::abort();  // no application is stored
  if (rig->registry.OpenKeyCount() != 0) std::abort();
  return 0;
}
