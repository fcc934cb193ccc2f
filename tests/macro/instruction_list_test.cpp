#include "macro/instruction_list.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

#include "macro/bytecode.h"
#include "macro/listing.h"

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKeyboardLanguage(KeyboardLanguage::FromLanguageId(0x0409));
    list->SetCapacity(256);
    list->SetDelayUnit(25);
    list->SetExtendedKeys(true);
    list->Setup();
  }
  Bytes All() const {
    Bytes out;
    std::uint8_t row[300];
    for (int r = 0; r < list->Count(); ++r) {
      int n = list->RowBytes(r, row);
      out.insert(out.end(), row, row + n);
    }
    return out;
  }
  void Load(const Bytes& b) { ASSERT_TRUE(list->LoadBytes(b.data(), static_cast<int>(b.size()))); }
  // The invariants every operation keeps.
  void Check() const {
    int sum = 0;
    for (int r = 0; r < list->Count(); ++r) {
      std::uint8_t code[6];
      for (int i = 0; i < 6; ++i) code[i] = static_cast<std::uint8_t>(list->Row(r).code[i]);
      EXPECT_EQ(list->RowSize(r), InstructionSizeOf(code[0], code[1], list->ExtendedKeys()) +
                                       DelayLength(list->DelayTicks(r) - 1));
      sum += list->RowSize(r);
    }
    EXPECT_EQ(sum, list->UsedBytes());
    EXPECT_LE(list->UsedBytes(), list->Capacity());
    EXPECT_EQ(static_cast<int>(view.items.size()), list->Count());
    for (int i = 0; i < list->RefCount(); ++i) {
      auto ref = list->RefAt(i);
      if (ref.target >= 0) {
        EXPECT_EQ(ref.offset, list->RowOffset(ref.target)) << "ref " << i;
      }
    }
  }

  MemoryListView view;
  std::unique_ptr<CSkinLVCmdList> list = std::make_unique<CSkinLVCmdList>(view);
};

TEST_F(ListTest, SetupMakesTheThreeColumns) {
  ASSERT_EQ(view.columns.size(), 3u);
  EXPECT_EQ(view.columns[0].title, u"NO.");
  EXPECT_EQ(view.columns[0].width, 0);
  EXPECT_EQ(view.columns[1].title, u"INSTRUCTION");
  EXPECT_EQ(view.columns[1].width, 125);
  EXPECT_EQ(view.columns[2].width, 175);
  auto fresh = std::make_unique<CSkinLVCmdList>(view);
  EXPECT_EQ(fresh->DelayUnit(), 12);
  EXPECT_EQ(fresh->Capacity(), 0);
  EXPECT_FALSE(fresh->ExtendedKeys());
}

// The view keeps its own column titles: texts changed after Setup leave them as they were.
TEST_F(ListTest, ColumnTitlesOutliveTheTextsTheyCameFrom) {
  const MacroTexts saved = ActiveMacroTexts();
  MacroTexts texts;
  texts.columnNumber = u"Zeilennummer der Anweisung";
  texts.columnInstruction = u"Anweisung in dieser Zeile";
  texts.columnDelay = u"Verzögerung nach der Zeile";
  SetMacroTexts(texts);
  list->Setup();
  SetMacroTexts(MacroTexts{});
  SetMacroTexts(saved);
  ASSERT_EQ(view.columns.size(), 3u);
  EXPECT_EQ(view.columns[0].title, u"Zeilennummer der Anweisung");
  EXPECT_EQ(view.columns[1].title, u"Anweisung in dieser Zeile");
  EXPECT_EQ(view.columns[2].title, u"Verzögerung nach der Zeile");
}

