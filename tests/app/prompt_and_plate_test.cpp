#include <gtest/gtest.h>

#include "app/key_status.h"
#include "app/language.h"
#include "app/progress_model.h"
#include "app/prompt_model.h"
#include "ipc/messages.h"

namespace halvard {
namespace {

TEST(Prompt, KindsButtonsAndInputs) {
  ASSERT_EQ(PromptKinds().size(), 12u);
  for (int k : {251, 447, 448}) EXPECT_TRUE(PromptKindOf(k)->okOnly);
  for (int k : {113, 115, 125, 248, 287, 353, 469, 470, 474}) EXPECT_FALSE(PromptKindOf(k)->okOnly);
  EXPECT_EQ(PromptKindOf(113)->input, PromptInput::kName);
  EXPECT_EQ(PromptKindOf(125)->input, PromptInput::kName);
  EXPECT_EQ(PromptKindOf(474)->input, PromptInput::kCount);
  EXPECT_EQ(PromptKindOf(469)->input, PromptInput::kFunctionList);
  EXPECT_EQ(PromptKindOf(470)->input, PromptInput::kMacroList);
  EXPECT_FALSE(PromptKindOf(114));
}

TEST(Prompt, RepeatRadiosTakeTheirTooltipsTopToBottom) {
  const LanguageTables& lang = LanguageTables::Defaults();
  const std::u16string_view want[4] = {u"ONE-TIME", u"Multiple Loops", u"REPEAT when press and hold",
                                       u"Repeat until next key is pressed"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(lang.Tooltip(kRepeatChoiceTooltips[i]), want[i]) << i;
}

TEST(Prompt, CountFieldKeepsZeroTo255) {
  auto type = [](std::u16string keys) {
    std::u16string field;
    for (char16_t k : keys) field = FilterCount(field + k);
    return field;
  };
  EXPECT_EQ(type(u"300"), u"255");
  EXPECT_EQ(type(u"07"), u"0");
  EXPECT_EQ(type(u"12a"), u"12");
  EXPECT_EQ(type(u"2559"), u"255");
  EXPECT_EQ(type(u"x"), u"");
  EXPECT_EQ(CountValue(u""), 0);
  EXPECT_EQ(CountValue(u"255"), 255);
  EXPECT_EQ(CountSeed(300), u"255");
  EXPECT_EQ(CountSeed(-4), u"0");
  EXPECT_EQ(FilterName(std::u16string(25, u'n')).size(), 20u);
}

TEST(Prompt, FunctionListSkipsRowSeven) {
  EXPECT_EQ(FunctionListPosition(1), 0);
  EXPECT_EQ(FunctionListPosition(6), 5);
  EXPECT_EQ(FunctionListPosition(8), 6);
  EXPECT_EQ(FunctionListPosition(12), 10);
  EXPECT_EQ(FunctionListPosition(7), -1);
  EXPECT_EQ(FunctionListPosition(0), -1);
  EXPECT_EQ(FunctionListRow(6), 8);
  EXPECT_EQ(FunctionListRow(11), -1);
}

TEST(Prompt, MacroListFromTheFolder) {
  MemoryFiles files;
  const std::u16string dir = u"C:\\Users\\gamer\\Documents\\Halvard";
  for (auto n : {u"Burst.MAC", u"Combo.mac", u"Notes.txt"}) files.Put(dir + u"\\" + n, {});
  MacroChoiceList l = OpenMacroChoice(files, dir + u"\\Burst.MAC");
  EXPECT_EQ(l.names, (std::vector<std::u16string>{u"Burst", u"Combo"}));
  EXPECT_EQ(l.selected, 0);  // the first file found keeps its selection and text
  EXPECT_EQ(l.text, u"Burst");
  l = OpenMacroChoice(files, dir + u"\\Gone.Mac");
  EXPECT_EQ(l.selected, -1);
  EXPECT_EQ(l.text, u"");
  l = OpenMacroChoice(files, dir + u"\\");
  EXPECT_EQ(l.names.size(), 2u);
  EXPECT_TRUE(ChoiceAsksForCount(kChoiceMultiple));
  EXPECT_FALSE(ChoiceAsksForCount(kChoiceOnce));
}

TEST(Progress, SeventeenFramesOnOneTimer) {
  auto frames = ProgressFrames();
  ASSERT_EQ(frames.size(), 17u);
  EXPECT_EQ(frames[11], 416);
  EXPECT_EQ(frames[12], 416);
  EXPECT_EQ(frames[16], 420);
  ProgressAnimation a(frames);
  EXPECT_TRUE(a.Show());
  for (int i = 0; i < 5; ++i) a.Tick(kProgressTimer);
  EXPECT_FALSE(a.Show());  // restarts at frame 0, keeps the one timer
  EXPECT_EQ(a.Index(), 0);
  EXPECT_EQ(a.Tick(0x1234), -1);
  for (int i = 0; i < 16; ++i) a.Tick(kProgressTimer);
  EXPECT_EQ(a.Index(), 16);
  EXPECT_EQ(a.Tick(kProgressTimer), 405);
  EXPECT_EQ(a.Index(), 0);
}

class PlateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(plate.InitialiseEntries(), 1);
    ASSERT_EQ(plate.SetPictures(kPlatePictureIds.data(), 7), 1);
    plate.notify = main;
    plate.Refresh();
    for (int i = 0; i < 11; ++i) {
      spots[i].index = i;
      spots[i].plate = &plate;
      spots[i].plateWindow = plateWindow;
    }
  }
  RecordingWindowServices windows;
  Hwnd main = HandleFromValue(0x100), plateWindow = HandleFromValue(0x200);
  CUiKeyStatus plate;
  HotSpotModel spots[11];
};

TEST_F(PlateTest, EmptyPlateShowsTheLastPicture) {
  EXPECT_EQ(plate.DisplayedPicture(), 439);
  EXPECT_EQ(plate.Caption(), u"");
  EXPECT_EQ(plate.SetEntry(7, u"x", 0, false), 0);  // category outside the table
  EXPECT_EQ(plate.SetEntry(0, u"x", 11, false), 0);
  EXPECT_EQ(plate.SetEntry(0, nullptr, 2, false), 1);
  EXPECT_EQ(plate.Label(2), u"");
}

TEST_F(PlateTest, LabelAndCategoryOutsideTheEntriesAreNothing) {
  plate.SetEntry(3, u"Combo", 0, false);
  plate.SetEntry(2, u"CLICK", 10, false);
  EXPECT_EQ(plate.Label(10), u"CLICK");
  EXPECT_EQ(plate.Category(10), 2);
  for (int entry : {-1, 11, 12, 1000}) {
    EXPECT_EQ(plate.Label(entry), u"") << entry;
    EXPECT_EQ(plate.Category(entry), -1) << entry;
  }
}

TEST_F(PlateTest, HoverReportsOnceAndFollowsTheHotSpots) {
  plate.SetEntry(1, u"DOUBLE CLICK", 3, false);
  plate.SetEntry(0, u"Combo", 5, false);
  spots[3].MouseMove(windows);
  ASSERT_EQ(windows.posted.size(), 1u);
  EXPECT_EQ(windows.posted[0].window, plateWindow);
  EXPECT_EQ(windows.posted[0].message, kWmMouseHover);
  EXPECT_EQ(windows.posted[0].wParam, 291u);
  plate.MouseHover(291, windows);
  EXPECT_EQ(plate.CurrentEntry(), 3);
  EXPECT_EQ(plate.Caption(), u"DOUBLE CLICK");
  EXPECT_EQ(plate.DisplayedPicture(), 441);
  ASSERT_EQ(windows.posted.size(), 2u);
  EXPECT_EQ(windows.posted[1].message, WM_KEY_STATUS);
  EXPECT_EQ(windows.posted[1].wParam, 1u);
  EXPECT_EQ(windows.posted[1].lParam, 3);
  // On to hot spot 5 without leaving: the plate switches but tells the main window nothing.
  plate.MouseHover(293, windows);
  EXPECT_EQ(plate.CurrentEntry(), 5);
  EXPECT_EQ(plate.DisplayedPicture(), 440);
  EXPECT_EQ(windows.posted.size(), 2u);
  plate.MouseLeave(windows);
  EXPECT_EQ(plate.CurrentEntry(), -1);
  EXPECT_EQ(plate.DisplayedPicture(), 439);
  EXPECT_EQ(windows.posted.back().message, kWmMouseLeave);
  EXPECT_EQ(windows.posted.back().window, main);
}

TEST_F(PlateTest, AnUnlinkedHotSpotPostsNothing) {
  HotSpotModel lone;
  lone.index = 2;
  lone.MouseMove(windows);
  lone.MouseLeave(windows);
  EXPECT_TRUE(windows.posted.empty());
  EXPECT_EQ(HotSpotNormalPicture(10), 650);
  EXPECT_EQ(HotSpotHoverPicture(0), 651);
  EXPECT_EQ(HotSpotMaskPicture(10), 672);
}

}  // namespace
}  // namespace halvard
