// The events file between `simmouse event` and the monitor in simulation mode.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "device/image_hid.h"
#include "monitor/vendor_report.h"

namespace halvard {
namespace {

TEST(EventsFile, ReaderTakesOnlyNewWholeReports) {
  const std::string image =
      (std::filesystem::temp_directory_path() / ("monitor-events-" + std::to_string(::getpid()) + ".img")).string();
  const std::string events = EventsPathOf(image);
  std::remove(events.c_str());
  const std::uint8_t a[7] = {0xA4, 1, 0x10, 16, 16, 0, 0}, b[7] = {0xA4, 2, 0x11, 32, 32, 0, 0};

  std::uint64_t offset = kEventsFromNow;
  EXPECT_TRUE(ReadNewImageEvents(image, &offset, kVendorReportSize).empty()) << "no file yet";
  ASSERT_TRUE(AppendImageEvent(image, a, 7));
  std::uint64_t late = kEventsFromNow;
  EXPECT_TRUE(ReadNewImageEvents(image, &late, kVendorReportSize).empty()) << "what was there before is old";
  EXPECT_EQ(late, 7u);

  auto got = ReadNewImageEvents(image, &offset, kVendorReportSize);
  EXPECT_EQ(got, std::vector<std::uint8_t>(a, a + 7));
  // Half a report waits for its rest.
  ASSERT_TRUE(AppendImageEvent(image, b, 3));
  EXPECT_TRUE(ReadNewImageEvents(image, &offset, kVendorReportSize).empty());
  ASSERT_TRUE(AppendImageEvent(image, b + 3, 4));
  ASSERT_TRUE(AppendImageEvent(image, a, 7));
  got = ReadNewImageEvents(image, &offset, kVendorReportSize);
  ASSERT_EQ(got.size(), 14u);
  EXPECT_EQ(std::vector<std::uint8_t>(got.begin(), got.begin() + 7), std::vector<std::uint8_t>(b, b + 7));
  EXPECT_EQ(offset, 21u);

  // A file made anew and shorter: the reader starts at its end instead of reading past it.
  std::ofstream(events, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(a), 7);
  EXPECT_TRUE(ReadNewImageEvents(image, &offset, kVendorReportSize).empty());
  EXPECT_EQ(offset, 7u);
  ASSERT_TRUE(AppendImageEvent(image, b, 7));
  EXPECT_EQ(ReadNewImageEvents(image, &offset, kVendorReportSize), std::vector<std::uint8_t>(b, b + 7));
  std::remove(events.c_str());
}

}  // namespace
}  // namespace halvard
