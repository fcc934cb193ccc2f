#include "app/skin/skin_model.h"

#include <algorithm>
#include <cmath>

namespace halvard {

int SliderModel::Clamp(int pos) const { return std::clamp(pos, minimum, std::max(minimum, maximum)); }

void SliderModel::SetRange(int min, int max) {
  minimum = min;
  maximum = max;
  position = Clamp(position);
}

void SliderModel::SetPosition(int pos) { position = Clamp(pos); }

int SliderModel::PositionToPixel(int pos) const {
  const int span = maximum - minimum;
  const double share = span != 0 ? static_cast<double>(pos - minimum) / span : 0.0;
  return startMargin + static_cast<int>(share * Travel()) + thumbLength / 2;
}

int SliderModel::PixelToPosition(int pixel) const {
  const int travel = Travel();
  if (travel <= 0) return minimum;
  const int from = leadingEdge ? pixel - startMargin : pixel - startMargin - thumbLength / 2;
  return minimum + static_cast<int>(std::lround(static_cast<double>(from) / travel * (maximum - minimum)));
}

std::vector<SliderModel::Post> SliderModel::MouseDown(int pointer) {
  if (!enabled) return {};
  dragging = true;
  const int centre = PositionToPixel(position);
  const int edge = leadingEdge ? centre - thumbLength / 2 : centre;
  grabOffset = std::abs(pointer - centre) <= thumbLength / 2 ? pointer - edge : 0;
  std::vector<Post> posts{{WM_BITMAPSLIDER_PRESSED, position}};
  for (const Post& p : MouseMove(pointer)) posts.push_back(p);
  return posts;
}

std::vector<SliderModel::Post> SliderModel::MouseMove(int pointer) {
  if (!enabled || !dragging) return {};
  // The thumb stays between the margins.
  int at = pointer - grabOffset;
  const int low = leadingEdge ? startMargin : startMargin + thumbLength / 2;
  const int high = leadingEdge ? length - endMargin - thumbLength : length - endMargin - thumbLength / 2;
  at = std::clamp(at, low, std::max(low, high));
  const int pos = Clamp(PixelToPosition(at));
  if (pos == position) return {};
  position = pos;
  return {{WM_BITMAPSLIDER_MOVING, position}};
}

std::vector<SliderModel::Post> SliderModel::MouseUp() {
  if (!enabled || !dragging) return {};
  dragging = false;
  return {{WM_BITMAPSLIDER_MOVED, position}};
}

std::vector<SliderModel::Post> SliderModel::Key(SliderKey key) {
  if (!enabled) return {};
  int pos = position;
  switch (key) {
    case SliderKey::kPageUp: pos -= pageSize; break;
    case SliderKey::kPageDown: pos += pageSize; break;
    case SliderKey::kEnd: pos = maximum; break;
    case SliderKey::kHome: pos = minimum; break;
    case SliderKey::kLeft: case SliderKey::kUp: pos -= 1; break;
    case SliderKey::kRight: case SliderKey::kDown: pos += 1; break;
    default: return {};
  }
  position = Clamp(pos);
  return {{WM_BITMAPSLIDER_MOVED, position}};
}

FrameSize HoverFrameSize(int w, int h, bool sideBySide) {
  return sideBySide ? FrameSize{w / 4, h} : FrameSize{w, h / 4};
}

HoverFrame ChooseHoverFrame(bool pressed, bool hover, bool enabled) {
  if (pressed) return HoverFrame::kPressed;
  if (hover) return HoverFrame::kHover;
  return enabled ? HoverFrame::kNormal : HoverFrame::kDisabled;
}

void HoverCaption::Set(std::u16string_view t, Rgb colour) {
  text = std::u16string(t.substr(0, std::min(t.size(), kMaxChars)));
  first = colour;
  second = kSecondColour;
  on = !text.empty();
}

SkinPicture ChooseSkinPicture(bool enabled, bool pressedOrChecked, bool hover, bool hasDisabledPicture) {
  if (!enabled) return hasDisabledPicture ? SkinPicture::kDisabled : SkinPicture::kNormal;
  if (pressedOrChecked) return SkinPicture::kPressed;
  return hover ? SkinPicture::kHover : SkinPicture::kNormal;
}

std::vector<RunRect> OutlineRuns(int width, int height, const PixelAt& pixel, Rgb key) {
  std::vector<RunRect> runs;
  for (int y = 0; y < height; ++y) {
    int x = 0;
    while (x < width) {
      while (x < width && pixel(x, y) == key) ++x;
      const int start = x;
      while (x < width && !(pixel(x, y) == key)) ++x;
      if (x > start) runs.push_back({start, y, x - start});
    }
  }
  return runs;
}

std::vector<std::span<const RunRect>> RegionBatches(const std::vector<RunRect>& runs) {
  std::vector<std::span<const RunRect>> batches;
  for (std::size_t i = 0; i < runs.size(); i += kRegionBatch)
    batches.emplace_back(runs.data() + i, std::min(kRegionBatch, runs.size() - i));
  return batches;
}

HeaderTiles HeaderItemTiles(int itemLeft, int itemWidth) {
  const int right = itemLeft + std::max(itemWidth, 8);
  return {itemLeft, itemLeft + 4, right - 4, right - 4};
}

int ScrollbarModel::ThumbTop(int scrollPos, int maxScroll) const {
  const int track = height - 2 * arrowHeight - kThumbHeight;
  if (maxScroll <= 0 || track <= 0) return arrowHeight;
  return arrowHeight + static_cast<int>(static_cast<long long>(std::clamp(scrollPos, 0, maxScroll)) * track / maxScroll);
}

ShadowPicture ShadowAlpha(int w, int h, const std::function<bool(int, int)>& inside, const ShadowParams& p) {
  ShadowPicture pic;
  const int size = std::max(p.size, 0), sharp = std::max(p.sharpness, 0);
  const int margin = size + sharp;
  pic.width = w + 2 * margin;
  pic.height = h + 2 * margin;
  if (w <= 0 || h <= 0) return pic;
  // The outline grown by `size` (a square neighbourhood), as 0 or 255.
  std::vector<int> grown(static_cast<std::size_t>(pic.width) * static_cast<std::size_t>(pic.height), 0);
  auto at = [&](std::vector<int>& v, int x, int y) -> int& {
    return v[static_cast<std::size_t>(y) * static_cast<std::size_t>(pic.width) + static_cast<std::size_t>(x)];
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (inside(x, y))
        for (int dy = -size; dy <= size; ++dy)
          for (int dx = -size; dx <= size; ++dx) at(grown, x + margin + dx, y + margin + dy) = 255;
  // A box blur along both axes, `sharpness` pixels each way.
  std::vector<int> tmp(grown.size(), 0);
  const int span = 2 * sharp + 1;
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      int sum = 0;
      for (int k = -sharp; k <= sharp; ++k)
        if (x + k >= 0 && x + k < pic.width) sum += at(grown, x + k, y);
      at(tmp, x, y) = sum / span;
    }
  pic.alpha.assign(grown.size(), 0);
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) {
      int sum = 0;
      for (int k = -sharp; k <= sharp; ++k)
        if (y + k >= 0 && y + k < pic.height) sum += at(tmp, x, y + k);
      pic.alpha[static_cast<std::size_t>(y) * static_cast<std::size_t>(pic.width) + static_cast<std::size_t>(x)] =
          static_cast<std::uint8_t>(sum / span * std::clamp(p.darkness, 0, 255) / 255);
    }
  return pic;
}

}  // namespace halvard
