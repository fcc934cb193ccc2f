// The pointer settings Halvard keeps per profile ("PF1 Motion Speed" and its two siblings) and
// puts in force through the system-settings seam, and the two cell moves both settings pages
// share: a write-through that leaves a failed cell pending, and putting a snapshotted cell back.
#pragma once

#include "device/ic_tessel.h"
#include "platform/system_settings.h"
#include "store/registry_store.h"

namespace halvard {

inline constexpr int kDefaultCursorSpeed = 10;
inline constexpr int kDefaultDoubleClickMs = 500;
inline constexpr int kDefaultWheelLines = 3;
inline constexpr int kMinCursorSpeed = 1, kMaxCursorSpeed = 20;
inline constexpr int kMinDoubleClickMs = 100, kMaxDoubleClickMs = 5000;
inline constexpr int kMaxWheelLines = 10;

struct PointerValues {
  int cursor;
  int doubleClick;
  int wheel;  // kWheelOnePage for one page
};

// What the profile's three values ask for, defaults for missing ones. Stored values outside what
// the system takes are brought into range: speed 1-20, double-click 100-5000 ms, lines above 10
// (or negative) as one page.
PointerValues StoredPointerValues(RegistryStore& store, int profile);
// Puts the profile's values in force at once, announced but not made permanent.
void ApplyProfilePointerSettings(RegistryStore& store, SystemSettings& system, int profile);
// Stores what is in force now as the profile's values (one page as 10).
void SaveProfilePointerSettings(RegistryStore& store, SystemSettings& system, int profile);

// Writes `value` to the mouse unless it is there already; a failed write leaves the value
// pending in the shadow. True when the mouse has it.
bool WriteThrough(CIcTessel& tessel, int address, int value);
// Puts a snapshotted cell back in the shadow without a transfer: its value, and whether it is
// known to be on the mouse or still pending.
void RestoreShadowCell(CIcTessel& tessel, int address, const MemoryCell& snapshot);

}  // namespace halvard
