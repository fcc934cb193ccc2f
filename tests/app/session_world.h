// The world a device session lives in, for tests and benchmarks: every seam in memory, the
// simulated HID (mice are added by the user), and a view that shows nothing.
#pragma once

#include <memory>
#include <string>

#include "app/button_assign.h"
#include "app/messages.h"
#include "app/session.h"
#include "device/simulated_hid.h"
#include "platform/registry_memory.h"

namespace halvard {

class NullSessionView : public SessionView {
 public:
  void ShowNoDeviceScreen(int) override {}
  void ShowFullPage() override {}
  void HideYes() override {}
  void MoveOffScreen() override {}
  void HideWindow() override {}
  void RestoreAndShow() override {}
  void ShowTabs(int) override {}
  void ShowProfileName(std::u16string_view n) override { name = std::u16string(n); }
  void EnablePageControls(bool, bool) override {}
  void EnableApplyAndOk(bool on) override { applyEnabled = on; }
  void ShowPopup() override {}
  void HidePopup() override {}
  int RunDeviceSelection(const std::vector<std::u16string>&, DeviceSelectionEvents&) override { return 0; }
  bool AskApplyBeforeSwitch() override { return false; }
  void EndPages() override {}
  void EndProgram() override {}
  void ClearSelectedButton() override {}
  void RefreshButtonLabels() override {}
  void RefreshModeDisplay() override {}
  void RefillProfileList() override {}
  void ApplyPointerSettings(int) override {}
  void SetImeFlag(bool) override {}
  std::u16string name;
  bool applyEnabled = false;
};

// The button assignment's view answering the macro prompt with `macro`, every other prompt with
// nothing, and showing nothing.
class MacroPromptAnswers : public AssignView {
 public:
  void RefuseNoLeftButton() override {}
  std::optional<int> AskSingleFunction(int) override { return std::nullopt; }
  std::optional<MacroAnswer> AskMacro(std::u16string_view, int, int) override { return macro; }
  std::optional<std::u16string> AskApplication(std::u16string_view) override { return std::nullopt; }
  void SetButtonLabel(int, int, std::u16string_view, bool) override {}
  void ShowSelectedButton(int, int) override {}
  void EnableCategoryButtons(bool, bool, bool) override {}
  void ShowPopup() override {}
  void HidePopup() override {}
  std::optional<MacroAnswer> macro;
};

struct SessionWorld {
  SessionDeps Deps(SessionView& view, Hwnd self) {
    return SessionDeps{*client, *tessel, store, profiles, windows, clock, messages, files, shell, view, self};
  }

  VirtualClock clock;
  SimulatedHid hid;
  RecordingMessageBox box;
  MemoryRegistry registry;
  RegistryStore store{registry};
  MemoryFiles files;
  RecordingMessages messages;
  RecordingShell shell;
  VirtualWindowServices windows{clock};
  std::unique_ptr<CHidClient> client = std::make_unique<CHidClient>(hid, box, registry);
  std::unique_ptr<CIcTessel> tessel = std::make_unique<CIcTessel>(hid, clock);
  ProfileFiles profiles{*tessel, store, files, messages};
};

}  // namespace halvard
