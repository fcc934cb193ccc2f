// The device session against the simulated mouse on the virtual clock: whole transfers checked
// against the mouse's trace, the connection rules, the reports of the other processes and a fault
// at every position of every series.
#include "app/session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "app/messages.h"
#include "app/simulation.h"
#include "tests/app/session_world.h"
#include "device/simulated_hid.h"
#include "platform/registry_memory.h"
#include "store/value_names.h"

namespace halvard {
namespace {

const Hwnd kSelf = reinterpret_cast<Hwnd>(0x1230);
const Hwnd kOsd = reinterpret_cast<Hwnd>(0x4560);

class FakeView : public SessionView {
 public:
  void ShowNoDeviceScreen(int from) override { Log("nodevice from " + std::to_string(from)); }
  void ShowFullPage() override { Log("fullpage"); }
  void HideYes() override { Log("hideyes"); }
  void MoveOffScreen() override { Log("offscreen"); }
  void HideWindow() override { Log("hide"); }
  void RestoreAndShow() override { Log("show"); }
  void ShowTabs(int p) override { Log("tabs " + std::to_string(p)); }
  void ShowProfileName(std::u16string_view n) override { name = std::u16string(n); }
  void EnablePageControls(bool on, bool applyOk) override {
    controlsOn = on;
    if (on) applyEnabled = applyOk;
  }
  void EnableApplyAndOk(bool on) override { applyEnabled = on; }
  void ShowPopup() override { popup = true, ++popups; }
  void HidePopup() override { popup = false; }
  int RunDeviceSelection(const std::vector<std::u16string>& e, DeviceSelectionEvents& events) override {
    entries = e;
    events.OnSelectionOpened();
    if (selectionAnswer > 0) events.OnSelectionChanged(selectionAnswer);
    events.OnSelectionClosed();
    return selectionAnswer;
  }
  bool AskApplyBeforeSwitch() override { return askAnswer; }
  void EndPages() override { Log("endpages"); }
  void EndProgram() override { ended = true; }
  void ClearSelectedButton() override {}
  void RefreshButtonLabels() override {}
  void RefreshModeDisplay() override {}
  void RefillProfileList() override { Log("refill"); }
  void ApplyPointerSettings(int p) override { pointerProfile = p; }
  void SetImeFlag(bool on) override { ime = on; }

  void Log(std::string s) { log.push_back(std::move(s)); }
  bool Logged(const std::string& s) const { return std::find(log.begin(), log.end(), s) != log.end(); }

  std::vector<std::string> log;
  std::vector<std::u16string> entries;
  std::u16string name;
  int selectionAnswer = 0, popups = 0, pointerProfile = -1;
  bool controlsOn = true, applyEnabled = false, popup = false, askAnswer = true, ended = false, ime = false;
};

struct Rig : SessionWorld {
  explicit Rig(int mice = 1, bool automation = false) {
    for (int i = 0; i < mice; ++i) {
      mouse[i] = std::make_unique<SimulatedMouse>(&clock, 0x2002);
      hid.AddInterface(SimulatedHid::MouseInterface(mouse[i].get(), i == 0 ? u"" : u"\\\\?\\hid#vid_2e4a&pid_1c07#2"));
    }
    store.SetDword(kOsdHandle, ValueFromHandle(kOsd));
    session->automationMode = automation;
  }
  // Runs the window timers until none is left (the selection indicator and reconnect included).
  void Run(int maxTicks = 100000) {
    Hwnd w;
    std::uint32_t id;
    while (maxTicks-- > 0 && !view.ended && windows.NextDue(&w, &id)) session->OnTimer(id);
  }
  void Ready() {
    session->Initialise();
    Run();
    mouse[0]->ClearTrace();
    windows.posted.clear();
  }
  // Control commands the mouse received, as "sub first second".
  std::vector<std::string> Controls(int i = 0) const {
    std::vector<std::string> out;
    for (auto& e : mouse[i]->Trace())
      if (e.set && e.ok && e.bytes[1] == kReqControl)
        out.push_back(std::to_string(e.bytes[2]) + " " + std::to_string(e.bytes[3]) + " " + std::to_string(e.bytes[4]));
    return out;
  }
  int Count(const std::string& control, int i = 0) const {
    auto c = Controls(i);
    return static_cast<int>(std::count(c.begin(), c.end(), control));
  }
  std::vector<std::uint32_t> OsdPosts(std::uint32_t code) const {
    std::vector<std::uint32_t> out;
    for (auto& p : windows.posted)
      if (p.window == kOsd && p.message == WM_INFORM_OSD && p.wParam == code) out.push_back(static_cast<std::uint32_t>(p.lParam));
    return out;
  }
  // Every cell the shadow holds as on the mouse really is on the mouse.
  ::testing::AssertionResult ShadowTruthful() const {
    for (int a = 0; a < kEepromSize; ++a)
      if (tessel->IsValid(a) && !tessel->IsDirty(a) && tessel->Value(a) != mouse[0]->Cell(a))
        return ::testing::AssertionFailure() << "cell " << a << " shadow " << tessel->Value(a) << " mouse " << int(mouse[0]->Cell(a));
    return ::testing::AssertionSuccess();
  }
  // The first `count` cells of p's part of the factory list, changed in the shadow only.
  void MakePending(int p, int count) {
    for (auto e : FactoryProfilePart(p).first(static_cast<std::size_t>(count)))
      tessel->SetCell(e.address, (tessel->Value(e.address) + 1) & 0xFF);
  }
  // Cells of p that differ from the factory on the mouse and in the shadow alike.
  void Diverge(int p, int count, int value = -1) {
    for (int i = 0; i < count; ++i) {
      int v = value >= 0 ? value : (tessel->Value(B(p) + i) + 1) & 0xFF;
      mouse[0]->SetCell(B(p) + i, static_cast<std::uint8_t>(v));
      tessel->MarkLoaded(B(p) + i, v);
    }
  }
  void Unplug() {
    mouse[0]->Unplug();
    hid.At(0).hidClass = hid.At(0).mouseClass = false;
  }
  void Plug() {
    mouse[0]->Plug();
    hid.At(0).hidClass = hid.At(0).mouseClass = true;
  }

