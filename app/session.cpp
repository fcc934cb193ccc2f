#include "app/session.h"

#include <algorithm>

#include "app/cfg_pointer.h"
#include "app/startup.h"
#include "platform/text.h"

namespace halvard {

namespace {

constexpr int kMaxProfileIndex = kProfileCount - 1;
constexpr int kLastCell = 0x3FFF;
constexpr std::size_t kLaunchPathChars = 1024;
constexpr std::size_t kNameTextMaxChars = 260;

bool InProfileRange(int p) { return p >= 0 && p <= kMaxProfileIndex; }

// "2002: <product name>": the version in lower-case hexadecimal without leading zeros.
std::u16string SelectionEntry(std::uint16_t version, const char16_t* product) {
  std::u16string entry;
  AppendHex(entry, version, 1, false);
  entry += u": ";
  if (product != nullptr) entry += product;
  return entry;
}

}  // namespace

DeviceSession::DeviceSession(SessionDeps d)
    : hid_(d.hid),
      tessel_(d.tessel),
      store_(d.store),
      profiles_(d.profiles),
      windows_(d.windows),
      clock_(d.clock),
      messages_(d.messages),
      files_(d.files),
      shell_(d.shell),
      view_(d.view),
      window_(d.window),
      inform_(d.store, d.windows) {}

// ---- window life -------------------------------------------------------------------------------

bool DeviceSession::Initialise() {
  routingCode_ = kRouteMainWindow;
  store_.SetDword(kProcessHandle, ValueFromHandle(window_));
  store_.SetDword(kCurrentDialog, kRouteMainWindow);
  // The pages keep their files in the data folder; without it the program still configures the
  // mouse, so say which folder is missing and go on.
  std::u16string folder = DataFolder(files_);
  if (!files_.CreateFolder(folder)) messages_.ShowMessage(kMsgCantFindPath, folder);
  SetModified(false);
  if (hiddenStart) return false;
  Connect();
  return connected_;
}

bool DeviceSession::OnShowRequest() {
  bool fresh = false;
  if (hiddenStart) {
    hiddenStart = false;
    Connect();
    fresh = connected_;
  }
  view_.RestoreAndShow();
  return fresh;
}

void DeviceSession::OnCancel() {
  if (connected_ && busy_) {
    StopSessionTimers();
    clock_.Sleep(kCellPauseMs);
    IndicatorEnd(true);
  }
  ExitSequence();
}

void DeviceSession::ExitSequence() {
  StopSessionTimers();
  view_.EndProgram();
}

void DeviceSession::OnDeviceChange(std::uint32_t event) {
  if (event == kDeviceArrival) {
    if (connected_) return;
    int rows = BuildTable();
    if (rows >= 1 && rows == foundCount_) return;
    connected_ = false;
    EndSession();
    StartTimer(kTimerReconnect, kReconnectDelayMs);
  } else if (event == kDeviceRemoveComplete) {
    if (!connected_) return;
    int rows = BuildTable();
    std::u16string_view path = tessel_.devicePath();
    for (int row = rows - 1; row >= 0; --row) {
      const char16_t* p = hid_.GetDevice(row);
      if (p != nullptr && path == p) {
        selectedRow_ = row;  // another device went away
        return;
      }
    }
    connected_ = false;
    EndSession();
    StartTimer(kTimerReconnect, kReconnectDelayMs);
  }
}

void DeviceSession::OnTimer(std::uint32_t id) {
  switch (id) {
    case kTimerLoad:
      LoadTick();
      break;
    case kTimerSave:
    case kTimerReset:
    case kTimerFileLoad:
    case kTimerLinkedReload:
      SeriesTick(id);
      break;
    case kTimerReadHeaders:
    case kTimerReadBodies:
      ReadBackTick(id);
      break;
    case kTimerIndicator:
      tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorTick);
      break;
    case kTimerReconnect:
      windows_.KillTimer(window_, kTimerReconnect);
      Connect();
      break;
    default:
      break;
  }
}

