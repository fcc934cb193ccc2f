// The filter device's status record: when it has something pending, what it asks for, and where
// the wheel operation sends it.
#include <gtest/gtest.h>

#include "hook/filter_status.h"
#include "hook_rig.h"

namespace halvard {
namespace {

using Kind = FilterEvent::Kind;

TEST(FilterStatus, PendingUnlessByteZeroIsFFWithoutAnEventBit) {
  struct Row {
    FilterStatus s;
    bool pending;
  };
  for (const Row& r : {Row{{0xFF, 0, 0, 0, 0, 0x00}, false}, Row{{0xFF, 0, 0, 0, 0, 0x77}, false},
                       Row{{0xFF, 0, 0, 0, 0, 0x80}, true}, Row{{0xFF, 0, 0, 0, 0, 0x08}, true},
                       Row{{0x00, 0, 0, 0, 0, 0x00}, true}, Row{{0xFE, 0, 0, 0, 0, 0x00}, true}}) {
    SCOPED_TRACE(::testing::PrintToString(r.s));
    EXPECT_EQ(FilterStatusPending(r.s.data()), r.pending);
  }
}

TEST(FilterStatus, DecodesInTheOrderLaunchLockRateDpi) {
  struct Row {
    const char* name;
    FilterStatus s;
    FilterEvent want;
  };
  const Row rows[] = {
      {"level 2 of profile 2, bit 4 of byte 0 dropped", {0x12, 0x02, 0, 0x20, 0x30, 0}, {Kind::kDpiState, 0x302022}},
      {"profile change of profile 3", {0x0B, 0x01, 0, 0x10, 0x12, 0}, {Kind::kDpiState, 0x1210B1}},
      {"bit 3 of the level passed on", {0x04, 0x0A, 0, 0x40, 0x40, 0}, {Kind::kDpiState, 0x40404A}},
      {"profile 5 does not exist", {0x05, 0x01, 0, 0x10, 0x10, 0}, {Kind::kIgnored, 0}},
      {"profile 7 does not exist", {0x0F, 0x01, 0, 0x10, 0x10, 0}, {Kind::kIgnored, 0}},
      {"level 4 does not exist", {0x01, 0x04, 0, 0x10, 0x10, 0}, {Kind::kIgnored, 0}},
      {"level 7 does not exist", {0x01, 0x0F, 0, 0x10, 0x10, 0}, {Kind::kIgnored, 0}},
      {"launch code 12", {0x01, 0x01, 12, 0, 0, 0x90}, {Kind::kLaunch, 12}},
      {"launch code 140 keeps bit 7", {0xFF, 0, 140, 0, 0, 0}, {Kind::kLaunch, 140}},
      {"launch code 54, the last button", {0x00, 0, 54, 0, 0, 0}, {Kind::kLaunch, 54}},
      {"launch code 55 is past the table", {0x00, 0, 55, 0, 0, 0x90}, {Kind::kIgnored, 0}},
      {"launch code 0xB7 is 55 without bit 7", {0x00, 0, 0xB7, 0, 0, 0}, {Kind::kIgnored, 0}},
      {"lock, whatever byte 0 holds", {0xFF, 0x07, 0, 0, 0, 0x90}, {Kind::kLock, 1}},
      {"unlock before a rate event", {0x00, 0, 0, 0, 0, 0x88}, {Kind::kLock, 0}},
      {"polling rate 3", {0xFF, 0, 0, 0, 0, 0x0B}, {Kind::kPollingRate, 3}},
      {"polling rate 1 with bit 2 set", {0x0F, 0x0F, 0, 0, 0, 0x0D}, {Kind::kPollingRate, 1}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    FilterEvent got = DecodeFilterStatus(r.s.data());
    EXPECT_EQ(got.kind, r.want.kind);
    EXPECT_EQ(got.value, r.want.value) << std::hex << got.value;
  }
}

class FilterQueryTest : public HookRig {};

TEST_F(FilterQueryTest, StatusQuerySendsE3AndReadsSixBytesInPlace) {
  std::uint8_t buf[6] = {1, 2, 3, 4, 5, 6};
  device.present = false;
  EXPECT_EQ(core.GetStatus4Filter(buf), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buf, buf + 6), (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));

  device.present = true;
  device.answer = {0xFF, 0, 0, 0, 0, 0};
  EXPECT_EQ(core.GetStatus4Filter(buf), 0);  // nothing pending
  device.answer = {0x01, 0x02, 0, 0x20, 0x20, 0};
  EXPECT_EQ(core.GetStatus4Filter(buf), 1);
  EXPECT_EQ(buf[1], 0x02);
  device.answer = {0x01, 0x02, 0};  // a short read is no answer
  EXPECT_EQ(core.GetStatus4Filter(buf), 0);
  device.readOk = false;
  EXPECT_EQ(core.GetStatus4Filter(buf), 0);
  EXPECT_EQ(device.requests, (std::vector<std::uint8_t>(4, 0xE3)));
  EXPECT_EQ(device.lengths, (std::vector<std::uint32_t>(4, 6)));
  EXPECT_FALSE(device.isOpen);
}

TEST_F(FilterQueryTest, ReportQuerySendsE1AndMarksAFailedReadFF) {
  std::uint8_t report = 0x42;
  device.present = false;
  EXPECT_EQ(core.GetReport4Filter(report), 0);
  EXPECT_EQ(report, 0x42);
  device.present = true;
  device.answer = {0x07};
  EXPECT_EQ(core.GetReport4Filter(report), 1);
  EXPECT_EQ(report, 0x07);
  device.readOk = false;
  EXPECT_EQ(core.GetReport4Filter(report), 0);
  EXPECT_EQ(report, 0xFF);
  EXPECT_EQ(device.requests, (std::vector<std::uint8_t>{0xE1, 0xE1}));
  EXPECT_EQ(device.lengths, (std::vector<std::uint32_t>{1, 1}));
}

TEST_F(FilterQueryTest, WheelTurnsTheStatusIntoRoutedAndOsdNotifications) {
  struct Row {
    const char* name;
    FilterStatus s;
    std::int32_t route;
    int result;
    std::vector<Post> posts;
  };
  const std::int32_t word = 0x302022;
  const Row rows[] = {
      {"DPI level to the main window", {0x12, 0x02, 0, 0x20, 0x30, 0}, kRouteMainWindow, 1,
       {{kMainWindow, WM_INFORM_UI, UI_DPI_STATE, word}, {kOsdWindow, WM_INFORM_OSD, OSD_DPI_STATE, word}}},
      {"lock to the configuration page", {0xFF, 0, 0, 0, 0, 0x90}, kRouteConfigure, 1,
       {{kConfigureWindow, WM_INFORM_UI, UI_LOCK, 1}, {kOsdWindow, WM_INFORM_OSD, OSD_LOCK, 1}}},
      {"rate to the LED page", {0xFF, 0, 0, 0, 0, 0x0A}, kRouteLedPage, 1,
       {{kLedWindow, WM_INFORM_UI, UI_POLLING_RATE, 2}, {kOsdWindow, WM_INFORM_OSD, OSD_POLLING_RATE, 2}}},
      {"rate to the macro editor", {0xFF, 0, 0, 0, 0, 0x08}, kRouteMacroEditor, 1,
       {{kEditorWindow, WM_INFORM_UI, UI_POLLING_RATE, 0}, {kOsdWindow, WM_INFORM_OSD, OSD_POLLING_RATE, 0}}},
      {"a prompt is open: the display only", {0x12, 0x02, 0, 0x20, 0x30, 0}, kRoutePrompt, 1,
       {{kOsdWindow, WM_INFORM_OSD, OSD_DPI_STATE, word}}},
      {"profile manager open: the display only", {0xFF, 0, 0, 0, 0, 0x80}, kRouteProfileManager, 1,
       {{kOsdWindow, WM_INFORM_OSD, OSD_LOCK, 0}}},
      {"nothing pending", {0xFF, 0, 0, 0, 0, 0}, kRouteMainWindow, 0, {}},
      {"profile 6 is ignored", {0x06, 0x01, 0, 0x20, 0x20, 0}, kRouteMainWindow, 0, {}},
      {"launch code past the table is ignored", {0x01, 0x01, 60, 0, 0, 0}, kRouteMainWindow, 0, {}},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Publish();
    store.SetDword(kCurrentDialog, static_cast<std::uint32_t>(r.route));
    windows.posted.clear();
    device.answer.assign(r.s.begin(), r.s.end());
    EXPECT_EQ(core.m_ProcessWheel(0x00780000), r.result);
    EXPECT_EQ(Posts(), r.posts);
    EXPECT_EQ(shared.wheelDelta, 120);
  }
  EXPECT_TRUE(starter.started.empty());
}

TEST_F(FilterQueryTest, WheelBackwardStoresTheDeltaWithoutAskingTheDevice) {
  Publish();
  device.answer = {0x12, 0x02, 0, 0x20, 0x30, 0};
  EXPECT_EQ(core.m_ProcessWheel(0xFF880000), 0);
  EXPECT_EQ(shared.wheelDelta, -120);
  EXPECT_EQ(device.opens, 0);
  EXPECT_TRUE(windows.posted.empty());
  device.present = false;
  EXPECT_EQ(core.m_ProcessWheel(0x00780000), 0);  // no device: nothing sent
  EXPECT_EQ(shared.wheelDelta, 120);
  EXPECT_TRUE(windows.posted.empty());
}

TEST_F(FilterQueryTest, ExtendedButtonsShowTheArrows) {
  Publish();
  struct Row {
    std::uint32_t data;
    int result;
    std::vector<Post> posts;
  };
  for (const Row& r : {Row{0x10000, 1, {{kOsdWindow, WM_INFORM_OSD, OSD_ARROW, 3}}},
                       Row{0x20000, 1, {{kOsdWindow, WM_INFORM_OSD, OSD_ARROW, 4}}},
                       Row{0x30000, 1, {{kOsdWindow, WM_INFORM_OSD, OSD_ARROW, 3}}}, Row{0x40000, 0, {}}}) {
    SCOPED_TRACE(r.data);
    windows.posted.clear();
    EXPECT_EQ(core.m_ProcessXButton(r.data), r.result);
    EXPECT_EQ(Posts(), r.posts);
  }
  store.SetDword(kOsdHandle, 0);  // display library not loaded: still handled, nothing sent
  windows.posted.clear();
  EXPECT_EQ(core.m_ProcessXButton(0x10000), 1);
  EXPECT_TRUE(windows.posted.empty());
}

}  // namespace
}  // namespace halvard