TEST_F(ListTest, AppendsFillTheRowsAndTheView) {
  EXPECT_EQ(list->AppendInstruction(0x01, 4, 0), -1);  // a delay with nothing before it
  EXPECT_EQ(list->UsedBytes(), 0);
  EXPECT_EQ(list->AppendInstruction(0x04, 0, 0), 0);
  EXPECT_EQ(list->AppendInstruction(0x01, 8, 0), 0);
  EXPECT_EQ(list->AppendInstruction(0x02, 3, 0), 1);
  EXPECT_EQ(list->AppendInstruction(0x80, -5, 7), 2);
  EXPECT_EQ(list->AppendExtended(4, 24, 7), 3);
  EXPECT_EQ(list->AppendInstruction(0x83, 0, 0), -1);
  EXPECT_EQ(list->AppendExtended(0x7F, 0, 0), -1);
  EXPECT_EQ(list->Count(), 4);
  EXPECT_EQ(All(), (Bytes{0x04, 0x01, 0x08, 0x02, 0x02, 0x00, 0x80, 0xFB, 0xFF, 0x07, 0x00, 0x83, 0x04, 24, 7}));
  EXPECT_EQ(view.items[0].text[0], u"1");
  EXPECT_EQ(view.items[0].text[1], u"A");
  EXPECT_EQ(view.items[0].text[2], u"200ms");
  EXPECT_EQ(view.items[0].icon, 1);
  EXPECT_EQ(view.items[1].text[1], u"<Loop>: 3 Times");
  EXPECT_EQ(view.items[2].text[1], u"(-5, 7)");
  EXPECT_EQ(view.items[3].text[1], u"SET C = A +7");
  EXPECT_EQ(view.items[3].text[2], u"0ms");
  EXPECT_EQ(list->CurrentRow(), 3);
  Check();
  view.failInserts = true;
  EXPECT_EQ(list->AppendInstruction(0x05, 0, 0), -1);
  EXPECT_EQ(list->Count(), 4);
  Check();
}

TEST_F(ListTest, CapacityIsNeverPassed) {
  for (int i = 0; i < 255; ++i) ASSERT_EQ(list->AppendInstruction(0x04, 0, 0), i);
  EXPECT_EQ(list->AppendInstruction(0x05, 0, 0), 255);
  EXPECT_EQ(list->UsedBytes(), 256);
  EXPECT_EQ(list->AppendInstruction(0x01, 1, 0), -3);
  EXPECT_EQ(list->AppendInstruction(0x06, 0, 0), -3);
  list->ClearAll();
  for (int i = 0; i < 255; ++i) list->AppendInstruction(0x04, 0, 0);
  EXPECT_EQ(list->AppendInstruction(0x01, 1, 0), -3);  // 255 used: a pair would pass 256
  view.SelectOnly({3});
  EXPECT_EQ(list->InsertCommandAt(0), -3);
  EXPECT_EQ(list->SetRowDelay(100), 1);  // keeps the old delay, no message
  EXPECT_EQ(list->DelayTicks(3), 1);
  Check();
}

TEST_F(ListTest, ADelayOperandOfMoreThanOnePairIsRefused) {
  for (int i = 0; i < 254; ++i) list->AppendInstruction(0x04, 0, 0);
  const Bytes before = All();
  // 300 units are two pairs: checked as one, they would pass 256.
  EXPECT_LT(list->AppendInstruction(0x01, 300, 0), 0);
  EXPECT_EQ(list->UsedBytes(), 254);
  EXPECT_EQ(list->DelayTicks(253), 1);
  EXPECT_EQ(All(), before);
  EXPECT_EQ(list->AppendInstruction(0x01, 255, 0), 253);
  EXPECT_EQ(list->UsedBytes(), 256);
  Check();
}

