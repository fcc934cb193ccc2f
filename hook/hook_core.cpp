#include "hook/hook_core.h"

#include <algorithm>
#include <string>

#include "hook/launch_table.h"
#include "platform/text.h"

namespace halvard {

// Bits of the mouse-data word of extended buttons and the wheel.
inline constexpr std::uint32_t kFirstXButton = 0x10000;
inline constexpr std::uint32_t kSecondXButton = 0x20000;
inline constexpr std::uint32_t kWheelBackward = 0x80000000u;

HookCore::HookCore(RegistrySeam& registry, WindowServices& windows, FilterDevice& device, AppStarter& starter,
                   HookSharedSection& shared)
    : store_(registry), sender_(store_, windows), device_(device), starter_(starter), shared_(shared) {}

int HookCore::m_InformOSD(int wParam, std::int32_t lParam) {
  return sender_.m_InformOSD(static_cast<std::uint32_t>(wParam), lParam);
}

int HookCore::m_InformMainFrame(int wParam, std::int32_t lParam) {
  return sender_.m_InformMainFrame(static_cast<std::uint32_t>(wParam), lParam);
}

int HookCore::m_InformUIEdit(std::uint32_t vk, std::int32_t released) {
  return sender_.m_InformUIEdit(vk, released != 0);
}

bool HookCore::FilterKey(const LowLevelKey& key, bool ctrlDown) {
  if (!keys_.IsSystemKey(key, ctrlDown)) return false;
  return m_InformUIEdit(key.vk, key.Released() ? 1 : 0) == 1;
}

int HookCore::m_ProcessXButton(std::uint32_t mouseData) {
  if (mouseData & kFirstXButton) {
    m_InformOSD(OSD_ARROW, kOsdArrowLeft);
    return 1;
  }
  if (mouseData & kSecondXButton) {
    m_InformOSD(OSD_ARROW, kOsdArrowRight);
    return 1;
  }
  return 0;
}

int HookCore::m_ProcessWheel(std::uint32_t mouseData) {
  shared_.wheelDelta = static_cast<std::int16_t>(mouseData >> 16);
  if (mouseData & kWheelBackward) return 0;
  FilterStatus status{};
  if (GetStatus4Filter(status.data()) == 0) return 0;
  const FilterEvent event = DecodeFilterStatus(status.data());
  const auto value = static_cast<std::int32_t>(event.value);
  switch (event.kind) {
    case FilterEvent::Kind::kIgnored:
      return 0;
    case FilterEvent::Kind::kLaunch:
      m_LaunchAP(value);
      return 1;
    case FilterEvent::Kind::kLock:
      m_InformMainFrame(UI_LOCK, value);
      m_InformOSD(OSD_LOCK, value);
      return 1;
    case FilterEvent::Kind::kPollingRate:
      m_InformMainFrame(UI_POLLING_RATE, value);
      m_InformOSD(OSD_POLLING_RATE, value);
      return 1;
    case FilterEvent::Kind::kDpiState:
      m_InformMainFrame(UI_DPI_STATE, value);
      m_InformOSD(OSD_DPI_STATE, value);
      return 1;
  }
  return 0;
}

bool HookCore::ReadAppPath(std::u16string_view name, std::array<char, kAppPathBytes>& path) {
  // One character more than the buffer holds shows a path that would not fit.
  std::array<char, kAppPathBytes + 1> text{};
  if (store_.GetString(name, std::span<char>(text)) == 0) return false;
  const std::size_t length = BoundedLength(text.data(), text.size());
  if (length >= kAppPathBytes) return false;
  std::fill(path.begin(), path.end(), '\0');
  std::copy_n(text.begin(), length, path.begin());
  return true;
}

void HookCore::m_LaunchAP(int code) {
  auto target = LaunchTarget(static_cast<std::uint32_t>(code));
  if (!target) return;
  const LaunchName& entry = kLaunchTable[target->profile][target->button];
  const std::u16string name = Widen(std::string_view(entry.data(), BoundedLength(entry.data(), entry.size())));
  std::array<char, kAppPathBytes> path{};
  if (!ReadAppPath(name, path)) return;
  m_ExecApplication(path.data());
}

int HookCore::m_ExecApplication(const char* path) {
  if (path == nullptr) return 0;
  if (!starter_.OpenForReading(path)) return 0;
  starter_.Start(path);  // started or not, the request was made
  return 1;
}

}  // namespace halvard
