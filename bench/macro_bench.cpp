// The instruction list at its real maximum: a full 256-byte macro, one row per byte. The view is
// a selection-only stand-in, so the figures are the list's own cost.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "macro/instruction_list.h"

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
  void DeleteAllItems() override {
    std::memset(sel_, 0, sizeof sel_);
    count_ = 0;
  }
  void SetItemText(int, int, std::u16string_view) override {}
  void SetItemIcon(int, int) override {}
  int SelectedCount() const override {
    int n = 0;
    for (int i = 0; i < count_; ++i) n += sel_[i];
    return n;
  }
  int NextSelected(int after) const override {
    for (int i = after + 1; i < count_; ++i)
      if (sel_[i]) return i;
    return -1;
  }
  void SetSelected(int index, bool s) override { sel_[index] = s ? 1 : 0; }
  void SetFocused(int) override {}
  void EnsureVisible(int) override {}
  void SelectOnly(int row) {
    std::memset(sel_, 0, static_cast<std::size_t>(count_));
    sel_[row] = 1;
  }

 private:
  std::uint8_t sel_[CSkinLVCmdList::kMaxRows + 1] = {};
  int count_ = 0;
};

// 256 one-byte rows, with a GOTO-free mix of key presses and releases.
std::vector<std::uint8_t> FullMacro() {
  std::vector<std::uint8_t> b(256);
  for (int i = 0; i < 256; ++i) b[i] = static_cast<std::uint8_t>(i % 2 == 0 ? 0x04 + i % 40 : 0x84 + i % 40);
  return b;
}

struct Rig {
  SelectionOnlyView view;
  std::unique_ptr<CSkinLVCmdList> list = std::make_unique<CSkinLVCmdList>(view);
  std::vector<std::uint8_t> macro = FullMacro();
  Rig() {
    list->SetCapacity(256);
    list->SetDelayUnit(25);
    list->SetExtendedKeys(true);
    list->Setup();
  }
  void Fill(int capacity) {
    list->SetCapacity(capacity);
    list->LoadBytes(macro.data(), static_cast<int>(macro.size()));
  }
};

void BM_LoadBytesFull(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) benchmark::DoNotOptimize(rig.list->LoadBytes(rig.macro.data(), 256));
}
BENCHMARK(BM_LoadBytesFull);

// The edits are timed alone; the reload that resets the list between them is not.
void BM_InsertCommandAtRow0(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) {
    state.PauseTiming();
    rig.Fill(262);
    rig.view.SelectOnly(0);
    state.ResumeTiming();
    benchmark::DoNotOptimize(rig.list->InsertCommandAt(7));
  }
}
BENCHMARK(BM_InsertCommandAtRow0);

void BM_DeleteHalfTheRows(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) {
    state.PauseTiming();
    rig.Fill(256);
    for (int r = 0; r < 256; r += 2) rig.view.SetSelected(r, true);
    state.ResumeTiming();
    benchmark::DoNotOptimize(rig.list->DeleteSelected());
  }
}
BENCHMARK(BM_DeleteHalfTheRows);

void BM_MoveRowUp(benchmark::State& state) {
  Rig rig;
  rig.Fill(256);
  rig.view.SelectOnly(128);
  for (auto _ : state) {
    rig.list->MoveRowUp();  // 128 -> 127
    rig.list->MoveRowDown();  // and back
  }
  state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_MoveRowUp);

void BM_SetRowDelay(benchmark::State& state) {
  Rig rig;
  rig.Fill(1024);
  rig.view.SelectOnly(10);
  int ms = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.list->SetRowDelay(ms));
    ms = ms == 0 ? 2500 : 0;
  }
}
BENCHMARK(BM_SetRowDelay);

}  // namespace
}  // namespace halvard
