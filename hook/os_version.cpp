#include "hook/os_version.h"

namespace halvard {

std::uint16_t OsVersionCode(const OsVersionInfo& v) {
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
    case 6: return 8;
    default: return 9;
  }
}

}  // namespace halvard