// Every growing operation, at random, on lists kept close to full.
TEST_F(ListTest, RandomGrowthNearAFullListNeverPassesTheCapacity) {
  std::mt19937 rng(20261210);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  auto selectOne = [&] {
    if (list->Count() > 0) view.SelectOnly({pick(0, list->Count() - 1)});
  };
  for (int round = 0; round < 60; ++round) {
    list->ClearAll();
    list->SetCapacity(pick(0, 3) == 0 ? pick(1, 64) : 256);
    const int fill = list->Capacity() - pick(0, 12);
    while (list->UsedBytes() < fill && list->AppendInstruction(pick(0x04, 0x65), 0, 0) >= 0) {
    }
    for (int step = 0; step < 300; ++step) {
      const int op = pick(0, 6);
      SCOPED_TRACE(testing::Message() << "round " << round << " step " << step << " op " << op);
      const Bytes before = All();
      const int countBefore = list->Count();
      int result = 0;
      switch (op) {
        case 0: result = list->AppendInstruction(0x01, pick(1, 1300), 0); break;
        case 1: result = list->AppendInstruction(pick(0, 0xFF), pick(-400, 400), pick(-400, 400)); break;
        case 2: {
          static constexpr int kSubs[] = {0, 1, 2, 3, 4, 5, 6, 0x80, 0x88, 0x94};
          result = list->AppendExtended(kSubs[pick(0, 9)], pick(0, 300), pick(0, 300));
          break;
        }
        case 3: selectOne(); result = list->InsertCommandAt(pick(0, kCommandCount - 1)); break;
        case 4: selectOne(); list->SetRowDelay(pick(0, kMaxDelayMs)); break;
        case 5: {
          Bytes random(static_cast<std::size_t>(pick(0, 300)));
          for (auto& b : random) b = static_cast<std::uint8_t>(pick(0, 0xFF));
          list->LoadBytes(random.data(), static_cast<int>(random.size()));
          break;
        }
        case 6:  // make a little room again
          if (list->UsedBytes() + 4 >= list->Capacity()) {
            selectOne();
            list->DeleteSelected();
          }
          break;
      }
      if (result < 0) {
        EXPECT_EQ(list->Count(), countBefore);
        EXPECT_EQ(All(), before);
      }
      Check();
      if (HasFailure()) return;
    }
  }
}

TEST_F(ListTest, ReadingMergesDelaysAndSkipsWhatIsNotAnInstruction) {
  Load({0x06, 0x01, 0x04, 0x01, 0x04});
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->DelayTicks(0), 9);
  Load({0x01, 0x04, 0x06});
  ASSERT_EQ(list->Count(), 1);
  EXPECT_EQ(list->DelayTicks(0), 1);
  Load({0x06, 0x01, 0x64, 0x01, 0x64});
  EXPECT_EQ(list->DelayTicks(0), 201);
  EXPECT_EQ(list->RowSize(0), 3);
  EXPECT_EQ(All(), (Bytes{0x06, 0x01, 0xC8}));
  list->SetExtendedKeys(false);
  Load({0x6F, 0x88});
  ASSERT_EQ(list->Count(), 2);
  EXPECT_EQ(list->Row(1).code[0], 0x88);
  list->SetExtendedKeys(true);
  Load({0x04, 0x83, 0x05, 0x00, 0x00, 0x83, 0x06, 0x05});  // CALL and Return are skipped as two bytes
  ASSERT_EQ(list->Count(), 4);
  EXPECT_EQ(list->Row(1).code[0], 0x00);
  EXPECT_EQ(list->Row(3).code[0], 0x05);
  Load({0x04, 0x80, 0x01});  // ends inside a motion
  EXPECT_EQ(list->Count(), 1);
  EXPECT_FALSE(list->LoadBytes(nullptr, 3));
  Check();
}

TEST_F(ListTest, BytesRoundTripThroughTheRows) {
  const Bytes macro = {0x02, 0x02, 0x00, 0x04, 0x01, 0x08, 0x84, 0x82, 0x00, 0x00, 0x83, 0x82, 0x00, 0x00,
                       0x83, 0x03, 0x02, 0x09, 0x00, 0x00, 0x83, 0x01, 0x83, 0x01, 0x03, 0x00, 0x6F, 0x88,
                       0x03, 0xE9, 0x00, 0x83, 0x00, 0x10, 0x00, 0x20, 0x00, 0xFF, 0x01, 0xFF, 0x01, 0x2D};
  Load(macro);
  EXPECT_EQ(All(), macro);
  EXPECT_EQ(view.items[4].text[1], u"Copy");
  EXPECT_EQ(view.items[5].text[1], u"IF (A == 9)  GOTO 1");
  EXPECT_EQ(view.items[6].text[1], u"IF (('NumLock' lock) AND ('CapsLock' lock) AND (L-BUTTON press))  GOTO 2");
  EXPECT_EQ(view.items[10].text[1], u"Script Stop");
  EXPECT_EQ(view.items[10].text[2], u"7.5sec");
  Check();
}

