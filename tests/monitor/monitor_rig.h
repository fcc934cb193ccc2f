// A dispatcher on the in-memory registry, files and shell, virtual timers and a simulated mouse.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "device/simulated_hid.h"
#include "device/simulated_mouse.h"
#include "monitor/command_dispatcher.h"
#include "platform/message_box.h"
#include "platform/registry_memory.h"

namespace halvard {

class FakeMonitorWindow : public MonitorWindow {
 public:
  void SetOsdMenuText(bool osdEnabled) override { menuTexts.push_back(osdEnabled); }
  void ShowTrayMenu() override { ++menusShown; }
  void Destroy() override { ++destroyed; }
  std::vector<bool> menuTexts;
  int menusShown = 0;
  int destroyed = 0;
};

inline const Hwnd kMonitorWindow = HandleFromValue(0x500);
inline constexpr std::int32_t kOsdWindow = 0x100, kMainWindow = 0x200, kConfigureWindow = 0x300,
                              kMacroWindow = 0x400, kLedWindow = 0x600;

// Kept on the heap: the HID client's tables are large.
struct MonitorRig {
  MonitorRig() : windows(clock), store(registry), mouse(&clock) {
    files.programPath = u"C:\\Program Files\\Halvard\\HalvardMonitor.exe";
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    client = std::make_unique<CHidClient>(hid, box, registry);
    dispatcher = std::make_unique<CCommandDispatcher>(
        MonitorDeps{registry, windows, files, shell, clock, *client, window});
  }
  void Publish(std::u16string_view name, std::int32_t handle, bool live = true) {
    store.SetDword(name, static_cast<std::uint32_t>(handle));
    if (live) windows.live.push_back(HandleFromValue(handle));
  }
  void Put(std::u16string_view path) { files.Put(path, {1}); }
  void Start(bool tray = true, bool automation = false) {
    dispatcher->BeginCreate(kMonitorWindow);
    dispatcher->FinishCreate(tray, automation);
  }
  // Fires timers until none runs (every timer of the monitor is one-shot).
  std::vector<std::uint32_t> RunTimers() {
    std::vector<std::uint32_t> fired;
    Hwnd w;
    std::uint32_t id;
    while (fired.size() < 20 && windows.NextDue(&w, &id)) {
      fired.push_back(id);
      dispatcher->OnTimer(id);
    }
    return fired;
  }
  std::vector<RecordingWindowServices::Posted> PostsTo(std::int32_t handle) const {
    std::vector<RecordingWindowServices::Posted> out;
    for (const auto& p : windows.posted)
      if (p.window == HandleFromValue(handle)) out.push_back(p);
    return out;
  }

  VirtualClock clock;
  VirtualWindowServices windows;
  MemoryRegistry registry;
  RegistryStore store;
  MemoryFiles files;
  RecordingShell shell;
  RecordingMessageBox box;
  SimulatedMouse mouse;
  SimulatedHid hid;
  FakeMonitorWindow window;
  std::unique_ptr<CHidClient> client;
  std::unique_ptr<CCommandDispatcher> dispatcher;
};

}  // namespace halvard
