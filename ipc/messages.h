// The contract between the processes: private message numbers, their codes, the handle values
// through which windows find each other, the routing by "Current Dialog", the packed words and
// the libraries' shared sections.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace halvard {

// Private messages, the same number in every deliverable.
inline constexpr std::uint32_t WM_INFORM_OSD = 0x9100;
inline constexpr std::uint32_t WM_INFORM_UI = 0x9101;
inline constexpr std::uint32_t WM_KEY_STATUS = 0x9102;
// Standard messages that cross the process boundary, to "Process Handle".
inline constexpr std::uint32_t kWmCommand = 0x0111;
inline constexpr std::uint32_t kWmClose = 0x0010;
inline constexpr std::uint32_t ID_SHOW_MAIN = 32774;

// WM_INFORM_OSD codes (wParam).
enum OsdCode : std::uint32_t {
  OSD_DPI_STATE = 0,
  OSD_ARROW = 1,
  OSD_SET_PROFILE = 5,
  OSD_DEVICE_FOUND = 6,
  OSD_LOCK = 7,
  OSD_POLLING_RATE = 8,
  OSD_MODE = 9,
  OSD_ENABLE = 12,
  OSD_X_FIRST = 15,
};
inline constexpr std::uint32_t kOsdArrowLeft = 3;
inline constexpr std::uint32_t kOsdArrowRight = 4;

// True for the codes the display window answers with 1.
constexpr bool IsOsdCode(std::uint32_t code) {
  switch (code) {
    case OSD_DPI_STATE: case OSD_ARROW: case OSD_SET_PROFILE: case OSD_DEVICE_FOUND: case OSD_LOCK:
    case OSD_POLLING_RATE: case OSD_MODE: case OSD_ENABLE: case OSD_X_FIRST:
      return true;
    default:
      return false;
  }
}

// WM_INFORM_UI codes (wParam).
enum UiCode : std::uint32_t {
  UI_DPI_STATE = 0,
  UI_LAUNCH_APP = 2,
  UI_LOCK = 7,
  UI_POLLING_RATE = 8,
  UI_MODE = 9,
  UI_PROFILE_FILES_CHANGED = 10,
  UI_READ_PROFILE = 11,
  UI_SET_PROFILE_NAME = 13,
  UI_LIST_EDIT_DONE = 14,
  UI_RECORDED_KEY = 16,
};

// Polling-rate codes of OSD_POLLING_RATE and UI_POLLING_RATE.
inline constexpr std::uint32_t kPollingRateHz[4] = {1000, 500, 250, 125};

// WM_KEY_STATUS wParam: the label category of the pointed-at button.
enum KeyStatusCategory : std::uint32_t {
  kKeyMacro = 0,
  kKeySingleFunction = 1,
  kKeyFactoryFunction = 2,
  kKeyApplication = 3,
  kKeyUnassigned = 6,
};

// Handle values under "Software\Halvard" (REG_DWORD; 0 and -1 mean no window).
inline constexpr std::u16string_view kOsdHandle = u"OSD Handle";
inline constexpr std::u16string_view kProcessHandle = u"Process Handle";
inline constexpr std::u16string_view kCurrentDialog = u"Current Dialog";
inline constexpr std::u16string_view kConfigureHandle = u"Configure Handle";
inline constexpr std::u16string_view kMacroEditHandle = u"Macro Edit Handle";
inline constexpr std::u16string_view kLedEditHandle = u"LED Edit Handle";
inline constexpr std::u16string_view kProfileManagerHandle = u"Profile Manager Handle";
inline constexpr std::u16string_view kMacroRecordStart = u"Macro Record start";
inline constexpr std::u16string_view kMonitorHandle = u"Monitor Handle";

// Routing codes of "Current Dialog".
enum RoutingCode : std::int32_t {
  kRouteMainWindow = 0,
  kRouteConfigure = 1,
  kRouteMacroEditor = 2,
  kRouteLedPage = 3,
  kRoutePrompt = 4,
  kRouteProfileManager = 5,
};