TEST_F(ListTest, ForwardReferencesAreResolvedAfterReading) {
  // GOTO the last row, and a loop end whose start lies ahead of it.
  Load({0x83, 0x02, 0x05, 0x00, 0x04, 0x05, 0x82, 0x0A, 0x00, 0x06});
  ASSERT_EQ(list->Count(), 5);
  EXPECT_EQ(view.items[0].text[1], u"GOTO 3");
  ASSERT_EQ(list->RefCount(), 2);
  EXPECT_EQ(list->RefAt(0).target, 2);
  // The loop end is re-pointed just past itself.
  EXPECT_EQ(list->RefAt(1).target, 4);
  EXPECT_EQ(list->RefAt(1).offset, 9);
  Load({0x83, 0x02, 0x40, 0x00});  // past the end: stays "??"
  EXPECT_EQ(view.items[0].text[1], u"GOTO ??");
  EXPECT_EQ(list->RefAt(0).target, -1);
  Check();
}

TEST_F(ListTest, GotoFollowsItsTargetThroughMovesAndDeletes) {
  ASSERT_EQ(list->AppendInstruction(0x03, 0xE9, 0), 0);  // size 3
  ASSERT_EQ(list->AppendInstruction(0x05, 0, 0), 1);     // size 1
  ASSERT_EQ(list->AppendInstruction(0x6F, 0x88, 0), 2);  // size 2
  ASSERT_EQ(list->AppendExtended(2, 4, 0), 3);           // GOTO row 3 (offset 4)
  EXPECT_EQ(view.items[3].text[1], u"GOTO 3");

  view.SelectOnly({1});
  list->MoveRowUp();
  EXPECT_EQ(list->Row(0).code[0], 0x05);
  EXPECT_TRUE(view.items[0].selected);
  EXPECT_EQ(list->RefAt(0).target, 2);
  EXPECT_EQ(list->RefAt(0).offset, 4);
  EXPECT_EQ(view.items[3].text[1], u"GOTO 3");
  Check();

  view.SelectOnly({2});
  EXPECT_EQ(list->DeleteSelected(), 1);
  EXPECT_EQ(list->RefAt(0).target, 0);
  EXPECT_EQ(list->RefAt(0).offset, 0);
  EXPECT_EQ(view.items[2].text[1], u"GOTO 1");
  EXPECT_EQ(list->Row(2).code[2], 0);
  EXPECT_EQ(view.items[2].text[0], u"3");
  Check();
}

TEST_F(ListTest, DelayChangesMoveLaterTargets) {
  list->AppendInstruction(0x04, 0, 0);
  list->AppendInstruction(0x05, 0, 0);
  list->AppendInstruction(0x06, 0, 0);
  list->AppendExtended(2, 2, 0);  // GOTO row 3
  view.SelectOnly({1});
  ASSERT_EQ(list->SetRowDelay(25), 1);
  EXPECT_EQ(list->DelayTicks(1), 2);
  EXPECT_EQ(list->RefAt(0).offset, 4);
  EXPECT_EQ(list->Row(3).code[2], 4);
  ASSERT_EQ(list->SetRowDelay(26), 1);
  EXPECT_EQ(list->DelayTicks(1), 3);
  EXPECT_EQ(view.items[1].text[2], u"50ms");
  ASSERT_EQ(list->SetRowDelay(0), 1);
  EXPECT_EQ(list->DelayTicks(1), 1);
  EXPECT_EQ(list->RefAt(0).offset, 2);
  view.SelectOnly({0, 1});
  EXPECT_EQ(list->SetRowDelay(25), 0);
  Check();
}

TEST_F(ListTest, InsertingACommandShiftsRowsAndReferences) {
  list->AppendInstruction(0x04, 0, 0);
  list->AppendInstruction(0x05, 0, 0);
  list->AppendExtended(2, 1, 0);  // GOTO row 2
  list->AppendExtended(2, 0, 0);  // GOTO row 1
  EXPECT_EQ(list->InsertCommandAt(2), 0);  // nothing selected
  view.SelectOnly({1});
  ASSERT_EQ(list->InsertCommandAt(2), 1);
  EXPECT_EQ(list->Count(), 5);
  EXPECT_EQ(view.items[1].text[1], u"Copy");
  EXPECT_EQ(view.items[1].text[0], u"2");
  EXPECT_EQ(view.items[4].text[0], u"5");
  EXPECT_EQ(view.items[3].text[1], u"GOTO 3");  // followed its target down
  EXPECT_EQ(list->Row(3).code[2], 5);
  EXPECT_EQ(view.items[4].text[1], u"GOTO 1");  // before the insertion: unchanged
  EXPECT_EQ(All(), (Bytes{0x04, 0x83, 0x82, 0, 0, 0x05, 0x83, 0x02, 0x05, 0x00, 0x83, 0x02, 0x00, 0x00}));
  Check();
}