// ---- connection --------------------------------------------------------------------------------

int DeviceSession::BuildTable() {
  hid_.CreateDeviceTable(&kSupportedMouse, 1, kSupportedVersion, kSupportedVersion);
  return hid_.GetRecognizedDevices();
}

void DeviceSession::Connect() {
  int rows = BuildTable();
  hid_.RegisterNotify(window_);
  tessel_.Reset();
  selectedRow_ = 0;
  if (rows > 0) {
    foundCount_ = rows;
    if (rows > 1) {
      std::vector<std::u16string> entries;
      for (int i = 0; i < rows; ++i) entries.push_back(SelectionEntry(hid_.GetDeviceVer(i), hid_.GetDeviceName(i)));
      selectedRow_ = view_.RunDeviceSelection(entries, *this);
    }
    if (selectedRow_ < 0 || selectedRow_ >= foundCount_) {
      selectedRow_ = 0;
      foundCount_ = 0;
      OnCancel();
      return;
    }
    std::uint16_t version = hid_.GetDeviceVer(selectedRow_);
    if (version == kDeviceType2001 || version == kDeviceType2002) tessel_.setDeviceType(version);
    const char16_t* path = hid_.GetDevice(selectedRow_);
    if (path != nullptr && tessel_.OpenDevice(path) == 1 && hid_.GetDeviceVID(selectedRow_) == kSupportedMouse.vid &&
        hid_.GetDevicePID(selectedRow_) == kSupportedMouse.pid) {
      screenMode_ = kScreenLoading;
      PostOsd(OSD_DEVICE_FOUND, static_cast<std::intptr_t>(tessel_.deviceType()));
      connected_ = true;
      sessionReady_ = false;
      LoadAll();
      return;
    }
  } else {
    foundCount_ = 0;
  }
  connected_ = false;
  if (screenMode_ != kScreenNoDevice) ShowNoDevice();
}

void DeviceSession::ShowNoDevice() {
  view_.ShowNoDeviceScreen(screenMode_);
  screenMode_ = kScreenNoDevice;
}

void DeviceSession::OnSelectionOpened() {
  shownEntry_ = 0;
  tessel_.SetDevicePath(hid_.GetDevice(0) ? hid_.GetDevice(0) : u"");
  Begin();
  tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorStart);
  windows_.SetTimer(window_, kTimerIndicator, kIndicatorTickMs);
}

void DeviceSession::OnSelectionChanged(int entry) {
  if (entry == shownEntry_ || entry < 0 || entry >= hid_.GetRecognizedDevices()) return;
  tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorEnd);
  tessel_.SetDevicePath(hid_.GetDevice(entry));
  Begin();
  tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorStart);
  shownEntry_ = entry;
}

void DeviceSession::OnSelectionClosed() {
  windows_.KillTimer(window_, kTimerIndicator);
  tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorEnd);
}

void DeviceSession::EndSession() {
  busy_ = false;
  SetModified(false);
  StopSessionTimers();
  // Whatever was queued belonged to the mouse that went away; its unwritten cells stay pending.
  linkedQueue_.fill(-1);
  jobCount_ = 0;
  if (running_ != 0) view_.HidePopup();
  running_ = 0;
  store_.SetDword(kConfigureHandle, 0xFFFFFFFFu);
  view_.EndPages();
  Unlock();
  if (screenMode_ == kScreenNoDevice) return;
  ShowNoDevice();
}

void DeviceSession::StopSessionTimers() {
  for (std::uint32_t id = kFirstSessionTimer; id <= kLastSessionTimer; ++id) windows_.KillTimer(window_, id);
}

void DeviceSession::StartTimer(std::uint32_t id, std::uint32_t ms) { windows_.SetTimer(window_, id, ms); }

void DeviceSession::Begin() {
  tessel_.SendCommand(kCmdBegin, 0x00, 0x00);
  clock_.Sleep(kBeginPauseMs);
}

