#include "app/cfg_pointer.h"

#include <algorithm>

#include "store/value_names.h"

namespace halvard {

PointerValues StoredPointerValues(RegistryStore& store, int profile) {
  PointerValues v{kDefaultCursorSpeed, kDefaultDoubleClickMs, kDefaultWheelLines};
  const std::int32_t speed = store.GetDword(PointerSettingName(profile, PointerSetting::kMotionSpeed));
  if (PointerSettingSet(speed)) v.cursor = std::clamp<std::int32_t>(speed, kMinCursorSpeed, kMaxCursorSpeed);
  const std::int32_t click = store.GetDword(PointerSettingName(profile, PointerSetting::kDoubleClickSpeed));
  if (PointerSettingSet(click)) v.doubleClick = std::clamp<std::int32_t>(click, kMinDoubleClickMs, kMaxDoubleClickMs);
  const std::int32_t lines = store.GetDword(PointerSettingName(profile, PointerSetting::kWheelScrollLines));
  if (PointerSettingSet(lines)) v.wheel = (lines > kMaxWheelLines || lines < 0) ? kWheelOnePage : lines;
  return v;
}

void ApplyProfilePointerSettings(RegistryStore& store, SystemSettings& system, int profile) {
  const PointerValues v = StoredPointerValues(store, profile);
  system.SetCursorSpeed(v.cursor, false);
  system.SetDoubleClickTime(v.doubleClick);
  system.SetWheelLines(v.wheel, false);
}

void SaveProfilePointerSettings(RegistryStore& store, SystemSettings& system, int profile) {
  const int wheel = system.WheelLines();
  store.SetDword(PointerSettingName(profile, PointerSetting::kMotionSpeed), static_cast<std::uint32_t>(system.CursorSpeed()));
  store.SetDword(PointerSettingName(profile, PointerSetting::kDoubleClickSpeed),
                 static_cast<std::uint32_t>(system.DoubleClickTime()));
  store.SetDword(PointerSettingName(profile, PointerSetting::kWheelScrollLines),
                 static_cast<std::uint32_t>(wheel == kWheelOnePage ? kMaxWheelLines : wheel));
}

bool WriteThrough(CIcTessel& tessel, int address, int value) {
  if (tessel.WriteCell(address, value)) return true;
  tessel.SetCell(address, value);
  return false;
}

void RestoreShadowCell(CIcTessel& tessel, int address, const MemoryCell& snapshot) {
  if (snapshot.dirty == 0) {
    if (snapshot.valid == 1) tessel.MarkLoaded(address, snapshot.value);
    // A cell never read stays as it was: the pages never change such a cell.
    return;
  }
  // Pending before: pending again with its value.
  if (tessel.Value(address) == snapshot.value && tessel.IsDirty(address)) return;
  tessel.MarkLoaded(address, snapshot.value ^ 1);
  tessel.SetCell(address, snapshot.value);
}

}  // namespace halvard
