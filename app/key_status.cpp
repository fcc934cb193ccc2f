#include "app/key_status.h"

#include <algorithm>

#include "ipc/messages.h"
#include "platform/text.h"

namespace halvard {

void HotSpotModel::MouseMove(WindowServices& windows) const {
  if (hoverReported) return;
  if (plate != nullptr && plateWindow != nullptr)
    windows.Post(plateWindow, kWmMouseHover, kHotSpotHoverBase + static_cast<std::uintptr_t>(index), 0);
  if (relay != nullptr) windows.Post(relay, kWmMouseHover, 0, 0);
}

void HotSpotModel::MouseLeave(WindowServices& windows) {
  if (hoverReported) {
    if (plate != nullptr && plateWindow != nullptr) windows.Post(plateWindow, kWmMouseLeave, 0, 0);
    if (relay != nullptr) windows.Post(relay, kWmMouseLeave, 0, 0);
  }
  hoverReported = false;
}

int CUiKeyStatus::InitialiseEntries() {
  for (auto& l : labels_) l.fill(u'\0');
  categories_.fill(0);
  entryCount_ = kKeyEntries;
  return 1;
}

int CUiKeyStatus::SetPictures(const int* ids, int count) {
  if (ids == nullptr) return 0;
  pictureCount_ = std::min(count, kPlatePictures);
  for (int i = 0; i < pictureCount_; ++i) pictures_[static_cast<std::size_t>(i)] = ids[i];
  return 1;
}

int CUiKeyStatus::SetEntry(int category, const char16_t* label, int entry, bool select) {
  if (entry < 0 || entry >= entryCount_ || category < 0 || category >= pictureCount_) return 0;
  categories_[static_cast<std::size_t>(entry)] = category;
  auto& slot = labels_[static_cast<std::size_t>(entry)];
  CopyText<char16_t>(slot.data(), slot.size(),
                     label != nullptr ? std::u16string_view(label) : std::u16string_view());
  if (select) {
    current_ = entry;
    Refresh();
  }
  return 1;
}

void CUiKeyStatus::Refresh() {
  if (current_ >= 0 && current_ < entryCount_) {
    caption_ = labels_[static_cast<std::size_t>(current_)].data();
    int category = categories_[static_cast<std::size_t>(current_)];
    if (category != displayed_ && category >= 0 && category < pictureCount_) {
      picture_ = pictures_[static_cast<std::size_t>(category)];
      displayed_ = category;
    }
    return;
  }
  caption_.clear();
  if (pictureCount_ > 0) {
    picture_ = pictures_[static_cast<std::size_t>(pictureCount_ - 1)];
    displayed_ = pictureCount_ - 1;
  }
}

void CUiKeyStatus::MouseHover(std::uintptr_t wParam, WindowServices& windows) {
  const bool wasHovering = hovering_;
  const long long k = static_cast<long long>(wParam) - kHotSpotHoverBase;
  if (k >= 0 && k < entryCount_ && k != current_) {
    current_ = static_cast<int>(k);
    Refresh();
  }
  hovering_ = true;
  if (!wasHovering) {
    if (notify != nullptr)
      windows.Post(notify, WM_KEY_STATUS, static_cast<std::uintptr_t>(displayed_), current_);
    if (relay != nullptr) windows.Post(relay, kWmMouseHover, 0, 0);
  }
}

void CUiKeyStatus::MouseLeave(WindowServices& windows) {
  const bool wasHovering = hovering_;
  hovering_ = false;
  if (!wasHovering) return;
  if (notify != nullptr) windows.Post(notify, kWmMouseLeave, 0, 0);
  if (relay != nullptr) windows.Post(relay, kWmMouseLeave, 0, 0);
  current_ = -1;
  Refresh();
}

}  // namespace halvard
