#include "app/skin/skin_model.h"

#include <gtest/gtest.h>

namespace halvard {
namespace {

// A 200-pixel channel, margins 10 and 10, a 20-pixel thumb: 160 pixels of travel.
SliderModel Slider() {
  SliderModel s;
  s.length = 200;
  s.startMargin = 10;
  s.endMargin = 10;
  s.thumbLength = 20;
  return s;
}

using Posts = std::vector<SliderModel::Post>;

TEST(Slider, PositionAndPixelAreInverse) {
  SliderModel s = Slider();
  EXPECT_EQ(s.PositionToPixel(0), 20);
  EXPECT_EQ(s.PositionToPixel(100), 180);
  EXPECT_EQ(s.PositionToPixel(50), 100);
  for (int pos : {0, 1, 33, 50, 99, 100}) EXPECT_EQ(s.PixelToPosition(s.PositionToPixel(pos)), pos);
  // The Ex2 form reads the pointer as the thumb's leading edge.
  s.leadingEdge = true;
  EXPECT_EQ(s.PixelToPosition(10), 0);
  EXPECT_EQ(s.PixelToPosition(170), 100);
  EXPECT_EQ(s.PixelToPosition(90), 50);
}

TEST(Slider, DragPostsPressedMovingAndMoved) {
  SliderModel s = Slider();
  s.SetPosition(50);
  // On the thumb: it does not jump, only follows.
  Posts p = s.MouseDown(105);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].message, WM_BITMAPSLIDER_PRESSED);
  EXPECT_EQ(s.grabOffset, 5);
  p = s.MouseMove(125);
  ASSERT_EQ(p.size(), 1u);
  EXPECT_EQ(p[0].message, WM_BITMAPSLIDER_MOVING);
  EXPECT_EQ(p[0].position, 63);
  EXPECT_TRUE(s.MouseMove(125).empty());  // no change, no message
  p = s.MouseMove(5000);                  // clamped to the end margin
  EXPECT_EQ(p[0].position, 100);
  p = s.MouseUp();
  EXPECT_EQ(p, (Posts{{WM_BITMAPSLIDER_MOVED, 100}}));
  EXPECT_TRUE(s.MouseMove(20).empty());  // not dragging any more

  // Off the thumb: it jumps under the pointer.
  p = s.MouseDown(20);
  EXPECT_EQ(s.grabOffset, 0);
  ASSERT_EQ(p.size(), 2u);
  EXPECT_EQ(p[1], (SliderModel::Post{WM_BITMAPSLIDER_MOVING, 0}));
}

TEST(Slider, KeysClampAndAlwaysPostMoved) {
  SliderModel s = Slider();
  s.SetPosition(100);
  EXPECT_EQ(s.Key(SliderKey::kPageDown), (Posts{{WM_BITMAPSLIDER_MOVED, 100}}));
  EXPECT_EQ(s.Key(SliderKey::kEnd), (Posts{{WM_BITMAPSLIDER_MOVED, 100}}));
  EXPECT_EQ(s.Key(SliderKey::kPageUp), (Posts{{WM_BITMAPSLIDER_MOVED, 80}}));
  EXPECT_EQ(s.Key(SliderKey::kLeft), (Posts{{WM_BITMAPSLIDER_MOVED, 79}}));
  EXPECT_EQ(s.Key(SliderKey::kDown), (Posts{{WM_BITMAPSLIDER_MOVED, 80}}));
  EXPECT_EQ(s.Key(SliderKey::kHome), (Posts{{WM_BITMAPSLIDER_MOVED, 0}}));
  EXPECT_EQ(s.Key(SliderKey::kUp), (Posts{{WM_BITMAPSLIDER_MOVED, 0}}));
  EXPECT_TRUE(s.Key(SliderKey::kOther).empty());
  s.enabled = false;
  EXPECT_TRUE(s.Key(SliderKey::kEnd).empty());
  EXPECT_TRUE(s.MouseDown(100).empty());
  EXPECT_EQ(s.position, 0);
}