  std::unique_ptr<SimulatedMouse> mouse[2];
  FakeView view;
  std::unique_ptr<DeviceSession> session = std::make_unique<DeviceSession>(Deps(view, kSelf));
};

bool HasMessage(const Rig& r, int number) {
  return std::any_of(r.messages.shown.begin(), r.messages.shown.end(), [&](auto& m) { return m.number == number; });
}

TEST(Session, FullLoadReadsTheFactoryListWithIndicatorAndProgressThenShowsTheActiveProfile) {
  for (bool automation : {false, true}) {
    SCOPED_TRACE(automation ? "automation" : "normal");
    Rig r(1, automation);
    r.mouse[0]->SetCell(kCellActiveProfile, 0x52);
    r.mouse[0]->SetRevision(19);
    EXPECT_TRUE(r.session->Initialise());
    EXPECT_EQ(r.store.GetDword(kProcessHandle), static_cast<std::int32_t>(ValueFromHandle(kSelf)));
    EXPECT_EQ(r.session->screenMode(), kScreenLoading);
    EXPECT_TRUE(r.view.popup);
    EXPECT_TRUE(r.windows.Running(kSelf, kTimerLoad));
    r.Run();
    EXPECT_TRUE(r.session->sessionReady());
    EXPECT_FALSE(r.session->busy());
    EXPECT_EQ(r.session->currentProfile(), 2);
    EXPECT_EQ(r.session->screenMode(), kScreenFullPage);
    EXPECT_EQ(r.view.name, u"Default");
    EXPECT_TRUE(r.view.ime);
    EXPECT_FALSE(r.view.popup);
    EXPECT_EQ(r.view.pointerProfile, 2);
    EXPECT_EQ(r.OsdPosts(OSD_DEVICE_FOUND), std::vector<std::uint32_t>{0x2002});
    EXPECT_EQ(r.OsdPosts(OSD_SET_PROFILE), std::vector<std::uint32_t>{2});
    // Every cell of the list read, in list order, and taken as on the mouse.
    std::vector<int> reads;
    for (auto& e : r.mouse[0]->Trace())
      if (e.set && e.bytes[1] == kReqReadCell) reads.push_back(e.bytes[2] | (e.bytes[4] << 8));
    // The identity check reads first; then the list.
    ASSERT_GE(reads.size(), kFullLoadListSize);
    EXPECT_TRUE(std::equal(reads.end() - kFullLoadListSize, reads.end(), FullLoadList().begin()));
    EXPECT_TRUE(r.ShadowTruthful());
    auto c = r.Controls();
    EXPECT_EQ(c.front(), "2 0 0");
    // 667 ticks: a progress pair on every tenth, none in automation mode.
    EXPECT_EQ(r.Count("3 0 0"), automation ? 0 : 9);
    EXPECT_EQ(r.Count("3 3 0"), automation ? 0 : 1);
    EXPECT_EQ(r.Count("3 3 3"), automation ? 0 : 1);
    EXPECT_GE(r.clock.NowMs(), 40u + 667u * kCellTickMs);
  }
}

TEST(Session, ConnectionFollowsArrivalAndRemoval) {
  Rig r;
  r.Unplug();
  EXPECT_FALSE(r.session->Initialise());
  EXPECT_EQ(r.session->screenMode(), kScreenNoDevice);
  EXPECT_TRUE(r.view.Logged("nodevice from 4"));
  // Plugged in: a new attempt 5 s later.
  r.Plug();
  r.session->OnDeviceChange(kDeviceArrival);
  EXPECT_TRUE(r.windows.Running(kSelf, kTimerReconnect));
  const auto before = r.clock.NowMs();
  r.Run();
  EXPECT_GE(r.clock.NowMs() - before, kReconnectDelayMs);
  EXPECT_TRUE(r.session->sessionReady());
  EXPECT_EQ(r.session->screenMode(), kScreenFullPage);
  // Another HID device going away keeps the session.
  SimulatedHid::Interface other;
  other.path = u"\\\\?\\hid#other";
  other.attributes = {0x1234, 0x1, 0x1};
  r.hid.AddInterface(other);
  r.session->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_TRUE(r.session->connected());
  // The mouse going away ends the session and brings the plate back.
  r.Unplug();
  r.session->OnDeviceChange(kDeviceRemoveComplete);
  EXPECT_FALSE(r.session->connected());
  EXPECT_EQ(r.session->screenMode(), kScreenNoDevice);
  EXPECT_EQ(r.store.GetDword(kConfigureHandle), -1);
  EXPECT_TRUE(r.view.Logged("endpages"));
  r.Plug();
  r.Run();
  EXPECT_TRUE(r.session->connected());
}

TEST(Session, TwoMiceAskWhichOneWithTheirIndicators) {
  {
    Rig r(2);
    r.view.selectionAnswer = 1;
    r.session->Initialise();
    EXPECT_EQ(r.view.entries.size(), 2u);
    EXPECT_EQ(r.view.entries[0].substr(0, 6), u"2002: ");
    // Opened on the first mouse, moved to the second, ended there.
    EXPECT_EQ(r.Controls(0), (std::vector<std::string>{"2 0 0", "3 3 0", "3 3 3"}));
    auto second = r.Controls(1);
    ASSERT_GE(second.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(second.begin(), second.begin() + 3),
              (std::vector<std::string>{"2 0 0", "3 3 0", "3 3 3"}));
    EXPECT_FALSE(r.windows.Running(kSelf, kTimerIndicator));
    EXPECT_EQ(r.session->selectedRow(), 1);
    EXPECT_EQ(std::u16string(r.tessel->devicePath()), r.hid.At(1).path);
  }
  {
    Rig r(2);
    r.view.selectionAnswer = -1;
    r.session->Initialise();
    EXPECT_TRUE(r.view.ended);
    EXPECT_EQ(r.session->foundCount(), 0);
  }
}

TEST(Session, SaveWritesAtOnceBelowTwentyCellsAndOnATimerFromTwenty) {
  for (int pending : {19, 20}) {
    SCOPED_TRACE(pending);
    Rig r;
    r.Ready();
    r.MakePending(0, pending);
    r.session->SetModified(true);
    r.session->ApplyChanges();
    const bool timed = pending >= 20;
    EXPECT_EQ(r.windows.Running(kSelf, kTimerSave), timed);
    EXPECT_EQ(r.view.popups, timed ? 2 : 1);
    EXPECT_EQ(r.session->busy(), timed);
    EXPECT_EQ(r.view.controlsOn, !timed);
    r.Run();
    EXPECT_FALSE(r.session->modified());
    EXPECT_FALSE(r.view.applyEnabled);
    EXPECT_EQ(r.mouse[0]->ApplyCount(), 1);
    EXPECT_EQ(r.OsdPosts(OSD_SET_PROFILE), std::vector<std::uint32_t>{0});
    EXPECT_EQ(r.Count("3 3 0"), timed ? 1 : 0);
    for (auto e : FactoryProfilePart(0)) EXPECT_FALSE(r.tessel->IsDirty(e.address));
    EXPECT_TRUE(r.ShadowTruthful());
  }
}

TEST(Session, ApplyWithoutAMouseSaysSoAndSendsNothing) {
  Rig r;
  r.Ready();
  r.MakePending(0, 3);
  r.Unplug();
  r.session->OnDeviceChange(kDeviceRemoveComplete);
  r.mouse[0]->Plug();  // still not connected: the session must not try
  r.mouse[0]->ClearTrace();
  r.session->ApplyChanges();
  EXPECT_TRUE(HasMessage(r, kMsgNoMouse));
  EXPECT_TRUE(r.mouse[0]->Trace().empty());
}

TEST(Session, ReportsFromTheMouseNeverOverwriteAnEditNotYetApplied) {
  Rig r;
  r.Ready();
  const int cell = B(0) + kOffLevelAndRate;
  const int before = r.tessel->Value(cell);
  // A new level on the shown profile is recorded as on the mouse.
  r.session->OnInformUi(UI_DPI_STATE, 0x02);
  EXPECT_EQ(r.tessel->Value(cell) & 7, 2);
  EXPECT_FALSE(r.tessel->IsDirty(cell));
  // The polling rate takes the reported code.
  r.session->OnInformUi(UI_POLLING_RATE, 1);
  EXPECT_EQ((r.tessel->Value(cell) >> 3) & 3, 1);
  // A pending edit of that cell stays pending with its value.
  r.tessel->SetCell(cell, before ^ 0x40);
  r.session->OnInformUi(UI_DPI_STATE, 0x03);
  r.session->OnInformUi(UI_POLLING_RATE, 2);
  EXPECT_TRUE(r.tessel->IsDirty(cell));
  EXPECT_EQ(r.tessel->Value(cell), before ^ 0x40);
  // Another profile is followed; a word with bit 2 (the window's own profile word) is not.
  r.session->OnInformUi(UI_DPI_STATE, static_cast<std::intptr_t>(ProfileChangeWord(3)));
  EXPECT_EQ(r.session->currentProfile(), 0);
  r.session->OnInformUi(UI_DPI_STATE, 0x31);
  EXPECT_EQ(r.session->currentProfile(), 3);
  EXPECT_TRUE(r.mouse[0]->Trace().empty()) << "following sends nothing";
  // Profiles above 4 are refused, though cell 140 would offer them.
  r.tessel->MarkLoaded(kCellActiveProfile, 0xF3);
  EXPECT_EQ(r.session->SelectProfile(6), 0);
  r.session->FollowProfile(6);
  EXPECT_EQ(r.session->currentProfile(), 3);
  // While a page is open a report of another profile does not switch.
  r.session->LockForWindow(kRouteConfigure);
  r.session->OnInformUi(UI_DPI_STATE, 0x10);
  EXPECT_EQ(r.session->currentProfile(), 3);
  r.session->Unlock();
  r.session->AfterPage(kRouteConfigure, 1, true);
  EXPECT_EQ(r.session->currentProfile(), 1);
  // Unknown codes answer 0.
  EXPECT_EQ(r.session->OnInformUi(99, 0), 0);
}

TEST(Session, LaunchStartsTheStoredApplicationWhenItsFileOpens) {
  Rig r;
  r.Ready();
  r.store.SetString(u"PF1T3 AP", u"C:\\Games\\run.exe");
  r.session->OnInformUi(UI_LAUNCH_APP, 1 * 11 + 2);
  EXPECT_TRUE(r.shell.started.empty()) << "the file is not there";
  r.files.Put(u"C:\\Games\\run.exe", {1});
  r.session->OnInformUi(UI_LAUNCH_APP, 1 * 11 + 2);
  EXPECT_EQ(r.shell.started, std::vector<std::u16string>{u"C:\\Games\\run.exe"});
  r.session->OnInformUi(UI_LAUNCH_APP, 5 * 11);  // profile 5 does not exist
  EXPECT_EQ(r.shell.started.size(), 1u);
  // A path longer than the buffer is refused, even where its first part names a file.
  const std::u16string longPath = u"C:\\Games\\" + std::u16string(1100, u'a') + u".exe";
  r.files.Put(longPath.substr(0, 1023), {1});
  r.store.SetString(u"PF0T1 AP", longPath);
  r.session->OnInformUi(UI_LAUNCH_APP, 0);
  EXPECT_EQ(r.shell.started.size(), 1u);
}

TEST(Session, ReadBackReadsHeadersThenEachMacroAsLongAsItsHeaderSays) {
  struct Case {
    int low3, high3, expectBodies;
  } cases[] = {{0, 0, 0}, {0xC8, 0x00, 200}, {0xFF, 0xF0, 256}};
  for (auto c : cases) {
    Rig r;
    r.Ready();
    r.mouse[0]->SetCell(H(1) + 12, static_cast<std::uint8_t>(c.low3));
    r.mouse[0]->SetCell(H(1) + 15, static_cast<std::uint8_t>(c.high3));
    r.session->ShowProfile(1, false);
    const Hwnd pm = reinterpret_cast<Hwnd>(0x777);
    r.session->OnInformUi(UI_READ_PROFILE, static_cast<std::intptr_t>(ValueFromHandle(pm)));
    EXPECT_TRUE(r.session->busy());
    r.Run();
    std::vector<int> reads;
    for (auto& e : r.mouse[0]->Trace())
      if (e.set && e.bytes[1] == kReqReadCell) reads.push_back(e.bytes[2] | (e.bytes[4] << 8));
    ASSERT_EQ(reads.size(), 44u + c.expectBodies);
    EXPECT_EQ(reads[0], H(1));
    if (c.expectBodies) {
      EXPECT_EQ(reads[44], M(1) + 768);
    }
    ASSERT_EQ(r.windows.posted.size(), 1u);
    EXPECT_EQ(r.windows.posted[0].window, pm);
    EXPECT_EQ(r.windows.posted[0].lParam, 1);
    EXPECT_FALSE(r.session->busy());
  }
}

// A profile file saved from profile 1, shared by profile 3: the save writes, the file is saved,
// then profile 3 is reloaded from it, one transfer after the other.
TEST(Session, ApplyRunsTheTimedSaveAndTheLinkedReloadOneAfterTheOther) {
  Rig r;
  r.Ready();
  r.files.CreateFolder(DataFolder(r.files));
  for (int p : {1, 3}) WriteProfileName(*r.tessel, p, u"Sniper");
  r.session->ShowProfile(1, false);
  r.session->ShowProfileName(1);
  ASSERT_EQ(r.profiles.CreateFile(1, u"Sniper"), 1);
  r.MakePending(1, 30);
  r.session->ApplyChanges();
  EXPECT_EQ(r.session->QueuedJobs(), 1u);
  r.Run();
  EXPECT_EQ(r.session->QueuedJobs(), 0u);
  EXPECT_FALSE(r.session->transferRunning());
  for (int i = 0; i < kSettingsBlockSize; ++i) {
    EXPECT_FALSE(r.tessel->IsDirty(B(1) + i));
    EXPECT_FALSE(r.tessel->IsDirty(B(3) + i));
  }
  for (auto e : FactoryProfilePart(1).first(30)) {
    const int offset = e.address - B(1);
    EXPECT_EQ(r.mouse[0]->Cell(B(3) + offset), r.mouse[0]->Cell(e.address)) << offset;
  }
  EXPECT_EQ(r.mouse[0]->ApplyCount(), 2);  // after the save, after the last reload
  EXPECT_TRUE(r.ShadowTruthful());
}

TEST(Session, OddStatesAfterALoad) {
  {
    // A sixth profile in cell 140 shows profile 0 and leaves the cell as it is.
    Rig r;
    r.mouse[0]->SetCell(kCellActiveProfile, 0x56);
    r.Ready();
    EXPECT_EQ(r.session->currentProfile(), 0);
    EXPECT_EQ(r.tessel->Value(kCellActiveProfile), 0x56);
  }
  {
    // A first read that fails: message 5 and the plate again, with a new attempt after 5 s.
    int firstRead = 0;
    {
      Rig probe;
      probe.session->Initialise();
      const auto& t = probe.mouse[0]->Trace();
      while (!(t[firstRead].set && t[firstRead].bytes[1] == kReqControl && t[firstRead].bytes[2] == kCmdBegin)) ++firstRead;
      while (!(t[firstRead].set && t[firstRead].bytes[1] == kReqReadCell)) ++firstRead;
    }
    Rig r;
    r.mouse[0]->VanishAfter(firstRead);
    r.session->Initialise();
    EXPECT_TRUE(HasMessage(r, kMsgLoadConfigFailed));
    EXPECT_EQ(r.session->screenMode(), kScreenNoDevice);
    EXPECT_TRUE(r.windows.Running(kSelf, kTimerReconnect));
    r.mouse[0]->Plug();
    r.Run();
    EXPECT_TRUE(r.session->sessionReady());
  }
  {
    // A hidden start touches nothing until the first show request.
    Rig r(1, true);
    r.session->hiddenStart = true;
    EXPECT_FALSE(r.session->Initialise());
    EXPECT_EQ(r.mouse[0]->ReportCount(), 0);
    EXPECT_TRUE(r.session->OnShowRequest());
    EXPECT_TRUE(r.view.Logged("show"));
  }
}

// The mouse vanishes after k reports, for every k through each series: the shadow never holds a
// cell as written that the mouse does not hold, and the program ends as it must.
TEST(Session, AFaultAtEveryPositionOfEverySeriesLosesNothing) {
  enum Series { kLoad, kSave, kSmallSave, kReset, kFileLoad, kReadBack };
  for (Series s : {kLoad, kSave, kSmallSave, kReset, kFileLoad, kReadBack}) {
    for (int k = 0;; k += (s == kLoad ? 37 : 3)) {
      SCOPED_TRACE(::testing::Message() << "series " << s << " vanishing after " << k);
      Rig r;
      if (s != kLoad) r.Ready();
      r.files.CreateFolder(DataFolder(r.files));
      const Hwnd pm = reinterpret_cast<Hwnd>(0x777);
      std::function<void()> start;
      switch (s) {
        case kLoad: start = [&] { r.session->Initialise(); }; break;
        case kSave:
        case kSmallSave:
          r.MakePending(0, s == kSave ? 40 : 10);
          r.session->SetModified(true);
          start = [&] { r.session->ApplyChanges(); };
          break;
        case kReset:
          r.Diverge(0, 40);
          start = [&] { r.session->ResetProfile(0, 1); };
          break;
        case kFileLoad:
          WriteProfileName(*r.tessel, 2, u"Saved");
          r.profiles.CreateFile(2, u"Saved");
          r.Diverge(2, 40, 0);
          start = [&] { r.session->LoadProfileFile(2, false); };
          break;
        case kReadBack:
          r.mouse[0]->SetCell(H(0), 50);
          start = [&] { r.session->OnInformUi(UI_READ_PROFILE, static_cast<std::intptr_t>(ValueFromHandle(pm))); };
          break;
      }
      r.mouse[0]->VanishAfter(k);
      start();
      r.Run(20000);
      const auto& trace = r.mouse[0]->Trace();
      const bool vanished = std::any_of(trace.begin(), trace.end(), [](auto& e) { return !e.ok; });
      EXPECT_TRUE(r.ShadowTruthful());
      if (s == kLoad && vanished && !r.session->sessionReady()) {
        EXPECT_TRUE(r.view.ended || r.session->screenMode() == kScreenNoDevice);
        // Once the load had begun, the user is told.
        EXPECT_EQ(HasMessage(r, kMsgLoadConfigFailed), r.view.Logged("offscreen"));
      }
      const auto part = FactoryProfilePart(0);
      const bool left = std::any_of(part.begin(), part.end(), [&](auto e) { return r.tessel->IsDirty(e.address); });
      if ((s == kSave || s == kSmallSave) && left) {
        EXPECT_TRUE(HasMessage(r, kMsgSaveConfigFailed));
        EXPECT_TRUE(r.session->modified()) << "edits left to apply must stay applicable";
      }
      if (s == kReadBack) {
        ASSERT_FALSE(r.windows.posted.empty());
        EXPECT_EQ(r.windows.posted.back().lParam, vanished ? 0 : 1);
      }
      EXPECT_FALSE(r.session->transferRunning());
      if (!vanished) break;  // the series ended before the k-th report
    }
  }
}

}  // namespace
}  // namespace halvard

namespace halvard {
namespace {

TEST(Simulation, TheImageComesFromTheEnvironmentOrTheSwitch) {
  const std::vector<std::u16string> plain{u"Halvard.exe"}, sw{u"Halvard.exe", u"-SIMULATE"}, other{u"x", u"/Simulated"};
  EXPECT_EQ(SimulatedImagePath(plain, "", "C:\\Docs\\Halvard"), "");
  EXPECT_EQ(SimulatedImagePath(other, "", "C:\\Docs\\Halvard"), "");
  EXPECT_EQ(SimulatedImagePath(sw, "", "C:\\Docs\\Halvard"), "C:\\Docs\\Halvard\\Simulated mouse.img");
  EXPECT_EQ(SimulatedImagePath(plain, "Z:\\m.img", "C:\\Docs"), "Z:\\m.img");
  EXPECT_EQ(Narrow(u"C:\\Dok\u00fcmente"), "C:\\Dok?mente");
}

}  // namespace
}  // namespace halvard
