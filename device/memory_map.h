// What each address of the mouse's memory holds, the base addresses of the five profiles, and the
// factory list with the address lists derived from it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace halvard {

class CIcTessel;

inline constexpr int kProfileCount = 5;
inline constexpr int kButtonCount = 11;

// Global cells.
inline constexpr std::uint16_t kCellGlobalOptions = 129;
inline constexpr std::uint16_t kCellActiveProfile = 140;
inline constexpr std::uint16_t kCellLiftOff = 142;
inline constexpr std::uint16_t kCellIdentity1 = 186;
inline constexpr std::uint16_t kCellIdentity2 = 187;

// Region sizes.
inline constexpr int kSettingsBlockSize = 69;
inline constexpr int kHeaderBlockSize = 44;
inline constexpr int kHeaderCellsPerButton = 4;
inline constexpr int kSlotSize = 256;
inline constexpr int kSlotRegionSize = kSlotSize * kButtonCount;  // 2816
inline constexpr int kNameSize = 64;
inline constexpr int kNameMaxChars = 31;

// Settings block offsets.
inline constexpr int kOffLevelAndRate = 0;
inline constexpr int kOffGroup1 = 1;
inline constexpr int kOffGroup2 = 6;
inline constexpr int kOffLed = 11;
inline constexpr int kOffFunctionType = 14;
inline constexpr int kOffParameters = 25;

// Base addresses of profile p; an index outside 0-4 answers profile 0's base.
int B(int p);  // settings block
int H(int p);  // macro header block
int M(int p);  // macro slot region
int N(int p);  // profile name

struct FactoryEntry {
  std::uint16_t address;
  std::uint8_t value;
};

inline constexpr std::size_t kGlobalPartSize = 3;
inline constexpr std::size_t kProfilePartSize = 133;
inline constexpr std::size_t kHeaderPartSize = 44;
inline constexpr std::size_t kFactoryListSize =
    kGlobalPartSize + kProfileCount * kProfilePartSize + kProfileCount * kHeaderPartSize;  // 888
inline constexpr std::size_t kFullLoadListSize = kGlobalPartSize + kProfileCount * kProfilePartSize;  // 668
inline constexpr std::size_t kResetListSize = kProfilePartSize + kHeaderPartSize;                    // 177

// The factory list, in table order: global part, profile parts 0-4, header parts 0-4.
std::span<const FactoryEntry> FactoryList();
std::span<const FactoryEntry> FactoryGlobalPart();
// Empty for a profile outside 0-4.
std::span<const FactoryEntry> FactoryProfilePart(int p);
std::span<const FactoryEntry> FactoryHeaderPart(int p);

// The 3 global addresses, then the profile-part addresses of profiles 0 to 4.
const std::array<std::uint16_t, kFullLoadListSize>& FullLoadList();

// Pending profile-part cells of p in table order, then the pending cells of each macro slot whose
// first cell is pending, in button order. Returns the number of addresses put into `out` (never
// more than it holds).
std::size_t BuildProfileSaveList(const CIcTessel& tessel, int p, std::span<std::uint16_t> out);

// Every profile-part and header-part address of p, in table order.
std::size_t BuildResetList(int p, std::span<std::uint16_t> out);

// Sets p's profile and header cells to their factory values with the shadow set rule and lists
// the cells that are pending afterwards. The global cells are left alone.
std::size_t ResetProfileToFactory(CIcTessel& tessel, int p, std::span<std::uint16_t> out);

// The stored name of p from the shadow into `name[32]`; false (and an empty name) when the count
// cell is 0 or above 31.
bool ReadProfileName(const CIcTessel& tessel, int p, char16_t (&name)[kNameMaxChars + 1]);
// Count (cut to 31) and characters with the shadow set rule; later cells keep their contents.
void WriteProfileName(CIcTessel& tessel, int p, std::u16string_view name);

}  // namespace halvard
