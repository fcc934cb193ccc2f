// The registry values that hold the application assigned to a button, as the fixed 40-byte
// 8-bit names the launch operation reads ("PF0T1 AP" to "PF4T11 AP"), and the launch code that
// picks one of them.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "store/value_names.h"

namespace halvard {

inline constexpr int kLaunchProfiles = 5;
inline constexpr int kLaunchButtons = 11;
inline constexpr std::size_t kLaunchNameBytes = 40;
// Bit 7 of a launch code carries nothing.
inline constexpr std::uint32_t kLaunchCodeMask = 0x7F;

using LaunchName = std::array<char, kLaunchNameBytes>;
using LaunchTable = std::array<std::array<LaunchName, kLaunchButtons>, kLaunchProfiles>;

namespace detail {
constexpr LaunchName MakeLaunchName(int profile, int button) {
  LaunchName name{};
  std::size_t i = 0;
  name[i++] = 'P';
  name[i++] = 'F';
  name[i++] = static_cast<char>('0' + profile);
  name[i++] = 'T';
  int number = button + 1;
  if (number >= 10) name[i++] = static_cast<char>('0' + number / 10);
  name[i++] = static_cast<char>('0' + number % 10);
  for (char c : {' ', 'A', 'P'}) name[i++] = c;
  return name;
}
constexpr LaunchTable MakeLaunchTable() {
  LaunchTable table{};
  for (int p = 0; p < kLaunchProfiles; ++p)
    for (int b = 0; b < kLaunchButtons; ++b) table[p][b] = MakeLaunchName(p, b);
  return table;
}
}  // namespace detail

inline constexpr LaunchTable kLaunchTable = detail::MakeLaunchTable();

// The table entry a launch code names (profile code / 11, button code mod 11, bit 7 ignored);
// none for codes past the last profile.
inline std::optional<ProfileButton> LaunchTarget(std::uint32_t code) {
  return ProfileButtonFromNumber(code & kLaunchCodeMask);
}

}  // namespace halvard
