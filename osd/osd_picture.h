// Pictures as plain pixels: composing digit tiles onto a plate, the digits of a sensitivity code,
// and the one-pixel-high runs that make the window's shape.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace halvard::osd {

// 0x00RRGGBB pixels, row 0 at the top.
struct OsdImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  OsdImage() = default;
  OsdImage(int w, int h, std::uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), fill) {}
  bool empty() const { return width <= 0 || height <= 0; }
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
  std::uint32_t& At(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// Copies `tile` onto `target` with its top-left corner at (x, y); what falls outside is cut off.
void DrawTile(OsdImage& target, const OsdImage& tile, int x, int y);

// The four tiles of one digit row, left to right, for sensitivity code `code` (code x 50 DPI; a
// code outside 1 to 164 shows four blanks). Leading zeros are blank.
std::array<int, 4> DigitRowTiles(std::int64_t code, int digitBase, int blank);

// One maximal run of non-key pixels in a row: x from `left` up to but not including `right`.
struct ShapeRun {
  int y;
  int left;
  int right;
  friend constexpr bool operator==(const ShapeRun&, const ShapeRun&) = default;
};
// The region is made of at most this many runs at a time, then merged.
inline constexpr std::size_t kRunsPerRegion = 3000;

// Every run of pixels that are not exactly `key`, top row first, left to right.
std::vector<ShapeRun> ShapeRuns(const OsdImage& image, std::uint32_t key);

}  // namespace halvard::osd