void DeviceSession::IndicatorStart() {
  if (automationMode) return;
  progressStep_ = 0;
  tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorStart);
}

void DeviceSession::IndicatorEnd(bool evenInAutomation) {
  if (automationMode && !evenInAutomation) return;
  tessel_.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorEnd);
}

void DeviceSession::PostOsd(std::uint32_t code, std::intptr_t value) { inform_.m_InformOSD(code, value); }

// ---- locking -----------------------------------------------------------------------------------

void DeviceSession::LockForWindow(int code) {
  routingCode_ = code;
  busy_ = true;
  if (screenMode_ == kScreenFullPage) {
    controlsLocked_ = true;
    view_.EnablePageControls(false, false);
    store_.SetDword(kCurrentDialog, static_cast<std::uint32_t>(code));
  }
}

void DeviceSession::Unlock() {
  routingCode_ = kRouteMainWindow;
  busy_ = false;
  if (screenMode_ == kScreenFullPage) {
    controlsLocked_ = false;
    view_.EnablePageControls(true, modified_);
    store_.SetDword(kCurrentDialog, kRouteMainWindow);
  }
}

void DeviceSession::SetModified(bool on) {
  modified_ = on;
  if (!controlsLocked_) view_.EnableApplyAndOk(on);
}

// ---- full load ---------------------------------------------------------------------------------

int DeviceSession::LoadAll() {
  if (!connected_) {
    messages_.ShowMessage(kMsgNoMouse);
    return 0;
  }
  view_.MoveOffScreen();
  const auto& list = FullLoadList();
  std::copy(list.begin(), list.end(), transferList_.begin());
  transferCount_ = static_cast<std::int32_t>(list.size());
  transferCursor_ = 0;
  Begin();
  IndicatorStart();
  std::uint8_t v = 0;
  if (tessel_.ReadByte(transferList_[0], &v) == 1) {
    tessel_.MarkLoaded(transferList_[0], v);
    ++transferCursor_;
    running_ = kTimerLoad;
    StartTimer(kTimerLoad);
    busy_ = true;
    view_.ShowPopup();
    return 1;
  }
  messages_.ShowMessage(kMsgLoadConfigFailed);
  IndicatorEnd();
  busy_ = false;
  // Not left invisible off the screen: back to the warning plate, and a new attempt in 5 s.
  connected_ = false;
  ShowNoDevice();
  StartTimer(kTimerReconnect, kReconnectDelayMs);
  return 0;
}

void DeviceSession::LoadTick() {
  windows_.KillTimer(window_, kTimerLoad);
  if (transferCursor_ >= transferCount_) return;
  const int address = transferList_[static_cast<std::size_t>(transferCursor_)];
  std::uint8_t v = 0;
  if (tessel_.ReadByte(address, &v) != 1) {
    IndicatorEnd();
    running_ = 0;
    view_.HidePopup();
    view_.HideWindow();
    messages_.ShowMessage(kMsgLoadConfigFailed);
    ExitSequence();
    return;
  }
  tessel_.MarkLoaded(address, v);
  ++transferCursor_;
  if (transferCursor_ < transferCount_) {
    busy_ = true;
    ProgressStep();
    StartTimer(kTimerLoad);
    return;
  }
  IndicatorEnd();
  busy_ = false;
  running_ = 0;
  view_.HidePopup();
  FinishLoad();
}

void DeviceSession::FinishLoad() {
  int present = 0, revision = 0;
  bool ime = tessel_.QueryRevision(&present, &revision) == 1 && revision >= 19;
  view_.SetImeFlag(ime);
  view_.ClearSelectedButton();
  int p = ActiveProfileCell() & 7;
  if (p > kMaxProfileIndex) p = 0;  // the cell stays as the mouse has it
  view_.ShowTabs(p);
  ShowProfileName(p);
  currentProfile_ = p;
  view_.RefreshButtonLabels();
  view_.RefreshModeDisplay();
  PostOsd(OSD_SET_PROFILE, currentProfile_);
  sessionReady_ = true;
  SetModified(false);
  macroAssigned_.fill(false);
  if (screenMode_ == kScreenNoDevice) view_.HideYes();
  if (screenMode_ != kScreenFullPage) {
    view_.ShowFullPage();
    screenMode_ = kScreenFullPage;
  }
  view_.ApplyPointerSettings(currentProfile_);
  RunQueuedJob();
}

