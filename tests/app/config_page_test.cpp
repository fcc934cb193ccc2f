// The performance page on a simulated mouse: every control's cells for every profile, APPLY/OK,
// CANCEL, the monitor's reports, the profile switch and the per-profile pointer settings.
#include "app/config_page.h"

#include <gtest/gtest.h>

#include <set>

#include "app/cfg_pointer.h"
#include "app/session.h"
#include "app/messages.h"
#include "device/memory_map.h"
#include "device/simulated_hid.h"
#include "ipc/messages.h"
#include "platform/registry_memory.h"
#include "store/value_names.h"
#include "tests/app/session_world.h"

namespace halvard {
namespace {

const Hwnd kPage = HandleFromValue(0x4711);
const Hwnd kOsd = HandleFromValue(0x777);

struct Rig : SessionWorld {
  Rig() {
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    tessel->SetDevicePath(hid.At(0).path);
    for (int a : FullLoadList()) tessel->MarkLoaded(a, mouse.Cell(a));
    store.SetDword(kOsdHandle, ValueFromHandle(kOsd));
    mouse.ClearTrace();
  }
  // Addresses the mouse was written, in order.
  std::vector<int> Writes() const {
    std::vector<int> out;
    for (auto& e : mouse.Trace())
      if (e.set && e.ok && e.bytes[1] == kReqWriteCell) out.push_back(e.bytes[2] | (e.bytes[4] << 8));
    return out;
  }
  int Applies() const {
    int n = 0;
    for (auto& e : mouse.Trace()) n += e.set && e.ok && e.bytes[1] == kReqControl && e.bytes[2] == kCmdApply;
    return n;
  }
  std::vector<std::uint32_t> Osd(std::uint32_t code) const {
    std::vector<std::uint32_t> out;
    for (auto& p : windows.posted)
      if (p.window == kOsd && p.message == WM_INFORM_OSD && p.wParam == code) out.push_back(static_cast<std::uint32_t>(p.lParam));
    return out;
  }
  ::testing::AssertionResult Truthful() const {
    for (int a = 0; a < kEepromSize; ++a)
      if (tessel->IsValid(a) && !tessel->IsDirty(a) && tessel->Value(a) != mouse.Cell(a))
        return ::testing::AssertionFailure() << "cell " << a;
    return ::testing::AssertionSuccess();
  }
  // Every write went to profile p's block or to the lift-off cell.
  ::testing::AssertionResult OnlyProfile(int p) const {
    for (int a : Writes())
      if (!(a == kCellLiftOff || (a >= B(p) && a <= B(p) + 10))) return ::testing::AssertionFailure() << "wrote " << a;
    return ::testing::AssertionSuccess();
  }

