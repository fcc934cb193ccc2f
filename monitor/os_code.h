// The monitor's operating-system code, from the system's version information.
#pragma once

#include <cstdint>

namespace halvard {

struct MonitorOsInfo {
  bool known = false;  // the version query succeeded
  bool nt = false;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;  // before NT the high word tells the release
};

// Before NT: 0, 2, 3 or 7 by release; NT: 4 for 3.x, 5 for 4.x and 5.0, 7 for 5.1 and later 5.x,
// 8 for 6.0, 9 for later; 7 when unknown.
constexpr int MonitorOsCode(const MonitorOsInfo& v) {
  if (!v.known) return 7;
  if (!v.nt) {
    switch (v.build >> 16) {
      case 0x0400: return 0;
      case 0x040A: return 2;
      case 0x045A: return 3;
      default: return 7;
    }
  }
  switch (v.major) {
    case 3: return 4;
    case 4: return 5;
    case 5: return v.minor == 0 ? 5 : 7;
    case 6: return v.minor == 0 ? 8 : 9;
    default: return 9;
  }
}

}  // namespace halvard
