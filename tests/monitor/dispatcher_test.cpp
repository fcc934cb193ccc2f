#include <gtest/gtest.h>

#include <memory>

#include "ipc/messages.h"
#include "monitor/os_code.h"
#include "monitor_rig.h"

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;
const DeviceIdentity kMouse{0x2E4A, 0x1C07, 0x2002};

TEST(MonitorOsCode, FollowsTheVersionTable) {
  struct Case {
    MonitorOsInfo info;
    int code;
  };
  const Case cases[] = {
      {{false, true, 10, 0, 0}, 7},
      {{true, false, 4, 0, 0x04000000}, 0},        {{true, false, 4, 10, 0x040A0000}, 2},
      {{true, false, 4, 90, 0x045A0000}, 3},       {{true, false, 4, 3, 0x04030000}, 7},
      {{true, true, 3, 51, 0}, 4},                 {{true, true, 4, 0, 0}, 5},
      {{true, true, 5, 0, 0}, 5},                  {{true, true, 5, 1, 0}, 7},
      {{true, true, 5, 2, 0}, 7},                  {{true, true, 6, 0, 0}, 8},
      {{true, true, 6, 1, 0}, 9},                  {{true, true, 6, 3, 0}, 9},
      {{true, true, 10, 0, 19045}, 9},             {{true, true, 2, 0, 0}, 9},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MonitorOsCode(c.info), c.code) << c.info.nt << " " << c.info.major << "." << c.info.minor;
}

TEST(MonitorCommandLine, AutomationAndDeviceNames) {
  EXPECT_TRUE(HasAutomationSwitch(u"HalvardMonitor.exe /Automation"));
  EXPECT_TRUE(HasAutomationSwitch(u"x/Automationy"));
  EXPECT_FALSE(HasAutomationSwitch(u"HalvardMonitor.exe /automation"));
  const auto id = IdentityFromDeviceName(u"\\\\?\\HID#vid_2e4a&Pid_1C07&MI_00#7&2a#{guid}");
  EXPECT_EQ(id.vendorId, 0x2E4A);
  EXPECT_EQ(id.productId, 0x1C07);
  // A non-digit counts as 0; a name cut short reads 0 for the rest.
  EXPECT_EQ(IdentityFromDeviceName(u"VID_2G4A&PID_1C").vendorId, 0x204A);
  EXPECT_EQ(IdentityFromDeviceName(u"VID_2G4A&PID_1C").productId, 0x1C00);
  EXPECT_EQ(IdentityFromDeviceName(u"no ids").vendorId, 0);
}

class MonitorTest : public ::testing::Test {
 protected:
  std::unique_ptr<MonitorRig> rig = std::make_unique<MonitorRig>();
  MonitorRig& r = *rig;
};

TEST_F(MonitorTest, LocateFileTriesCurrentFolderNamePathAndOwnFolderInOrder) {
  auto& d = *r.dispatcher;
  r.store.SetString(u"Path", std::u16string_view(u"D:\\Apps"));
  EXPECT_FALSE(d.LocateFile(u"tool.exe"));
  r.Put(u"C:\\Program Files\\Halvard\\tool.exe");
  EXPECT_EQ(d.LocateFile(u"tool.exe"), u"C:\\Program Files\\Halvard\\tool.exe");
  r.Put(u"D:\\Apps\\tool.exe");
  EXPECT_EQ(d.LocateFile(u"tool.exe"), u"D:\\Apps\\tool.exe");
  r.Put(u"tool.exe");
  EXPECT_EQ(d.LocateFile(u"tool.exe"), u"tool.exe");
  r.Put(u".\\tool.exe");
  EXPECT_EQ(d.LocateFile(u"tool.exe"), u".\\tool.exe");
  // An absolute name is found as given (".\C:\..." does not open).
  r.Put(u"E:\\games\\game.exe");
  EXPECT_EQ(d.LocateFile(u"E:\\games\\game.exe"), u"E:\\games\\game.exe");
}