  SimulatedMouse mouse{&clock, 0x2002};
  MemorySystemSettings system;
  CfgPageModel page{CfgPageDeps{*tessel, store, system, windows, clock, messages}};
};

// The DPI the common field shows for a level: its X code (the second group with the axis bit).
std::u16string CfgText(const Rig& r, int p, int level) {
  std::u16string t;
  const int code = r.tessel->Value(B(p) + kOffGroup2 + level);
  for (int v = CodeToDpi(code); v > 0; v /= 10) t.insert(t.begin(), static_cast<char16_t>(u'0' + v % 10));
  return t;
}

TEST(CfgText, DpiFieldsAndCodes) {
  struct Case {
    std::u16string typed, shown;
    int code;  // -1: the field is empty, no code
  } cases[] = {
      {u"849", u"849", 16}, {u"9000", u"8200", 164}, {u"30", u"30", 1},   {u"8199", u"8199", 163},
      {u"05", u"0", 1},     {u"12a", u"12", 1},      {u"", u"", -1},      {u"80000", u"8000", 160},
      {u"8200", u"8200", 164}, {u"100", u"100", 2},
  };
  for (auto& c : cases) {
    std::u16string shown = FilterDpiText(c.typed);
    EXPECT_EQ(shown, c.shown);
    if (c.code >= 0) {
      int v = 0;
      for (char16_t ch : shown) v = v * 10 + (ch - u'0');
      EXPECT_EQ(DpiToCode(v), c.code) << v;
    }
  }
  EXPECT_EQ(RoundDpiText(u"849"), u"800");
  EXPECT_EQ(RoundDpiText(u"20"), u"50");
  EXPECT_EQ(RoundDpiText(u"8199"), u"8150");
  EXPECT_EQ(RoundDpiText(u"8200"), u"8200");
  EXPECT_EQ(CodeToDpi(0), 50);
  EXPECT_EQ(CodeToDpi(200), 8200);
}

// Every control, for every profile and both axis assignments, lands in exactly its cells.
TEST(CfgPage, EveryControlReachesItsCellsOnEveryProfile) {
  for (int p = 0; p < kProfileCount; ++p) {
    for (bool swapped : {false, true}) {
      SCOPED_TRACE(testing::Message() << "profile " << p << (swapped ? " swapped" : ""));
      Rig r;
      // Bit 6 of cell 129 (set in the factory value 0x50): the first group is Y.
      r.tessel->MarkLoaded(kCellGlobalOptions, swapped ? 0x50 : 0x10);
      r.mouse.SetCell(kCellGlobalOptions, swapped ? 0x50 : 0x10);
      r.page.Open(p, kPage);
      EXPECT_EQ(r.store.GetDword(kConfigureHandle), 0x4711);
      EXPECT_EQ(r.page.LevelSlider(), 1);
      EXPECT_EQ(r.page.FieldText(DpiField::kCommon), u"800");

      // Level 3 (slider 3): written through at once with the apply command.
      r.page.SetLevel(3);
      EXPECT_EQ(r.mouse.Cell(B(p)) & 7, 2);
      EXPECT_EQ(r.Applies(), 1);
      EXPECT_EQ(r.page.FieldText(DpiField::kCommon), u"3200");
      EXPECT_EQ(r.Osd(OSD_DPI_STATE).back(), static_cast<std::uint32_t>(2 | (p << 4) | (64 << 8) | (64 << 16)));

      // Common slider: both groups of level 2, in the shadow only.
      r.page.MoveDpiSlider(DpiField::kCommon, kDpiSliderTop - 40);
      EXPECT_EQ(r.tessel->Value(B(p) + 3), 40);
      EXPECT_EQ(r.tessel->Value(B(p) + 8), 40);
      EXPECT_TRUE(r.tessel->IsDirty(B(p) + 3));
      EXPECT_EQ(r.mouse.Cell(B(p) + 3), 64);

      // Separate X and Y.
      r.page.SetXy(true);
      r.page.MoveDpiSlider(DpiField::kX, kDpiSliderTop - 50);
      r.page.EditDpiField(DpiField::kY, u"849");
      const int xCell = B(p) + (swapped ? 6 : 1) + 2, yCell = B(p) + (swapped ? 1 : 6) + 2;
      EXPECT_EQ(r.tessel->Value(xCell), 50);
      EXPECT_EQ(r.tessel->Value(yCell), 16);
      EXPECT_EQ(r.page.SliderPosition(DpiField::kY), kDpiSliderTop - 16);

      // Polling 250 Hz: bits 3-4 = 2 written through, the display told.
      r.page.SetPolling(kPoll250);
      EXPECT_EQ((r.mouse.Cell(B(p)) >> 3) & 3, 2);
      EXPECT_EQ(r.Osd(OSD_POLLING_RATE), std::vector<std::uint32_t>{2});
      const int appliesBefore = r.Applies();
      r.page.SetPolling(kPoll250);  // the shown rate again: nothing
      EXPECT_EQ(r.Applies(), appliesBefore);

      // Lift-off 7: bits 0-4 with the valid bit, bits 6-7 kept.
      r.tessel->MarkLoaded(kCellLiftOff, 0xC0 | 0x2B);
      r.page.SetLiftOff(7);
      EXPECT_EQ(r.tessel->Value(kCellLiftOff), 0xC0 | 0x20 | 7);

      // OK writes the pending cells, the X-Y value and ends the page.
      EXPECT_TRUE(r.page.Apply(true));
      EXPECT_TRUE(r.page.closed());
      EXPECT_EQ(r.mouse.Cell(xCell), 50);
      EXPECT_EQ(r.mouse.Cell(yCell), 16);
      EXPECT_EQ(r.mouse.Cell(kCellLiftOff), 0xC0 | 0x20 | 7);
      EXPECT_EQ(r.store.GetDword(XyFlagName(p)), 1);
      EXPECT_EQ(r.store.GetDword(kConfigureHandle), -1);
      EXPECT_TRUE(r.OnlyProfile(p));
      EXPECT_TRUE(r.Truthful());
      // Cells 5 and 10 were never touched.
      EXPECT_FALSE(r.tessel->IsDirty(B(p) + 5));
      EXPECT_FALSE(r.tessel->IsDirty(B(p) + 10));
    }
  }
}

// Every level, rate and lift-off value, on every profile: exactly its bits.
TEST(CfgPage, EveryLevelRateAndLiftOffValue) {
  for (int p = 0; p < kProfileCount; ++p) {
    Rig r;
    r.page.Open(p, kPage);
    for (int level = 1; level <= kLevelCount; ++level) {
      for (int code : {kPoll125, kPoll250, kPoll500, kPoll1000}) {
        r.page.SetLevel(level);
        r.page.SetPolling(code);
        EXPECT_EQ(r.mouse.Cell(B(p)), 0x80 | (code << 3) | (level - 1)) << p << " " << level << " " << code;
        EXPECT_EQ(r.page.FieldText(DpiField::kCommon), CfgText(r, p, level - 1));
      }
    }
    for (int v = 0; v <= kLiftOffMax; ++v) {
      r.page.SetLiftOff(v);
      EXPECT_EQ(r.tessel->Value(kCellLiftOff), 0x20 | v);
    }
    EXPECT_TRUE(r.OnlyProfile(p));
    EXPECT_TRUE(r.Truthful());
  }
}

TEST(CfgPage, ValuesOutsideTheirRangeNeverReachACell) {
  Rig r;
  r.page.Open(1, kPage);
  const auto before = r.tessel->Shadow();
  r.page.SetLevel(0);
  r.page.SetLevel(5);
  r.page.SetPolling(4);
  r.page.SetPolling(-1);
  EXPECT_TRUE(r.mouse.Trace().empty());
  r.page.MoveDpiSlider(DpiField::kCommon, 500);  // the bottom: code 1
  EXPECT_EQ(r.tessel->Value(B(1) + 1), 1);
  r.page.MoveDpiSlider(DpiField::kCommon, -3);  // the top: code 164
  EXPECT_EQ(r.tessel->Value(B(1) + 1), 164);
  r.page.SetLiftOff(40);  // taken as 16
  EXPECT_EQ(r.tessel->Value(kCellLiftOff), 0x20 | 16);
  r.page.SetCursorSlider(99);
  EXPECT_EQ(r.system.cursor, 20);
  r.page.SetDoubleClickSlider(-4);
  EXPECT_EQ(r.system.doubleClick, 100);
  r.page.SetScrollSlider(50);
  EXPECT_EQ(r.system.wheel, 10);
  // A level cell with odd bits 5-7 is normalised on opening, and the level read is clamped.
  r.tessel->MarkLoaded(B(2), 0x47);
  r.page.Open(2, kPage);
  EXPECT_EQ(r.tessel->Value(B(2)), 0x87);
  EXPECT_EQ(r.page.LevelSlider(), 4);
  (void)before;
}

TEST(CfgPage, CancelPutsBackEveryCellAndTheSystemSettings) {
  for (int p = 0; p < kProfileCount; ++p) {
    Rig r;
    r.system.cursor = 8;
    r.system.doubleClick = 400;
    r.system.wheel = 4;
    r.page.Open(p, kPage);
    const auto cells = CfgPageModel::SnapshotCells(p);
    std::vector<MemoryCell> before;
    for (int a : cells) before.push_back(r.tessel->Shadow()[static_cast<std::size_t>(a)]);
    r.page.SetLevel(4);
    r.page.SetPolling(kPoll125);
    r.page.MoveDpiSlider(DpiField::kCommon, 1);
    r.page.SetXy(true);
    r.page.EditDpiField(DpiField::kY, u"2000");
    r.page.SetLiftOff(3);
    r.page.SetCursorSlider(2);
    r.page.SetDoubleClickSlider(9);
    r.page.ToggleOneScreen();
    r.page.Apply(false);  // APPLY, then CANCEL still goes back to the opening
    r.page.Cancel();
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_EQ(r.tessel->Value(cells[i]), before[i].value) << cells[i];
      EXPECT_FALSE(r.tessel->IsDirty(cells[i])) << cells[i];
      if (cells[i] != B(p) + 5 && cells[i] != B(p) + 10) {
        EXPECT_EQ(r.mouse.Cell(cells[i]), before[i].value) << cells[i];
      }
    }
    EXPECT_EQ(r.system.cursor, 8);
    EXPECT_EQ(r.system.doubleClick, 400);
    EXPECT_EQ(r.system.wheel, 4);
    EXPECT_EQ(r.store.GetDword(kConfigureHandle), -1);
    EXPECT_EQ(r.store.GetDword(XyFlagName(p)), 1);  // APPLY stored it; CANCEL does not undo that
    EXPECT_TRUE(r.OnlyProfile(p));
    EXPECT_TRUE(r.Truthful());
  }
}

TEST(CfgPage, CancelWithoutChangesSendsNothing) {
  Rig r;
  r.page.Open(3, kPage);
  r.page.MoveDpiSlider(DpiField::kCommon, kDpiSliderTop - 16);  // the value it had
  r.page.Cancel();
  EXPECT_TRUE(r.mouse.Trace().empty());
}

TEST(CfgPage, AFailingFlushIsReportedAndLeavesTheCellsPending) {
  Rig r;
  r.page.Open(4, kPage);
  r.page.MoveDpiSlider(DpiField::kCommon, kDpiSliderTop - 30);
  r.mouse.FailSetFeature(1000);
  EXPECT_FALSE(r.page.Apply(true));
  EXPECT_FALSE(r.page.closed());
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.messages.shown[0].number, kMsgSaveConfigFailed);
  EXPECT_TRUE(r.tessel->IsDirty(B(4) + 1));
  EXPECT_TRUE(r.tessel->IsDirty(B(4) + 6));
  EXPECT_NE(r.store.GetDword(kConfigureHandle), -1);
  r.mouse.FailSetFeature(0);
  EXPECT_TRUE(r.page.Apply(true));
  EXPECT_EQ(r.mouse.Cell(B(4) + 1), 30);
  EXPECT_EQ(r.mouse.Cell(B(4) + 6), 30);
}

