#include "osd/osd_model.h"

#include "store/value_names.h"

namespace halvard::osd {

OsdRect PlaceOnScreen(PictureSize picture, PictureSize screen) {
  return {(screen.width - picture.width) / 2, screen.height - picture.height - kBottomGap, picture.width,
          picture.height};
}

int COsdModel::OnInformOsd(std::uintptr_t code, std::intptr_t lParam) {
  switch (code) {
    case OSD_DPI_STATE: {
      const DpiStateWord word = DpiStateWord::Unpack(static_cast<std::uint32_t>(lParam));
      const bool profileValid = word.profile <= 4;
      if (word.profileChanged) {
        TakeLevel(word);
        // A profile number the mouse cannot have is not taken, and no picture stands for it.
        if (!profileValid) return 1;
        profile_ = word.profile;
        view_ = OsdView::kProfile;
      } else {
        if (profileValid) profile_ = word.profile;
        if (!word.HasLevel()) return 1;
        TakeLevel(word);
        view_ = OsdView::kDpi;
      }
      PrepareAndShow();
      return 1;
    }
    case OSD_ARROW:
      if (lParam == kOsdArrowLeft || lParam == kOsdArrowRight) {
        view_ = OsdView::kArrow;
        arrow_ = static_cast<int>(lParam);
        PrepareAndShow();
      }
      return 1;
    case OSD_SET_PROFILE:
      if (lParam >= 0 && lParam <= 4) profile_ = static_cast<int>(lParam);
      return 1;
    case OSD_DEVICE_FOUND:
      return 1;
    case OSD_LOCK:
      view_ = OsdView::kLock;
      locked_ = lParam != 0;
      PrepareAndShow();
      return 1;
    case OSD_POLLING_RATE:
      // Rate codes count down from 1000 Hz, picture numbers up from 125 Hz.
      if (lParam < 0 || lParam > 3) return 1;
      pollingIndex_ = 3 - static_cast<int>(lParam);
      view_ = OsdView::kPollingRate;
      PrepareAndShow();
      return 1;
    case OSD_MODE:
      view_ = OsdView::kBattleMode;
      battle_ = lParam != 0;
      PrepareAndShow();
      return 1;
    case OSD_ENABLE:
      enabled_ = lParam != 0;
      return 1;
    case OSD_X_FIRST:
      xFirst_ = lParam != 0;
      return 1;
    default:
      return 0;
  }
}

void COsdModel::TakeLevel(const DpiStateWord& word) {
  if (!word.HasLevel()) return;
  level_ = word.level;
  table_.xCodes[level_] = word.xCode;
  table_.yCodes[level_] = word.yCode;
}

void COsdModel::PrepareAndShow() {
  if (PreparePicture() != 0) Show(1);
}

std::optional<int> COsdModel::ChoosePicture() const {
  switch (view_) {
    case OsdView::kProfile:
      if (profile_ < 0 || profile_ > 4) return std::nullopt;
      return kProfilePictureBase + profile_;
    case OsdView::kArrow:
      if (arrow_ == static_cast<int>(kOsdArrowLeft)) return kArrowLeftPicture;
      if (arrow_ == static_cast<int>(kOsdArrowRight)) return kArrowRightPicture;
      return std::nullopt;
    case OsdView::kDpi:
      if (profile_ < 0 || profile_ > 4 || level_ < 0 || level_ > 3) return std::nullopt;
      return kLevelPlateBase + level_;  // the X-Y plate is chosen once the flag is read
    case OsdView::kBattleMode:
      return battle_ ? kBattlePicture : kNormalPicture;
    case OsdView::kPollingRate:
      if (pollingIndex_ < 0 || pollingIndex_ > 3) return std::nullopt;
      return kPollingPictureBase + pollingIndex_;
    case OsdView::kLock:
      return locked_ ? kLockPicture : kUnlockPicture;
    case OsdView::kNone:
      break;
  }
  return std::nullopt;
}

void COsdModel::FillDigitRows() {
  const int base = separateXy_ ? kSmallDigitBase : kBigDigitBase;
  const int blank = separateXy_ ? kSmallBlank : kBigBlank;
  const std::int32_t first = xFirst_ ? table_.xCodes[level_] : table_.yCodes[level_];
  const std::int32_t second = xFirst_ ? table_.yCodes[level_] : table_.xCodes[level_];
  const auto row1 = DigitRowTiles(first, base, blank);
  const auto row2 = DigitRowTiles(second, base, blank);
  for (int i = 0; i < 4; ++i) {
    digitTileIds_[i] = row1[i];
    digitTileIds_[4 + i] = row2[i];
  }
}

int COsdModel::PreparePicture() {
  if (!port_.HasPictures()) return 0;
  std::optional<int> id = ChoosePicture();
  if (!id) return 0;
  const bool dpi = view_ == OsdView::kDpi;
  if (dpi) {
    separateXy_ = XyFlagSet(values_.GetDword(XyFlagName(profile_)));
    if (separateXy_) *id = kXyPlateBase + level_;
    FillDigitRows();
  }

  if (std::optional<OsdImage> loaded = port_.LoadPicture(*id); loaded && !loaded->empty()) {
    OsdImage composed = std::move(*loaded);
    if (dpi) {
      const int rows = separateXy_ ? 2 : 1;
      for (int row = 0; row < rows; ++row) {
        const DigitRowPlace place = separateXy_ ? kXyRows[row] : kSingleRow;
        const int step = OsdPictureSize(separateXy_ ? kSmallBlank : kBigBlank)->width;
        for (int i = 0; i < 4; ++i) {
          // A tile that cannot be loaded leaves the plate showing through.
          if (std::optional<OsdImage> tile = port_.LoadPicture(digitTileIds_[row * 4 + i]))
            DrawTile(composed, *tile, place.x + i * step, place.y);
        }
      }
    }
    picture_ = std::move(composed);
    pictureId_ = *id;
    port_.SetPicture(picture_, ShapeRuns(picture_, kKeyColour));
  } else if (picture_.empty()) {
    return 0;  // nothing was ever shown: there is no previous picture to show again
  }

  placement_ = PlaceOnScreen({picture_.width, picture_.height}, port_.ScreenSize());
  port_.Place(placement_);
  return 1;
}

void COsdModel::Show(int show) {
  const bool on = show == 1 && enabled_;
  port_.KillTimer(TIMER_HIDE);
  port_.KillTimer(TIMER_RESHOW);
  if (!on) {
    port_.HideWindow();
    visible_ = false;
    return;
  }
  if (visible_) {
    // Already up: let the new picture paint, then show again as if it had been hidden.
    port_.Invalidate();
    visible_ = false;
    port_.SetTimer(TIMER_RESHOW, kReshowMs);
    return;
  }
  port_.ShowWindow();
  visible_ = true;
  const OsdPoint p = port_.PointerPosition();
  const OsdRect& r = placement_;
  pointerWasInside_ = p.x > r.left && p.x < r.left + r.width && p.y > r.top && p.y < r.top + r.height;
  port_.SetTimer(TIMER_HIDE, kShowMs);
}

void COsdModel::OnTimer(std::uint32_t id) {
  if (id == TIMER_HIDE)
    Show(0);
  else if (id == TIMER_RESHOW)
    Show(1);
}

void COsdModel::OnNcHitTest() {
  // The pointer came onto the OSD: get out of the way, unless it was there when the OSD came up.
  if (!pointerWasInside_) Show(0);
}

void COsdModel::OnDestroy() {
  port_.KillTimer(TIMER_HIDE);
  port_.KillTimer(TIMER_RESHOW);
}

}  // namespace halvard::osd
