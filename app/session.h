// The main window's device session: finding and loading the mouse, following what the mouse
// changes by itself, writing edits back, resetting, loading profile files and reading a profile
// back. Every decision lives here; the window only shows what the session asks through its view
// and hands it window messages and timer ticks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_client.h"
#include "device/ic_tessel.h"
#include "device/memory_map.h"
#include "ipc/inform.h"
#include "platform/clock.h"
#include "platform/file_seam.h"
#include "platform/message_service.h"
#include "platform/shell.h"
#include "platform/window_services.h"
#include "store/profile_file.h"
#include "store/registry_store.h"

namespace halvard {

// Window timers of the session; the session end and the exit stop 2304-2319 at once.
enum SessionTimer : std::uint32_t {
  kTimerLoad = 2304,
  kTimerSave = 2305,
  kTimerIndicator = 2306,
  kTimerReset = 2309,
  kTimerMacroWrite = 2310,
  kTimerReconnect = 2314,
  kTimerReadHeaders = 2316,
  kTimerReadBodies = 2317,
  kTimerFileLoad = 2318,
  kTimerLinkedReload = 2319,
};
inline constexpr std::uint32_t kFirstSessionTimer = 2304;
inline constexpr std::uint32_t kLastSessionTimer = 2319;
inline constexpr std::uint32_t kCellTickMs = 10;
inline constexpr std::uint32_t kIndicatorTickMs = 300;
inline constexpr std::uint32_t kReconnectDelayMs = 5000;
inline constexpr std::uint32_t kBeginPauseMs = 40;
inline constexpr std::uint32_t kCellPauseMs = 10;
// Jobs of fewer pending cells than this are written at once, without popup or indicator.
inline constexpr std::size_t kTimedSeriesThreshold = 20;
inline constexpr std::size_t kTransferListSize = 16385;

// Picture shown, by the window's screen mode.
enum ScreenMode : std::int32_t {
  kScreenLoading = -1,
  kScreenNoDevice = 0,
  kScreenFullPage = 3,
  kScreenNone = 4,
};

// Device notices of the platform.
inline constexpr std::uint32_t kDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;

// What the device selection dialog tells the session while it runs.
class DeviceSelectionEvents {
 public:
  virtual ~DeviceSelectionEvents() = default;
  virtual void OnSelectionOpened() = 0;
  virtual void OnSelectionChanged(int entry) = 0;
  virtual void OnSelectionClosed() = 0;
};

// What the window shows for the session.
class SessionView {
 public:
  virtual ~SessionView() = default;
  // Centred with the warning plate's size, mode 0, YES shown (page controls hidden first when
  // `from` is the full page).
  virtual void ShowNoDeviceScreen(int from) = 0;
  // Centred with the full page's size, mode 3, YES hidden, page controls shown.
  virtual void ShowFullPage() = 0;
  virtual void HideYes() = 0;
  // (-100, -100), one pixel: the window is out of sight while the mouse loads.
  virtual void MoveOffScreen() = 0;
  virtual void HideWindow() = 0;
  virtual void RestoreAndShow() = 0;
  virtual void ShowTabs(int profile) = 0;
  virtual void ShowProfileName(std::u16string_view name) = 0;
  // Mode 3 only: the page controls off, or on again (APPLY and OK only with `applyAndOk`).
  virtual void EnablePageControls(bool enabled, bool applyAndOk) = 0;
  virtual void EnableApplyAndOk(bool enabled) = 0;
  virtual void ShowPopup() = 0;
  virtual void HidePopup() = 0;
  // Modal; the chosen entry, or -1 when cancelled.
  virtual int RunDeviceSelection(const std::vector<std::u16string>& entries, DeviceSelectionEvents& events) = 0;
  // The save offered before another profile is shown (prompt kind 353); true for OK.
  virtual bool AskApplyBeforeSwitch() = 0;
  // Ends the configuration and LED pages, cancels the macro editor and the prompt.
  virtual void EndPages() = 0;
  // Closes every page and the prompt, and ends the window's modal loop.
  virtual void EndProgram() = 0;
  virtual void ClearSelectedButton() = 0;
  virtual void RefreshButtonLabels() = 0;
  virtual void RefreshModeDisplay() = 0;
  virtual void RefillProfileList() = 0;
  virtual void ApplyPointerSettings(int profile) = 0;
  // From the revision query: 1 for firmware that knows the IME key.
  virtual void SetImeFlag(bool on) = 0;
};

struct SessionDeps {
  CHidClient& hid;
  CIcTessel& tessel;
  RegistryStore& store;
  ProfileFiles& profiles;
  WindowServices& windows;
  Clock& clock;
  MessageService& messages;
  FileSeam& files;
  ShellSeam& shell;
  SessionView& view;
  Hwnd window;  // the main window: timers, notifications
};

class DeviceSession : private DeviceSelectionEvents {
 public:
  explicit DeviceSession(SessionDeps deps);

  // Start-up flags.
  bool automationMode = false;
  bool hiddenStart = false;

