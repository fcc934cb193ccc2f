// HalvardMonitor.exe: the hidden window, the tray icon, Raw Input, the two satellite libraries and
// the low-level mouse hook. Every decision is the dispatcher's; this file only talks to Windows.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwctype>
#include <memory>
#include <string>
#include <vector>

#include "device/hid_seam_win32.h"
#include "device/image_hid.h"
#include "monitor/command_dispatcher.h"
#include "monitor/os_code.h"
#include "monitor/tray_texts.h"
#include "platform/clock_win32.h"
#include "platform/file_seam_win32.h"
#include "platform/message_box_win32.h"
#include "platform/registry_seam_win32.h"
#include "platform/shell_win32.h"
#include "platform/window_services_win32.h"

namespace halvard {
namespace {

constexpr UINT kIconId = 107;
constexpr UINT kSmallIconId = 108;
constexpr UINT kTitleString = 103;
constexpr UINT kClassString = 109;
constexpr UINT kTrayCallback = WM_LBUTTONDOWN;
// Simulation mode: how often the mouse image's notices and events file are looked at.
constexpr UINT_PTR kTimerSimulation = 0x4010;
constexpr UINT kSimulationPollMs = 25;
constexpr char kSimulateVariable[] = "HALVARD_SIMULATE";

const wchar_t* W(std::u16string_view s) { return reinterpret_cast<const wchar_t*>(s.data()); }
std::wstring Wide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

MonitorOsInfo QueryOsInfo() {
  MonitorOsInfo info;
  OSVERSIONINFOW v{};
  v.dwOSVersionInfoSize = sizeof v;
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  auto rtl = reinterpret_cast<RtlGetVersionFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion")));
  if (rtl == nullptr || rtl(&v) != 0) return info;
  info.known = true;
  info.nt = v.dwPlatformId == VER_PLATFORM_WIN32_NT;
  info.major = v.dwMajorVersion;
  info.minor = v.dwMinorVersion;
  info.build = v.dwBuildNumber;
  return info;
}

// The notification-area icon with its menu.
class CTaskIcon {
 public:
  CTaskIcon(HINSTANCE instance, HWND owner, const TrayTexts& texts) : instance_(instance), owner_(owner), texts_(texts) {
    menu_ = CreatePopupMenu();
    AppendMenuW(menu_, MF_STRING, ID_LOAD_CONFIGURATION, W(texts_[kTextLoad]));
    AppendMenuW(menu_, MF_STRING, ID_GO_TO_WEBSITE, W(texts_[kTextWebsite]));
    AppendMenuW(menu_, MF_STRING, ID_TOGGLE_OSD, W(texts_[kTextDisableOsd]));
    AppendMenuW(menu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu_, MF_STRING, ID_EXIT, W(texts_[kTextExit]));
  }
  virtual ~CTaskIcon() {
    Remove();
    if (menu_ != nullptr) DestroyMenu(menu_);
    if (icon_ != nullptr) DestroyIcon(icon_);
  }
  CTaskIcon(const CTaskIcon&) = delete;
  CTaskIcon& operator=(const CTaskIcon&) = delete;

  void SetTip(std::u16string_view tip) {
    const std::wstring t = Wide(tip.substr(0, std::size(record_.szTip) - 1));
    wcscpy(record_.szTip, t.c_str());
  }
  void SetIcon(UINT id) {
    icon_ = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                          GetSystemMetrics(SM_CYSMICON), 0));
  }
  // Also after the taskbar was re-created: the old icon went with it.
  bool Add() {
    record_.cbSize = sizeof record_;
    record_.hWnd = owner_;
    record_.uID = kIconId;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = kTrayCallback;
    record_.hIcon = icon_;
    added_ = Shell_NotifyIconW(NIM_ADD, &record_) != FALSE;
    return added_;
  }
  void Remove() {
    if (added_) Shell_NotifyIconW(NIM_DELETE, &record_);
    added_ = false;
  }
  void SetOsdText(bool osdEnabled) {
    ModifyMenuW(menu_, 2, MF_BYPOSITION | MF_STRING, ID_TOGGLE_OSD,
                W(texts_[osdEnabled ? kTextDisableOsd : kTextEnableOsd]));
  }
  HMENU Menu() const { return menu_; }

