// A window for the display model in memory: pictures drawn from their sizes, window timers on a
// virtual clock, and a record of what the window was asked to do.
#pragma once

#include <map>
#include <set>

#include "osd/osd_model.h"

namespace halvard::osd {

// Tiles are one flat colour made from their number, plates are key with a red block inside, so a
// composed picture tells which tile went where.
inline std::uint32_t TileColour(int id) { return 0x200000u + static_cast<std::uint32_t>(id); }
inline constexpr std::uint32_t kPlateRed = 0x960F0F;

class TestPort : public OsdWindowPort {
 public:
  bool HasPictures() override { return hasPictures; }
  std::optional<OsdImage> LoadPicture(int id) override {
    loads.push_back(id);
    auto size = OsdPictureSize(id);
    if (!size || missing.count(id)) return std::nullopt;
    const bool tile = (id >= kBigDigitBase && id <= kBigBlank) || (id >= kSmallDigitBase && id <= kSmallBlank);
    if (tile) return OsdImage(size->width, size->height, TileColour(id));
    OsdImage plate(size->width, size->height, kKeyColour);
    for (int y = 1; y < size->height - 1; ++y)
      for (int x = 1; x < size->width - 1; ++x) plate.At(x, y) = kPlateRed;
    return plate;
  }
  void SetPicture(const OsdImage& picture, const std::vector<ShapeRun>& shape) override {
    ++pictures;
    runs = shape.size();
    lastSize = {picture.width, picture.height};
  }
  void Place(const OsdRect& rect) override { placed = rect; }
  void ShowWindow() override {
    ++shows;
    shown = true;
  }
  void HideWindow() override { shown = false; }
  void Invalidate() override { ++invalidations; }
  void SetTimer(std::uint32_t id, std::uint32_t ms) override { timers[id] = {now + ms, ms}; }
  void KillTimer(std::uint32_t id) override { timers.erase(id); }
  OsdPoint PointerPosition() override { return pointer; }
  PictureSize ScreenSize() override { return screen; }

  bool Running(std::uint32_t id) const { return timers.count(id) != 0; }
  // Lets `ms` pass, firing window timers as they fall due (they repeat until killed).
  void RunFor(COsdModel& model, std::uint64_t ms) {
    const std::uint64_t end = now + ms;
    for (;;) {
      auto next = timers.end();
      for (auto it = timers.begin(); it != timers.end(); ++it)
        if (it->second.due <= end && (next == timers.end() || it->second.due < next->second.due)) next = it;
      if (next == timers.end()) break;
      now = next->second.due;
      next->second.due += next->second.period;
      model.OnTimer(next->first);
    }
    now = end;
  }

  struct Timer {
    std::uint64_t due;
    std::uint32_t period;
  };
  bool hasPictures = true;
  std::set<int> missing;
  std::vector<int> loads;
  int pictures = 0;
  std::size_t runs = 0;
  PictureSize lastSize{0, 0};
  std::optional<OsdRect> placed;
  bool shown = false;
  int shows = 0;
  int invalidations = 0;
  std::map<std::uint32_t, Timer> timers;
  std::uint64_t now = 0;
  OsdPoint pointer{0, 0};
  PictureSize screen{1280, 1024};
};

}  // namespace halvard::osd
