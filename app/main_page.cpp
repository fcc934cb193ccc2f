#include "app/main_page.h"

#include <algorithm>
#include <array>

#include "device/memory_map.h"
#include "store/profile_file.h"

namespace halvard {

namespace {

constexpr std::array<int, 35> kPageControls = {
    kPgHide, kPgReset, kPgRegistration, kPgHelp, kPgAdvanced, kPgProfiles, kPgMacroEditor, kPgLed, kPgApply,
    kPgCancel, kPgOk, kPgMacroFunction, kPgSingleFunction, kPgDefaultFunction, kPgApplication, kPgNormal, kPgBattle,
    kPgPlate, kPgFirstTab, kPgFirstTab + 1, kPgFirstTab + 2, kPgFirstTab + 3, kPgFirstTab + 4, kPgFirstHotSpot,
    kPgFirstHotSpot + 1, kPgFirstHotSpot + 2, kPgFirstHotSpot + 3, kPgFirstHotSpot + 4, kPgFirstHotSpot + 5,
    kPgFirstHotSpot + 6, kPgFirstHotSpot + 7, kPgFirstHotSpot + 8, kPgFirstHotSpot + 9, kPgFirstHotSpot + 10,
    kPgProfileButton,
};
// The videos are page controls too; kept apart so the table above stays in the order of the
// enabling rule.
constexpr std::array<int, 2> kVideos = {kPgVideoAir, kPgVideo3d};
constexpr std::array<int, 37> AllControls() {
  std::array<int, 37> all{};
  for (std::size_t i = 0; i < kPageControls.size(); ++i) all[i] = kPageControls[i];
  all[35] = kVideos[0];
  all[36] = kVideos[1];
  return all;
}
constexpr std::array<int, 37> kAllControls = AllControls();

constexpr int kModeMask = 0x30;

}  // namespace

std::span<const int> PageControls() { return kAllControls; }

bool PageControlEnabled(int id, const PageState& s) {
  if (!s.unlocked) return false;
  const bool selected = s.selectedButton >= 0 && s.selectedButton < kButtonCount;
  switch (id) {
    case kPgApply:
    case kPgOk:
      return s.modified;
    case kPgMacroFunction:
    case kPgSingleFunction:
    case kPgApplication:
      return selected;
    case kPgDefaultFunction:
      return selected && s.selectedCategory != 2;
    default:
      return std::find(kAllControls.begin(), kAllControls.end(), id) != kAllControls.end();
  }
}

ModePictures ModePicturesFor(bool battle) { return battle ? ModePictures{182, 185} : ModePictures{183, 184}; }

bool InBattleMode(const CIcTessel& tessel, int p) { return (tessel.Value(B(p) + kOffLed + 1) & kModeMask) == kModeMask; }

int WriteLedMode(CIcTessel& tessel, Clock& clock, int p, bool battle) {
  const int bits = battle ? 0x30 : 0x20;
  int inNewState = 0;
  for (int k = 0; k < kLedModeCells; ++k) {
    const int a = B(p) + kOffLed + k;
    const int v = (tessel.Value(a) & ~kModeMask & 0xFF) | bits;
    if (tessel.Value(a) != v || tessel.IsDirty(a) || !tessel.IsValid(a)) {
      // A cell the mouse did not take stays pending for the next apply.
      if (tessel.WriteCell(a, v) != 1) tessel.SetCell(a, v);
      clock.Sleep(kCellPauseMs);
    }
    if (tessel.Value(a) == v && !tessel.IsDirty(a)) ++inNewState;
  }
  if (inNewState > 0) tessel.Apply();
  return inNewState;
}

std::vector<std::u16string> ProfileListEntries(FileSeam& files) {
  std::vector<std::u16string> entries{u"Default"};
  for (std::u16string& name : ListProfileNames(files)) entries.push_back(std::move(name));
  return entries;
}

bool ChooseProfileEntry(DeviceSession& session, const std::vector<std::u16string>& entries, int position) {
  if (position < 0 || static_cast<std::size_t>(position) >= entries.size()) return false;
  const std::u16string& text = entries[static_cast<std::size_t>(position)];
  const int p = session.currentProfile();
  if (text.empty() || p < 0 || p >= kProfileCount) return false;
  if (position == 0) {
    session.SetProfileName(p, text);
    session.ResetProfile(p, 2);
  } else {
    session.LoadNamedProfileFile(p, text);
  }
  return true;
}

}  // namespace halvard