TEST_F(MonitorTest, PathsLongerThanTheirBufferAreRefusedNotCut) {
  auto& d = *r.dispatcher;
  const std::u16string fits(1023, u'a'), tooLong(1024, u'a');
  r.store.SetString(u"PF0T1 AP", std::u16string_view(fits));
  EXPECT_EQ(d.ReadPathValue(u"PF0T1 AP"), fits);
  r.store.SetString(u"PF0T1 AP", std::u16string_view(tooLong));
  EXPECT_FALSE(d.ReadPathValue(u"PF0T1 AP"));
  // A "Path" that would be cut into another folder is not used at all.
  const std::u16string folder = u"D:\\" + std::u16string(1100, u'x');
  r.store.SetString(u"Path", std::u16string_view(folder));
  r.Put(folder.substr(0, 1023) + u"\\tool.exe");
  r.Put(folder + u"\\tool.exe");
  EXPECT_FALSE(d.LocateFile(u"tool.exe"));
  // A candidate that would not fit the buffer is skipped.
  r.store.SetString(u"Path", std::u16string_view(u"D:\\" + std::u16string(1010, u'y')));
  r.Put(u"D:\\" + std::u16string(1010, u'y') + u"\\tool-with-a-long-name.exe");
  EXPECT_FALSE(d.LocateFile(u"tool-with-a-long-name.exe"));
}

TEST_F(MonitorTest, LaunchStartsTheStoredApplicationWhenItExists) {
  auto& d = *r.dispatcher;
  r.store.SetString(u"Path", std::u16string_view(u"D:\\Apps"));
  r.store.SetString(u"PF1T2 AP", std::u16string_view(u"notes.exe"));
  d.LaunchApplication(12);
  EXPECT_TRUE(r.shell.started.empty()) << "nothing exists yet";
  r.Put(u"D:\\Apps\\notes.exe");
  d.LaunchApplication(12 | 0x80);  // bit 7 ignored
  ASSERT_EQ(r.shell.started.size(), 1u);
  EXPECT_EQ(r.shell.started[0], u"D:\\Apps\\notes.exe");
  r.store.SetString(u"PF4T11 AP", std::u16string_view(u"E:\\x.exe"));
  r.Put(u"E:\\x.exe");
  d.LaunchApplication(54);
  EXPECT_EQ(r.shell.started.back(), u"E:\\x.exe");
  // A program that is not there is not handed to the system (no error box from it).
  EXPECT_FALSE(d.StartProgram(u"E:\\gone.exe"));
  EXPECT_FALSE(d.StartProgram(u""));
  d.LaunchApplication(55);  // no sixth profile
  d.LaunchApplication(3);   // PF0T4 AP: not stored
  EXPECT_EQ(r.shell.started.size(), 2u);
}

TEST_F(MonitorTest, StartUpFindsTheMainProgramSendsIndicatorEndAndStartsItAfter500ms) {
  r.Put(u"C:\\Program Files\\Halvard\\Halvard.exe");
  r.Start();
  EXPECT_EQ(r.dispatcher->MainProgramPath(), u"C:\\Program Files\\Halvard\\Halvard.exe");
  EXPECT_TRUE(r.dispatcher->DevicePresent());
  ASSERT_EQ(r.mouse.Trace().size(), 1u);
  EXPECT_EQ(r.mouse.Trace()[0].bytes, (std::array<std::uint8_t, 9>{0x00, 0xC4, 3, 3, 3, 0, 0, 0, 0}));
  EXPECT_EQ(r.store.GetDword(u"Monitor Handle"), 0x500);
  EXPECT_EQ(r.hid.Registrations().size(), 1u);

  const auto start = r.clock.NowMs();
  EXPECT_EQ(r.RunTimers(), (std::vector<std::uint32_t>{TIMER_START_MAIN}));
  EXPECT_EQ(r.clock.NowMs() - start, 500u);
  ASSERT_EQ(r.windows.posted.size(), 1u);
  EXPECT_EQ(r.windows.posted[0].window, kMonitorWindow);
  EXPECT_EQ(r.windows.posted[0].wParam, ID_LOAD_CONFIGURATION);
  r.dispatcher->OnCommand(ID_LOAD_CONFIGURATION);
  EXPECT_EQ(r.shell.started, (std::vector<std::u16string>{u"C:\\Program Files\\Halvard\\Halvard.exe"}));
}

