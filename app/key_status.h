// The button hot spots over the mouse picture and the key-status plate beside it: what a hot
// spot tells the plate, and what the plate shows and tells the main window.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/window_services.h"

namespace halvard {

inline constexpr std::uint32_t kWmMouseHover = 0x02A1;
inline constexpr std::uint32_t kWmMouseLeave = 0x02A3;
inline constexpr std::uint32_t kHotSpotHoverBase = 288;
inline constexpr int kKeyEntries = 11;
inline constexpr int kKeyLabelChars = 40;
inline constexpr int kPlatePictures = 7;

// Hot spot i (0-10): its pictures.
constexpr int HotSpotNormalPicture(int i) { return 640 + i; }
constexpr int HotSpotHoverPicture(int i) { return 651 + i; }
constexpr int HotSpotMaskPicture(int i) { return 662 + i; }
inline constexpr int kHotSpotFirstId = 1740;

// The plate pictures by category as the main window sets them.
inline constexpr std::array<int, kPlatePictures> kPlatePictureIds = {440, 441, 442, 443, 439, 439, 439};
// The caption rectangle on the plate.
struct CaptionRect {
  int left, top, right, bottom;
};
inline constexpr CaptionRect kPlateCaption{77, 15, 179, 35};

class CUiKeyStatus;

// CUiKeyIndex: a hot spot. Reports every pointer move while its hover-reported flag is clear.
class HotSpotModel {
 public:
  int index = -1;
  CUiKeyStatus* plate = nullptr;
  Hwnd plateWindow = nullptr;
  Hwnd relay = nullptr;
  bool hoverReported = false;

  void MouseMove(WindowServices& windows) const;
  void MouseLeave(WindowServices& windows);
};

// CUiKeyStatus: the plate.
class CUiKeyStatus {
 public:
  int InitialiseEntries();
  int SetPictures(const int* ids, int count);
  int SetEntry(int category, const char16_t* label, int entry, bool select);
  void Refresh();
  // Messages.
  void MouseHover(std::uintptr_t wParam, WindowServices& windows);
  void MouseLeave(WindowServices& windows);

  Hwnd notify = nullptr;
  Hwnd relay = nullptr;

  // What is shown.
  int CurrentEntry() const { return current_; }
  void SetCurrentEntry(int entry) { current_ = entry; }
  int DisplayedCategory() const { return displayed_; }
  int DisplayedPicture() const { return picture_; }
  std::u16string_view Caption() const { return caption_; }
  bool Hovering() const { return hovering_; }
  int EntryCount() const { return entryCount_; }
  // Empty and -1 for an entry outside 0-10.
  std::u16string_view Label(int entry) const {
    return ValidEntry(entry) ? labels_[static_cast<std::size_t>(entry)].data() : std::u16string_view();
  }
  int Category(int entry) const { return ValidEntry(entry) ? categories_[static_cast<std::size_t>(entry)] : -1; }

 private:
  static bool ValidEntry(int entry) { return entry >= 0 && entry < kKeyEntries; }

  int entryCount_ = 0;
  std::array<std::array<char16_t, kKeyLabelChars>, kKeyEntries> labels_{};
  std::array<int, kKeyEntries> categories_{};
  std::array<int, kPlatePictures> pictures_{};
  int pictureCount_ = 0;
  int displayed_ = -1;
  int picture_ = 0;
  int current_ = -1;
  bool hovering_ = false;
  std::u16string caption_;
};

}  // namespace halvard