  // Window life.
  // After the window's own set-up; true when a mouse was connected (the device description
  // fix-up follows then).
  bool Initialise();
  void OnDeviceChange(std::uint32_t event);
  void OnTimer(std::uint32_t id);
  std::intptr_t OnInformUi(std::uintptr_t code, std::intptr_t lParam);
  // True when the request connected a hidden start's first mouse.
  bool OnShowRequest();
  void OnCancel();
  void ExitSequence();

  // Session operations.
  void Connect();
  void EndSession();
  int LoadAll();
  void FinishLoad();
  int SelectProfile(int p);
  int ShowProfile(int p, bool force);
  void FollowProfile(int p);
  int ShowProfileName(int p);
  int SetProfileName(int p, std::u16string_view text);
  void ProgressStep();
  void LockForWindow(int code);
  void Unlock();
  void SetModified(bool on);
  void OnProfileTab(int p);
  // After a page closed on `pageProfile` (the pages' own endings are theirs).
  void AfterPage(int code, int pageProfile, bool ok);

  // Write-back and read-back.
  void ApplyChanges();
  int SaveProfile();
  int ResetProfile(int p, int kind);
  void FinishReset();
  int LoadProfileFile(int p, bool withName);
  // The profile list's and the profile manager's load: p takes the name, then the file of that
  // name; when the load cannot start, p keeps its old name.
  int LoadNamedProfileFile(int p, std::u16string_view name);
  int ReadBackProfile(int p);

  // State, read by the window and the pages.
  bool connected() const { return connected_; }
  bool busy() const { return busy_; }
  bool sessionReady() const { return sessionReady_; }
  bool modified() const { return modified_; }
  int foundCount() const { return foundCount_; }
  int selectedRow() const { return selectedRow_; }
  int currentProfile() const { return currentProfile_; }
  int routingCode() const { return routingCode_; }
  int screenMode() const { return screenMode_; }
  const char16_t* shownName() const { return shownName_; }
  bool transferRunning() const { return running_ != 0; }
  std::array<bool, kButtonCount>& macroAssigned() { return macroAssigned_; }
  const std::array<int, kProfileCount>& linkedQueue() const { return linkedQueue_; }
  // Jobs waiting for the running transfer to end.
  std::size_t QueuedJobs() const { return jobCount_; }

 private:
  enum class JobKind { kLinkedReload, kLoadFile, kReadBack };
  struct Job {
    JobKind kind;
    int profile;
    bool withName;
  };

  void OnSelectionOpened() override;
  void OnSelectionChanged(int entry) override;
  void OnSelectionClosed() override;

  int BuildTable();
  void StopSessionTimers();
  void StartTimer(std::uint32_t id, std::uint32_t ms = kCellTickMs);
  void Begin();
  void IndicatorStart();
  void IndicatorEnd(bool evenInAutomation = false);
  void PostOsd(std::uint32_t code, std::intptr_t value);
  void ShowNoDevice();
  void RecordOnMouse(int address, int value);
  bool WriteListAtOnce();
  bool CellAddressUsable(int address) const;
  bool ProfilePending(int p) const;
  void StartSeries(std::uint32_t id);
  int PopLinked();
  void ReplyReadBack(int result);
  void SeriesTick(std::uint32_t id);
  void SeriesEnding(std::uint32_t id);
  void LoadTick();
  void ReadBackTick(std::uint32_t id);
  void ReadBackEnd(int result);
  void StartLinkedChain();
  bool Enqueue(Job job);
  void RunQueuedJob();
  void LaunchApp(std::intptr_t lParam);
  int ActiveProfileCell() const { return tessel_.Value(kCellActiveProfile); }
  int OfferedProfiles() const { return ActiveProfileCell() >> 4; }

  CHidClient& hid_;
  CIcTessel& tessel_;
  RegistryStore& store_;
  ProfileFiles& profiles_;
  WindowServices& windows_;
  Clock& clock_;
  MessageService& messages_;
  FileSeam& files_;
  ShellSeam& shell_;
  SessionView& view_;
  Hwnd window_;
  InformSender inform_;

  bool connected_ = false;
  bool busy_ = false;
  bool sessionReady_ = false;
  bool modified_ = false;
  bool controlsLocked_ = false;
  std::int32_t foundCount_ = 0;
  std::int32_t selectedRow_ = 0;
  std::int32_t currentProfile_ = 0;
  char16_t shownName_[kNameMaxChars + 1] = {};
  std::int32_t routingCode_ = 0;
  std::int32_t screenMode_ = kScreenNone;
  std::array<std::uint16_t, kTransferListSize> transferList_{};
  std::int32_t transferCount_ = 0;
  std::int32_t transferCursor_ = 0;
  std::int32_t progressStep_ = 0;
  std::int32_t progressCounter_ = 0;
  std::int32_t readBackProfile_ = 0;
  Hwnd replyWindow_ = nullptr;
  std::int32_t resetKind_ = 1;
  std::array<int, kProfileCount> linkedQueue_{-1, -1, -1, -1, -1};
  std::array<bool, kButtonCount> macroAssigned_{};
  int shownEntry_ = 0;  // device selection dialog
  // Timer of the running timed transfer (0: none); further jobs wait for it.
  std::uint32_t running_ = 0;
  bool seriesFailed_ = false;
  std::array<Job, 8> jobs_{};
  std::size_t jobCount_ = 0;
};

}  // namespace halvard
