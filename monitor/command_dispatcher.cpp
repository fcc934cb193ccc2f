#include "monitor/command_dispatcher.h"

#include <array>

#include "ipc/messages.h"
#include "store/value_names.h"

namespace halvard {

namespace {

constexpr SUsbId kIdentity[] = {{0x2E4A, 0x1C07}};

char16_t Upper(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c; }

std::size_t FindIgnoringCase(std::u16string_view text, std::u16string_view what) {
  for (std::size_t i = 0; i + what.size() <= text.size(); ++i) {
    std::size_t k = 0;
    while (k < what.size() && Upper(text[i + k]) == what[k]) ++k;
    if (k == what.size()) return i;
  }
  return std::u16string_view::npos;
}

std::uint16_t HexAfter(std::u16string_view text, std::u16string_view key) {
  std::size_t at = FindIgnoringCase(text, key);
  if (at == std::u16string_view::npos) return 0;
  std::uint16_t v = 0;
  for (std::size_t i = at + key.size(); i < at + key.size() + 4; ++i) {
    const char16_t c = i < text.size() ? Upper(text[i]) : u'\0';
    int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'A' && c <= u'F' ? c - u'A' + 10 : 0;
    v = static_cast<std::uint16_t>(v * 16 + digit);
  }
  return v;
}

}  // namespace

DeviceIdentity IdentityFromDeviceName(std::u16string_view name) {
  return {HexAfter(name, u"VID_"), HexAfter(name, u"PID_"), 0};
}

bool IsMonitoredMouse(std::uint16_t vendorId, std::uint16_t productId) {
  for (const SUsbId& id : kIdentity)
    if (id.vid == vendorId && id.pid == productId) return true;
  return false;
}

CCommandDispatcher::CCommandDispatcher(const MonitorDeps& deps)
    : deps_(deps), store_(deps.registry), sender_(store_, deps.windows, InformSender::Check::kIsWindow) {}

std::optional<std::u16string> CCommandDispatcher::ReadPathValue(std::u16string_view name) {
  // Room for one character more than the path buffer holds shows a value that would not fit.
  std::array<char16_t, kMonitorPathChars + 1> text{};
  if (store_.GetString(name, std::span<char16_t>(text)) == 0) return std::nullopt;
  std::u16string value(text.data());
  if (value.size() >= kMonitorPathChars) return std::nullopt;
  return value;
}

std::optional<std::u16string> CCommandDispatcher::LocateFile(std::u16string_view name) {
  auto tryPath = [&](const std::u16string& path) {
    return path.size() < kMonitorPathChars && deps_.files.CanOpenForReading(path);
  };
  std::u16string candidate = u".\\" + std::u16string(name);
  if (tryPath(candidate)) return candidate;
  candidate = std::u16string(name);
  if (!candidate.empty() && tryPath(candidate)) return candidate;
  if (auto folder = ReadPathValue(kValuePath)) {
    candidate = *folder + u"\\" + std::u16string(name);
    if (tryPath(candidate)) return candidate;
  }
  std::u16string own = deps_.files.ProgramPath();
  const std::size_t slash = own.rfind(u'\\');
  if (slash != std::u16string::npos) {
    candidate = own.substr(0, slash + 1) + std::u16string(name);
    if (tryPath(candidate)) return candidate;
  }
  return std::nullopt;
}

bool CCommandDispatcher::StartProgram(std::u16string_view path) {
  if (path.empty() || !deps_.files.CanOpenForReading(path)) return false;
  return deps_.shell.StartProcess(path);
}

void CCommandDispatcher::BeginCreate(Hwnd window) {
  window_ = window;
  mainProgram_.clear();
  if (auto located = ReadPathValue(kValueLocateApp); located && !located->empty() &&
                                                       deps_.files.CanOpenForReading(*located)) {
    mainProgram_ = *located;
  } else if (auto found = LocateFile(kMainProgramName)) {
    mainProgram_ = *found;
  }
}

bool CCommandDispatcher::TrayWanted() { return store_.GetDword(kValueDisableTray) <= 0; }

std::int32_t CCommandDispatcher::TrayLanguage() { return store_.GetDword(kValueLanguage); }

void CCommandDispatcher::FinishCreate(bool trayPresent, bool automationStart) {
  trayPresent_ = trayPresent;
  store_.SetDword(kMonitorHandle, ValueFromHandle(window_));
  osdEnabled_ = store_.GetDword(kValueDisableOsd) != 1;
  if (trayPresent_) deps_.window.SetOsdMenuText(osdEnabled_);
  if (LiveHandle(kOsdHandle) != nullptr) {
    sender_.m_InformOSD(OSD_ENABLE, osdEnabled_ ? 1 : 0);
    sender_.m_InformOSD(OSD_X_FIRST, 1);
  }
  deps_.hid.RegisterNotify(window_);
  devicePresent_ = Enumerate();
  if (devicePresent_) {
    for (int i = 0; i < deps_.hid.GetRecognizedDevices(); ++i) {
      if (i > 0) deps_.clock.Sleep(kIndicatorPauseMs);
      deps_.hid.Write(i, kIndicatorEndReport, sizeof kIndicatorEndReport);
    }
  }
  if (!automationStart) deps_.windows.SetTimer(window_, TIMER_START_MAIN, kStartMainDelayMs);
}

bool CCommandDispatcher::Enumerate() {
  deps_.hid.CreateDeviceTable(kIdentity, 1, kMonitoredVersion, kMonitoredVersion);
  return deps_.hid.GetRecognizedDevices() > 0;
}

Hwnd CCommandDispatcher::LiveHandle(std::u16string_view name) {
  const std::int32_t value = store_.GetDword(name);
  if (!HandleUsable(value)) return nullptr;
  Hwnd h = HandleFromValue(value);
  return deps_.windows.IsWindow(h) ? h : nullptr;
}

void CCommandDispatcher::PostSelf(std::uint32_t command) { deps_.windows.Post(window_, kWmCommand, command, 0); }

void CCommandDispatcher::OnCommand(std::uint32_t id) {
  switch (id) {
    case ID_LOAD_CONFIGURATION: LoadConfiguration(); break;
    case ID_GO_TO_WEBSITE: deps_.shell.OpenDocument(kWebsite); break;
    case ID_TOGGLE_OSD: ToggleOsd(); break;
    case ID_EXIT: Exit(); break;
    default: break;
  }
}

void CCommandDispatcher::LoadConfiguration() {
  if (Hwnd main = LiveHandle(kProcessHandle)) {
    deps_.windows.Post(main, kWmCommand, ID_SHOW_MAIN, 0);
    return;
  }
  StartProgram(mainProgram_);
}

void CCommandDispatcher::ToggleOsd() {
  osdEnabled_ = !osdEnabled_;
  if (trayPresent_) deps_.window.SetOsdMenuText(osdEnabled_);
  sender_.m_InformOSD(OSD_ENABLE, osdEnabled_ ? 1 : 0);
  store_.SetDword(kValueDisableOsd, osdEnabled_ ? 0 : 1);
}

void CCommandDispatcher::Exit() {
  if (Hwnd main = LiveHandle(kProcessHandle)) deps_.windows.Post(main, kWmClose, 0, 0);
  deps_.window.Destroy();
}

void CCommandDispatcher::OnTrayNotify(std::uint32_t mouseMessage) {
  if (!trayPresent_) return;
  if (mouseMessage == kTrayRightDown) {
    deps_.window.ShowTrayMenu();
  } else if (mouseMessage == kTrayDoubleClick) {
    PostSelf(ID_LOAD_CONFIGURATION);
  }
}

void CCommandDispatcher::OnDeviceChange(std::uint32_t event) {
  if (event == kDeviceArrival && !devicePresent_) {
    deps_.windows.SetTimer(window_, TIMER_ARRIVAL_CHECK, kCheckDelayMs);
  } else if (event == kDeviceRemoveComplete && devicePresent_) {
    deps_.windows.SetTimer(window_, TIMER_REMOVAL_CHECK, kCheckDelayMs);
  }
}

void CCommandDispatcher::OnTimer(std::uint32_t id) {
  deps_.windows.KillTimer(window_, id);
  switch (id) {
    case TIMER_ARRIVAL_CHECK:
      if (!devicePresent_) devicePresent_ = Enumerate();
      break;
    case TIMER_REMOVAL_CHECK:
      if (devicePresent_) devicePresent_ = Enumerate();
      break;
    case TIMER_START_MAIN:
      PostSelf(ID_LOAD_CONFIGURATION);
      break;
    default:
      break;
  }
}

int CCommandDispatcher::OnHidInput(std::span<const std::uint8_t> report, const DeviceIdentity& source) {
  if (!devicePresent_) return 0;
  if (report.size() != kVendorReportSize || report[0] != kVendorReportId) return 0;
  if (source.version != kMonitoredVersion || !IsMonitoredMouse(source.vendorId, source.productId)) return 0;
  if (auto event = DecodeVendorReport(report)) HandleEvent(*event);
  return 1;
}

void CCommandDispatcher::HandleEvent(const VendorEvent& event) {
  if (event.type == kEventLaunch) {
    LaunchApplication(event.launchCode);
    return;
  }
  sender_.m_InformMainFrame(event.code, static_cast<std::intptr_t>(event.word));
  sender_.m_InformOSD(event.code, static_cast<std::intptr_t>(event.word));
}

void CCommandDispatcher::OnMouseButtons(std::uint16_t buttonFlags, std::u16string_view deviceName) {
  if (!devicePresent_) return;
  std::uint32_t arrow = 0;
  if (buttonFlags & kRawButton4Down) {
    arrow = kOsdArrowLeft;
  } else if (buttonFlags & kRawButton5Down) {
    arrow = kOsdArrowRight;
  } else {
    return;
  }
  const DeviceIdentity id = IdentityFromDeviceName(deviceName);
  if (IsMonitoredMouse(id.vendorId, id.productId)) sender_.m_InformOSD(OSD_ARROW, arrow);
}

void CCommandDispatcher::LaunchApplication(std::uint32_t code) {
  auto target = ProfileButtonFromNumber(code & 0x7F);
  if (!target) return;
  auto stored = ReadPathValue(ButtonValueName(target->profile, target->button, ButtonValue::kApplication));
  if (!stored || stored->empty()) return;
  if (auto path = LocateFile(*stored)) StartProgram(*path);
}

}  // namespace halvard
