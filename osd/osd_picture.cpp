#include "osd/osd_picture.h"

#include <algorithm>

namespace halvard::osd {

void DrawTile(OsdImage& target, const OsdImage& tile, int x, int y) {
  const int x0 = std::max(0, x), y0 = std::max(0, y);
  const int x1 = std::min(target.width, x + tile.width), y1 = std::min(target.height, y + tile.height);
  for (int ty = y0; ty < y1; ++ty)
    for (int tx = x0; tx < x1; ++tx) target.At(tx, ty) = tile.At(tx - x, ty - y);
}

std::array<int, 4> DigitRowTiles(std::int64_t code, int digitBase, int blank) {
  // Codes above 164 are not sensitivities the mouse has; showing them would only mislead.
  int value = (code >= 1 && code <= 164) ? static_cast<int>(code) * 50 : 0;
  std::array<int, 4> tiles{};
  for (int pos = 3; pos >= 0; --pos) {
    const int q = value / 10, d = value % 10;
    tiles[pos] = (q == 0 && d == 0) ? blank : digitBase + d;
    value = q;
  }
  return tiles;
}

std::vector<ShapeRun> ShapeRuns(const OsdImage& image, std::uint32_t key) {
  std::vector<ShapeRun> runs;
  runs.reserve(100);
  for (int y = 0; y < image.height; ++y) {
    int x = 0;
    while (x < image.width) {
      while (x < image.width && (image.At(x, y) & 0xFFFFFF) == key) ++x;
      if (x == image.width) break;
      const int left = x;
      while (x < image.width && (image.At(x, y) & 0xFFFFFF) != key) ++x;
      runs.push_back({y, left, x});
    }
  }
  return runs;
}

}  // namespace halvard::osd