TEST_F(MonitorTest, LocateAppWinsWhenReadableAndAutomationStartsNothing) {
  r.store.SetString(u"Locate APP", std::u16string_view(u"F:\\H\\Halvard.exe"));
  r.Put(u"F:\\H\\Halvard.exe");
  r.Put(u"C:\\Program Files\\Halvard\\Halvard.exe");
  r.Start(true, true);
  EXPECT_EQ(r.dispatcher->MainProgramPath(), u"F:\\H\\Halvard.exe");
  EXPECT_FALSE(r.windows.AnyRunning());
  // A "Locate APP" naming nothing falls back to the search.
  auto other = std::make_unique<MonitorRig>();
  other->store.SetString(u"Locate APP", std::u16string_view(u"F:\\gone\\Halvard.exe"));
  other->Put(u"C:\\Program Files\\Halvard\\Halvard.exe");
  other->Start();
  EXPECT_EQ(other->dispatcher->MainProgramPath(), u"C:\\Program Files\\Halvard\\Halvard.exe");
}

TEST_F(MonitorTest, LoadConfigurationShowsARunningMainWindowInsteadOfStartingAnother) {
  r.Put(u"C:\\Program Files\\Halvard\\Halvard.exe");
  r.Start();
  r.Publish(u"Process Handle", kMainWindow);
  r.dispatcher->OnCommand(ID_LOAD_CONFIGURATION);
  auto posts = r.PostsTo(kMainWindow);
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].message, kWmCommand);
  EXPECT_EQ(posts[0].wParam, ID_SHOW_MAIN);
  EXPECT_TRUE(r.shell.started.empty());
  // A handle left behind by an ended main program: start it again.
  r.windows.live.clear();
  r.dispatcher->OnCommand(ID_LOAD_CONFIGURATION);
  EXPECT_EQ(r.shell.started.size(), 1u);
  // Not found anywhere: nothing happens.
  auto bare = std::make_unique<MonitorRig>();
  bare->Start();
  bare->dispatcher->OnCommand(ID_LOAD_CONFIGURATION);
  EXPECT_TRUE(bare->shell.started.empty());
}

TEST_F(MonitorTest, DeviceEventsGoThroughRoutingThenToTheDisplay) {
  r.Start();
  r.windows.posted.clear();
  r.Publish(u"OSD Handle", kOsdWindow);
  r.Publish(u"Process Handle", kMainWindow);
  r.Publish(u"Configure Handle", kConfigureWindow);
  r.Publish(u"Macro Edit Handle", kMacroWindow);
  r.Publish(u"LED Edit Handle", kLedWindow);
  const Bytes profile2{0xA4, 1, 0x21, 32, 32, 0, 0};
  const std::uint32_t word = 0x21 | 0x80 | (32 << 8) | (32 << 16);
  const std::pair<std::int32_t, std::int32_t> routes[] = {
      {0, kMainWindow}, {1, kConfigureWindow}, {2, kMacroWindow}, {3, kLedWindow}, {4, 0}, {5, 0}, {-1, 0}};
  for (auto [code, target] : routes) {
    r.store.SetDword(u"Current Dialog", static_cast<std::uint32_t>(code));
    r.windows.posted.clear();
    EXPECT_EQ(r.dispatcher->OnHidInput(profile2, kMouse), 1);
    const std::size_t expected = target != 0 ? 2 : 1;
    ASSERT_EQ(r.windows.posted.size(), expected) << "route " << code;
    if (target != 0) {
      EXPECT_EQ(r.windows.posted[0].window, HandleFromValue(target));
      EXPECT_EQ(r.windows.posted[0].message, WM_INFORM_UI);
      EXPECT_EQ(r.windows.posted[0].lParam, word);
    }
    EXPECT_EQ(r.windows.posted.back().window, HandleFromValue(kOsdWindow));
    EXPECT_EQ(r.windows.posted.back().message, WM_INFORM_OSD);
    EXPECT_EQ(r.windows.posted.back().wParam, OSD_DPI_STATE);
    EXPECT_EQ(r.windows.posted.back().lParam, word);
  }
  // Lock and polling rate carry their own codes; a window that is gone gets nothing.
  r.store.SetDword(u"Current Dialog", 0);
  r.windows.posted.clear();
  r.dispatcher->OnHidInput(Bytes{0xA4, 3, 0, 0, 0, 0, 0x10}, kMouse);
  r.dispatcher->OnHidInput(Bytes{0xA4, 4, 0, 0, 0, 0, 2}, kMouse);
  ASSERT_EQ(r.windows.posted.size(), 4u);
  EXPECT_EQ(r.windows.posted[0].wParam, UI_LOCK);
  EXPECT_EQ(r.windows.posted[0].lParam, 1);
  EXPECT_EQ(r.windows.posted[3].wParam, OSD_POLLING_RATE);
  EXPECT_EQ(r.windows.posted[3].lParam, 2);
  r.windows.live = {HandleFromValue(kMainWindow)};
  r.windows.posted.clear();
  r.dispatcher->OnHidInput(profile2, kMouse);
  ASSERT_EQ(r.windows.posted.size(), 1u);
  EXPECT_EQ(r.windows.posted[0].window, HandleFromValue(kMainWindow));
}