 private:
  HINSTANCE instance_;
  HWND owner_;
  bool added_ = false;
  NOTIFYICONDATAW record_{};
  HMENU menu_ = nullptr;
  HICON icon_ = nullptr;
  TrayTexts texts_;
};

// The process: single instance, satellites, hook, and the hidden window's handlers.
class CMonitorApp : public MonitorWindow {
 public:
  CMonitorApp() {
    const char* env = std::getenv(kSimulateVariable);
    simulatedImage_ = env != nullptr ? env : "";
    if (simulatedImage_.empty() && HasSimulateSwitch(GetCommandLineW()))
      simulatedImage_ = NarrowPath(files_.DocumentsFolder()) + "\\Halvard\\Simulated mouse.img";
    if (simulatedImage_.empty()) {
      hid_ = std::make_unique<Win32Hid>();
    } else {
      auto sim = std::make_unique<ImageHid>(simulatedImage_, clock_);
      simulated_ = sim.get();
      hid_ = std::move(sim);
    }
    client_ = std::make_unique<CHidClient>(*hid_, box_, registry_);
    dispatcher_ = std::make_unique<CCommandDispatcher>(
        MonitorDeps{registry_, windows_, files_, shell_, clock_, *client_, *this});

    mutex_ = CreateMutexW(nullptr, TRUE, W(kMonitorMutexName));
    if (mutex_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
      ReleaseMutex(mutex_);
      CloseHandle(mutex_);
      mutex_ = nullptr;
    }
    if (mutex_ == nullptr) return;  // a second instance loads nothing
    osCode_ = MonitorOsCode(QueryOsInfo());
    osd_ = LoadSatelliteLibrary(u"HalvardOsd.dll");
    hook_ = LoadSatelliteLibrary(u"HalvardHook.dll");
    if (hook_ != nullptr) {
      auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(hook_, "_LLMouseProc@12")));
      if (proc != nullptr) llMouse_ = SetWindowsHookExW(WH_MOUSE_LL, proc, hook_, 0);
      using LinkFn = void (*)(HHOOK, HHOOK);
      auto link = reinterpret_cast<LinkFn>(reinterpret_cast<void*>(GetProcAddress(hook_, "LinkNextHook")));
      if (link != nullptr && llMouse_ != nullptr) link(llMouse_, nullptr);
    }
  }

  // In the order the process ends: mutex, tray, display, hook, notifications.
  void Shutdown() {
    if (mutex_ != nullptr) {
      ReleaseMutex(mutex_);
      CloseHandle(mutex_);
      mutex_ = nullptr;
    }
    tray_.reset();
    if (osd_ != nullptr) FreeLibrary(osd_);
    osd_ = nullptr;
    if (llMouse_ != nullptr) UnhookWindowsHookEx(llMouse_);
    llMouse_ = nullptr;
    if (hook_ != nullptr) FreeLibrary(hook_);
    hook_ = nullptr;
    client_->UnRegisterNotify();
  }

  int Run(HINSTANCE instance) {
    automation_ = HasAutomationSwitch(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    wchar_t title[100] = L"HalvardMonitor", className[100] = L"HalvardMONITOR";
    LoadStringW(instance, kTitleString, title, 100);
    LoadStringW(instance, kClassString, className, 100);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
    wc.hIconSm = LoadIconW(instance, MAKEINTRESOURCEW(kSmallIconId));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    HWND hwnd = CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0,
                                nullptr, nullptr, instance, this);
    if (hwnd == nullptr) return 0;
    ShowWindow(hwnd, SW_HIDE);
    UpdateWindow(hwnd);
    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(kClassString));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      if (accelerators != nullptr && TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
  }

  // MonitorWindow
  void SetOsdMenuText(bool osdEnabled) override {
    if (tray_) tray_->SetOsdText(osdEnabled);
  }
  void ShowTrayMenu() override {
    if (!tray_) return;
    POINT p{};
    GetCursorPos(&p);
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(tray_->Menu(), TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
  }
  void Destroy() override { DestroyWindow(hwnd_); }

 private:
  static std::string NarrowPath(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
  }
  static bool HasSimulateSwitch(const wchar_t* commandLine) {
    std::wstring line(commandLine);
    for (auto& c : line) c = static_cast<wchar_t>(towlower(c));
    return line.find(L"/simulate") != std::wstring::npos || line.find(L"-simulate") != std::wstring::npos;
  }

  HMODULE LoadSatelliteLibrary(std::u16string_view name) {
    if (auto path = dispatcher_->LocateFile(name)) return LoadLibraryW(W(*path));
    wchar_t folder[MAX_PATH];
    const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return nullptr;
    std::wstring windows = std::wstring(folder) + L"\\";
    std::wstring inWindows = windows + Wide(name);
    if (GetFileAttributesW(inWindows.c_str()) != INVALID_FILE_ATTRIBUTES) return LoadLibraryW(inWindows.c_str());
    BOOL wow64 = FALSE;
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    auto isWow64 = reinterpret_cast<IsWow64Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32"), "IsWow64Process")));
    if (osCode_ >= 7 && isWow64 != nullptr && isWow64(GetCurrentProcess(), &wow64) && wow64)
      return LoadLibraryW((windows + L"SysWOW64\\" + Wide(name)).c_str());
    wchar_t system[MAX_PATH];
    const UINT s = GetSystemDirectoryW(system, MAX_PATH);
    if (s == 0 || s >= MAX_PATH) return nullptr;
    return LoadLibraryW((std::wstring(system) + L"\\" + Wide(name)).c_str());
  }

  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* self = static_cast<CMonitorApp*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<CMonitorApp*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self != nullptr ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
  }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreated_ && msg != 0) {
      if (tray_) tray_->Add();
      return 0;
    }
    switch (msg) {
      case WM_CREATE:
        OnCreate();
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd_, &ps);
        EndPaint(hwnd_, &ps);
        return 0;
      }
      case WM_INPUT:
        if (dispatcher_->DevicePresent()) OnInput(reinterpret_cast<HRAWINPUT>(lp));
        break;  // the system cleans up after the default procedure
      case WM_COMMAND: {
        const UINT id = LOWORD(wp);
        if (id == ID_LOAD_CONFIGURATION || id == ID_GO_TO_WEBSITE || id == ID_TOGGLE_OSD || id == ID_EXIT) {
          dispatcher_->OnCommand(id);
          return 0;
        }
        break;
      }
      case kTrayCallback:
        dispatcher_->OnTrayNotify(static_cast<std::uint32_t>(lp));
        return 0;
      case WM_DEVICECHANGE:
        dispatcher_->OnDeviceChange(static_cast<std::uint32_t>(wp));
        return 0;
      case WM_TIMER:
        if (wp == kTimerSimulation) {
          PollSimulation();
        } else {
          dispatcher_->OnTimer(static_cast<std::uint32_t>(wp));
        }
        return 0;
      default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
  }

  void OnCreate() {
    dispatcher_->BeginCreate(hwnd_);
    if (mutex_ == nullptr) {
      dispatcher_->OnCommand(ID_LOAD_CONFIGURATION);
      DestroyWindow(hwnd_);
      return;
    }
    if (dispatcher_->TrayWanted()) {
      const TrayTexts texts = LoadTrayTexts(files_, dispatcher_->TrayLanguage(), GetSystemDefaultLangID());
      tray_ = std::make_unique<CTaskIcon>(GetModuleHandleW(nullptr), hwnd_, texts);
      tray_->SetTip(u"Vornex Halvard Mouse");
      tray_->SetIcon(kIconId);
      tray_->Add();
      taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    }
    RAWINPUTDEVICE devices[2] = {
        {kVendorUsagePage, kVendorUsage, RIDEV_INPUTSINK, hwnd_},
        {0x01, 0x02, RIDEV_INPUTSINK, hwnd_},
    };
    if (simulated_ != nullptr) {
      simulated_->PollNotices();  // the machine as it is now
      eventsOffset_ = kEventsFromNow;
      ReadNewImageEvents(simulatedImage_, &eventsOffset_, kVendorReportSize);
      SetTimer(hwnd_, kTimerSimulation, kSimulationPollMs, nullptr);
    }
    RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE));
    dispatcher_->FinishCreate(tray_ != nullptr, automation_);
  }

  void OnInput(HRAWINPUT input) {
    UINT size = 0;
    if (GetRawInputData(input, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) return;
    HANDLE heap = GetProcessHeap();
    auto* raw = static_cast<RAWINPUT*>(HeapAlloc(heap, 0, size));
    if (raw == nullptr) return;
    if (GetRawInputData(input, RID_INPUT, raw, &size, sizeof(RAWINPUTHEADER)) == size) {
      if (raw->header.dwType == RIM_TYPEHID) {
        DeviceIdentity source;
        RID_DEVICE_INFO info{};
        info.cbSize = sizeof info;
        UINT infoSize = sizeof info;
        if (GetRawInputDeviceInfoW(raw->header.hDevice, RIDI_DEVICEINFO, &info, &infoSize) != static_cast<UINT>(-1) &&
            info.dwType == RIM_TYPEHID) {
          source = {static_cast<std::uint16_t>(info.hid.dwVendorId), static_cast<std::uint16_t>(info.hid.dwProductId),
                    static_cast<std::uint16_t>(info.hid.dwVersionNumber)};
        }
        const std::size_t bytes = static_cast<std::size_t>(raw->data.hid.dwSizeHid) * raw->data.hid.dwCount;
        if (bytes <= size - offsetof(RAWINPUT, data.hid.bRawData))
          dispatcher_->OnHidInput(std::span<const std::uint8_t>(raw->data.hid.bRawData, raw->data.hid.dwSizeHid),
                                  source);
      } else if (raw->header.dwType == RIM_TYPEMOUSE) {
        const USHORT flags = raw->data.mouse.usButtonFlags;
        if (flags & (kRawButton4Down | kRawButton5Down)) {
          wchar_t name[512] = {};
          UINT chars = 511;
          if (GetRawInputDeviceInfoW(raw->header.hDevice, RIDI_DEVICENAME, name, &chars) != static_cast<UINT>(-1))
            dispatcher_->OnMouseButtons(flags, reinterpret_cast<const char16_t*>(name));
        }
      }
    }
    HeapFree(heap, 0, raw);
  }

  // Simulation mode: the image's plug and unplug as device notices, its events file as Raw Input.
  void PollSimulation() {
    for (const DeviceNotice& n : simulated_->PollNotices())
      dispatcher_->OnDeviceChange(n.arrival ? kDeviceArrival : kDeviceRemoveComplete);
    const std::vector<std::uint8_t> bytes = ReadNewImageEvents(simulatedImage_, &eventsOffset_, kVendorReportSize);
    if (bytes.empty() || !dispatcher_->DevicePresent()) return;
    const DeviceIdentity source{client_->GetDeviceVID(0), client_->GetDevicePID(0), client_->GetDeviceVer(0)};
    for (std::size_t at = 0; at + kVendorReportSize <= bytes.size(); at += kVendorReportSize)
      dispatcher_->OnHidInput(std::span<const std::uint8_t>(bytes.data() + at, kVendorReportSize), source);
  }

  Win32Registry registry_;
  Win32WindowServices windows_;
  Win32Files files_;
  Win32Shell shell_;
  Win32Clock clock_;
  Win32MessageBox box_;
  std::unique_ptr<HidSeam> hid_;
  ImageHid* simulated_ = nullptr;
  std::string simulatedImage_;
  std::uint64_t eventsOffset_ = kEventsFromNow;
  std::unique_ptr<CHidClient> client_;
  std::unique_ptr<CCommandDispatcher> dispatcher_;
  std::unique_ptr<CTaskIcon> tray_;
  HWND hwnd_ = nullptr;
  HANDLE mutex_ = nullptr;
  HMODULE osd_ = nullptr;
  HMODULE hook_ = nullptr;
  HHOOK llMouse_ = nullptr;
  int osCode_ = 7;
  bool automation_ = false;
  UINT taskbarCreated_ = 0;
};

}  // namespace
}  // namespace halvard

namespace {
// Constructed before the entry point: the single-instance mutex, the libraries and the hook.
halvard::CMonitorApp g_monitor;
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  const int rc = g_monitor.Run(instance);
  g_monitor.Shutdown();
  return rc;
}