// The handle value that receives device events for a routing code; none (dropped) for a prompt,
// the profile manager and anything unknown.
constexpr std::optional<std::u16string_view> RouteHandleName(std::int32_t currentDialog) {
  switch (currentDialog) {
    case kRouteMainWindow: return kProcessHandle;
    case kRouteConfigure: return kConfigureHandle;
    case kRouteMacroEditor: return kMacroEditHandle;
    case kRouteLedPage: return kLedEditHandle;
    default: return std::nullopt;
  }
}

// A handle value names a window only when it is neither 0 nor -1.
constexpr bool HandleUsable(std::int32_t value) { return value != 0 && value != -1; }

// The lParam of OSD_DPI_STATE and UI_DPI_STATE.
struct DpiStateWord {
  std::uint8_t level = 0;         // 0-3; 4 or more: no level
  std::uint8_t profile = 0;       // 0-4
  bool profileChanged = false;    // show the profile rather than the level's DPI
  std::uint8_t xCode = 0;         // DPI / 50
  std::uint8_t yCode = 0;

  static constexpr std::uint32_t kLevelMask = 0x07;
  static constexpr std::uint32_t kProfileShift = 4;
  static constexpr std::uint32_t kProfileMask = 0x70;
  static constexpr std::uint32_t kProfileChangedBit = 0x80;

  constexpr std::uint32_t Pack() const {
    return (level & kLevelMask) | ((static_cast<std::uint32_t>(profile) << kProfileShift) & kProfileMask) |
           (profileChanged ? kProfileChangedBit : 0u) | (static_cast<std::uint32_t>(xCode) << 8) |
           (static_cast<std::uint32_t>(yCode) << 16);
  }
  // Bit 3 and bits 24-31 are ignored.
  static constexpr DpiStateWord Unpack(std::uint32_t word) {
    DpiStateWord w;
    w.level = static_cast<std::uint8_t>(word & kLevelMask);
    w.profile = static_cast<std::uint8_t>((word & kProfileMask) >> kProfileShift);
    w.profileChanged = (word & kProfileChangedBit) != 0;
    w.xCode = static_cast<std::uint8_t>(word >> 8);
    w.yCode = static_cast<std::uint8_t>(word >> 16);
    return w;
  }
  constexpr bool HasLevel() const { return level < 4; }
  friend constexpr bool operator==(const DpiStateWord&, const DpiStateWord&) = default;
};

// The word the main window sends on a profile change: no level, show the profile.
constexpr std::uint32_t ProfileChangeWord(int profile) { return 0x84u + 16u * static_cast<std::uint32_t>(profile); }

// The lParam of UI_RECORDED_KEY: the virtual-key code, bit 31 for a release.
inline constexpr std::uint32_t kKeyReleasedBit = 0x80000000u;
constexpr std::uint32_t PackRecordedKey(std::uint32_t vk, bool released) {
  return (vk & 0x7FFFFFFFu) | (released ? kKeyReleasedBit : 0u);
}
constexpr std::uint32_t RecordedKeyCode(std::uint32_t word) { return word & 0x7FFFFFFFu; }
constexpr bool RecordedKeyReleased(std::uint32_t word) { return (word & kKeyReleasedBit) != 0; }

// The display library's shared section: the DPI codes of levels 1-4 as last reported.
struct OsdSharedSection {
  std::int32_t xCodes[4];
  std::int32_t yCodes[4];
};
static_assert(sizeof(OsdSharedSection) == 32);
static_assert(offsetof(OsdSharedSection, yCodes) == 16);

// The hook library's shared section.
struct HookSharedSection {
  std::int16_t wheelDelta;    // high word of the last mouse-data word
  std::int16_t padding;
  std::uint32_t keyboardHook; // 0 when none is installed
};
static_assert(sizeof(HookSharedSection) == 8);
static_assert(offsetof(HookSharedSection, keyboardHook) == 4);

}  // namespace halvard
