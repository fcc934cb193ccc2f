// The editable form of one macro: rows of instructions with their delays, the encoded length of
// every row so the macro never outgrows its capacity, and the table of jump and loop references
// that keeps targets right through inserts, deletes, moves and delay changes. All storage is
// fixed with the object (about 1.2 MB; create it on the heap); no operation allocates.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "macro/list_view.h"

namespace halvard {

class CSkinLVCmdList {
 public:
  static constexpr int kMaxRows = 2200;
  static constexpr int kMaxRefs = 128;
  static constexpr int kTextChars = 256;
  static constexpr int kBufferFull = -3;
  static constexpr int kNoRow = -1;

  struct CmdRow {
    std::int32_t code[6];  // opcode, then operand bytes in the byte code's order
    char16_t text[kTextChars];
  };
  struct CmdRef {
    int referring;
    int target;  // -1 while not known
    int offset;
  };

  explicit CSkinLVCmdList(ListViewSeam& view);
  virtual ~CSkinLVCmdList() = default;
  CSkinLVCmdList(const CSkinLVCmdList&) = delete;
  CSkinLVCmdList& operator=(const CSkinLVCmdList&) = delete;

  // Columns "NO.", "INSTRUCTION", "DELAY", then ClearAll.
  void Setup();
  void ClearAll();

  // Row index, kBufferFull, or kNoRow (a delay with no row, a delay operand above one pair's
  // 255 units, a failing list call, an opcode that is not for this operation).
  int AppendInstruction(int opcode, int first, int second);
  int AppendExtended(int sub, int first, int second);
  // In front of the single selected row; 0 when not exactly one row is selected.
  int InsertCommandAt(int command);
  // The number of rows deleted.
  int DeleteSelected();
  void MoveRowUp();
  void MoveRowDown();
  int SetRowDelay(int ms);
  // Another instruction of the same size for an existing row; 0 for a row out of range or an
  // instruction of another size.
  int ReplaceRow(int row, int opcode, int first, int second);
  bool LoadBytes(const std::uint8_t* bytes, int length);
  // The row's instruction and delay pairs into `out` (as much as fits); returns rowSize.
  int RowBytes(int row, std::span<std::uint8_t> out) const;
  void SelectRow(int row);
  bool HasOpenPress(int keyCode) const;

  int Count() const { return count_; }
  int UsedBytes() const { return usedBytes_; }
  int Capacity() const { return capacity_; }
  void SetCapacity(int capacity) { capacity_ = capacity; }
  int DelayUnit() const { return delayUnit_; }
  void SetDelayUnit(int ms) { delayUnit_ = ms > 0 ? ms : 1; }
  bool ExtendedKeys() const { return extendedKeys_ != 0; }
  void SetExtendedKeys(bool on) { extendedKeys_ = on ? 1 : 0; }
  int CurrentRow() const { return currentRow_; }
  int SelectedCount() const { return view_.SelectedCount(); }
  int SelectedIndex() const { return view_.NextSelected(-1); }

  // Inspection.
  const CmdRow& Row(int row) const { return rows_[row]; }
  std::u16string_view RowText(int row) const { return rows_[row].text; }
  int DelayTicks(int row) const { return delayTicks_[row]; }
  int RowSize(int row) const { return rowSize_[row]; }
  int RowOffset(int row) const;
  int RefCount() const { return refCount_; }
  CmdRef RefAt(int i) const { return {refRow_[i], refTarget_[i], refOffset_[i]}; }

 private:
  using Code = std::uint8_t[6];
  bool PlainCode(int opcode, int first, int second, Code& b) const;
  void CodeOf(int row, Code& b) const;
  void StoreCode(int row, const Code& b);
  int SizeOf(const Code& b) const;
  bool IsReferring(const Code& b) const;
  static int TargetOf(const Code& b);
  static void SetTarget(Code& b, int offset);
  int FirstRowAtOrAfter(int offset, int rows) const;
  void Render(int row, int targetRow);
  void PushCells(int row);
  void PushLineNumbers(int from);
  void PushDelay(int row);
  int Append(const Code& b);
  void AddRef(int referring, int target, int offset);
  void RemoveRef(int referring);
  void RemoveRefAt(int index);
  int FindRef(int referring) const;
  void Rebuild(int ref);
  void ResolvePending();
  void ShiftTargetsAfter(int row, int delta);

  ListViewSeam& view_;
  int refCount_ = 0;
  int refRow_[kMaxRefs] = {};
  int refTarget_[kMaxRefs] = {};
  int refOffset_[kMaxRefs] = {};
  int count_ = 0;
  int capacity_ = 0;
  int usedBytes_ = 0;
  int selection_[kMaxRows] = {};
  int delayUnit_ = 12;
  std::uint8_t extendedKeys_ = 0;
  int currentRow_ = 0;
  CmdRow rows_[kMaxRows] = {};
  int delayTicks_[kMaxRows] = {};
  int rowSize_[kMaxRows] = {};
};

}  // namespace halvard