void DeviceSession::ProgressStep() {
  if (automationMode) return;
  progressCounter_ = (progressCounter_ + 1) % 10;
  if (progressCounter_ != 1) return;
  tessel_.SendCommand(kCmdIndicator, kIndicatorProgressFirstHalf, static_cast<std::uint8_t>(progressStep_));
  progressStep_ = (progressStep_ + 1) % 8;
  tessel_.SendCommand(kCmdIndicator, kIndicatorProgressSecondHalf, static_cast<std::uint8_t>(progressStep_));
}

// ---- profiles ----------------------------------------------------------------------------------

int DeviceSession::SelectProfile(int p) {
  if (p < 0 || p >= OfferedProfiles() || p > kMaxProfileIndex) return 0;
  const int v = (ActiveProfileCell() & 0xF0) | p;
  if (!(tessel_.IsValid(kCellActiveProfile) && !tessel_.IsDirty(kCellActiveProfile) && ActiveProfileCell() == v)) {
    if (tessel_.WriteByte(kCellActiveProfile, static_cast<std::uint8_t>(v)) == 1)
      tessel_.MarkLoaded(kCellActiveProfile, v);
    else
      tessel_.SetCell(kCellActiveProfile, v);  // pending: the old value may no longer be the mouse's
  }
  tessel_.SendCommand(kCmdSelectProfile, static_cast<std::uint8_t>(p), 0x00);
  return 1;
}

int DeviceSession::ShowProfile(int p, bool force) {
  if (!InProfileRange(p)) return 0;
  if (p == currentProfile_ && !force) return 0;
  view_.ShowTabs(p);
  currentProfile_ = p;
  view_.ClearSelectedButton();
  view_.RefreshButtonLabels();
  view_.RefreshModeDisplay();
  return 1;
}

int DeviceSession::ShowProfileName(int p) {
  if (!InProfileRange(p)) return 0;
  char16_t name[kNameMaxChars + 1] = {};
  if (!ReadProfileName(tessel_, p, name)) CopyText<char16_t>(name, kNameMaxChars + 1, kFactoryProfileName);
  CopyText<char16_t>(shownName_, kNameMaxChars + 1, name);
  view_.ShowProfileName(shownName_);
  return 1;
}

int DeviceSession::SetProfileName(int p, std::u16string_view text) {
  if (!InProfileRange(p) || text.empty()) return 0;
  WriteProfileName(tessel_, p, text);
  return 1;
}

void DeviceSession::FollowProfile(int p) {
  if (p < 0 || p >= OfferedProfiles() || p > kMaxProfileIndex || p == currentProfile_) return;
  tessel_.SetCell(kCellActiveProfile, (ActiveProfileCell() & 0xF8) | p);
  ShowProfile(p, false);
  ShowProfileName(p);
  view_.ApplyPointerSettings(p);
}

void DeviceSession::OnProfileTab(int p) {
  if (modified_) {
    if (!view_.AskApplyBeforeSwitch()) return;
    ApplyChanges();
  }
  SelectProfile(p);
  ShowProfile(p, false);
  PostOsd(OSD_DPI_STATE, static_cast<std::intptr_t>(ProfileChangeWord(currentProfile_)));
  ShowProfileName(currentProfile_);
  view_.ApplyPointerSettings(currentProfile_);
}

void DeviceSession::AfterPage(int code, int pageProfile, bool ok) {
  switch (code) {
    case kRouteConfigure:
    case kRouteMacroEditor:
      FollowProfile(pageProfile);
      break;
    case kRouteLedPage:
      if (ok) view_.RefreshModeDisplay();
      FollowProfile(pageProfile);
      break;
    default:
      break;
  }
}

