// The mouse's vendor event report (id 0xA4) and what the monitor makes of it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace halvard {

inline constexpr std::uint8_t kVendorReportId = 0xA4;
inline constexpr std::size_t kVendorReportSize = 7;
// The Raw Input collections the monitor registers for.
inline constexpr std::uint16_t kVendorUsagePage = 0x08;
inline constexpr std::uint16_t kVendorUsage = 0x4B;
inline constexpr std::uint16_t kMonitoredVersion = 0x2002;

enum VendorEventType : std::uint8_t {
  kEventLaunch = 0,
  kEventProfile = 1,
  kEventDpiLevel = 2,
  kEventLock = 3,
  kEventPollingRate = 4,
};

// One decoded report: either an application start or a message for the main program's routed
// window and the display, both with the same code and word.
struct VendorEvent {
  VendorEventType type = kEventLaunch;
  std::uint32_t launchCode = 0;  // kEventLaunch: profile x 11 + button
  std::uint32_t code = 0;        // UI_ / OSD_ code of the fan-out
  std::uint32_t word = 0;        // their lParam
  friend bool operator==(const VendorEvent&, const VendorEvent&) = default;
};

// None for a report that is too short, is not 0xA4, has an unknown type, or names a profile,
// level or launch entry that does not exist.
std::optional<VendorEvent> DecodeVendorReport(std::span<const std::uint8_t> report);

}  // namespace halvard
