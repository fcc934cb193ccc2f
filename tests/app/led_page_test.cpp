// The LED page on a simulated mouse: zones, colours, ON/OFF, APPLY/OK/CANCEL, the profile switch,
// and the cells the main window's normal and battle modes leave behind.
#include "app/led_page.h"

#include <gtest/gtest.h>

#include "app/messages.h"
#include "device/memory_map.h"
#include "device/simulated_hid.h"
#include "ipc/messages.h"
#include "tests/app/session_world.h"

namespace halvard {
namespace {

const Hwnd kPage = HandleFromValue(0x4712);

struct Rig : SessionWorld {
  Rig() {
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    tessel->SetDevicePath(hid.At(0).path);
    for (int a : FullLoadList()) tessel->MarkLoaded(a, mouse.Cell(a));
    mouse.ClearTrace();
  }
  void Cells(int p, int z0, int z1, int z2) {
    tessel->MarkLoaded(B(p) + 13, z0);
    tessel->MarkLoaded(B(p) + 11, z1);
    tessel->MarkLoaded(B(p) + 12, z2);
  }
  std::vector<int> Writes() const {
    std::vector<int> out;
    for (auto& e : mouse.Trace())
      if (e.set && e.ok && e.bytes[1] == kReqWriteCell) out.push_back(e.bytes[2] | (e.bytes[4] << 8));
    return out;
  }
  int Zone(int p, int z) const { return tessel->Value(ZoneCell(p, z)); }
  SimulatedMouse mouse{&clock, 0x2002};
  LedPageModel page{LedPageDeps{*tessel, store, clock, messages}};
};

TEST(LedPage, OpeningShowsTheZonesByTheirModes) {
  const int factoryColour[kProfileCount] = {0, 1, 3, 5, 4};  // red, purple, cyan, yellow, white
  for (int p = 0; p < kProfileCount; ++p) {
    Rig r;
    r.page.Open(p, kPage);
    EXPECT_EQ(r.store.GetDword(kLedEditHandle), 0x4712);
    for (int z = 0; z < kZoneCount; ++z) EXPECT_EQ(r.page.Shown(z), factoryColour[p]) << p << " " << z;
    EXPECT_TRUE(r.page.ledsOn());
    EXPECT_EQ(r.page.selectedZone(), kNoZone);
  }
  struct Case {
    int z0, z1, z2;
    int s0, s1, s2;
    bool on;
  } cases[] = {
      {0x21, 0x21, 0x21, kNoColour, 0, kNoColour, true},                 // normal mode
      {0x31, 0x31, 0x31, kNoColour, kNoColour, kNoColour, false},        // battle mode
      {0x05, 0x05, 0x05, kNoColour, kNoColour, kNoColour, false},        // off
      {0x16, 0x12, 0x1B, 3, 6, 5, true},
      {0x26, 0x02, 0x0B, kNoColour, kNoColour, kNoColour, false},
  };
  for (auto& c : cases) {
    Rig r;
    r.Cells(2, c.z0, c.z1, c.z2);
    r.page.Open(2, kPage);
    EXPECT_EQ(r.page.Shown(0), c.s0);
    EXPECT_EQ(r.page.Shown(1), c.s1);
    EXPECT_EQ(r.page.Shown(2), c.s2);
    EXPECT_EQ(r.page.ledsOn(), c.on);
  }
}

TEST(LedPage, ColoursZonesOnAndOffOnEveryProfile) {
  for (int p = 0; p < kProfileCount; ++p) {
    SCOPED_TRACE(p);
    Rig r;
    r.Cells(p, 0x05, 0x05, 0x05);
    r.page.Open(p, kPage);
    r.page.ChooseColour(2);  // off: the colour buttons do nothing
    EXPECT_EQ(r.Zone(p, 0), 0x05);
    r.page.On();  // all zones back on with their colours
    EXPECT_EQ(r.Zone(p, 0), 0x15);
    EXPECT_EQ(r.Zone(p, 1), 0x25);
    EXPECT_EQ(r.Zone(p, 2), 0x15);
    EXPECT_TRUE(r.page.ledsOn());
    r.page.ChooseColour(2);  // blue everywhere, modes kept
    EXPECT_EQ(r.Zone(p, 0), 0x14);
    EXPECT_EQ(r.Zone(p, 1), 0x24);
    r.page.SelectZone(1);
    r.page.ChooseColour(6);  // green on zone 1 only
    EXPECT_EQ(r.Zone(p, 1), 0x22);
    EXPECT_EQ(r.Zone(p, 0), 0x14);
    r.page.Off();  // zone 1 off, the others stay lit
    EXPECT_EQ(r.Zone(p, 1), 0x02);
    EXPECT_TRUE(r.page.ledsOn());
    r.page.SelectZone(0);
    r.page.Off();
    r.page.SelectZone(2);
    r.page.Off();
    EXPECT_FALSE(r.page.ledsOn());
    r.page.On();  // only zone 2 comes back
    EXPECT_EQ(r.Zone(p, 2), 0x14);
    EXPECT_EQ(r.Zone(p, 0), 0x04);
    EXPECT_TRUE(r.mouse.Trace().empty());  // all in the shadow so far
    EXPECT_TRUE(r.page.Apply(true));
    EXPECT_EQ(r.mouse.Cell(B(p) + 13), 0x04);
    EXPECT_EQ(r.mouse.Cell(B(p) + 11), 0x02);
    EXPECT_EQ(r.mouse.Cell(B(p) + 12), 0x14);
    for (int a : r.Writes()) EXPECT_TRUE(a >= B(p) + 11 && a <= B(p) + 13) << a;
    EXPECT_EQ(r.store.GetDword(kLedEditHandle), -1);
    EXPECT_TRUE(r.page.closed());
  }
}

// Each colour button on each zone of each profile: the colour bits, the mode kept.
TEST(LedPage, EveryColourOnEveryZone) {
  for (int p = 0; p < kProfileCount; ++p) {
    Rig r;
    r.page.Open(p, kPage);
    for (int z = 0; z < kZoneCount; ++z) {
      r.page.SelectZone(z);
      for (int b = 0; b < kColourCount; ++b) {
        r.page.ChooseColour(b);
        EXPECT_EQ(r.Zone(p, z), LitMode(z) | kColourCodes[static_cast<std::size_t>(b)]) << p << " " << z << " " << b;
        EXPECT_EQ(r.page.Shown(z), b);
      }
    }
    r.page.Apply(false);
    for (int z = 0; z < kZoneCount; ++z) EXPECT_EQ(r.mouse.Cell(ZoneCell(p, z)), LitMode(z) | 2);  // green last
    for (int a : r.Writes()) EXPECT_TRUE(a >= B(p) + 11 && a <= B(p) + 13) << a;
  }
}

TEST(LedPage, OutOfRangeChoicesChangeNothing) {
  Rig r;
  r.page.Open(0, kPage);
  const auto before = r.tessel->Shadow();
  for (int b : {-1, 7, 100}) r.page.ChooseColour(b);
  for (int z : {-1, 3, 9}) r.page.SelectZone(z);
  EXPECT_EQ(r.page.selectedZone(), kNoZone);
  for (int a = 0; a < kEepromSize; ++a) ASSERT_EQ(r.tessel->Value(a), before[static_cast<std::size_t>(a)].value);
  // A colour on an unlit zone changes its colour bits but the page shows it unlit, as the mouse will.
  r.Cells(1, 0x21, 0x21, 0x21);
  r.page.Open(1, kPage);
  r.page.ChooseColour(2);
  EXPECT_EQ(r.Zone(1, 0), 0x24);
  EXPECT_EQ(r.page.Shown(0), kNoColour);
  EXPECT_EQ(r.page.Shown(1), 2);
}

TEST(LedPage, CancelBeforeAndAfterApply) {
  for (int p = 0; p < kProfileCount; ++p) {
    Rig r;
    const int z0 = r.Zone(p, 0), z1 = r.Zone(p, 1), z2 = r.Zone(p, 2);
    r.page.Open(p, kPage);
    r.page.ChooseColour(4);
    r.page.Cancel();  // nothing applied: the shadow only
    EXPECT_TRUE(r.mouse.Trace().empty());
    EXPECT_EQ(r.Zone(p, 0), z0);
    EXPECT_FALSE(r.tessel->IsDirty(ZoneCell(p, 0)));

    r.page.Open(p, kPage);
    r.page.ChooseColour(6);  // green: no profile's factory colour
    EXPECT_TRUE(r.page.Apply(false));
    EXPECT_TRUE(r.page.applied());
    EXPECT_EQ(r.mouse.Cell(B(p) + 13), (z0 & ~7) | 2);
    r.page.SelectZone(1);
    r.page.Off();
    r.page.Cancel();  // the opening values go back to the mouse
    EXPECT_EQ(r.mouse.Cell(B(p) + 13), z0);
    EXPECT_EQ(r.mouse.Cell(B(p) + 11), z1);
    EXPECT_EQ(r.mouse.Cell(B(p) + 12), z2);
    EXPECT_FALSE(r.tessel->IsDirty(ZoneCell(p, 1)));
    for (int a : r.Writes()) EXPECT_TRUE(a >= B(p) + 11 && a <= B(p) + 13) << a;
  }
}

TEST(LedPage, FaultsAndTheSessionEnding) {
  Rig r;
  r.page.Open(3, kPage);
  r.page.ChooseColour(0);
  r.mouse.FailSetFeature(1000);
  EXPECT_FALSE(r.page.Apply(true));
  EXPECT_FALSE(r.page.closed());
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.messages.shown[0].number, kMsgSaveConfigFailed);
  for (int z = 0; z < kZoneCount; ++z) EXPECT_TRUE(r.tessel->IsDirty(ZoneCell(3, z)));
  // The mouse goes away: the page ends with the shadow as it found it, nothing sent.
  r.mouse.FailSetFeature(0);
  r.mouse.Unplug();
  r.mouse.ClearTrace();
  r.page.EndPage();
  EXPECT_TRUE(r.mouse.Trace().empty());
  for (int z = 0; z < kZoneCount; ++z) {
    EXPECT_FALSE(r.tessel->IsDirty(ZoneCell(3, z)));
    EXPECT_EQ(r.Zone(3, z) & 7, 3);
  }
  EXPECT_EQ(r.store.GetDword(kLedEditHandle), -1);
}

TEST(LedPage, ProfileSwitchReloadsForTheNewProfile) {
  Rig r;
  r.page.Open(0, kPage);
  r.page.SelectZone(2);
  r.page.ChooseColour(3);
  EXPECT_EQ(r.page.OnInformUi(UI_DPI_STATE, 0x80 | (4 << 4)), 1);
  EXPECT_EQ(r.page.profile(), 4);
  EXPECT_EQ(r.page.selectedZone(), kNoZone);
  EXPECT_EQ(r.page.Shown(0), 4);
  EXPECT_TRUE(r.tessel->IsDirty(ZoneCell(0, 2)));  // the shadow keeps the old profile's edit
  EXPECT_EQ(r.page.OnInformUi(UI_DPI_STATE, 0x80 | (6 << 4)), 0);
  EXPECT_EQ(r.page.OnInformUi(UI_DPI_STATE, 0x01), 0);
  EXPECT_EQ(r.page.OnInformUi(UI_POLLING_RATE, 1), 0);
  r.page.ChooseColour(0);
  r.page.Apply(true);
  for (int a : r.Writes()) EXPECT_TRUE(a >= B(4) + 11 && a <= B(4) + 13) << a;
  EXPECT_EQ(r.mouse.Cell(ZoneCell(0, 2)), 0x11);
}

}  // namespace
}  // namespace halvard