// ---- reports of the other processes ------------------------------------------------------------

void DeviceSession::RecordOnMouse(int address, int value) {
  // An edit not yet applied wins over what the mouse reports: it is written with the next save.
  if (tessel_.IsDirty(address)) return;
  tessel_.MarkLoaded(address, value);
}

std::intptr_t DeviceSession::OnInformUi(std::uintptr_t code, std::intptr_t lParam) {
  if (!sessionReady_) return 0;
  const auto word = static_cast<std::uint32_t>(lParam);
  switch (code) {
    case UI_DPI_STATE: {
      if (busy_) return 1;
      const int q = static_cast<int>((word >> 4) & 7);
      if (q > kMaxProfileIndex || (word & 4) != 0) return 1;
      if (q == currentProfile_) {
        const int cell = B(q) + kOffLevelAndRate;
        const int level = static_cast<int>(word & 7);
        if ((tessel_.Value(cell) & 7) != level) RecordOnMouse(cell, (tessel_.Value(cell) & 0xF8) | level);
      } else if (routingCode_ == kRouteMainWindow) {
        FollowProfile(q);
      }
      ShowProfileName(currentProfile_);
      return 1;
    }
    case UI_LAUNCH_APP:
      LaunchApp(lParam);
      return 1;
    case UI_LOCK:
    case UI_MODE:
      return 1;
    case UI_POLLING_RATE:
      if (!busy_) {
        const int cell = B(currentProfile_) + kOffLevelAndRate;
        RecordOnMouse(cell, (tessel_.Value(cell) & ~0x18) | static_cast<int>((word & 3) << 3));
      }
      return 1;
    case UI_PROFILE_FILES_CHANGED:
      view_.RefillProfileList();
      return 1;
    case UI_READ_PROFILE:
      replyWindow_ = HandleFromValue(static_cast<std::int32_t>(word));
      ReadBackProfile(currentProfile_);
      return 1;
    case UI_SET_PROFILE_NAME:
      if (InProfileRange(currentProfile_) && lParam != 0) {
        const auto* text = reinterpret_cast<const char16_t*>(lParam);
        LoadNamedProfileFile(currentProfile_, std::u16string_view(text, BoundedLength(text, kNameTextMaxChars)));
      }
      return 1;
    default:
      return 0;
  }
}

void DeviceSession::LaunchApp(std::intptr_t lParam) {
  const int b = static_cast<int>(lParam & 0x7F);
  const int profile = b / kButtonCount, button = b % kButtonCount;
  if (profile > kMaxProfileIndex) return;
  std::u16string name = u"PF" + Ascii<char16_t>(std::to_string(profile)) + u"T" +
                        Ascii<char16_t>(std::to_string(button + 1)) + u" AP";
  char16_t path[kLaunchPathChars] = {};
  if (store_.GetString(name, path) != 1 || path[0] == u'\0') return;
  std::u16string_view program(path, BoundedLength(path, kLaunchPathChars));
  // A path that fills the whole buffer may have been cut: never start a shorter one.
  if (program.size() >= kLaunchPathChars - 1 || !files_.CanOpenForReading(program)) return;
  shell_.StartProcess(program);
}

// ---- write-back --------------------------------------------------------------------------------

bool DeviceSession::ProfilePending(int p) const {
  std::array<std::uint16_t, kProfilePartSize + kSlotRegionSize> scratch{};
  return BuildProfileSaveList(tessel_, p, scratch) != 0;
}

void DeviceSession::ApplyChanges() {
  if (busy_) return;
  if (!connected_) {
    // Nothing may reach a missing mouse: the apply command alone would stall for seconds.
    messages_.ShowMessage(kMsgNoMouse);
    return;
  }
  const bool timed = SaveProfile() == 1;
  if (!timed) {
    PostOsd(OSD_SET_PROFILE, currentProfile_);
    tessel_.Apply();
  }
  if (profiles_.SaveIntoFile(currentProfile_, macroAssigned_) == 1) StartLinkedChain();
  // A timed save decides at its end; a write that failed leaves the edits to apply again.
  SetModified(timed ? false : ProfilePending(currentProfile_));
}

