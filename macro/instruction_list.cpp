#include "macro/instruction_list.h"

#include <algorithm>
#include <cstring>

#include "macro/bytecode.h"
#include "macro/listing.h"

namespace halvard {
namespace {

constexpr int kColumnNumber = 0;
constexpr int kColumnInstruction = 1;
constexpr int kColumnDelay = 2;

std::uint8_t Lo(int v) { return static_cast<std::uint8_t>(v & 0xFF); }
std::uint8_t Hi(int v) { return static_cast<std::uint8_t>((v >> 8) & 0xFF); }

}  // namespace

CSkinLVCmdList::CSkinLVCmdList(ListViewSeam& view) : view_(view) {}

void CSkinLVCmdList::Setup() {
  const MacroTexts& t = ActiveMacroTexts();
  const ListColumn columns[3] = {{t.columnNumber, 0}, {t.columnInstruction, 125}, {t.columnDelay, 175}};
  view_.Setup(columns);
  ClearAll();
}

void CSkinLVCmdList::ClearAll() {
  view_.DeleteAllItems();
  // Rows past the count are kept zero, so only the used ones need clearing.
  std::memset(rows_, 0, sizeof(CmdRow) * static_cast<std::size_t>(count_));
  std::fill_n(delayTicks_, count_, 0);
  std::fill_n(rowSize_, count_, 0);
  std::fill_n(refRow_, refCount_, 0);
  std::fill_n(refTarget_, refCount_, 0);
  std::fill_n(refOffset_, refCount_, 0);
  count_ = usedBytes_ = currentRow_ = refCount_ = 0;
}

void CSkinLVCmdList::CodeOf(int row, Code& b) const {
  for (int i = 0; i < 6; ++i) b[i] = static_cast<std::uint8_t>(rows_[row].code[i]);
}

void CSkinLVCmdList::StoreCode(int row, const Code& b) {
  for (int i = 0; i < 6; ++i) rows_[row].code[i] = b[i];
}

int CSkinLVCmdList::SizeOf(const Code& b) const { return InstructionSizeOf(b[0], b[1], extendedKeys_ != 0); }

bool CSkinLVCmdList::IsReferring(const Code& b) const {
  if (b[0] == kOpLoopEnd) return true;
  return b[0] == kOpExtended && (b[1] == kSubIfLocks || b[1] == kSubGoto || b[1] == kSubIfVariables || b[1] == kSubCall);
}

int CSkinLVCmdList::TargetOf(const Code& b) {
  if (b[0] == kOpLoopEnd) return b[1] | (b[2] << 8);
  if (b[1] == kSubGoto || b[1] == kSubCall) return b[2] | (b[3] << 8);
  return b[4] | (b[5] << 8);  // the two IFs
}

void CSkinLVCmdList::SetTarget(Code& b, int offset) {
  if (b[0] == kOpLoopEnd) {
    b[1] = Lo(offset);
    b[2] = Hi(offset);
  } else if (b[1] == kSubGoto || b[1] == kSubCall) {
    b[2] = Lo(offset);
    b[3] = Hi(offset);
  } else {
    b[4] = Lo(offset);
    b[5] = Hi(offset);
  }
}

int CSkinLVCmdList::RowOffset(int row) const {
  int offset = 0;
  for (int r = 0; r < row && r < count_; ++r) offset += rowSize_[r];
  return offset;
}

int CSkinLVCmdList::FirstRowAtOrAfter(int offset, int rows) const {
  int at = 0;
  for (int r = 0; r < rows; ++r) {
    if (at >= offset) return r;
    at += rowSize_[r];
  }
  return -1;
}

void CSkinLVCmdList::Render(int row, int targetRow) {
  Code b;
  CodeOf(row, b);
  FixedText text(rows_[row].text);
  RenderRow(b, targetRow + 1, extendedKeys_ != 0, text);
}

void CSkinLVCmdList::PushDelay(int row) {
  char16_t buf[32];
  FixedText t(buf);
  DelayText((delayTicks_[row] - 1) * delayUnit_, t);
  view_.SetItemText(row, kColumnDelay, t.View());
}

void CSkinLVCmdList::PushLineNumbers(int from) {
  for (int r = std::max(from, 0); r < count_; ++r) {
    char16_t buf[8];
    FixedText t(buf);
    t << static_cast<long long>(r + 1);
    view_.SetItemText(r, kColumnNumber, t.View());
  }
}

void CSkinLVCmdList::PushCells(int row) {
  Code b;
  CodeOf(row, b);
  view_.SetItemText(row, kColumnInstruction, rows_[row].text);
  view_.SetItemIcon(row, KindOf(b));
  PushDelay(row);
}

// --- references ----------------------------------------------------------------------------

int CSkinLVCmdList::FindRef(int referring) const {
  for (int i = 0; i < refCount_; ++i)
    if (refRow_[i] == referring) return i;
  return -1;
}

void CSkinLVCmdList::AddRef(int referring, int target, int offset) {
  if (referring < 0 || referring >= kMaxRows || target >= kMaxRows || offset < 0 || offset >= kMacroMaxBytes) return;
  int i = FindRef(referring);
  if (i < 0) {
    if (refCount_ >= kMaxRefs) return;
    i = refCount_++;
  }
  refRow_[i] = referring;
  refTarget_[i] = target;
  refOffset_[i] = offset;
}

void CSkinLVCmdList::RemoveRef(int referring) {
  int i = FindRef(referring);
  if (i >= 0) RemoveRefAt(i);
}

void CSkinLVCmdList::RemoveRefAt(int i) {
  for (int k = i; k + 1 < refCount_; ++k) {
    refRow_[k] = refRow_[k + 1];
    refTarget_[k] = refTarget_[k + 1];
    refOffset_[k] = refOffset_[k + 1];
  }
  --refCount_;
  refRow_[refCount_] = refTarget_[refCount_] = refOffset_[refCount_] = 0;
}

// Rewrites the referring row's operand from the reference and its text with the target's line.
void CSkinLVCmdList::Rebuild(int ref) {
  int row = refRow_[ref];
  if (row < 0 || row >= count_) return;
  Code b;
  CodeOf(row, b);
  SetTarget(b, refOffset_[ref]);
  StoreCode(row, b);
  Render(row, refTarget_[ref]);
  view_.SetItemText(row, kColumnInstruction, rows_[row].text);
}

void CSkinLVCmdList::ShiftTargetsAfter(int row, int delta) {
  if (delta == 0) return;
  for (int i = 0; i < refCount_; ++i) {
    if (refTarget_[i] > row) {
      refOffset_[i] += delta;
      Rebuild(i);
    }
  }
}

void CSkinLVCmdList::ResolvePending() {
  for (int i = 0; i < refCount_; ++i) {
    if (refTarget_[i] != -1) continue;
    int row = refRow_[i];
    Code b;
    CodeOf(row, b);
    int t = b[0] == kOpLoopEnd ? RowOffset(row) + 3 : TargetOf(b);
    int target = FirstRowAtOrAfter(t, count_);
    refTarget_[i] = target;
    refOffset_[i] = target >= 0 ? RowOffset(target) : std::min(t, kMacroMaxBytes - 1);
    Rebuild(i);
  }
}

// --- growing ---------------------------------------------------------------------------------

int CSkinLVCmdList::Append(const Code& b) {
  const int s = SizeOf(b);
  if (usedBytes_ + s > capacity_ || count_ >= kMaxRows) return kBufferFull;
  const int row = count_;
  if (!view_.InsertItem(row)) return kNoRow;
  StoreCode(row, b);
  int target = -1;
  if (IsReferring(b)) {
    const int t = TargetOf(b);
    target = FirstRowAtOrAfter(t, count_);
    // A known target is the start of its row.
    int offset = target >= 0 ? RowOffset(target) : t;
    if (target >= 0 && offset < kMacroMaxBytes) {
      Code snapped;
      std::memcpy(snapped, b, 6);
      SetTarget(snapped, offset);
      StoreCode(row, snapped);
    }
    AddRef(row, target, offset);
  }
  delayTicks_[row] = 1;
  rowSize_[row] = s;
  ++count_;
  usedBytes_ += s;
  Render(row, target);
  PushLineNumbers(row);
  PushCells(row);
  currentRow_ = row;
  return row;
}

// The code of an instruction that is not 0x83 or a delay, from the operands the editor passes.
bool CSkinLVCmdList::PlainCode(int opcode, int first, int second, Code& b) const {
  if (opcode < 0 || opcode > 0xFF || opcode == kOpExtended || opcode == kOpDelay) return false;
  std::memset(b, 0, 6);
  b[0] = static_cast<std::uint8_t>(opcode);
  switch (opcode) {
    case kOpLoopStart:
      b[1] = Lo(first - 1);  // the count shown is n + 1
      break;
    case kOpConsumer:
    case kOpLoopEnd:
      b[1] = Lo(first);
      b[2] = Hi(first);
      break;
    case kOpMotion:
      b[1] = Lo(first);
      b[2] = Hi(first);
      b[3] = Lo(second);
      b[4] = Hi(second);
      break;
    case kOpKeyPressExt:
    case kOpKeyReleaseExt:
      if (extendedKeys_ != 0) b[1] = Lo(first);
      break;
    default:
      break;
  }
  return true;
}

int CSkinLVCmdList::AppendInstruction(int opcode, int first, int second) {
  Code b = {};
  if (opcode == kOpDelay) {
    if (first <= 0) return count_ > 0 ? count_ - 1 : kNoRow;
    // One pair holds at most 255 units; more would grow the row by more than the two bytes
    // checked here.
    if (first > 0xFF || count_ == 0) return kNoRow;
    if (usedBytes_ + 2 > capacity_) return kBufferFull;
    const int row = count_ - 1;
    CodeOf(row, b);
    delayTicks_[row] += first;
    const int size = SizeOf(b) + DelayLength(delayTicks_[row] - 1);
    usedBytes_ += size - rowSize_[row];
    rowSize_[row] = size;
    PushDelay(row);
    return row;
  }
  if (!PlainCode(opcode, first, second, b)) return kNoRow;
  return Append(b);
}

int CSkinLVCmdList::AppendExtended(int sub, int first, int second) {
  Code b = {};
  b[0] = kOpExtended;
  b[1] = static_cast<std::uint8_t>(sub);
  switch (sub) {
    case kSubAbsoluteMove:
      b[2] = Lo(first);
      b[3] = Hi(first);
      b[4] = Lo(second);
      b[5] = Hi(second);
      break;
    case kSubIfLocks:
    case kSubIfVariables:
      b[2] = Lo(first);
      b[3] = Hi(first);
      b[4] = Lo(second);
      b[5] = Hi(second);
      break;
    case kSubGoto:
    case kSubCall:
      b[2] = Lo(first);
      b[3] = Hi(first);
      break;
    case kSubSet:
      b[2] = Lo(first);
      b[3] = Lo(second);
      break;
    case kSubReturn:
      break;
    default:
      if (!IsCommandSub(sub)) return kNoRow;
      break;
  }
  return Append(b);
}

int CSkinLVCmdList::InsertCommandAt(int command) {
  if (command < 0 || command >= kCommandCount) return 0;
  if (view_.SelectedCount() != 1) return 0;
  const int a = view_.NextSelected(-1);
  if (a < 0 || a >= count_) return 0;
  const int s = CommandTable()[static_cast<std::size_t>(command)].count;
  if (usedBytes_ + s > capacity_ || count_ >= kMaxRows) return kBufferFull;
  if (!view_.InsertItem(a)) return kNoRow;
  const int moved = count_ - a;
  std::memmove(&rows_[a + 1], &rows_[a], sizeof(CmdRow) * static_cast<std::size_t>(moved));
  std::memmove(&delayTicks_[a + 1], &delayTicks_[a], sizeof(int) * static_cast<std::size_t>(moved));
  std::memmove(&rowSize_[a + 1], &rowSize_[a], sizeof(int) * static_cast<std::size_t>(moved));
  for (int i = 0; i < refCount_; ++i) {
    if (refRow_[i] >= a) ++refRow_[i];
    if (refTarget_[i] >= a) {
      ++refTarget_[i];
      refOffset_[i] += s;
    }
  }
  Code b = {kOpExtended, static_cast<std::uint8_t>(kSubCommandFirst + command), 0, 0, 0, 0};
  std::memset(&rows_[a], 0, sizeof(CmdRow));
  StoreCode(a, b);
  delayTicks_[a] = 1;
  rowSize_[a] = s;
  ++count_;
  usedBytes_ += s;
  Render(a, -1);
  PushCells(a);
  for (int i = 0; i < refCount_; ++i)
    if (refTarget_[i] > a) Rebuild(i);
  PushLineNumbers(a);
  currentRow_ = a;
  return a;
}

// --- shrinking and moving --------------------------------------------------------------------

int CSkinLVCmdList::DeleteSelected() {
  int n = 0;
  for (int r = view_.NextSelected(-1); r >= 0 && r < count_ && n < kMaxRows; r = view_.NextSelected(r))
    selection_[n++] = r;
  if (n == 0) return 0;
  for (int k = n - 1; k >= 0; --k) {
    usedBytes_ -= rowSize_[selection_[k]];
    view_.DeleteItem(selection_[k]);
  }
  // New index of a surviving row: its old index less the deleted rows before it.
  auto deleted = [&](int row) { return std::binary_search(selection_, selection_ + n, row); };
  auto renumber = [&](int row) { return row - static_cast<int>(std::lower_bound(selection_, selection_ + n, row) - selection_); };

  int to = selection_[0];
  for (int from = selection_[0]; from < count_; ++from) {
    if (deleted(from)) continue;
    if (to != from) {
      rows_[to] = rows_[from];
      delayTicks_[to] = delayTicks_[from];
      rowSize_[to] = rowSize_[from];
    }
    ++to;
  }
  const int oldCount = count_;
  count_ = to;
  std::memset(&rows_[count_], 0, sizeof(CmdRow) * static_cast<std::size_t>(oldCount - count_));
  std::fill(delayTicks_ + count_, delayTicks_ + oldCount, 0);
  std::fill(rowSize_ + count_, rowSize_ + oldCount, 0);

  // By position: entries already renumbered may carry the number of a deleted row.
  for (int i = 0; i < refCount_;) {
    if (deleted(refRow_[i])) {
      RemoveRefAt(i);
      continue;
    }
    refRow_[i] = renumber(refRow_[i]);
    if (refTarget_[i] >= 0) refTarget_[i] = deleted(refTarget_[i]) ? 0 : renumber(refTarget_[i]);
    ++i;
  }
  for (int i = 0; i < refCount_; ++i) {
    if (refTarget_[i] >= 0) refOffset_[i] = RowOffset(refTarget_[i]);
    Rebuild(i);
  }
  PushLineNumbers(0);
  const int next = selection_[0];
  if (next < count_) {
    view_.SetSelected(next, true);
    view_.EnsureVisible(next);
    currentRow_ = next;
  } else {
    currentRow_ = count_ > 0 ? count_ - 1 : 0;
  }
  return n;
}

void CSkinLVCmdList::MoveRowUp() {
  if (view_.SelectedCount() != 1) return;
  const int a = view_.NextSelected(-1);
  if (a <= 0 || a >= count_) return;
  const int b = a - 1;
  view_.SetSelected(a, false);
  std::swap(rows_[a], rows_[b]);
  std::swap(delayTicks_[a], delayTicks_[b]);
  std::swap(rowSize_[a], rowSize_[b]);
  for (int i = 0; i < refCount_; ++i) {
    if (refRow_[i] == a) refRow_[i] = b;
    else if (refRow_[i] == b) refRow_[i] = a;
  }
  for (int i = 0; i < refCount_; ++i) {
    if (refTarget_[i] == a || refTarget_[i] == b) {
      refTarget_[i] = refTarget_[i] == a ? b : a;
      refOffset_[i] = RowOffset(refTarget_[i]);
      Rebuild(i);
    }
  }
  PushCells(a);
  PushCells(b);
  view_.SetSelected(b, true);
  view_.SetFocused(b);
  view_.EnsureVisible(b);
  currentRow_ = b;
}

void CSkinLVCmdList::MoveRowDown() {
  if (view_.SelectedCount() != 1 || count_ < 2) return;
  const int a = view_.NextSelected(-1);
  if (a < 0 || a >= count_ - 1) return;
  // Moving a down is moving its lower neighbour up; the moved row ends selected.
  view_.SetSelected(a, false);
  view_.SetSelected(a + 1, true);
  MoveRowUp();
  view_.SetSelected(a, false);
  view_.SetSelected(a + 1, true);
  view_.SetFocused(a + 1);
  view_.EnsureVisible(a + 1);
  currentRow_ = a + 1;
}

int CSkinLVCmdList::SetRowDelay(int ms) {
  if (view_.SelectedCount() != 1) return 0;
  const int r = view_.NextSelected(-1);
  if (r < 0 || r >= count_) return 0;
  currentRow_ = r;
  ms = std::clamp(ms, 0, kMaxDelayMs);
  const int ticks = (ms + 2 * delayUnit_ - 1) / delayUnit_;
  Code b;
  CodeOf(r, b);
  const int size = SizeOf(b) + DelayLength(ticks - 1);
  if (usedBytes_ - rowSize_[r] + size <= capacity_) {
    const int delta = size - rowSize_[r];
    delayTicks_[r] = ticks;
    rowSize_[r] = size;
    usedBytes_ += delta;
    ShiftTargetsAfter(r, delta);
  }
  PushDelay(r);
  return 1;
}

int CSkinLVCmdList::ReplaceRow(int row, int opcode, int first, int second) {
  Code b;
  if (row < 0 || row >= count_ || !PlainCode(opcode, first, second, b)) return 0;
  Code old;
  CodeOf(row, old);
  // Sizes and offsets stay as they are, so only an instruction of the same size fits.
  if (SizeOf(b) != SizeOf(old)) return 0;
  RemoveRef(row);
  StoreCode(row, b);
  int target = -1;
  if (IsReferring(b)) {
    target = FirstRowAtOrAfter(TargetOf(b), count_);
    AddRef(row, target, target >= 0 ? RowOffset(target) : TargetOf(b));
  }
  Render(row, target);
  PushCells(row);
  currentRow_ = row;
  return 1;
}

bool CSkinLVCmdList::LoadBytes(const std::uint8_t* bytes, int length) {
  if (bytes == nullptr) return false;
  ClearAll();
  std::span<const std::uint8_t> str(bytes, static_cast<std::size_t>(std::max(length, 0)));
  ReadInstruction in;
  for (std::size_t pos = 0; ReadInstructionAt(str, pos, extendedKeys_ != 0, in); pos += static_cast<std::size_t>(in.size)) {
    if (!in.produced) continue;
    if (in.code[0] == kOpDelay) {
      AppendInstruction(kOpDelay, in.code[1], 0);  // a pair with nothing before it is dropped
      continue;
    }
    Code b;
    std::memcpy(b, in.code, 6);
    if (b[0] == kOpLoopStart) b[2] = 0;  // written as 0, never read
    Append(b);                            // a full buffer skips the instruction
  }
  ResolvePending();
  return true;
}

int CSkinLVCmdList::RowBytes(int row, std::span<std::uint8_t> out) const {
  if (row < 0 || row >= count_) return 0;
  Code b;
  CodeOf(row, b);
  const int s = SizeOf(b);
  std::size_t n = 0;
  for (int i = 0; i < s && n < out.size(); ++i) out[n++] = b[i];
  EncodeDelay(delayTicks_[row] - 1, out.subspan(std::min(out.size(), static_cast<std::size_t>(s))));
  return rowSize_[row];
}

void CSkinLVCmdList::SelectRow(int row) {
  if (row < 0 || row >= count_) return;
  currentRow_ = row;
  view_.SetSelected(row, true);
  view_.SetFocused(row);
  view_.EnsureVisible(row);
}

bool CSkinLVCmdList::HasOpenPress(int keyCode) const {
  const bool twoByte = keyCode == kOpKeyPressExt || keyCode >= 0x78;
  for (int r = std::min(currentRow_, count_ - 1); r >= 0; --r) {
    const auto& c = rows_[r].code;
    bool press, release;
    if (twoByte) {
      press = extendedKeys_ != 0 && c[0] == kOpKeyPressExt && c[1] == keyCode;
      release = extendedKeys_ != 0 && c[0] == kOpKeyReleaseExt && c[1] == keyCode;
    } else {
      press = c[0] == keyCode;
      release = c[0] == keyCode + kReleaseBit;
    }
    if (press) return true;
    if (release) return false;
  }
  return false;
}

}  // namespace halvard