TEST(CfgPage, TheSessionEndingRestoresTheShadowAndSendsNothing) {
  Rig r;
  r.system.cursor = 12;
  r.page.Open(0, kPage);
  r.page.MoveDpiSlider(DpiField::kCommon, 100);
  r.page.SetLiftOff(1);
  r.page.SetCursorSlider(1);
  r.mouse.Unplug();
  r.mouse.ClearTrace();
  r.page.EndPage();
  EXPECT_TRUE(r.mouse.Trace().empty());
  EXPECT_FALSE(r.tessel->IsDirty(B(0) + 1));
  EXPECT_FALSE(r.tessel->IsDirty(kCellLiftOff));
  EXPECT_EQ(r.tessel->Value(kCellLiftOff), 0x2B);
  EXPECT_EQ(r.system.cursor, 12);
  EXPECT_TRUE(r.page.closed());
}

TEST(CfgPage, ReportsWhileOpen) {
  Rig r;
  r.page.Open(2, kPage);
  // The mouse changed the level of this profile: the shadow follows, nothing pending.
  EXPECT_EQ(r.page.OnInformUi(UI_DPI_STATE, 0x23), 1);
  EXPECT_EQ(r.page.level(), 3);
  EXPECT_EQ(r.tessel->Value(B(2)) & 7, 3);
  EXPECT_FALSE(r.tessel->IsDirty(B(2)));
  EXPECT_EQ(r.page.FieldText(DpiField::kCommon), u"5000");
  // Another profile's level, or a word without a level: nothing.
  r.page.OnInformUi(UI_DPI_STATE, 0x11);
  r.page.OnInformUi(UI_DPI_STATE, 0x24);
  EXPECT_EQ(r.page.level(), 3);
  // Polling rate from the mouse: pending until APPLY.
  EXPECT_EQ(r.page.OnInformUi(UI_POLLING_RATE, 2), 1);
  EXPECT_EQ(r.page.pollingShown(), kPoll250);
  EXPECT_TRUE(r.tessel->IsDirty(B(2)));
  // A level report now keeps the cell pending with both changes.
  r.page.OnInformUi(UI_DPI_STATE, 0x21);
  EXPECT_TRUE(r.tessel->IsDirty(B(2)));
  EXPECT_EQ(r.tessel->Value(B(2)), 0x80 | (2 << 3) | 1);
  EXPECT_EQ(r.page.OnInformUi(UI_LOCK, 1), 0);
  EXPECT_TRUE(r.page.Apply(false));
  EXPECT_EQ(r.mouse.Cell(B(2)), 0x80 | (2 << 3) | 1);
}