int DeviceSession::SaveProfile() {
  if (!connected_) {
    messages_.ShowMessage(kMsgNoMouse);
    return 0;
  }
  if (running_ != 0) return 0;
  transferCount_ = static_cast<std::int32_t>(BuildProfileSaveList(tessel_, currentProfile_, transferList_));
  transferCursor_ = 0;
  if (transferCount_ == 0) return 0;
  if (static_cast<std::size_t>(transferCount_) < kTimedSeriesThreshold) {
    if (!WriteListAtOnce()) messages_.ShowMessage(kMsgSaveConfigFailed);
    return 0;
  }
  Begin();
  IndicatorStart();
  if (tessel_.FlushCell(transferList_[0]) == 1) {
    StartSeries(kTimerSave);
    return 1;
  }
  IndicatorEnd();
  messages_.ShowMessage(kMsgSaveConfigFailed);
  Unlock();
  return 0;
}

bool DeviceSession::CellAddressUsable(int address) const {
  return address >= 0 && static_cast<std::uint32_t>(address) < tessel_.memorySize() && address <= kLastCell;
}

bool DeviceSession::WriteListAtOnce() {
  for (std::int32_t i = 0; i < transferCount_; ++i) {
    const int address = transferList_[static_cast<std::size_t>(i)];
    if (!CellAddressUsable(address)) return false;
    if (tessel_.IsDirty(address)) {
      if (tessel_.WriteByte(address, static_cast<std::uint8_t>(tessel_.Value(address))) != 1) return false;
      tessel_.MarkWritten(address);
    }
    clock_.Sleep(kCellPauseMs);
  }
  return true;
}

void DeviceSession::StartSeries(std::uint32_t id) {
  running_ = id;
  seriesFailed_ = false;
  StartTimer(id);
  view_.ShowPopup();
  LockForWindow(kRouteMainWindow);
}

void DeviceSession::SeriesTick(std::uint32_t id) {
  windows_.KillTimer(window_, id);
  if (running_ != id) return;
  const int address = transferList_[static_cast<std::size_t>(transferCursor_)];
  bool failed = !CellAddressUsable(address);
  if (!failed && tessel_.IsDirty(address)) {
    failed = tessel_.WriteByte(address, static_cast<std::uint8_t>(tessel_.Value(address))) != 1;
    if (!failed) tessel_.MarkWritten(address);
  }
  if (failed) {
    messages_.ShowMessage(kMsgSaveConfigFailed);
    seriesFailed_ = true;
  } else if (++transferCursor_ < transferCount_) {
    StartTimer(id);
    ProgressStep();
    return;
  }
  IndicatorEnd();
  view_.HidePopup();
  running_ = 0;
  if (id == kTimerSave && seriesFailed_) modified_ = ProfilePending(currentProfile_);
  Unlock();
  SeriesEnding(id);
  RunQueuedJob();
}

void DeviceSession::SeriesEnding(std::uint32_t id) {
  switch (id) {
    case kTimerSave:
      PostOsd(OSD_SET_PROFILE, currentProfile_);
      tessel_.Apply();
      break;
    case kTimerReset:
      FinishReset();
      break;
    case kTimerFileLoad:
      ShowProfile(currentProfile_, true);
      ShowProfileName(currentProfile_);
      tessel_.Apply();
      break;
    case kTimerLinkedReload:
      if (linkedQueue_[0] == -1) {
        tessel_.Apply();
      } else {
        LoadProfileFile(PopLinked(), false);
      }
      break;
    default:
      break;
  }
}

