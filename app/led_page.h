// CSkinLedDlg's decisions: the LED page of one profile. Three light zones, each with one of
// seven colours and a mode; a zone or all zones are chosen, coloured and switched on or off in
// the shadow, APPLY and OK write the zone cells, CANCEL puts back what the page found.
#pragma once

#include <array>
#include <cstdint>

#include "device/ic_tessel.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

inline constexpr int kZoneCount = 3;
inline constexpr int kColourCount = 7;
inline constexpr int kNoColour = 7;  // a zone that shows no colour
inline constexpr int kNoZone = -1;   // no zone chosen: the buttons act on all three
// Colour codes (bit 0 red, bit 1 green, bit 2 blue) of the colour buttons, top to bottom.
inline constexpr std::array<int, kColourCount> kColourCodes = {1, 5, 4, 6, 7, 3, 2};

// The colour button of a code; kNoColour for 0.
int ColourButtonOf(int code);
// The zone's cell of profile p: zone 0 is B(p)+13, zone 1 B(p)+11, zone 2 B(p)+12.
int ZoneCell(int p, int zone);
// The mode that lights a zone: 0x20 for zone 1, 0x10 for the others.
constexpr int LitMode(int zone) { return zone == 1 ? 0x20 : 0x10; }
// Whether a zone cell's mode lights it on this page.
constexpr bool ZoneLit(int zone, int cell) {
  const int mode = (cell >> 4) & 3;
  return mode == 1 || (zone == 1 && mode == 2);
}

struct LedPageDeps {
  CIcTessel& tessel;
  RegistryStore& store;
  Clock& clock;
  MessageService& messages;
};

class LedPageModel {
 public:
  explicit LedPageModel(LedPageDeps deps);

  // Opening on profile `p` (0-4); `page` is published as "LED Edit Handle".
  void Open(int p, Hwnd page);
  void ChooseColour(int button);  // 0-6
  void SelectZone(int zone);      // 0-2
  void On();
  void Off();
  // APPLY (`ok` false) and OK; true when every pending zone cell reached the mouse. A failed
  // write is reported, its cell stays pending and OK does not end the page.
  bool Apply(bool ok);
  void Cancel();
  // The session ended under the page: the shadow goes back to the snapshot, nothing is sent.
  void EndPage();
  std::intptr_t OnInformUi(std::uintptr_t code, std::intptr_t lParam);

  int profile() const { return profile_; }
  // The colour button a zone shows, or kNoColour.
  int Shown(int zone) const;
  int selectedZone() const { return selected_; }
  bool ledsOn() const { return ledsOn_; }
  bool applied() const { return applied_; }
  bool closed() const { return closed_; }

 private:
  void Load(int p);
  void SetZoneColour(int zone, int button);
  void LightZone(int zone);
  bool AnyLit() const;
  int Cell(int zone) const { return tessel_.Value(ZoneCell(profile_, zone)); }

  CIcTessel& tessel_;
  RegistryStore& store_;
  Clock& clock_;
  MessageService& messages_;
  int profile_ = 0;
  int selected_ = kNoZone;
  bool ledsOn_ = false, applied_ = false, closed_ = false;
  std::array<MemoryCell, kZoneCount> snapshot_{};
};

}  // namespace halvard
