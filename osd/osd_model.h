// Everything the display window decides: the WM_INFORM_OSD commands, which picture to show and
// with which digits, composing it, its shape and place, and when it shows and hides. The window
// only carries out what this asks through OsdWindowPort.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "ipc/dword_source.h"
#include "ipc/messages.h"
#include "osd/osd_art.h"
#include "osd/osd_picture.h"

namespace halvard::osd {

inline constexpr std::uint32_t TIMER_HIDE = 0x1000;
inline constexpr std::uint32_t TIMER_RESHOW = 0x1001;
inline constexpr std::uint32_t kShowMs = 3000;
inline constexpr std::uint32_t kReshowMs = 10;
inline constexpr int kBottomGap = 50;  // pixels between the OSD and the bottom of the screen

enum class OsdView : std::int32_t {
  kNone = -1,
  kProfile = 0,
  kArrow = 1,
  kDpi = 2,
  kBattleMode = 3,
  kPollingRate = 4,
  kLock = 5,
};

struct OsdPoint {
  int x;
  int y;
};
struct OsdRect {
  int left;
  int top;
  int width;
  int height;
  friend constexpr bool operator==(const OsdRect&, const OsdRect&) = default;
};

// What the window does on the model's behalf.
class OsdWindowPort {
 public:
  virtual ~OsdWindowPort() = default;
  // False when the library's module (where the pictures live) is unknown.
  virtual bool HasPictures() = 0;
  // A picture by resource number, or nothing when it cannot be loaded.
  virtual std::optional<OsdImage> LoadPicture(int id) = 0;
  // Takes the composed picture and the shape made from it. When the shape cannot be made, the
  // window keeps its previous shape.
  virtual void SetPicture(const OsdImage& picture, const std::vector<ShapeRun>& shape) = 0;
  virtual void Place(const OsdRect& rect) = 0;
  virtual void ShowWindow() = 0;  // never activates
  virtual void HideWindow() = 0;
  virtual void Invalidate() = 0;
  virtual void SetTimer(std::uint32_t id, std::uint32_t ms) = 0;
  virtual void KillTimer(std::uint32_t id) = 0;
  virtual OsdPoint PointerPosition() = 0;
  virtual PictureSize ScreenSize() = 0;  // of the primary screen
};

// Where a picture of this size goes: centred, 50 pixels above the bottom of the screen.
OsdRect PlaceOnScreen(PictureSize picture, PictureSize screen);

class COsdModel {
 public:
  // `table` is the DPI table in the library's shared section; `values` reads the registry.
  COsdModel(OsdWindowPort& port, DwordSource& values, OsdSharedSection& table)
      : port_(port), values_(values), table_(table) {}

  // WM_INFORM_OSD: 1 for a listed code, 0 for any other.
  int OnInformOsd(std::uintptr_t code, std::intptr_t lParam);
  void OnTimer(std::uint32_t id);
  // The pointer moved over the shown OSD.
  void OnNcHitTest();
  // The window is going away: no timer may outlive it.
  void OnDestroy();

  // 1 when the window now holds a new (or re-placed) picture.
  int PreparePicture();
  // `show` 1 for a new picture, 0 to hide.
  void Show(int show);

  // State, as the window and tests see it.
  OsdView view() const { return view_; }
  int profile() const { return profile_; }
  int level() const { return level_; }
  int pollingIndex() const { return pollingIndex_; }
  bool enabled() const { return enabled_; }
  bool visible() const { return visible_; }
  bool xFirst() const { return xFirst_; }
  bool separateXy() const { return separateXy_; }
  bool pointerWasInside() const { return pointerWasInside_; }
  int pictureId() const { return pictureId_; }
  const OsdImage& picture() const { return picture_; }
  const std::array<int, 8>& digitTileIds() const { return digitTileIds_; }
  const OsdRect& placement() const { return placement_; }

 private:
  std::optional<int> ChoosePicture() const;
  void FillDigitRows();
  void PrepareAndShow();
  void TakeLevel(const DpiStateWord& word);

  OsdWindowPort& port_;
  DwordSource& values_;
  OsdSharedSection& table_;

  OsdView view_ = OsdView::kNone;
  int profile_ = 0;      // always 0-4: out-of-range values are never taken
  int level_ = 0;        // always 0-3
  int arrow_ = 0;        // 3 or 4 once set
  int pollingIndex_ = 3; // 0 = 125 Hz ... 3 = 1000 Hz
  bool battle_ = false;
  bool separateXy_ = false;
  bool xFirst_ = false;
  bool locked_ = false;
  bool pointerWasInside_ = false;
  bool visible_ = false;
  bool enabled_ = true;
  std::array<int, 8> digitTileIds_{};
  int pictureId_ = -1;
  OsdImage picture_;
  OsdRect placement_{};
};

}  // namespace halvard::osd
