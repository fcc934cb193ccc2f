// Recording's own cost per event: from the hook's key or mouse message to the row appended and
// selected, with the delay before it measured on the clock. The view only keeps the selection,
// so the figure is the recorder's and the list's work, not the list view's drawing.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "app/recorder.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

class SelectionOnlyView : public ListViewSeam {
 public:
  void Setup(std::span<const ListColumn>) override {}
  bool InsertItem(int index) override {
    std::memmove(&sel_[index + 1], &sel_[index], static_cast<std::size_t>(count_ - index));
    sel_[index] = 0;
    ++count_;
    return true;
  }
  bool DeleteItem(int index) override {
    std::memmove(&sel_[index], &sel_[index + 1], static_cast<std::size_t>(count_ - index - 1));
    --count_;
    return true;
  }
  void DeleteAllItems() override { count_ = 0; }
  void SetItemText(int, int, std::u16string_view) override {}
  void SetItemIcon(int, int) override {}
  int SelectedCount() const override {
    int n = 0;
    for (int i = 0; i < count_; ++i) n += sel_[i];
    return n;
  }
  int NextSelected(int after) const override {
    for (int i = after + 1; i < count_; ++i)
      if (sel_[i] != 0) return i;
    return -1;
  }
  void SetSelected(int index, bool selected) override { sel_[index] = selected ? 1 : 0; }
  void SetFocused(int) override {}
  void EnsureVisible(int) override {}

 private:
  unsigned char sel_[CSkinLVCmdList::kMaxRows + 1] = {};
  int count_ = 0;
};

struct NoHooks : RecordHooks {
  bool Install() override { return true; }
  void Remove() override {}
  bool Installed() const override { return false; }
};

class NoMessages : public MessageService {
 public:
  void ShowMessage(int, std::u16string_view) override {}
};

// Events alternate key press, key release and a mouse click, with 100 ms between them, until
// the macro is full; the list is cleared outside the timing.
void BM_RecordEvent(benchmark::State& state, RecordingSettings::Mode mode) {
  SelectionOnlyView view;
  auto list = std::make_unique<CSkinLVCmdList>(view);
  list->SetCapacity(256);
  list->SetDelayUnit(25);
  list->SetExtendedKeys(true);
  list->Setup();
  VirtualClock clock;
  MemoryRegistry registry;
  RegistryStore store(registry);
  NoHooks hooks;
  NoMessages messages;
  MacroRecorder rec(*list, view, clock, messages, hooks, store);
  rec.SetSettings({mode, 100});
  std::int64_t events = 0;
  int k = 0;
  rec.StartRecording();
  for (auto _ : state) {
    if (!rec.Recording()) {
      state.PauseTiming();
      list->ClearAll();
      rec.StartRecording();
      state.ResumeTiming();
    }
    clock.Advance(100);
    const std::uint32_t vk = 0x41 + static_cast<std::uint32_t>((k / 3) % 26);
    switch (k++ % 3) {
      case 0: rec.RecordKey(vk, 0x001E0001); break;
      case 1: rec.RecordKey(vk, 0xC01E0001); break;
      default: rec.RecordMouse({mouse_msg::kMouseWheel, 0x00780000u, false}); break;
    }
    ++events;
  }
  state.SetItemsProcessed(events);
}
BENCHMARK_CAPTURE(BM_RecordEvent, measured, RecordingSettings::Mode::kMeasured);
BENCHMARK_CAPTURE(BM_RecordEvent, default_delay, RecordingSettings::Mode::kDefaultDelay);
BENCHMARK_CAPTURE(BM_RecordEvent, without_delay, RecordingSettings::Mode::kWithoutDelay);

}  // namespace
}  // namespace halvard