int DeviceSession::PopLinked() {
  const int q = linkedQueue_[0];
  std::copy(linkedQueue_.begin() + 1, linkedQueue_.end(), linkedQueue_.begin());
  linkedQueue_.back() = -1;
  return q;
}

void DeviceSession::StartLinkedChain() {
  linkedQueue_.fill(-1);
  if (std::u16string_view(shownName_) == kFactoryProfileName) return;
  std::size_t n = 0;
  for (int q : profiles_.ProfilesSharingName(currentProfile_))
    if (n < linkedQueue_.size()) linkedQueue_[n++] = q;
  if (n == 0) return;
  // The save series owns the transfer list until it ends; the reload follows it.
  if (running_ != 0) {
    Enqueue({JobKind::kLinkedReload, 0, false});
    return;
  }
  LoadProfileFile(PopLinked(), false);
}

int DeviceSession::ResetProfile(int p, int kind) {
  if (!connected_) {
    messages_.ShowMessage(kMsgNoMouse);
    return 0;
  }
  if (running_ != 0) return 0;  // the running transfer owns the list
  resetKind_ = kind;
  auto count = profiles_.ResetToFactory(p, connected_, transferList_);
  transferCount_ = static_cast<std::int32_t>(count.value_or(0));
  transferCursor_ = 0;
  if (transferCount_ == 0) return 0;
  if (static_cast<std::size_t>(transferCount_) < kTimedSeriesThreshold) {
    WriteListAtOnce();
    FinishReset();
    return 0;
  }
  Begin();
  IndicatorStart();
  const int first = transferList_[0];
  bool ok = CellAddressUsable(first);
  if (ok && tessel_.IsDirty(first)) {
    ok = tessel_.WriteByte(first, static_cast<std::uint8_t>(tessel_.Value(first))) == 1;
    if (ok) tessel_.MarkWritten(first);
  }
  if (!ok) {
    IndicatorEnd();
    messages_.ShowMessage(kMsgSaveConfigFailed);
    return 0;
  }
  StartSeries(kTimerReset);
  return 1;
}

void DeviceSession::FinishReset() {
  if (resetKind_ == 1) {
    PostOsd(OSD_SET_PROFILE, currentProfile_);
    view_.ClearSelectedButton();
    view_.RefreshButtonLabels();
    view_.RefreshModeDisplay();
    ShowProfileName(currentProfile_);
  } else {
    ShowProfile(currentProfile_, true);
    ShowProfileName(currentProfile_);
  }
  tessel_.Apply();
}

int DeviceSession::LoadProfileFile(int p, bool withName) {
  if (!connected_) {
    messages_.ShowMessage(kMsgNoMouse);
    return 0;
  }
  if (!InProfileRange(p)) return 0;
  if (running_ != 0) return Enqueue({JobKind::kLoadFile, p, withName}) ? 1 : 0;
  std::u16string name = profiles_.ProfileName(p);
  if (name.empty()) return 0;
  auto count = profiles_.LoadIntoProfile(p, name, withName, transferList_);
  if (!count || *count == 0) return 0;
  transferCount_ = static_cast<std::int32_t>(*count);
  Begin();
  IndicatorStart();
  transferCursor_ = 0;
  StartSeries(withName ? kTimerFileLoad : kTimerLinkedReload);
  return 1;
}

int DeviceSession::LoadNamedProfileFile(int p, std::u16string_view name) {
  if (!InProfileRange(p)) return 0;
  std::array<MemoryCell, kNameSize> before{};
  for (int c = 0; c < kNameSize; ++c) before[static_cast<std::size_t>(c)] = tessel_.Shadow()[static_cast<std::size_t>(N(p) + c)];
  if (SetProfileName(p, name) == 0) return 0;
  if (LoadProfileFile(p, true) == 1) return 1;
  // Nothing was loaded (the load said why): the profile keeps its old name.
  for (int c = 0; c < kNameSize; ++c) RestoreShadowCell(tessel_, N(p) + c, before[static_cast<std::size_t>(c)]);
  return 0;
}

// ---- read-back ---------------------------------------------------------------------------------