TEST(CfgPage, ProfileSwitchInsideThePage) {
  Rig r;
  r.store.SetDword(PointerSettingName(3, PointerSetting::kMotionSpeed), 14);
  r.store.SetDword(PointerSettingName(3, PointerSetting::kWheelScrollLines), 12);
  r.store.SetDword(XyFlagName(3), 1);
  r.page.Open(1, kPage);
  r.page.SetCursorSlider(3);  // speed 6 for profile 1
  r.page.MoveDpiSlider(DpiField::kCommon, kDpiSliderTop - 20);
  EXPECT_EQ(r.page.OnInformUi(UI_DPI_STATE, 0x80 | (3 << 4)), 1);
  EXPECT_EQ(r.page.profile(), 3);
  EXPECT_TRUE(r.page.xy());
  EXPECT_EQ(r.system.cursor, 14);
  EXPECT_EQ(r.system.wheel, kWheelOnePage);
  EXPECT_TRUE(r.page.oneScreen());
  EXPECT_EQ(r.page.cursorSlider(), 7);
  EXPECT_EQ(r.store.GetDword(PointerSettingName(1, PointerSetting::kMotionSpeed)), 6);
  EXPECT_EQ(r.page.OnInformUi(UI_DPI_STATE, 0x80 | (5 << 4)), 1);  // no such profile
  EXPECT_EQ(r.page.profile(), 3);
  // Edits now go to profile 3 only; profile 1's unapplied edit stays in the shadow, unsent.
  r.page.MoveDpiSlider(DpiField::kX, kDpiSliderTop - 22);
  r.page.Apply(true);
  EXPECT_EQ(r.mouse.Cell(B(3) + 6), 22);  // X is the second group with the factory axis bit
  EXPECT_TRUE(r.OnlyProfile(3));
  EXPECT_TRUE(r.tessel->IsDirty(B(1) + 1));
  // CANCEL after a switch goes back to what the new profile had.
  Rig c;
  c.page.Open(0, kPage);
  c.page.OnInformUi(UI_DPI_STATE, 0x80 | (4 << 4));
  c.page.MoveDpiSlider(DpiField::kCommon, 1);
  c.page.Cancel();
  EXPECT_EQ(c.tessel->Value(B(4) + 1), 16);
  EXPECT_EQ(c.mouse.Cell(B(4) + 1), 16);
  EXPECT_TRUE(c.OnlyProfile(4));
}

