// Which low-level key events are keys the system keeps for itself (the Windows keys, Print
// Screen, Ctrl+Esc, Alt+Tab, Alt+Esc), so that a recording macro editor must get them from the
// system-wide hook rather than from its own thread.
#pragma once

#include <cstdint>

namespace halvard {

inline constexpr std::uint32_t kVkTab = 0x09;
inline constexpr std::uint32_t kVkControl = 0x11;
inline constexpr std::uint32_t kVkMenu = 0x12;
inline constexpr std::uint32_t kVkEscape = 0x1B;
inline constexpr std::uint32_t kVkSnapshot = 0x2C;
inline constexpr std::uint32_t kVkLeftWin = 0x5B;
inline constexpr std::uint32_t kVkRightWin = 0x5C;
inline constexpr std::uint32_t kVkLeftMenu = 0xA4;
inline constexpr std::uint32_t kVkRightMenu = 0xA5;

// Flags of a low-level keyboard event.
inline constexpr std::uint32_t kKeyFlagAltDown = 0x20;
inline constexpr std::uint32_t kKeyFlagUp = 0x80;

struct LowLevelKey {
  std::uint32_t vk = 0;
  std::uint32_t flags = 0;
  bool Released() const { return (flags & kKeyFlagUp) != 0; }
};

class KeyboardFilter {
 public:
  // Presses and releases both count. `ctrlDown`: Control is held at this moment. Every event
  // must pass through here, since Alt is also followed by its own presses and releases: not
  // every system sets the Alt-down flag on low-level events.
  bool IsSystemKey(const LowLevelKey& key, bool ctrlDown);

  bool AltHeld() const { return leftAlt_ || rightAlt_; }

 private:
  bool leftAlt_ = false;
  bool rightAlt_ = false;
};

}  // namespace halvard
