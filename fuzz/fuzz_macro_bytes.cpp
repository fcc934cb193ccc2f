// Macro byte strings of any content read into the instruction list, then edited: after every
// step the rows add up to usedBytes within the capacity, every resolved reference points at the
// start of its target row, and the rows write back no longer than they claim.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "macro/bytecode.h"
#include "macro/instruction_list.h"

namespace {

using namespace halvard;

void Check(const CSkinLVCmdList& list, const MemoryListView& view) {
  int sum = 0;
  std::uint8_t row[512];
  for (int r = 0; r < list.Count(); ++r) {
    std::uint8_t op = static_cast<std::uint8_t>(list.Row(r).code[0]);
    std::uint8_t b1 = static_cast<std::uint8_t>(list.Row(r).code[1]);
    if (list.RowSize(r) != InstructionSizeOf(op, b1, list.ExtendedKeys()) + DelayLength(list.DelayTicks(r) - 1))
      std::abort();
    if (list.RowBytes(r, row) != list.RowSize(r)) std::abort();
    sum += list.RowSize(r);
  }
  if (sum != list.UsedBytes() || list.UsedBytes() > list.Capacity()) std::abort();
  if (static_cast<int>(view.items.size()) != list.Count()) std::abort();
  for (int i = 0; i < list.RefCount(); ++i) {
    auto ref = list.RefAt(i);
    if (ref.referring < 0 || ref.referring >= list.Count()) std::abort();
    if (ref.target >= list.Count()) std::abort();
    if (ref.target >= 0 && ref.offset != list.RowOffset(ref.target)) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static MemoryListView view;
  static auto list = std::make_unique<CSkinLVCmdList>(view);
  if (size < 1) return 0;
  const std::uint8_t control = data[0];
  list->SetCapacity(256);
  list->SetDelayUnit(25);
  list->SetExtendedKeys(control & 1);
  const std::size_t split = size / 2 + 1;
  list->LoadBytes(data + 1, static_cast<int>(split - 1));
  Check(*list, view);
  // The rest drives edits.
  for (std::size_t i = split; i + 1 < size; i += 2) {
    const int a = data[i], b = data[i + 1];
    for (auto& item : view.items) item.selected = false;
    if (list->Count() > 0) view.SetSelected(a % list->Count(), true);
    if (b & 0x80 && list->Count() > 1) view.SetSelected((a + 1) % list->Count(), true);
    switch (b % 8) {
      case 0: list->InsertCommandAt(a % 21); break;
      case 1: list->DeleteSelected(); break;
      case 2: list->MoveRowUp(); break;
      case 3: list->MoveRowDown(); break;
      case 4: list->SetRowDelay(a * 20); break;
      case 5: list->AppendInstruction(a, b, a); break;
      case 6: list->AppendExtended(a % 8 == 7 ? 0x80 + a % 21 : a % 7, a, b); break;
      default: list->ReplaceRow(a % (list->Count() + 1), b, a, b); break;
    }
    Check(*list, view);
  }
  return 0;
}
