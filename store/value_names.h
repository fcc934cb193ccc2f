// Names of the values under "Software\Halvard" and the rules for reading them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace halvard {

// Installation values, written outside the suite.
inline constexpr std::u16string_view kValuePath = u"Path";
inline constexpr std::u16string_view kValueLocateApp = u"Locate APP";
inline constexpr std::u16string_view kValueLanguage = u"Language";
inline constexpr std::u16string_view kValueDisableTray = u"Disable System Tray";
inline constexpr std::u16string_view kValueDisableOsd = u"Disable OSD";

// The name the main program gives the application framework for its own settings.
inline constexpr std::u16string_view kAppRegistryName = u"Vornex Halvard Gaming Mouse";

enum class PointerSetting { kMotionSpeed, kDoubleClickSpeed, kWheelScrollLines };
enum class ButtonValue { kMacroName, kApplication, kApplicationName };

// "PF0 X-Y DPI Enabled" for profile index 0.
std::u16string XyFlagName(int profile);
// "PF1 Motion Speed" for profile index 0: these are numbered from 1.
std::u16string PointerSettingName(int profile, PointerSetting which);
// "PF0T1 AP" for profile index 0 and button index 0.
std::u16string ButtonValueName(int profile, int button, ButtonValue which);

// The hook library's event number n (0-54): profile n / 11, button index n mod 11.
struct ProfileButton {
  int profile;
  int button;
};
std::optional<ProfileButton> ProfileButtonFromNumber(std::int64_t n);

// Reading rules: 0 and -1 (missing) both mean a pointer setting is not set; only 1 sets the X-Y
// flag.
constexpr bool PointerSettingSet(std::int32_t v) { return v != 0 && v != -1; }
constexpr bool XyFlagSet(std::int32_t v) { return v == 1; }

}  // namespace halvard
