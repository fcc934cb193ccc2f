// The full page's enabling rules, its normal/battle modes against the simulated mouse and its
// profile list.
#include "app/main_page.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "device/simulated_mouse.h"
#include "device/simulated_hid.h"

namespace halvard {
namespace {

TEST(PageEnabling, EveryRuleOfTheTable) {
  struct Case {
    int id;
    PageState state;
    bool enabled;
  };
  const PageState open{true, false, 11, 6}, modified{true, true, 11, 6}, locked{false, true, 3, 1};
  const PageState single{true, false, 3, 1}, factory{true, false, 3, 2}, empty{true, false, 8, 6};
  const Case cases[] = {
      {kPgApply, open, false},          {kPgOk, open, false},
      {kPgApply, modified, true},       {kPgOk, modified, true},
      {kPgCancel, open, true},          {kPgHide, open, true},
      {kPgMacroFunction, open, false},  {kPgSingleFunction, open, false},
      {kPgDefaultFunction, open, false}, {kPgApplication, open, false},
      {kPgVideoAir, open, true},        {kPgVideo3d, open, true},
      {kPgMacroFunction, single, true}, {kPgDefaultFunction, single, true},
      {kPgDefaultFunction, factory, false}, {kPgApplication, factory, true},
      {kPgDefaultFunction, empty, true}, {kPgFirstTab + 4, open, true},
      {kPgFirstHotSpot + 10, open, true}, {kPgPlate, open, true},
      {kPgYes, open, false},            {kPgProfileList, open, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(PageControlEnabled(c.id, c.state), c.enabled);
  }
  for (int id : PageControls()) EXPECT_FALSE(PageControlEnabled(id, locked)) << id;
  EXPECT_EQ(PageControls().size(), 37u);
}

TEST(LedModes, BattleBitsAndTheirWriteThrough) {
  VirtualClock clock;
  SimulatedMouse mouse(&clock, 0x2002);
  SimulatedHid hid;
  hid.AddInterface(SimulatedHid::MouseInterface(&mouse, u""));
  mouse.FactoryFill();
  CIcTessel tessel(hid, clock);
  tessel.setDeviceType(kDeviceType2002);
  ASSERT_EQ(tessel.OpenDevice(hid.At(0).path), 1);
  const int p = 2, a = B(p) + kOffLed;
  const int start[3] = {0x11, 0x21, 0x05};
  for (int k = 0; k < 3; ++k) {
    mouse.SetCell(a + k, static_cast<std::uint8_t>(start[k]));
    tessel.MarkLoaded(a + k, start[k]);
  }
  EXPECT_FALSE(InBattleMode(tessel, p));
  EXPECT_EQ(WriteLedMode(tessel, clock, p, true), 3);
  EXPECT_TRUE(InBattleMode(tessel, p));
  const int battle[3] = {0x31, 0x31, 0x35};
  for (int k = 0; k < 3; ++k) EXPECT_EQ(mouse.Cell(a + k), battle[k]);
  int applies = mouse.ApplyCount();
  EXPECT_GT(applies, 0);
  // Already in the mode: no cell written, the apply command still goes out.
  mouse.ClearTrace();
  EXPECT_EQ(WriteLedMode(tessel, clock, p, true), 3);
  for (auto& e : mouse.Trace()) EXPECT_NE(e.bytes[1], kReqWriteCell);
  EXPECT_GT(mouse.ApplyCount(), applies);
  EXPECT_EQ(WriteLedMode(tessel, clock, p, false), 3);
  const int normal[3] = {0x21, 0x21, 0x25};
  for (int k = 0; k < 3; ++k) EXPECT_EQ(mouse.Cell(a + k), normal[k]);
  EXPECT_FALSE(InBattleMode(tessel, p));
  // A mouse that takes nothing: no cell in the new state, no apply, the new bits pending.
  mouse.Unplug();
  applies = mouse.ApplyCount();
  EXPECT_EQ(WriteLedMode(tessel, clock, p, true), 0);
  EXPECT_EQ(mouse.ApplyCount(), applies);
  for (int k = 0; k < 3; ++k) EXPECT_TRUE(tessel.IsDirty(a + k));
  EXPECT_TRUE(InBattleMode(tessel, p));
  EXPECT_EQ(ModePicturesFor(true).normal, 182);
  EXPECT_EQ(ModePicturesFor(false).battle, 184);
}

TEST(ProfileList, DefaultThenProfileFilesInFolderOrder) {
  MemoryFiles files;
  files.documents = u"C:\\Docs";
  files.Put(u"C:\\Docs\\Halvard\\x.pf", {1});
  files.Put(u"C:\\Docs\\Halvard\\GAME.PF", {1});
  files.Put(u"C:\\Docs\\Halvard\\notes.txt", {1});
  files.Put(u"C:\\Docs\\Halvard\\.pf", {1});
  std::vector<std::u16string> e = ProfileListEntries(files);
  ASSERT_FALSE(e.empty());
  EXPECT_EQ(e[0], u"Default");
  EXPECT_EQ(e.size(), 3u);
  EXPECT_NE(std::find(e.begin(), e.end(), u"x"), e.end());
  EXPECT_NE(std::find(e.begin(), e.end(), u"GAME"), e.end());
}

}  // namespace
}  // namespace halvard