TEST_F(MonitorTest, ReportsFromOtherDevicesOrWithoutAMouseAreIgnored) {
  r.Start();
  r.Publish(u"OSD Handle", kOsdWindow);
  r.windows.posted.clear();
  const Bytes dpi{0xA4, 2, 0x01, 32, 32, 0, 0};
  EXPECT_EQ(r.dispatcher->OnHidInput(dpi, {0x2E4A, 0x1C07, 0x2001}), 0);
  EXPECT_EQ(r.dispatcher->OnHidInput(dpi, {0x2E4A, 0x1C08, 0x2002}), 0);
  EXPECT_EQ(r.dispatcher->OnHidInput(Bytes{0xA4, 2, 0x01, 32, 32, 0, 0, 0}, kMouse), 0);
  EXPECT_EQ(r.dispatcher->OnHidInput(Bytes{0xA4, 2, 0x01, 32, 32, 0}, kMouse), 0);
  EXPECT_EQ(r.dispatcher->OnHidInput(Bytes{0xA4, 9, 0x01, 32, 32, 0, 0}, kMouse), 1);
  EXPECT_TRUE(r.windows.posted.empty());

  auto none = std::make_unique<MonitorRig>();
  none->hid.RemoveAll();
  none->Start();
  EXPECT_FALSE(none->dispatcher->DevicePresent());
  EXPECT_EQ(none->dispatcher->OnHidInput(dpi, kMouse), 0);
}

TEST_F(MonitorTest, SideButtonsOfTheMouseShowArrows) {
  r.Start();
  r.Publish(u"OSD Handle", kOsdWindow);
  r.windows.posted.clear();
  const char16_t* ours = u"\\\\?\\HID#VID_2E4A&PID_1C07&MI_00#1#{guid}";
  r.dispatcher->OnMouseButtons(kRawButton4Down, ours);
  r.dispatcher->OnMouseButtons(kRawButton5Down, ours);
  r.dispatcher->OnMouseButtons(kRawButton4Down | kRawButton5Down, ours);
  r.dispatcher->OnMouseButtons(0x0001, ours);                                     // left button
  r.dispatcher->OnMouseButtons(kRawButton4Down, u"\\\\?\\HID#VID_046D&PID_C077");  // another mouse
  ASSERT_EQ(r.windows.posted.size(), 3u);
  EXPECT_EQ(r.windows.posted[0].wParam, OSD_ARROW);
  EXPECT_EQ(r.windows.posted[0].lParam, 3);
  EXPECT_EQ(r.windows.posted[1].lParam, 4);
  EXPECT_EQ(r.windows.posted[2].lParam, 3);
}

TEST_F(MonitorTest, ArrivalAndRemovalChecksRunOnceAfter300ms) {
  r.Start(true, true);
  ASSERT_TRUE(r.dispatcher->DevicePresent());
  r.dispatcher->OnDeviceChange(kDeviceArrival);  // already present: nothing
  EXPECT_FALSE(r.windows.AnyRunning());

  r.mouse.Unplug();
  r.hid.RemoveAll();
  r.dispatcher->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_TRUE(r.windows.Running(kMonitorWindow, TIMER_REMOVAL_CHECK));
  EXPECT_TRUE(r.dispatcher->DevicePresent());
  auto start = r.clock.NowMs();
  EXPECT_EQ(r.RunTimers(), (std::vector<std::uint32_t>{TIMER_REMOVAL_CHECK}));
  EXPECT_EQ(r.clock.NowMs() - start, 300u);
  EXPECT_FALSE(r.dispatcher->DevicePresent());
  r.dispatcher->OnDeviceChange(kDeviceRemoveComplete);  // already gone: nothing
  EXPECT_FALSE(r.windows.AnyRunning());

  r.mouse.Plug();
  r.hid.AddInterface(SimulatedHid::MouseInterface(&r.mouse));
  const std::size_t reportsBefore = r.mouse.Trace().size();
  r.dispatcher->OnDeviceChange(kDeviceArrival);
  start = r.clock.NowMs();
  EXPECT_EQ(r.RunTimers(), (std::vector<std::uint32_t>{TIMER_ARRIVAL_CHECK}));
  EXPECT_EQ(r.clock.NowMs() - start, 300u);
  EXPECT_TRUE(r.dispatcher->DevicePresent());
  EXPECT_EQ(r.mouse.Trace().size(), reportsBefore) << "indicator end is sent only at start";
}