int DeviceSession::ReadBackProfile(int p) {
  if (!connected_ || !InProfileRange(p)) {
    messages_.ShowMessage(kMsgNoMouse);
    ReplyReadBack(0);
    return 0;
  }
  if (running_ != 0) return Enqueue({JobKind::kReadBack, p, false}) ? 1 : 0;
  for (int i = 0; i < kHeaderBlockSize; ++i) transferList_[static_cast<std::size_t>(i)] = static_cast<std::uint16_t>(H(p) + i);
  transferCount_ = kHeaderBlockSize;
  transferCursor_ = 0;
  readBackProfile_ = p;
  Begin();
  IndicatorStart();
  running_ = kTimerReadHeaders;
  StartTimer(kTimerReadHeaders);
  view_.ShowPopup();
  busy_ = true;
  return 1;
}

void DeviceSession::ReadBackTick(std::uint32_t id) {
  windows_.KillTimer(window_, id);
  if (running_ != id) return;
  const int address = transferList_[static_cast<std::size_t>(transferCursor_)];
  std::uint8_t v = 0;
  if (tessel_.ReadByte(address, &v) != 1) {
    messages_.ShowMessage(kMsgLoadConfigFailed);
    ReadBackEnd(0);
    return;
  }
  RecordOnMouse(address, v);
  if (++transferCursor_ < transferCount_) {
    StartTimer(id);
    ProgressStep();
    return;
  }
  if (id == kTimerReadBodies) {
    ReadBackEnd(1);
    return;
  }
  // The macro bodies, as long as the headers just read say; a slot holds 256 cells at most.
  const int h = H(readBackProfile_);
  transferCount_ = 0;
  for (int i = 0; i < kButtonCount; ++i) {
    int n = MacroLength(static_cast<std::uint8_t>(tessel_.Value(h + 4 * i)),
                        static_cast<std::uint8_t>(tessel_.Value(h + 4 * i + 3)));
    n = std::min(n, kSlotSize);
    const int slot = M(readBackProfile_) + kSlotSize * i;
    for (int c = 0; c < n; ++c) transferList_[static_cast<std::size_t>(transferCount_++)] = static_cast<std::uint16_t>(slot + c);
  }
  transferCursor_ = 0;
  if (transferCount_ == 0) {
    ReadBackEnd(1);
    return;
  }
  running_ = kTimerReadBodies;
  StartTimer(kTimerReadBodies);
  ProgressStep();
}

void DeviceSession::ReadBackEnd(int result) {
  IndicatorEnd();
  view_.HidePopup();
  busy_ = false;
  running_ = 0;
  ReplyReadBack(result);
  RunQueuedJob();
}

void DeviceSession::ReplyReadBack(int result) {
  const std::int32_t value = static_cast<std::int32_t>(ValueFromHandle(replyWindow_));
  if (!HandleUsable(value)) return;
  windows_.Post(replyWindow_, WM_INFORM_UI, UI_READ_PROFILE, result);
}

// ---- jobs waiting for the transfer list --------------------------------------------------------

bool DeviceSession::Enqueue(Job job) {
  if (jobCount_ >= jobs_.size()) return false;
  jobs_[jobCount_++] = job;
  return true;
}

void DeviceSession::RunQueuedJob() {
  while (running_ == 0 && jobCount_ > 0 && connected_) {
    const Job job = jobs_[0];
    std::copy(jobs_.begin() + 1, jobs_.begin() + static_cast<std::ptrdiff_t>(jobCount_), jobs_.begin());
    --jobCount_;
    switch (job.kind) {
      case JobKind::kLinkedReload:
        if (linkedQueue_[0] != -1) LoadProfileFile(PopLinked(), false);
        break;
      case JobKind::kLoadFile:
        LoadProfileFile(job.profile, job.withName);
        break;
      case JobKind::kReadBack:
        ReadBackProfile(job.profile);
        break;
    }
  }
}

}  // namespace halvard
