#include "hook/keyboard_filter.h"

namespace halvard {

bool KeyboardFilter::IsSystemKey(const LowLevelKey& key, bool ctrlDown) {
  switch (key.vk) {
    case kVkMenu:
    case kVkLeftMenu:
      leftAlt_ = !key.Released();
      return false;
    case kVkRightMenu:
      rightAlt_ = !key.Released();
      return false;
    default:
      break;
  }
  const bool alt = (key.flags & kKeyFlagAltDown) != 0 || AltHeld();
  switch (key.vk) {
    case kVkEscape: return ctrlDown || alt;
    case kVkTab: return alt;
    case kVkLeftWin:
    case kVkRightWin:
    case kVkSnapshot: return true;
    default: return false;
  }
}

}  // namespace halvard
