// The display library's pictures by resource number, their sizes and where the digits go.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace halvard::osd {

// Pixels are 0x00RRGGBB; this grey is the transparent key of every picture.
inline constexpr std::uint32_t kKeyColour = 0x404040;

inline constexpr int kProfilePictureBase = 300;  // + profile: P1 to P5
inline constexpr int kBigDigitBase = 305;        // + digit, 32 x 30
inline constexpr int kBigBlank = 315;
inline constexpr int kLevelPlateBase = 316;      // + level: one DPI row
inline constexpr int kArrowLeftPicture = 320;
inline constexpr int kArrowRightPicture = 321;
inline constexpr int kNormalPicture = 322;
inline constexpr int kBattlePicture = 323;
inline constexpr int kLockPicture = 324;
inline constexpr int kUnlockPicture = 325;
inline constexpr int kPollingPictureBase = 326;  // + polling index: 125 Hz to 1000 Hz
inline constexpr int kSmallDigitBase = 330;      // + digit, 24 x 22
inline constexpr int kSmallBlank = 340;
inline constexpr int kXyPlateBase = 341;         // + level: X and Y rows

struct PictureSize {
  int width;
  int height;
  friend constexpr bool operator==(const PictureSize&, const PictureSize&) = default;
};

// Every picture of the library, 45 of them.
inline constexpr auto kOsdPictureIds = [] {
  std::array<int, 45> ids{};
  for (int i = 0; i < 45; ++i) ids[i] = 300 + i;
  return ids;
}();

constexpr std::optional<PictureSize> OsdPictureSize(int id) {
  if (id >= 300 && id <= 304) return PictureSize{100, 40};
  if (id >= kBigDigitBase && id <= kBigBlank) return PictureSize{32, 30};
  if (id >= kLevelPlateBase && id <= kLevelPlateBase + 3) return PictureSize{262, 81};
  if (id == kArrowLeftPicture || id == kArrowRightPicture) return PictureSize{59, 55};
  if (id == kNormalPicture) return PictureSize{259, 56};
  if (id == kBattlePicture) return PictureSize{235, 56};
  if (id == kLockPicture) return PictureSize{142, 36};
  if (id == kUnlockPicture) return PictureSize{178, 36};
  if (id >= kPollingPictureBase && id <= kPollingPictureBase + 3) return PictureSize{209, 101};
  if (id >= kSmallDigitBase && id <= kSmallBlank) return PictureSize{24, 22};
  if (id >= kXyPlateBase && id <= kXyPlateBase + 3) return PictureSize{308, 93};
  return std::nullopt;
}

// Where the four tiles of each digit row start; tiles sit side by side at their own width.
struct DigitRowPlace {
  int x;
  int y;
};
inline constexpr DigitRowPlace kSingleRow = {30, 37};
inline constexpr DigitRowPlace kXyRows[2] = {{127, 29}, {127, 61}};

}  // namespace halvard::osd
