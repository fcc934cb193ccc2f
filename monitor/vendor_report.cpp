#include "monitor/vendor_report.h"

#include "ipc/messages.h"

namespace halvard {

namespace {
constexpr int kProfiles = 5;
constexpr int kLaunchEntries = kProfiles * 11;
constexpr std::uint8_t kLockBit = 0x10;
constexpr std::uint8_t kRateMask = 0x03;
}  // namespace

std::optional<VendorEvent> DecodeVendorReport(std::span<const std::uint8_t> report) {
  if (report.size() < kVendorReportSize || report[0] != kVendorReportId) return std::nullopt;
  VendorEvent e;
  const std::uint8_t state = report[2] & 0x77;  // bits 3 and 7 carry nothing
  const int level = state & 0x07;
  const int profile = state >> 4;
  switch (report[1]) {
    case kEventLaunch: {
      const std::uint32_t code = report[5] & 0x7F;
      if (code >= kLaunchEntries) return std::nullopt;
      e.type = kEventLaunch;
      e.launchCode = code;
      return e;
    }
    case kEventProfile:
    case kEventDpiLevel: {
      if (profile >= kProfiles) return std::nullopt;
      // A level change has to name a level; a profile change may come without one.
      const bool profileChanged = report[1] == kEventProfile;
      if (!profileChanged && level >= 4) return std::nullopt;
      e.type = static_cast<VendorEventType>(report[1]);
      e.code = OSD_DPI_STATE;
      e.word = state | (profileChanged ? DpiStateWord::kProfileChangedBit : 0u) |
               (static_cast<std::uint32_t>(report[3]) << 8) | (static_cast<std::uint32_t>(report[4]) << 16);
      return e;
    }
    case kEventLock:
      e.type = kEventLock;
      e.code = OSD_LOCK;
      e.word = (report[6] & kLockBit) != 0 ? 1u : 0u;
      return e;
    case kEventPollingRate:
      e.type = kEventPollingRate;
      e.code = OSD_POLLING_RATE;
      e.word = report[6] & kRateMask;
      return e;
    default:
      return std::nullopt;
  }
}

}  // namespace halvard
