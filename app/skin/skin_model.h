// The arithmetic and state of the skinned controls, apart from any window: slider position and
// pixels, drag and keys; hover-button frames; skinned-button pictures; outlines from pictures;
// the header's tiles and the scroll bar's thumb.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvard {

// Slider messages to the parent: wParam the control id, lParam the position.
inline constexpr std::uint32_t WM_BITMAPSLIDER_MOVING = 10449;
inline constexpr std::uint32_t WM_BITMAPSLIDER_MOVED = 10450;
inline constexpr std::uint32_t WM_BITMAPSLIDER_PRESSED = 10451;

struct Rgb {
  std::uint8_t r, g, b;
  friend bool operator==(Rgb, Rgb) = default;
};
inline constexpr Rgb kOutlineKey{0, 64, 0};     // prompt pictures, slider thumbs
inline constexpr Rgb kPopupKey{0, 255, 0};      // progress frames
inline constexpr Rgb kMaskOutside{255, 255, 255};  // skinned-button masks, slider channels

enum class SliderKey { kPageUp, kPageDown, kEnd, kHome, kLeft, kUp, kRight, kDown, kOther };

// CBitmapSlider and its two descendants, along the slider's axis.
class SliderModel {
 public:
  struct Post {
    std::uint32_t message;
    int position;
    friend bool operator==(const Post&, const Post&) = default;
  };

  int minimum = 0, maximum = 100, position = 0, pageSize = 20;
  int startMargin = 0, endMargin = 0;
  int length = 0;        // the control's size along the axis (the channel picture's)
  int thumbLength = 0;   // the thumb picture's size along the axis
  bool enabled = true;
  bool focusOnClick = false;
  bool leadingEdge = false;  // the Ex2 form: the pointer is the thumb's leading edge
  bool dragging = false;
  int grabOffset = 0;

  int PositionToPixel(int pos) const;  // the thumb's centre
  int PixelToPosition(int pixel) const;
  void SetRange(int min, int max);
  void SetPosition(int pos);

  // Input; the returned posts go to the parent in order.
  std::vector<Post> MouseDown(int pointer);
  std::vector<Post> MouseMove(int pointer);
  std::vector<Post> MouseUp();
  std::vector<Post> Key(SliderKey key);

 private:
  int Clamp(int pos) const;
  int Travel() const { return length - startMargin - endMargin - thumbLength; }
};

// CHoverButtonEx: four frames of one picture.
enum class HoverFrame { kNormal = 0, kPressed = 1, kHover = 2, kDisabled = 3 };
struct FrameSize {
  int width, height;
};
FrameSize HoverFrameSize(int pictureWidth, int pictureHeight, bool sideBySide);
HoverFrame ChooseHoverFrame(bool pressed, bool hover, bool enabled);

// CHoverButtonEx2's caption: at most 31 characters, two colours.
struct HoverCaption {
  static constexpr std::size_t kMaxChars = 31;
  static constexpr Rgb kSecondColour{125, 125, 125};
  std::u16string text;
  Rgb first{255, 255, 255}, second = kSecondColour;
  bool on = false;
  void Set(std::u16string_view t, Rgb colour);
  Rgb ColourFor(bool highlighted) const { return highlighted ? first : second; }
};

// CxSkinButton: which of its pictures to draw.
enum class SkinPicture { kNormal, kPressed, kHover, kDisabled };
SkinPicture ChooseSkinPicture(bool enabled, bool pressedOrChecked, bool hover, bool hasDisabledPicture);

// Outline of a picture: each horizontal run of pixels that are not the key colour (or, with
// `keyIsInside`, that are the key colour) is a rectangle one pixel high, row by row from the top.
struct RunRect {
  int x, y, width;
};
using PixelAt = std::function<Rgb(int x, int y)>;
std::vector<RunRect> OutlineRuns(int width, int height, const PixelAt& pixel, Rgb key);
// The runs in the batches the region is merged in.
inline constexpr std::size_t kRegionBatch = 3000;
std::vector<std::span<const RunRect>> RegionBatches(const std::vector<RunRect>& runs);

// CSkinHeaderCtrl: an item drawn from a 4-pixel left edge, a 1-pixel tile and a 4-pixel right
// edge; 18 pixels high, text in RGB(163, 163, 163).
struct HeaderTiles {
  int leftX, middleFrom, middleTo, rightX;  // middle tiles at [middleFrom, middleTo)
};
inline constexpr int kHeaderHeight = 18;
inline constexpr Rgb kHeaderText{163, 163, 163};
HeaderTiles HeaderItemTiles(int itemLeft, int itemWidth);

// CSkinVerticleScrollbar: thumb 17 x 25 between the two arrows; list rows of 17 pixels.
struct ScrollbarModel {
  static constexpr int kThumbWidth = 17, kThumbHeight = 25, kRowPixels = 17, kRepeatMs = 250;
  int height = 0;       // of the bar
  int arrowHeight = 0;  // each arrow
  int ThumbTop(int scrollPos, int maxScroll) const;
  // Rows to scroll when the thumb is dragged by `dy` pixels.
  static int RowsForDrag(int dy) { return dy / kRowPixels; }
};

// CWndShadow: the alpha of a soft shadow behind a window's outline. The picture is the outline
// grown by `size`, blurred over `sharpness` pixels and scaled to `darkness`; it is
// (w + 2 * (size + sharpness)) wide and as high in the same way.
struct ShadowParams {
  int darkness = 150;  // 0-255
  int sharpness = 5;   // blur radius in pixels
  int size = 0;        // growth of the outline
  int offsetX = 5, offsetY = 5;
};
struct ShadowPicture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> alpha;  // row by row
};
ShadowPicture ShadowAlpha(int w, int h, const std::function<bool(int x, int y)>& inside, const ShadowParams& p);

}  // namespace halvard
