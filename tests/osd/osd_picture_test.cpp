#include "osd/osd_picture.h"

#include <gtest/gtest.h>

#include "osd/osd_art.h"

namespace halvard::osd {
namespace {

constexpr std::uint32_t K = kKeyColour;

OsdImage FromRows(std::initializer_list<std::vector<std::uint32_t>> rows) {
  OsdImage img(static_cast<int>(rows.begin()->size()), static_cast<int>(rows.size()));
  int y = 0;
  for (const auto& row : rows) {
    for (int x = 0; x < img.width; ++x) img.At(x, y) = row[x];
    ++y;
  }
  return img;
}

TEST(OsdShape, RunsCoverExactlyThePixelsThatAreNotTheKey) {
  const OsdImage img = FromRows({
      {K, 1, 1, K, 2},
      {K, K, K, K, K},
      {3, K, 0x404041, 0x414040, K},
      {0xFF404040, 5, 5, 5, 5},  // the top byte is not part of the colour
  });
  const std::vector<ShapeRun> want = {{0, 1, 3}, {0, 4, 5}, {2, 0, 1}, {2, 2, 4}, {3, 1, 5}};
  EXPECT_EQ(ShapeRuns(img, K), want);
  EXPECT_TRUE(ShapeRuns(OsdImage(30, 20, K), K).empty());
  EXPECT_EQ(ShapeRuns(OsdImage(308, 93, 0x960F0F), K).size(), 93u);
}

TEST(OsdShape, DrawnPictureSizesKeepTheRunCountBounded) {
  // A worst case for the largest picture: every other pixel a hole.
  OsdImage img(308, 93, K);
  for (int y = 0; y < img.height; ++y)
    for (int x = y % 2; x < img.width; x += 2) img.At(x, y) = 1;
  const auto runs = ShapeRuns(img, K);
  EXPECT_EQ(runs.size(), 93u * 154u);
  EXPECT_GT(runs.size(), kRunsPerRegion);  // so the window merges several regions
}

TEST(OsdCompose, TilesAreCopiedAtTheirOwnSizeAndCutAtTheEdge) {
  OsdImage plate(10, 6, 9);
  DrawTile(plate, OsdImage(4, 3, 7), 2, 1);
  DrawTile(plate, OsdImage(4, 3, 8), 8, 4);   // partly outside
  DrawTile(plate, OsdImage(4, 3, 6), -2, -2); // partly outside on the other side
  DrawTile(plate, OsdImage(4, 3, 5), 20, 20); // wholly outside
  int sevens = 0, eights = 0, sixes = 0;
  for (auto p : plate.pixels) {
    sevens += p == 7;
    eights += p == 8;
    sixes += p == 6;
  }
  EXPECT_EQ(sevens, 12);
  EXPECT_EQ(eights, 4);
  EXPECT_EQ(sixes, 2);
  EXPECT_EQ(plate.At(1, 0), 6u);
  EXPECT_EQ(plate.At(2, 1), 7u);
  EXPECT_EQ(plate.At(5, 3), 7u);
  EXPECT_EQ(plate.At(6, 3), 9u);
  EXPECT_EQ(plate.At(9, 5), 8u);
}

TEST(OsdArt, FortyFivePicturesWithTheDigitRowsInsideTheirPlates) {
  int sized = 0;
  for (int id : kOsdPictureIds) sized += OsdPictureSize(id).has_value();
  EXPECT_EQ(sized, 45);
  EXPECT_FALSE(OsdPictureSize(299));
  EXPECT_FALSE(OsdPictureSize(345));
  const PictureSize big = *OsdPictureSize(kBigBlank), small = *OsdPictureSize(kSmallBlank);
  const PictureSize single = *OsdPictureSize(kLevelPlateBase), xy = *OsdPictureSize(kXyPlateBase);
  EXPECT_LE(kSingleRow.x + 4 * big.width, single.width);
  EXPECT_LE(kSingleRow.y + big.height, single.height);
  EXPECT_LE(kXyRows[0].y + small.height, kXyRows[1].y);
  EXPECT_LE(kXyRows[1].x + 4 * small.width, xy.width);
  EXPECT_LE(kXyRows[1].y + small.height, xy.height);
}

}  // namespace
}  // namespace halvard::osd