TEST(CfgPage, PointerSettingsOfThePage) {
  Rig r;
  r.system.wheel = kWheelOnePage;
  r.page.Open(0, kPage);
  EXPECT_TRUE(r.page.oneScreen());
  EXPECT_EQ(r.page.scrollSlider(), 10);
  r.page.SetCursorSlider(0);
  EXPECT_EQ(r.system.cursor, 1);
  r.page.SetScrollSlider(4);
  EXPECT_FALSE(r.page.oneScreen());
  EXPECT_EQ(r.system.wheel, 4);
  r.page.ToggleOneScreen();
  EXPECT_EQ(r.system.wheel, kWheelOnePage);
  r.page.ToggleOneScreen();
  EXPECT_EQ(r.system.wheel, 4);
  EXPECT_EQ(r.system.storedCursor, -100);  // nothing permanent before OK
  r.page.Apply(true);
  EXPECT_EQ(r.system.storedCursor, 1);
  EXPECT_EQ(r.system.storedWheel, 4);
}

TEST(CfgPage, ResetToDefault) {
  Rig r;
  r.page.Open(2, kPage);
  r.page.SetPolling(kPoll500);
  r.page.SetLevel(2);
  r.page.MoveDpiSlider(DpiField::kCommon, 1);
  r.tessel->SetCell(B(2) + 11, 0x27);
  r.page.ResetToDefault();
  EXPECT_EQ(r.page.pollingShown(), kPoll1000);
  EXPECT_EQ(r.page.FieldText(DpiField::kCommon), u"800");
  EXPECT_EQ(r.mouse.Cell(B(2)), 0x80);
  EXPECT_EQ(r.mouse.Cell(B(2) + 2), 32);
  EXPECT_EQ(r.mouse.Cell(B(2) + 11), 0x26);
  EXPECT_EQ(r.system.doubleClick, 500);
  EXPECT_EQ(r.system.storedCursor, 10);
  EXPECT_EQ(r.system.storedWheel, 3);
  for (int a : r.Writes()) EXPECT_TRUE(a >= B(2) && a <= B(2) + 12) << a;
  EXPECT_TRUE(r.Truthful());
}

