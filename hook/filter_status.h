// The kernel filter device's answers: the one-byte report query (0xE1) and the six-byte status
// record (0xE3), both answered in place through an ordinary read, and what a status record asks
// the suite to do.
#pragma once

#include <array>
#include <cstdint>

namespace halvard {

inline constexpr std::uint8_t kFilterReportRequest = 0xE1;
inline constexpr std::uint8_t kFilterStatusRequest = 0xE3;
inline constexpr std::size_t kFilterStatusBytes = 6;
// Byte 0 of a status record when nothing is pending (unless byte 5 carries an event).
inline constexpr std::uint8_t kFilterNothingPending = 0xFF;
inline constexpr std::uint8_t kFilterLockEvent = 0x80;
inline constexpr std::uint8_t kFilterLockState = 0x10;
inline constexpr std::uint8_t kFilterRateEvent = 0x08;
inline constexpr std::uint8_t kFilterRateMask = 0x03;

using FilterStatus = std::array<std::uint8_t, kFilterStatusBytes>;

// The device behind "\\.\KestrovaHalvardDevice": opened for every query and closed again.
class FilterDevice {
 public:
  virtual ~FilterDevice() = default;
  virtual bool Open() = 0;
  // Reads `length` bytes into `buffer`, whose first byte carries the request; a short read fails.
  virtual bool Read(std::uint8_t* buffer, std::uint32_t length) = 0;
  virtual void Close() = 0;
};

// 1 when the read succeeded; on a failed read the byte becomes 0xFF. No device: 0, byte unchanged.
int QueryFilterReport(FilterDevice& device, std::uint8_t& report);
// 1 when the read succeeded and the record has something pending. No device: 0, unchanged.
int QueryFilterStatus(FilterDevice& device, std::uint8_t* status);

constexpr bool FilterStatusPending(const std::uint8_t* s) {
  return s[0] != kFilterNothingPending || (s[5] & (kFilterLockEvent | kFilterRateEvent)) != 0;
}

// What one pending status record asks for, in the order the record is examined.
struct FilterEvent {
  enum class Kind {
    kIgnored,      // the record names a profile, level or launch code that does not exist
    kLaunch,       // value: launch code (bit 7 kept, as the launch operation ignores it)
    kLock,         // value: 1 locked, 0 unlocked
    kPollingRate,  // value: rate code 0-3
    kDpiState,     // value: the DpiStateWord
  };
  Kind kind = Kind::kIgnored;
  std::uint32_t value = 0;
  friend constexpr bool operator==(const FilterEvent&, const FilterEvent&) = default;
};

FilterEvent DecodeFilterStatus(const std::uint8_t* status);

}  // namespace halvard
