#include "device/memory_map.h"

#include <algorithm>

#include "device/ic_tessel.h"

namespace halvard {
namespace {

constexpr int kSettingsBase[kProfileCount] = {256, 336, 416, 512, 592};

constexpr bool ValidProfile(int p) { return p >= 0 && p < kProfileCount; }

constexpr std::uint8_t kLedFactory[kProfileCount][3] = {
    {0x21, 0x11, 0x11}, {0x25, 0x15, 0x15}, {0x26, 0x16, 0x16}, {0x23, 0x13, 0x13}, {0x27, 0x17, 0x17}};
constexpr std::uint8_t kFunctionFactory[kButtonCount] = {1, 1, 1, 1, 1, 10, 9, 73, 73, 73, 73};
constexpr std::uint8_t kFirstParameterFactory[kButtonCount] = {1, 2, 4, 8, 16, 0, 0, 0, 0, 0, 0};
constexpr char kFactoryName[] = "Default";

constexpr std::uint8_t SettingsFactory(int p, int offset) {
  if (offset == kOffLevelAndRate) return 0x80;
  if (offset >= kOffGroup1 && offset < kOffGroup1 + 4) return std::array<std::uint8_t, 4>{16, 32, 64, 100}[offset - 1];
  if (offset >= kOffGroup2 && offset < kOffGroup2 + 4) return std::array<std::uint8_t, 4>{16, 32, 64, 100}[offset - 6];
  if (offset >= kOffLed && offset < kOffLed + 3) return kLedFactory[p][offset - kOffLed];
  if (offset >= kOffFunctionType && offset < kOffFunctionType + kButtonCount)
    return kFunctionFactory[offset - kOffFunctionType];
  int param = offset - kOffParameters;
  return (param % 4 == 0) ? kFirstParameterFactory[param / 4] : 0;
}

constexpr std::uint8_t NameFactory(int cell) {
  constexpr int kLen = sizeof(kFactoryName) - 1;
  if (cell == 0) return kLen;
  int k = (cell - 1) / 2;
  if (cell <= 2 * kLen && (cell - 1) % 2 == 0) return static_cast<std::uint8_t>(kFactoryName[k]);
  return 0;
}

constexpr std::array<FactoryEntry, kFactoryListSize> MakeFactoryList() {
  std::array<FactoryEntry, kFactoryListSize> list{};
  std::size_t n = 0;
  list[n++] = {kCellGlobalOptions, 0x50};
  list[n++] = {kCellActiveProfile, 0x50};
  list[n++] = {kCellLiftOff, 0x2B};
  for (int p = 0; p < kProfileCount; ++p) {
    for (int off = 0; off < kSettingsBlockSize; ++off) {
      if (off == 5 || off == 10) continue;  // not the host's
      list[n++] = {static_cast<std::uint16_t>(kSettingsBase[p] + off), SettingsFactory(p, off)};
    }
    for (int c = 0; c < kNameSize; ++c)
      list[n++] = {static_cast<std::uint16_t>((236 + p) * 64 + c), NameFactory(c)};
    list[n++] = {0, 0};
    list[n++] = {0, 0};
  }
  for (int p = 0; p < kProfileCount; ++p)
    for (int c = 0; c < kHeaderBlockSize; ++c) list[n++] = {static_cast<std::uint16_t>(768 + 44 * p + c), 0};
  return list;
}

constexpr std::array<FactoryEntry, kFactoryListSize> kFactoryList = MakeFactoryList();
static_assert(kFactoryList[kFactoryListSize - 1].address == 768 + 44 * 4 + 43);

constexpr std::array<std::uint16_t, kFullLoadListSize> MakeFullLoadList() {
  std::array<std::uint16_t, kFullLoadListSize> list{};
  for (std::size_t i = 0; i < kFullLoadListSize; ++i) list[i] = kFactoryList[i].address;
  return list;
}

constexpr std::array<std::uint16_t, kFullLoadListSize> kFullLoadList = MakeFullLoadList();

}  // namespace

int B(int p) { return kSettingsBase[ValidProfile(p) ? p : 0]; }
int H(int p) { return 768 + 44 * (ValidProfile(p) ? p : 0); }
int M(int p) { return 1024 + 2816 * (ValidProfile(p) ? p : 0); }
int N(int p) { return (236 + (ValidProfile(p) ? p : 0)) * 64; }

std::span<const FactoryEntry> FactoryList() { return kFactoryList; }
std::span<const FactoryEntry> FactoryGlobalPart() { return std::span(kFactoryList).first(kGlobalPartSize); }

std::span<const FactoryEntry> FactoryProfilePart(int p) {
  if (!ValidProfile(p)) return {};
  return std::span(kFactoryList).subspan(kGlobalPartSize + kProfilePartSize * p, kProfilePartSize);
}

std::span<const FactoryEntry> FactoryHeaderPart(int p) {
  if (!ValidProfile(p)) return {};
  return std::span(kFactoryList)
      .subspan(kGlobalPartSize + kProfilePartSize * kProfileCount + kHeaderPartSize * p, kHeaderPartSize);
}

const std::array<std::uint16_t, kFullLoadListSize>& FullLoadList() { return kFullLoadList; }

std::size_t BuildProfileSaveList(const CIcTessel& tessel, int p, std::span<std::uint16_t> out) {
  std::size_t n = 0;
  auto put = [&](int address) {
    if (n < out.size()) out[n++] = static_cast<std::uint16_t>(address);
  };
  for (const FactoryEntry& e : FactoryProfilePart(p))
    if (tessel.IsDirty(e.address)) put(e.address);
  if (!ValidProfile(p)) return n;
  // A slot is looked at when its first cell is pending; then every pending cell of the slot is
  // listed, so a changed byte after the first never stays behind.
  for (int button = 0; button < kButtonCount; ++button) {
    int slot = M(p) + kSlotSize * button;
    if (!tessel.IsDirty(slot)) continue;
    for (int c = 0; c < kSlotSize; ++c)
      if (tessel.IsDirty(slot + c)) put(slot + c);
  }
  return n;
}

std::size_t BuildResetList(int p, std::span<std::uint16_t> out) {
  std::size_t n = 0;
  for (auto part : {FactoryProfilePart(p), FactoryHeaderPart(p)})
    for (const FactoryEntry& e : part)
      if (n < out.size()) out[n++] = e.address;
  return n;
}

std::size_t ResetProfileToFactory(CIcTessel& tessel, int p, std::span<std::uint16_t> out) {
  std::size_t n = 0;
  for (auto part : {FactoryProfilePart(p), FactoryHeaderPart(p)}) {
    for (const FactoryEntry& e : part) {
      tessel.SetCell(e.address, e.value);
      if (tessel.IsDirty(e.address) && n < out.size()) out[n++] = e.address;
    }
  }
  return n;
}

bool ReadProfileName(const CIcTessel& tessel, int p, char16_t (&name)[kNameMaxChars + 1]) {
  std::fill(std::begin(name), std::end(name), u'\0');
  if (!ValidProfile(p)) return false;
  int base = N(p);
  int count = tessel.Value(base);
  if (count < 1 || count > kNameMaxChars) return false;
  for (int k = 0; k < count; ++k) {
    int lo = tessel.Value(base + 1 + 2 * k);
    int hi = tessel.Value(base + 2 + 2 * k);
    name[k] = static_cast<char16_t>((hi & 0xFF) * 256 + (lo & 0xFF));
  }
  return true;
}

void WriteProfileName(CIcTessel& tessel, int p, std::u16string_view name) {
  if (!ValidProfile(p)) return;  // never someone else's name
  int base = N(p);
  int count = static_cast<int>(std::min<std::size_t>(name.size(), kNameMaxChars));
  tessel.SetCell(base, count);
  for (int k = 0; k < count; ++k) {
    tessel.SetCell(base + 1 + 2 * k, name[k] & 0xFF);
    tessel.SetCell(base + 2 + 2 * k, name[k] >> 8);
  }
}

}  // namespace halvard
