// The full configuration page's own decisions: which controls are on, the normal/battle LED
// modes, the profile list and its choice.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/session.h"
#include "device/ic_tessel.h"
#include "platform/clock.h"
#include "platform/file_seam.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

// Controls of the full page.
enum PageControl : int {
  kPgHide = 1001,
  kPgYes = 1005,
  kPgReset = 1006,
  kPgRegistration = 1007,
  kPgHelp = 1008,
  kPgAdvanced = 1009,
  kPgProfiles = 1010,
  kPgMacroEditor = 1011,
  kPgLed = 1012,
  kPgApply = 1013,
  kPgCancel = 1014,
  kPgOk = 1015,
  kPgMacroFunction = 1115,
  kPgSingleFunction = 1116,
  kPgDefaultFunction = 1117,
  kPgApplication = 1118,
  kPgNormal = 1119,
  kPgBattle = 1120,
  kPgPlate = 1121,
  kPgFirstTab = 1200,
  kPgFirstHotSpot = 1740,
  kPgProfileButton = 1787,
  kPgVideoAir = 1788,
  kPgVideo3d = 1789,
  kPgProfileList = 1814,
};

// Every page control (all but YES and the list).
std::span<const int> PageControls();

// What decides the controls' enabled state.
struct PageState {
  bool unlocked = true;
  bool modified = false;
  int selectedButton = 11;   // 11: none
  int selectedCategory = 6;  // label category of the selected button
};
bool PageControlEnabled(int id, const PageState& state);

// The LED mode pictures of NORMAL and BATTLE.
struct ModePictures {
  int normal, battle;
};
ModePictures ModePicturesFor(bool battle);
// Bits 4-5 of the profile's middle LED cell both set.
bool InBattleMode(const CIcTessel& tessel, int p);

inline constexpr int kLedModeCells = 3;  // B(p)+11 to +13

// Rewrites the mode bits of p's three LED cells through to the mouse and sends the apply command
// when at least one cell is in the new state afterwards. Returns the number of cells in it on the
// mouse; a cell the mouse did not take is left pending with its new value.
int WriteLedMode(CIcTessel& tessel, Clock& clock, int p, bool battle);

// "Default", then the profile files of the data folder without their ".pf", in its order.
std::vector<std::u16string> ProfileListEntries(FileSeam& files);

// A choice from the profile list: names the current profile and resets it (position 0) or loads
// the named file into it. False when ignored.
bool ChooseProfileEntry(DeviceSession& session, const std::vector<std::u16string>& entries, int position);

// The maker's product registration page.
inline constexpr std::u16string_view kRegistrationAddress = u"https://www.vornex-gaming.com/register";

}  // namespace halvard