TEST(HoverButton, FramesAndCaption) {
  EXPECT_EQ(HoverFrameSize(776, 53, true).width, 194);
  EXPECT_EQ(HoverFrameSize(776, 53, true).height, 53);
  EXPECT_EQ(HoverFrameSize(40, 120, false).height, 30);
  EXPECT_EQ(ChooseHoverFrame(true, true, true), HoverFrame::kPressed);
  EXPECT_EQ(ChooseHoverFrame(false, true, true), HoverFrame::kHover);
  EXPECT_EQ(ChooseHoverFrame(false, false, true), HoverFrame::kNormal);
  EXPECT_EQ(ChooseHoverFrame(false, false, false), HoverFrame::kDisabled);
  HoverCaption c;
  c.Set(std::u16string(40, u'x'), {255, 255, 255});
  EXPECT_EQ(c.text.size(), 31u);
  EXPECT_TRUE(c.on);
  EXPECT_EQ(c.ColourFor(false), (Rgb{125, 125, 125}));
  EXPECT_EQ(c.ColourFor(true), (Rgb{255, 255, 255}));
  c.Set(u"", {1, 2, 3});
  EXPECT_FALSE(c.on);
}

TEST(SkinButton, PictureChoiceWithoutADisabledPicture) {
  EXPECT_EQ(ChooseSkinPicture(false, false, true, false), SkinPicture::kNormal);
  EXPECT_EQ(ChooseSkinPicture(false, true, true, true), SkinPicture::kDisabled);
  EXPECT_EQ(ChooseSkinPicture(true, true, true, true), SkinPicture::kPressed);
  EXPECT_EQ(ChooseSkinPicture(true, false, true, true), SkinPicture::kHover);
  EXPECT_EQ(ChooseSkinPicture(true, false, false, true), SkinPicture::kNormal);
}

TEST(Outline, RunsOfNonKeyPixelsMergedInBatches) {
  // A 6 x 3 picture: key everywhere except a two-run row and a full row.
  const char* rows[3] = {"KKKKKK", "xxKxKK", "xxxxxx"};
  auto pixel = [&](int x, int y) { return rows[y][x] == 'K' ? kOutlineKey : Rgb{30, 30, 30}; };
  auto runs = OutlineRuns(6, 3, pixel, kOutlineKey);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].x, 0);
  EXPECT_EQ(runs[0].y, 1);
  EXPECT_EQ(runs[0].width, 2);
  EXPECT_EQ(runs[1].x, 3);
  EXPECT_EQ(runs[1].width, 1);
  EXPECT_EQ(runs[2].width, 6);
  // 6001 runs: batches of 3000, 3000 and 1.
  std::vector<RunRect> many(6001, RunRect{0, 0, 1});
  auto batches = RegionBatches(many);
  ASSERT_EQ(batches.size(), 3u);
  EXPECT_EQ(batches[0].size(), 3000u);
  EXPECT_EQ(batches[2].size(), 1u);
  EXPECT_TRUE(RegionBatches({}).empty());
}

TEST(HeaderAndScrollbar, TilesAndThumb) {
  HeaderTiles t = HeaderItemTiles(100, 125);
  EXPECT_EQ(t.leftX, 100);
  EXPECT_EQ(t.middleFrom, 104);
  EXPECT_EQ(t.middleTo, 221);
  EXPECT_EQ(t.rightX, 221);
  ScrollbarModel bar{200, 20};
  EXPECT_EQ(bar.ThumbTop(0, 10), 20);
  EXPECT_EQ(bar.ThumbTop(10, 10), 20 + 135);
  EXPECT_EQ(bar.ThumbTop(50, 10), 20 + 135);
  EXPECT_EQ(bar.ThumbTop(3, 0), 20);
  EXPECT_EQ(ScrollbarModel::RowsForDrag(35), 2);
  EXPECT_EQ(ScrollbarModel::RowsForDrag(-17), -1);
}

TEST(Shadow, SoftEdgesAroundTheOutlineScaledToTheDarkness) {
  ShadowParams p;  // darkness 150, sharpness 5, size 0, offset 5, 5
  ShadowPicture pic = ShadowAlpha(40, 20, [](int, int) { return true; }, p);
  EXPECT_EQ(pic.width, 50);
  EXPECT_EQ(pic.height, 30);
  auto a = [&](int x, int y) { return pic.alpha[static_cast<std::size_t>(y * pic.width + x)]; };
  EXPECT_EQ(a(25, 15), 150);  // well inside: full darkness
  EXPECT_LT(a(0, 0), 5);      // the far corner: next to nothing
  EXPECT_GT(a(5, 15), 0);     // the edge is soft
  EXPECT_LT(a(5, 15), 150);
  p.darkness = 180;
  p.sharpness = 10;
  p.size = 5;
  pic = ShadowAlpha(40, 20, [](int x, int) { return x < 20; }, p);
  EXPECT_EQ(pic.width, 70);
  EXPECT_EQ(a(25, 25), 180);
  EXPECT_EQ(ShadowAlpha(0, 0, [](int, int) { return true; }, p).alpha.size(), 0u);
}

}  // namespace
}  // namespace halvard
