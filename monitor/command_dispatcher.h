// CCommandDispatcher: everything the background monitor decides. The Win32 side creates the
// window, the tray icon and the Raw Input registration and hands each message to one of these
// handlers; the handlers reach the system only through the seams.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "device/hid_client.h"
#include "ipc/inform.h"
#include "monitor/vendor_report.h"
#include "platform/clock.h"
#include "platform/file_seam.h"
#include "platform/shell.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

// Commands of the tray menu.
inline constexpr std::uint32_t ID_LOAD_CONFIGURATION = 2000;
inline constexpr std::uint32_t ID_GO_TO_WEBSITE = 2001;
inline constexpr std::uint32_t ID_TOGGLE_OSD = 2002;
inline constexpr std::uint32_t ID_EXIT = 2100;

// One-shot timers of the hidden window.
inline constexpr std::uint32_t TIMER_ARRIVAL_CHECK = 0x4000;
inline constexpr std::uint32_t TIMER_REMOVAL_CHECK = 0x4001;
inline constexpr std::uint32_t TIMER_START_MAIN = 0x4002;
inline constexpr std::uint32_t kCheckDelayMs = 300;
inline constexpr std::uint32_t kStartMainDelayMs = 500;
inline constexpr std::uint32_t kIndicatorPauseMs = 100;

inline constexpr std::uint32_t kDeviceArrival = 0x8000;
inline constexpr std::uint32_t kDeviceRemoveComplete = 0x8004;
inline constexpr std::uint32_t kTrayRightDown = 0x0204;
inline constexpr std::uint32_t kTrayDoubleClick = 0x0203;
// Raw Input mouse button flags of the side buttons.
inline constexpr std::uint16_t kRawButton4Down = 0x0040;
inline constexpr std::uint16_t kRawButton5Down = 0x0100;

inline constexpr std::size_t kMonitorPathChars = 1024;
inline constexpr std::u16string_view kMainProgramName = u"Halvard.exe";
inline constexpr std::u16string_view kAutomationSwitch = u"/Automation";
inline constexpr std::u16string_view kMonitorMutexName = u"Halvard  Monitor";
inline constexpr std::u16string_view kWebsite = u"https://www.vornex.example/";

// The indicator-end control command sent once to each mouse found at start.
inline constexpr std::uint8_t kIndicatorEndReport[9] = {0x00, 0xC4, 0x03, 0x03, 0x03, 0x00, 0x00, 0x00, 0x00};

// What the window side shows; the dispatcher decides when.
class MonitorWindow {
 public:
  virtual ~MonitorWindow() = default;
  virtual void SetOsdMenuText(bool osdEnabled) = 0;  // menu position 2
  virtual void ShowTrayMenu() = 0;
  virtual void Destroy() = 0;
};

struct DeviceIdentity {
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
  std::uint16_t version = 0;
};

struct MonitorDeps {
  RegistrySeam& registry;
  WindowServices& windows;
  FileSeam& files;
  ShellSeam& shell;
  Clock& clock;
  CHidClient& hid;
  MonitorWindow& window;
};

// "/Automation" anywhere in the command line, letter case as written.
constexpr bool HasAutomationSwitch(std::u16string_view commandLine) {
  return commandLine.find(kAutomationSwitch) != std::u16string_view::npos;
}

// The vendor and product ids in a Raw Input device name ("\\?\HID#VID_2E4A&PID_1C07#..."): the
// four characters after the first "VID_" and "PID_", ignoring case; a non-digit counts as 0.
DeviceIdentity IdentityFromDeviceName(std::u16string_view name);
bool IsMonitoredMouse(std::uint16_t vendorId, std::uint16_t productId);

class CCommandDispatcher {
 public:
  explicit CCommandDispatcher(const MonitorDeps& deps);
  CCommandDispatcher(const CCommandDispatcher&) = delete;
  CCommandDispatcher& operator=(const CCommandDispatcher&) = delete;

  // Start-up, first part: keeps the window and finds the main program.
  void BeginCreate(Hwnd window);
  // The tray is wanted unless "Disable System Tray" is above 0; its texts follow "Language".
  bool TrayWanted();
  std::int32_t TrayLanguage();
  // Start-up, rest: publishes the window, sets up the display, registers for device changes,
  // looks for the mouse and, unless started for automation, arms the main program's start.
  void FinishCreate(bool trayPresent, bool automationStart);

  void OnCommand(std::uint32_t id);
  void OnTrayNotify(std::uint32_t mouseMessage);
  void OnDeviceChange(std::uint32_t event);
  void OnTimer(std::uint32_t id);
  // A HID report from Raw Input and the device it came from; 1 when it was a vendor event of the
  // monitored mouse (handled or ignored as out of range).
  int OnHidInput(std::span<const std::uint8_t> report, const DeviceIdentity& source);
  // Mouse input: the side buttons of the monitored mouse show an arrow.
  void OnMouseButtons(std::uint16_t buttonFlags, std::u16string_view deviceName);
  void HandleEvent(const VendorEvent& event);

  // Starts the application of a launch code (profile x 11 + button, bit 7 ignored).
  void LaunchApplication(std::uint32_t code);
  // The first of ".\name", the name, "Path"\name and the monitor's folder\name that opens; none
  // when no candidate opens or fits the 1024-character buffer.
  std::optional<std::u16string> LocateFile(std::u16string_view name);
  // Starts a program that exists; nothing for an empty or unreadable path.
  bool StartProgram(std::u16string_view path);
  // A path value of at most 1023 characters; a longer one is refused rather than cut.
  std::optional<std::u16string> ReadPathValue(std::u16string_view name);

  bool DevicePresent() const { return devicePresent_; }
  bool OsdEnabled() const { return osdEnabled_; }
  const std::u16string& MainProgramPath() const { return mainProgram_; }
  RegistryStore& Registry() { return store_; }

 private:
  bool Enumerate();
  void LoadConfiguration();
  void ToggleOsd();
  void Exit();
  Hwnd LiveHandle(std::u16string_view name);
  void PostSelf(std::uint32_t command);

  MonitorDeps deps_;
  RegistryStore store_;
  InformSender sender_;
  Hwnd window_ = nullptr;
  bool trayPresent_ = false;
  std::u16string mainProgram_;
  bool osdEnabled_ = true;
  bool devicePresent_ = false;
};

}  // namespace halvard
