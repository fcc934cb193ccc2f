#include "app/led_page.h"

#include "app/cfg_pointer.h"
#include "device/memory_map.h"
#include "ipc/messages.h"

namespace halvard {
namespace {

constexpr int kLastProfile = kProfileCount - 1;
constexpr int kZoneOffsets[kZoneCount] = {13, 11, 12};
constexpr int kModeBits = 0x30;

}  // namespace

int ColourButtonOf(int code) {
  for (int b = 0; b < kColourCount; ++b)
    if (kColourCodes[static_cast<std::size_t>(b)] == (code & 7)) return b;
  return kNoColour;
}

int ZoneCell(int p, int zone) { return B(p) + kZoneOffsets[zone < 0 || zone >= kZoneCount ? 0 : zone]; }

LedPageModel::LedPageModel(LedPageDeps deps)
    : tessel_(deps.tessel), store_(deps.store), clock_(deps.clock), messages_(deps.messages) {}

void LedPageModel::Open(int p, Hwnd page) {
  store_.SetDword(kLedEditHandle, ValueFromHandle(page));
  closed_ = false;
  Load(p);
}

void LedPageModel::Load(int p) {
  profile_ = (p >= 0 && p <= kLastProfile) ? p : 0;
  for (int z = 0; z < kZoneCount; ++z)
    snapshot_[static_cast<std::size_t>(z)] = tessel_.Shadow()[static_cast<std::size_t>(ZoneCell(profile_, z))];
  applied_ = false;
  selected_ = kNoZone;
  ledsOn_ = AnyLit();
}

bool LedPageModel::AnyLit() const {
  for (int z = 0; z < kZoneCount; ++z)
    if (ZoneLit(z, Cell(z))) return true;
  return false;
}

// A zone shows its colour only while its mode lights it, so the page never shows a colour the
// mouse does not.
int LedPageModel::Shown(int zone) const {
  if (zone < 0 || zone >= kZoneCount) return kNoColour;
  const int cell = Cell(zone);
  return ZoneLit(zone, cell) ? ColourButtonOf(cell & 7) : kNoColour;
}

void LedPageModel::SetZoneColour(int zone, int button) {
  const int cell = Cell(zone);
  tessel_.SetCell(ZoneCell(profile_, zone), (cell & ~7) | kColourCodes[static_cast<std::size_t>(button)]);
}

void LedPageModel::ChooseColour(int button) {
  // The buttons are off while the LEDs are; a button number the page does not have changes nothing.
  if (button < 0 || button >= kColourCount || !ledsOn_) return;
  if (selected_ == kNoZone) {
    for (int z = 0; z < kZoneCount; ++z) SetZoneColour(z, button);
  } else {
    if (Shown(selected_) == button) return;
    SetZoneColour(selected_, button);
  }
  ledsOn_ = true;
}

void LedPageModel::SelectZone(int zone) {
  if (zone < 0 || zone >= kZoneCount || zone == selected_) return;
  selected_ = zone;
}

void LedPageModel::LightZone(int zone) {
  tessel_.SetCell(ZoneCell(profile_, zone), (Cell(zone) & 7) + LitMode(zone));
}

void LedPageModel::On() {
  if (selected_ != kNoZone) {
    if (Shown(selected_) == kNoColour) LightZone(selected_);
  } else {
    for (int z = 0; z < kZoneCount; ++z) LightZone(z);
  }
  ledsOn_ = true;
}

void LedPageModel::Off() {
  if (!ledsOn_) return;
  for (int z = 0; z < kZoneCount; ++z) {
    if (selected_ != kNoZone && z != selected_) continue;
    if (ZoneLit(z, Cell(z))) tessel_.SetCell(ZoneCell(profile_, z), Cell(z) & ~kModeBits);
  }
  if (!AnyLit()) ledsOn_ = false;
}

bool LedPageModel::Apply(bool ok) {
  bool attempted = false, failed = false;
  for (int z = 0; z < kZoneCount; ++z) {
    const int a = ZoneCell(profile_, z);
    if (!tessel_.IsDirty(a)) continue;
    attempted = true;
    if (!tessel_.FlushCell(a)) failed = true;
    clock_.Sleep(10);
  }
  if (attempted) {
    tessel_.Apply();
    applied_ = true;
  }
  if (failed) {
    messages_.ShowMessage(kMsgSaveConfigFailed);
    return false;
  }
  if (ok) {
    store_.SetDword(kLedEditHandle, 0xFFFFFFFFu);
    closed_ = true;
  } else {
    selected_ = kNoZone;
  }
  return true;
}

void LedPageModel::Cancel() {
  if (!applied_) {
    for (int z = 0; z < kZoneCount; ++z)
      RestoreShadowCell(tessel_, ZoneCell(profile_, z), snapshot_[static_cast<std::size_t>(z)]);
  } else {
    bool sent = false;
    for (int z = 0; z < kZoneCount; ++z) {
      const int a = ZoneCell(profile_, z);
      const MemoryCell& snap = snapshot_[static_cast<std::size_t>(z)];
      if (tessel_.Value(a) == snap.value && !tessel_.IsDirty(a)) continue;
      WriteThrough(tessel_, a, snap.value);
      sent = true;
      clock_.Sleep(10);
    }
    if (sent) tessel_.Apply();
  }
  store_.SetDword(kLedEditHandle, 0xFFFFFFFFu);
  closed_ = true;
}

void LedPageModel::EndPage() {
  for (int z = 0; z < kZoneCount; ++z)
    RestoreShadowCell(tessel_, ZoneCell(profile_, z), snapshot_[static_cast<std::size_t>(z)]);
  store_.SetDword(kLedEditHandle, 0xFFFFFFFFu);
  closed_ = true;
}

std::intptr_t LedPageModel::OnInformUi(std::uintptr_t code, std::intptr_t lParam) {
  if (code != UI_DPI_STATE) return 0;
  const auto word = static_cast<std::uint32_t>(lParam);
  const int q = static_cast<int>((word >> 4) & 7);
  if ((word & 0x80) == 0 || q > kLastProfile) return 0;
  Load(q);
  return 1;
}

}  // namespace halvard
