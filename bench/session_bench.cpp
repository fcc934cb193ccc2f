// The session's own cost per timer tick: a whole full load and a timed save of a profile against
// a mouse that answers at once, on a clock whose pauses cost nothing.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/messages.h"
#include "app/session.h"
#include "device/simulated_hid.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

class QuietView : public SessionView {
 public:
  void ShowNoDeviceScreen(int) override {}
  void ShowFullPage() override {}
  void HideYes() override {}
  void MoveOffScreen() override {}
  void HideWindow() override {}
  void RestoreAndShow() override {}
  void ShowTabs(int) override {}
  void ShowProfileName(std::u16string_view) override {}
  void EnablePageControls(bool, bool) override {}
  void EnableApplyAndOk(bool) override {}
  void ShowPopup() override {}
  void HidePopup() override {}
  int RunDeviceSelection(const std::vector<std::u16string>&, DeviceSelectionEvents&) override { return 0; }
  bool AskApplyBeforeSwitch() override { return true; }
  void EndPages() override {}
  void EndProgram() override {}
  void ClearSelectedButton() override {}
  void RefreshButtonLabels() override {}
  void RefreshModeDisplay() override {}
  void RefillProfileList() override {}
  void ApplyPointerSettings(int) override {}
  void SetImeFlag(bool) override {}
};

struct Rig {
  VirtualClock clock;
  SimulatedMouse mouse{&clock};
  SimulatedHid hid;
  RecordingMessageBox box;
  MemoryRegistry registry;
  RegistryStore store{registry};
  MemoryFiles files;
  RecordingMessages messages;
  RecordingShell shell;
  VirtualWindowServices windows{clock};
  QuietView view;
  std::unique_ptr<CHidClient> client = std::make_unique<CHidClient>(hid, box, registry);
  std::unique_ptr<CIcTessel> tessel = std::make_unique<CIcTessel>(hid, clock);
  ProfileFiles profiles{*tessel, store, files, messages};
  std::unique_ptr<DeviceSession> session;
  int ticks = 0;
  Rig() {
    mouse.EnableTrace(false);
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    session = std::make_unique<DeviceSession>(SessionDeps{*client, *tessel, store, profiles, windows, clock, messages,
                                                          files, shell, view, reinterpret_cast<Hwnd>(0x10)});
  }
  void Run() {
    Hwnd w;
    std::uint32_t id;
    while (windows.NextDue(&w, &id)) {
      session->OnTimer(id);
      ++ticks;
    }
  }
};

void BM_FullLoad(benchmark::State& state) {
  int ticks = 0;
  for (auto _ : state) {
    Rig rig;
    rig.session->Initialise();
    rig.Run();
    ticks += rig.ticks;
  }
  state.counters["ticks"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond);

void BM_TimedSave(benchmark::State& state) {
  Rig rig;
  rig.session->Initialise();
  rig.Run();
  int ticks = 0;
  for (auto _ : state) {
    for (auto e : FactoryProfilePart(0)) rig.tessel->SetCell(e.address, (rig.tessel->Value(e.address) + 1) & 0xFF);
    rig.session->ApplyChanges();
    rig.ticks = 0;
    rig.Run();
    ticks += rig.ticks;
  }
  state.counters["ticks"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TimedSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvard
