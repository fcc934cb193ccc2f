#include "device/simulated_mouse.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "device/memory_map.h"

namespace halvard {
namespace {

TEST(SimulatedMouse, StartsWithFactoryContentsAndItsIdentity) {
  SimulatedMouse m(nullptr, 0x2001);
  EXPECT_EQ(m.Cell(186), 0x6D);
  EXPECT_EQ(m.Cell(187), 0x20);
  EXPECT_EQ(m.Cell(140), 0x50);
  EXPECT_EQ(m.Cell(B(3) + 11), 0x23);
  EXPECT_EQ(m.Cell(N(1) + 1), 'D');
  EXPECT_EQ(m.Cell(M(0)), 0);
  m.SetVersion(0x2002);
  EXPECT_EQ(m.Cell(187), 0xA5);
}

TEST(SimulatedMouse, TracesEveryReportWithItsTimeAndOutcome) {
  VirtualClock clock;
  SimulatedMouse m(&clock);
  std::uint8_t write[9] = {0, 0xDE, 0x10, 0x33, 0x00, 0, 0, 0, 0};
  clock.Advance(5);
  ASSERT_TRUE(m.SetFeature(write, 9));
  clock.Advance(7);
  m.FailSetFeature(1);
  EXPECT_FALSE(m.SetFeature(write, 9));
  EXPECT_FALSE(m.SetFeature(write, 8));  // a report is 9 bytes
  ASSERT_EQ(m.Trace().size(), 3u);
  EXPECT_EQ(m.Trace()[0].timeMs, 5u);
  EXPECT_TRUE(m.Trace()[0].ok);
  EXPECT_EQ(m.Trace()[1].timeMs, 12u);
  EXPECT_FALSE(m.Trace()[1].ok);
  EXPECT_EQ(m.Cell(0x10), 0x33);
}

TEST(SimulatedMouse, ControlCommandsAreRecordedAndSelectProfileKeepsTheProfileCount) {
  SimulatedMouse m;
  std::uint8_t select[9] = {0, 0xC4, 0x07, 4, 0, 0, 0, 0, 0};
  ASSERT_TRUE(m.SetFeature(select, 9));
  EXPECT_EQ(m.Cell(140), 0x54);
  std::uint8_t bad[9] = {0, 0xC4, 0x07, 9, 0, 0, 0, 0, 0};
  ASSERT_TRUE(m.SetFeature(bad, 9));
  EXPECT_EQ(m.Cell(140), 0x54);
  ASSERT_EQ(m.Controls().size(), 2u);
  EXPECT_EQ(m.Controls()[0].sub, 0x07);
}

TEST(SimulatedMouse, ImageRoundTripAndRejection) {
  SimulatedMouse a(nullptr, 0x2001);
  a.SetRevision(9);
  a.SetCell(0x3FFF, 0xAB);
  std::string path = ::testing::TempDir() + "halvard_image_test.img";
  ASSERT_TRUE(a.SaveImage(path));
  SimulatedMouse b;
  ASSERT_TRUE(b.LoadImage(path));
  EXPECT_EQ(b.Version(), 0x2001);
  EXPECT_EQ(b.Revision(), 9);
  EXPECT_EQ(b.Cell(0x3FFF), 0xAB);
  EXPECT_EQ(b.EncodeImage(), a.EncodeImage());

  auto bytes = a.EncodeImage();
  SimulatedMouse c;
  auto before = c.EncodeImage();
  bytes[0] = 'X';
  EXPECT_FALSE(c.DecodeImage(bytes));
  bytes = a.EncodeImage();
  bytes[8] = 2;  // a later format
  EXPECT_FALSE(c.DecodeImage(bytes));
  bytes = a.EncodeImage();
  bytes.pop_back();
  EXPECT_FALSE(c.DecodeImage(bytes));
  EXPECT_EQ(c.EncodeImage(), before);

  {
    std::ofstream f(path, std::ios::binary | std::ios::app);
    f << "trailing";
  }
  EXPECT_FALSE(c.LoadImage(path));
  std::remove(path.c_str());
  EXPECT_FALSE(c.LoadImage(path));
}

}  // namespace
}  // namespace halvard