TEST(CfgPointer, StoredValuesAppliedAndSaved) {
  struct Case {
    std::int64_t speed, click, lines;  // -2: missing
    int cursor, doubleClick, wheel;
  } cases[] = {
      {-2, -2, -2, 10, 500, 3},   {0, 0, 0, 10, 500, 3},    {6, 300, 5, 6, 300, 5},
      {99, 99999, 11, 20, 5000, kWheelOnePage}, {-5, 20, -7, 1, 100, kWheelOnePage},
  };
  for (int p = 0; p < kProfileCount; ++p) {
    for (auto& c : cases) {
      Rig r;
      auto put = [&](PointerSetting s, std::int64_t v) {
        if (v != -2) r.store.SetDword(PointerSettingName(p, s), static_cast<std::uint32_t>(v));
      };
      put(PointerSetting::kMotionSpeed, c.speed);
      put(PointerSetting::kDoubleClickSpeed, c.click);
      put(PointerSetting::kWheelScrollLines, c.lines);
      ApplyProfilePointerSettings(r.store, r.system, p);
      EXPECT_EQ(r.system.cursor, c.cursor);
      EXPECT_EQ(r.system.doubleClick, c.doubleClick);
      EXPECT_EQ(r.system.wheel, c.wheel);
      EXPECT_EQ(r.system.storedCursor, -100);  // not made permanent
      SaveProfilePointerSettings(r.store, r.system, p);
      EXPECT_EQ(r.store.GetDword(PointerSettingName(p, PointerSetting::kWheelScrollLines)),
                c.wheel == kWheelOnePage ? 10 : c.wheel);
      EXPECT_EQ(r.store.GetDword(PointerSettingName(p, PointerSetting::kMotionSpeed)), c.cursor);
    }
  }
}

// The main window's view puts the profile's pointer settings in force; the session asks for it
// when the load ends, on a tab and when it follows the mouse to another profile.
TEST(CfgPointer, TheSessionAppliesEachProfilesSettings) {
  struct PointerView : NullSessionView {
    PointerView(RegistryStore& s, SystemSettings& sys) : store(s), system(sys) {}
    void ApplyPointerSettings(int p) override { ApplyProfilePointerSettings(store, system, p); }
    RegistryStore& store;
    SystemSettings& system;
  };
  Rig r;
  for (int p = 0; p < kProfileCount; ++p) {
    r.store.SetDword(PointerSettingName(p, PointerSetting::kMotionSpeed), static_cast<std::uint32_t>(2 + p));
    r.store.SetDword(PointerSettingName(p, PointerSetting::kDoubleClickSpeed), static_cast<std::uint32_t>(200 + 100 * p));
  }
  r.mouse.SetCell(kCellActiveProfile, 0x51);  // profile II is active
  PointerView view(r.store, r.system);
  DeviceSession session(r.Deps(view, HandleFromValue(0x99)));
  session.Initialise();
  Hwnd w;
  std::uint32_t id;
  for (int ticks = 0; ticks < 5000 && r.windows.NextDue(&w, &id); ++ticks) session.OnTimer(id);
  ASSERT_TRUE(session.sessionReady());
  EXPECT_EQ(r.system.cursor, 3);
  EXPECT_EQ(r.system.doubleClick, 300);
  EXPECT_EQ(r.system.wheel, 3);  // not stored: the default
  session.OnInformUi(UI_DPI_STATE, 0x80 | (4 << 4));  // the mouse switched to profile V
  EXPECT_EQ(session.currentProfile(), 4);
  EXPECT_EQ(r.system.cursor, 6);
  EXPECT_EQ(r.system.doubleClick, 600);
  session.OnProfileTab(2);
  EXPECT_EQ(r.system.cursor, 4);
  EXPECT_EQ(r.system.storedCursor, -100);  // never made permanent
}

}  // namespace
}  // namespace halvard