TEST_F(MonitorTest, IndicatorEndGoesToEachMouse100msApart) {
  SimulatedMouse second(&r.clock);
  r.hid.AddInterface(SimulatedHid::MouseInterface(&second, u"second-path"));
  r.Start(true, true);
  ASSERT_EQ(r.mouse.Trace().size(), 1u);
  ASSERT_EQ(second.Trace().size(), 1u);
  EXPECT_EQ(second.Trace()[0].timeMs - r.mouse.Trace()[0].timeMs, 100u);
}

TEST_F(MonitorTest, OsdSettingTrayAndExit) {
  r.Publish(u"OSD Handle", kOsdWindow);
  r.store.SetDword(u"Disable OSD", 1);
  r.Start();
  EXPECT_FALSE(r.dispatcher->OsdEnabled());
  EXPECT_EQ(r.window.menuTexts, (std::vector<bool>{false}));
  auto posts = r.PostsTo(kOsdWindow);
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[0].wParam, OSD_ENABLE);
  EXPECT_EQ(posts[0].lParam, 0);
  EXPECT_EQ(posts[1].wParam, OSD_X_FIRST);
  EXPECT_EQ(posts[1].lParam, 1);

  r.dispatcher->OnCommand(ID_TOGGLE_OSD);
  EXPECT_TRUE(r.dispatcher->OsdEnabled());
  EXPECT_EQ(r.store.GetDword(u"Disable OSD"), 0);
  EXPECT_EQ(r.PostsTo(kOsdWindow).back().lParam, 1);
  r.dispatcher->OnCommand(ID_TOGGLE_OSD);
  EXPECT_EQ(r.store.GetDword(u"Disable OSD"), 1);
  EXPECT_EQ(r.window.menuTexts, (std::vector<bool>{false, true, false}));

  r.dispatcher->OnTrayNotify(kTrayRightDown);
  EXPECT_EQ(r.window.menusShown, 1);
  r.windows.posted.clear();
  r.dispatcher->OnTrayNotify(kTrayDoubleClick);
  r.dispatcher->OnTrayNotify(0x0202);
  ASSERT_EQ(r.windows.posted.size(), 1u);
  EXPECT_EQ(r.windows.posted[0].wParam, ID_LOAD_CONFIGURATION);

  r.dispatcher->OnCommand(ID_GO_TO_WEBSITE);
  EXPECT_EQ(r.shell.opened.size(), 1u);

  r.Publish(u"Process Handle", kMainWindow);
  r.dispatcher->OnCommand(ID_EXIT);
  EXPECT_EQ(r.PostsTo(kMainWindow).back().message, kWmClose);
  EXPECT_EQ(r.window.destroyed, 1);
}

TEST_F(MonitorTest, WithoutTrayTheOsdSettingStillAppliesAndTrayMessagesAreIgnored) {
  r.store.SetDword(u"Disable System Tray", 1);
  EXPECT_FALSE(r.dispatcher->TrayWanted());
  r.Publish(u"OSD Handle", kOsdWindow);
  r.Start(false);
  EXPECT_TRUE(r.window.menuTexts.empty());
  EXPECT_EQ(r.PostsTo(kOsdWindow).front().lParam, 1);
  r.windows.posted.clear();
  r.dispatcher->OnTrayNotify(kTrayRightDown);
  r.dispatcher->OnTrayNotify(kTrayDoubleClick);
  EXPECT_EQ(r.window.menusShown, 0);
  EXPECT_TRUE(r.windows.posted.empty());
  r.store.SetDword(u"Disable System Tray", 0);
  EXPECT_TRUE(r.dispatcher->TrayWanted());
}

}  // namespace
}  // namespace halvard
