#include "hook/filter_status.h"

#include "hook/launch_table.h"

namespace halvard {

int QueryFilterReport(FilterDevice& device, std::uint8_t& report) {
  if (!device.Open()) return 0;
  report = kFilterReportRequest;
  bool ok = device.Read(&report, 1);
  device.Close();
  if (!ok) report = 0xFF;
  return ok ? 1 : 0;
}

int QueryFilterStatus(FilterDevice& device, std::uint8_t* status) {
  if (!device.Open()) return 0;
  status[0] = kFilterStatusRequest;
  bool ok = device.Read(status, kFilterStatusBytes);
  device.Close();
  return ok && FilterStatusPending(status) ? 1 : 0;
}

FilterEvent DecodeFilterStatus(const std::uint8_t* s) {
  using Kind = FilterEvent::Kind;
  if (s[2] != 0) {
    // A code past the table would name a value nobody stores.
    if (!LaunchTarget(s[2])) return {Kind::kIgnored, 0};
    return {Kind::kLaunch, s[2]};
  }
  if (s[5] & kFilterLockEvent) return {Kind::kLock, (s[5] & kFilterLockState) ? 1u : 0u};
  if (s[5] & kFilterRateEvent) return {Kind::kPollingRate, static_cast<std::uint32_t>(s[5] & kFilterRateMask)};
  const std::uint32_t level = s[1] & 0x07, profile = s[0] & 0x07;
  if (profile > 4 || level > 3) return {Kind::kIgnored, 0};
  // Level bits 0-3 and profile bits 0-3 (with the change flag) side by side, then the codes.
  std::uint32_t word = (s[1] & 0x0Fu) | ((s[0] & 0x0Fu) << 4) | (static_cast<std::uint32_t>(s[3]) << 8) |
                       (static_cast<std::uint32_t>(s[4]) << 16);
  return {Kind::kDpiState, word};
}

}  // namespace halvard
