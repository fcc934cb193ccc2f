// The operating-system code of the hook library, from the system's version information.
#pragma once

#include <cstdint>

namespace halvard {

struct OsVersionInfo {
  bool known = false;  // the version query succeeded
  bool nt = false;     // NT platform
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
};

// 0 Windows 95, 2 Windows 98, 3 Windows Me, 4 NT 3, 5 NT 4 and 5.0, 7 NT 5.1/5.2 and any other
// or unknown version, 8 NT 6.x, 9 any later NT.
std::uint16_t OsVersionCode(const OsVersionInfo& info);

// From code 7 on, the system may run 32-bit processes on a 64-bit system.
constexpr bool OsMayRunWow64(std::uint16_t code) { return code >= 7; }

}  // namespace halvard
