#include "store/value_names.h"

#include "platform/text.h"

namespace halvard {

std::u16string XyFlagName(int profile) {
  std::u16string s = u"PF";
  AppendDecimal(s, profile);
  return s + u" X-Y DPI Enabled";
}

std::u16string PointerSettingName(int profile, PointerSetting which) {
  std::u16string s = u"PF";
  AppendDecimal(s, profile + 1);
  switch (which) {
    case PointerSetting::kMotionSpeed: return s + u" Motion Speed";
    case PointerSetting::kDoubleClickSpeed: return s + u" Double-Click_speed";
    default: return s + u" Wheel Scroll Lines";
  }
}

std::u16string ButtonValueName(int profile, int button, ButtonValue which) {
  std::u16string s = u"PF";
  AppendDecimal(s, profile);
  s += u'T';
  AppendDecimal(s, button + 1);
  switch (which) {
    case ButtonValue::kMacroName: return s + u" Macro Name";
    case ButtonValue::kApplication: return s + u" AP";
    default: return s + u" AP Name";
  }
}

std::optional<ProfileButton> ProfileButtonFromNumber(std::int64_t n) {
  if (n < 0 || n > 54) return std::nullopt;
  return ProfileButton{static_cast<int>(n / 11), static_cast<int>(n % 11)};
}

}  // namespace halvard
