#include <gtest/gtest.h>

#include <vector>

#include "ipc/messages.h"
#include "monitor/vendor_report.h"

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct GoodCase {
  const char* what;
  Bytes report;
  VendorEvent expected;
};

TEST(VendorReport, DecodesEveryEventKind) {
  const GoodCase cases[] = {
      {"launch, bit 7 ignored", {0xA4, 0, 0x21, 32, 32, 0x80 | 12, 0}, {kEventLaunch, 12, 0, 0}},
      {"last launch entry", {0xA4, 0, 0, 0, 0, 54, 0}, {kEventLaunch, 54, 0, 0}},
      {"profile change with level", {0xA4, 1, 0x21, 32, 33, 0, 0},
       {kEventProfile, 0, OSD_DPI_STATE, 0x21 | 0x80 | (32 << 8) | (33 << 16)}},
      {"profile change, bits 3 and 7 dropped", {0xA4, 1, 0x8B, 16, 16, 0, 0},
       {kEventProfile, 0, OSD_DPI_STATE, 0x03 | 0x80 | (16 << 8) | (16 << 16)}},
      {"profile change without level", {0xA4, 1, 0x44, 0, 0, 0, 0}, {kEventProfile, 0, OSD_DPI_STATE, 0xC4}},
      {"dpi level", {0xA4, 2, 0x43, 100, 64, 0, 0},
       {kEventDpiLevel, 0, OSD_DPI_STATE, 0x43 | (100 << 8) | (64 << 16)}},
      {"locked", {0xA4, 3, 0, 0, 0, 0, 0x13}, {kEventLock, 0, OSD_LOCK, 1}},
      {"unlocked", {0xA4, 3, 0, 0, 0, 0, 0xEF}, {kEventLock, 0, OSD_LOCK, 0}},
      {"polling 125 Hz", {0xA4, 4, 0, 0, 0, 0, 0xF3}, {kEventPollingRate, 0, OSD_POLLING_RATE, 3}},
      {"longer report: the first seven bytes count", {0xA4, 4, 0, 0, 0, 0, 1, 9, 9},
       {kEventPollingRate, 0, OSD_POLLING_RATE, 1}},
  };
  for (const auto& c : cases) {
    auto e = DecodeVendorReport(c.report);
    ASSERT_TRUE(e.has_value()) << c.what;
    EXPECT_EQ(*e, c.expected) << c.what;
  }
  // The word unpacks to what the report said.
  auto e = DecodeVendorReport(Bytes{0xA4, 2, 0x32, 40, 41, 0, 0});
  ASSERT_TRUE(e);
  EXPECT_EQ(DpiStateWord::Unpack(e->word), (DpiStateWord{2, 3, false, 40, 41}));
}

TEST(VendorReport, IgnoresShortForeignAndOutOfRangeReports) {
  const std::pair<const char*, Bytes> cases[] = {
      {"empty", {}},
      {"six bytes", {0xA4, 4, 0, 0, 0, 0}},
      {"other report id", {0xA5, 1, 0x10, 16, 16, 0, 0}},
      {"type 5", {0xA4, 5, 0x10, 16, 16, 0, 0}},
      {"type 0xFF", {0xA4, 0xFF, 0x10, 16, 16, 0, 0}},
      {"profile 5", {0xA4, 1, 0x50, 16, 16, 0, 0}},
      {"profile 7 on a level change", {0xA4, 2, 0x71, 16, 16, 0, 0}},
      {"level change without a level", {0xA4, 2, 0x14, 16, 16, 0, 0}},
      {"launch entry 55", {0xA4, 0, 0, 0, 0, 55, 0}},
      {"launch entry 127", {0xA4, 0, 0, 0, 0, 0xFF, 0}},
  };
  for (const auto& [what, report] : cases) EXPECT_FALSE(DecodeVendorReport(report).has_value()) << what;
}

}  // namespace
}  // namespace halvard
