// Status records of the filter device as any bytes: the wheel operation only ever sends a
// profile 0-4 with a level 0-3, a rate 0-3 or a lock state 0/1, at most one notification of each
// kind, and only starts the application of a launch code that names a stored button.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "hook/hook_core.h"
#include "hook/launch_table.h"
#include "platform/registry_memory.h"
#include "platform/text.h"

namespace {

using namespace halvard;

class ScriptedDevice : public FilterDevice {
 public:
  bool Open() override { return present; }
  bool Read(std::uint8_t* buffer, std::uint32_t length) override {
    if (buffer[0] != kFilterStatusRequest || length != kFilterStatusBytes) std::abort();
    std::memcpy(buffer, answer, kFilterStatusBytes);
    return readOk;
  }
  void Close() override {}
  bool present = true, readOk = true;
  std::uint8_t answer[kFilterStatusBytes] = {};
};

class RecordingStarter : public AppStarter {
 public:
  bool OpenForReading(const char*) override { return true; }
  bool Start(const char* path) override {
    started.emplace_back(path);
    return true;
  }
  std::vector<std::string> started;
};

std::string AppPath(int profile, int button) {
  std::string s = "C:\\app";
  AppendDecimal(s, profile * 11 + button);
  return s;
}

constexpr std::int32_t kOsd = 0x100, kMain = 0x200;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kFilterStatusBytes + 1) return 0;
  static MemoryRegistry registry;
  static bool stored = [] {
    RegistryStoreA narrow(registry);
    for (int p = 0; p < kLaunchProfiles; ++p)
      for (int b = 0; b < kLaunchButtons; ++b) narrow.SetString(Widen(kLaunchTable[p][b].data()), AppPath(p, b));
    narrow.SetDword(kOsdHandle, kOsd);
    narrow.SetDword(kProcessHandle, kMain);
    narrow.SetDword(kCurrentDialog, kRouteMainWindow);
    return true;
  }();
  (void)stored;

  ScriptedDevice device;
  std::memcpy(device.answer, data, kFilterStatusBytes);
  device.readOk = (data[6] & 1) == 0;
  RecordingStarter starter;
  RecordingWindowServices windows;
  HookSharedSection shared{};
  HookCore core(registry, windows, device, starter, shared);

  // Bit 7 of byte 6 turns the wheel backward; bit 0 fails the read.
  const std::uint32_t mouseData = static_cast<std::uint32_t>(data[6] & 0xFE) << 24;
  const int result = core.m_ProcessWheel(mouseData);
  if (shared.wheelDelta != static_cast<std::int16_t>(mouseData >> 16)) std::abort();
  if (registry.OpenKeyCount() != 0) std::abort();

  const std::uint8_t* s = device.answer;
  const bool answered = device.readOk && FilterStatusPending(s) && (mouseData & 0x80000000u) == 0;
  const FilterEvent event = DecodeFilterStatus(s);
  if (!answered || event.kind == FilterEvent::Kind::kIgnored) {
    if (result != 0 || !windows.posted.empty() || !starter.started.empty()) std::abort();
    return 0;
  }
  if (result != 1) std::abort();

  if (event.kind == FilterEvent::Kind::kLaunch) {
    auto target = LaunchTarget(s[2]);
    if (!target || !windows.posted.empty() || starter.started.size() != 1 ||
        starter.started[0] != AppPath(target->profile, target->button))
      std::abort();
    return 0;
  }
  if (!starter.started.empty() || windows.posted.size() != 2) std::abort();
  const auto& ui = windows.posted[0];
  const auto& osd = windows.posted[1];
  if (ValueFromHandle(ui.window) != kMain || ui.message != WM_INFORM_UI) std::abort();
  if (ValueFromHandle(osd.window) != kOsd || osd.message != WM_INFORM_OSD) std::abort();
  if (ui.wParam != osd.wParam || ui.lParam != osd.lParam) std::abort();
  const auto value = static_cast<std::uint32_t>(osd.lParam);
  switch (osd.wParam) {
    case OSD_DPI_STATE: {
      DpiStateWord w = DpiStateWord::Unpack(value);
      if (w.profile > 4 || !w.HasLevel() || (value >> 24) != 0) std::abort();
      break;
    }
    case OSD_LOCK:
      if (value > 1) std::abort();
      break;
    case OSD_POLLING_RATE:
      if (value > 3) std::abort();
      break;
    default:
      std::abort();
  }
  return 0;
}