TEST_F(ListTest, DeletingAJumpRowKeepsTheOtherReferences) {
  list->AppendInstruction(0x04, 0, 0);
  list->AppendExtended(2, 0, 0);
  list->AppendExtended(2, 0, 0);
  list->AppendExtended(2, 1, 0);
  ASSERT_EQ(list->RefCount(), 3);
  view.SelectOnly({1});
  list->DeleteSelected();
  ASSERT_EQ(list->RefCount(), 2);
  EXPECT_EQ(list->RefAt(0).referring, 1);
  EXPECT_EQ(list->RefAt(1).referring, 2);
  EXPECT_EQ(list->RefAt(1).target, 0);  // its target row was deleted
  EXPECT_TRUE(view.items[1].selected);
  Check();
  // Several rows at once, and a selection past the end.
  view.SelectOnly({1, 2});
  EXPECT_EQ(list->DeleteSelected(), 2);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->RefCount(), 0);
  EXPECT_EQ(list->DeleteSelected(), 0);
  Check();
}

TEST_F(ListTest, DeletingKeepsTheReferenceOfTheRowThatTookTheDeletedNumber) {
  list->AppendExtended(2, 8, 0);  // GOTO past the end: pending
  list->AppendExtended(2, 0, 0);  // GOTO line 1
  list->AppendInstruction(0x04, 0, 0);
  view.SelectOnly({1});
  list->MoveRowUp();  // the table now lists the pending GOTO (row 1) before the other (row 0)
  view.SelectOnly({0});
  list->DeleteSelected();  // row 1 becomes row 0 before row 0's entry is removed
  ASSERT_EQ(list->RefCount(), 1);
  EXPECT_EQ(list->RefAt(0).referring, 0);
  EXPECT_EQ(list->RefAt(0).target, -1);
  EXPECT_EQ(list->RefAt(0).offset, 8);
  Check();
}

TEST_F(ListTest, MovingDownSelectsTheMovedRowAndLimitsAreKept) {
  list->AppendInstruction(0x04, 0, 0);
  list->AppendInstruction(0x05, 0, 0);
  view.SelectOnly({0});
  list->MoveRowUp();  // already first
  EXPECT_EQ(list->Row(0).code[0], 0x04);
  list->MoveRowDown();
  EXPECT_EQ(list->Row(1).code[0], 0x04);
  EXPECT_TRUE(view.items[1].selected);
  EXPECT_FALSE(view.items[0].selected);
  list->MoveRowDown();  // already last
  EXPECT_EQ(list->Row(1).code[0], 0x04);
  Check();
}

TEST_F(ListTest, ReplaceAndOpenPress) {
  list->AppendInstruction(0x70, 0, 0);
  list->AppendInstruction(0x04, 0, 0);
  list->AppendInstruction(0x84, 0, 0);
  EXPECT_FALSE(list->HasOpenPress(0x04));  // released after the press
  EXPECT_TRUE(list->HasOpenPress(0x70));
  list->SelectRow(1);
  EXPECT_TRUE(list->HasOpenPress(0x04));  // scanning up from the current row
  EXPECT_EQ(list->ReplaceRow(0, 0x76, 0, 0), 1);
  EXPECT_EQ(view.items[0].text[1], u"Right Alt");
  EXPECT_EQ(list->ReplaceRow(0, 0x80, 1, 1), 0);  // another size
  EXPECT_EQ(list->ReplaceRow(7, 0x04, 0, 0), 0);
  list->AppendInstruction(0x6F, 0x88, 0);
  list->SelectRow(3);
  EXPECT_TRUE(list->HasOpenPress(0x88));
  Check();
}

}  // namespace
}  // namespace halvard
