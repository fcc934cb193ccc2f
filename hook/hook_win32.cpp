// The library's Windows side: the shared section, the per-process instance, the entry point,
// the plain exports and the system calls behind the portable core.
#include "hook/hook_win32.h"

#include <new>

#include "hook/hook_core.h"
#include "hook/os_version.h"
#include "platform/registry_seam_win32.h"
#include "platform/window_services_win32.h"

// The 8 bytes every process that loads the library shares (wheel delta, keyboard hook). The
// compiler cannot mark a section shared, the assembler can ("s"); the linker keeps the flag.
asm(".section .shared,\"dws\"\n"
    "\t.globl halvard_hook_shared\n"
    "\t.balign 8\n"
    "halvard_hook_shared:\n"
    "\t.space 8\n"
    "\t.text\n");
extern "C" halvard::HookSharedSection halvard_hook_shared;

unsigned int CHook::m_HookCnt = 0;

namespace {

CHook* g_hook = nullptr;  // this process's instance

HHOOK SharedKeyboardHook() {
  return reinterpret_cast<HHOOK>(static_cast<std::intptr_t>(static_cast<std::int32_t>(halvard_hook_shared.keyboardHook)));
}

class Win32FilterDevice : public halvard::FilterDevice {
 public:
  bool Open() override {
    handle_ = CreateFileA("\\\\.\\KestrovaHalvardDevice", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    return handle_ != INVALID_HANDLE_VALUE;
  }
  bool Read(std::uint8_t* buffer, std::uint32_t length) override {
    DWORD got = 0;
    return ReadFile(handle_, buffer, length, &got, nullptr) && got == length;
  }
  void Close() override {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

class Win32AppStarter : public halvard::AppStarter {
 public:
  bool OpenForReading(const char* path) override {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_FLAG_RANDOM_ACCESS,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    CloseHandle(h);
    return true;
  }
  bool Start(const char* path) override {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(path, nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
  }
};

LRESULT CALLBACK KeyboardFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  if (g_hook == nullptr) return CallNextHookEx(SharedKeyboardHook(), code, wParam, lParam);
  return g_hook->m_LLKbdFilterProc(code, wParam, lParam);
}

}  // namespace

struct CHook::Parts {
  halvard::Win32Registry registry;
  halvard::Win32WindowServices windows;
  Win32FilterDevice device;
  Win32AppStarter starter;
  halvard::HookCore core{registry, windows, device, starter, halvard_hook_shared};
};

CHook::CHook(void* module) : module_(static_cast<HMODULE>(module)), parts_(std::make_unique<Parts>()) {
  osCode_ = GetOsVersion();
  if (halvard::OsMayRunWow64(osCode_)) {
    if (HMODULE kernel = GetModuleHandleA("kernel32"))
      isWow64Process_ = reinterpret_cast<BOOL(WINAPI*)(HANDLE, PBOOL)>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "IsWow64Process")));
  }
  // One keyboard hook however many processes load the library.
  if (halvard_hook_shared.keyboardHook == 0) {
    HHOOK h = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardFilterProc, module_, 0);
    halvard_hook_shared.keyboardHook = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(h));
  }
}

CHook::~CHook() {
  if (HHOOK h = SharedKeyboardHook()) UnhookWindowsHookEx(h);
  halvard_hook_shared.keyboardHook = 0;
  parts_->core.Registry().Close();
}

LRESULT CHook::LLMouseProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nextLLMouse_, code, wParam, lParam);
}

LRESULT CHook::MouseProc(int code, WPARAM wParam, LPARAM lParam) {
  return CallNextHookEx(nextMouse_, code, wParam, lParam);
}

void CHook::LinkNextHook(HHOOK llMouse, HHOOK mouse) {
  nextLLMouse_ = llMouse;
  nextMouse_ = mouse;
}

void CHook::UnLinkHook() {
  nextLLMouse_ = nullptr;
  nextMouse_ = nullptr;
}

LRESULT CHook::m_LLKbdFilterProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    const auto* event = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
    const bool ctrlDown = (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0;
    if (parts_->core.FilterKey({event->vkCode, event->flags}, ctrlDown)) return 1;
  }
  return CallNextHookEx(SharedKeyboardHook(), code, wParam, lParam);
}

int CHook::m_InformOSD(int wParam, long lParam) { return parts_->core.m_InformOSD(wParam, lParam); }

int CHook::m_InformMainFrame(int wParam, long lParam) { return parts_->core.m_InformMainFrame(wParam, lParam); }

int CHook::m_InformUIEdit(unsigned vk, long released) { return parts_->core.m_InformUIEdit(vk, released); }

int CHook::m_ProcessXButton(unsigned long mouseData) { return parts_->core.m_ProcessXButton(mouseData); }

int CHook::m_ProcessWheel(unsigned long mouseData) { return parts_->core.m_ProcessWheel(mouseData); }

void CHook::m_LaunchAP(int code) { parts_->core.m_LaunchAP(code); }

int CHook::m_ExecApplication(char* path) { return parts_->core.m_ExecApplication(path); }

int CHook::GetReport4Filter(unsigned char& report) { return parts_->core.GetReport4Filter(report); }

int CHook::GetStatus4Filter(unsigned char* status) { return parts_->core.GetStatus4Filter(status); }

unsigned short CHook::GetOsVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  halvard::OsVersionInfo v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  v.known = GetVersionExA(&info) != FALSE;
#pragma GCC diagnostic pop
  v.nt = info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  v.major = info.dwMajorVersion;
  v.minor = info.dwMinorVersion;
  v.build = info.dwBuildNumber;
  return halvard::OsVersionCode(v);
}

int CHook::IsWow64() {
  if (isWow64Process_ == nullptr) return 0;
  BOOL wow = FALSE;
  if (!isWow64Process_(GetCurrentProcess(), &wow)) return 0;
  return wow ? 1 : 0;
}

// The plain exports, looked up by name.
extern "C" {

LRESULT CALLBACK HalvardLLMouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (g_hook == nullptr) return CallNextHookEx(nullptr, code, wParam, lParam);
  return g_hook->LLMouseProc(code, wParam, lParam);
}

LRESULT CALLBACK HalvardMouseProc(int code, WPARAM wParam, LPARAM lParam) {
  if (g_hook == nullptr) return CallNextHookEx(nullptr, code, wParam, lParam);
  return g_hook->MouseProc(code, wParam, lParam);
}

void LinkNextHook(HHOOK llMouse, HHOOK mouse) {
  if (g_hook != nullptr) g_hook->LinkNextHook(llMouse, mouse);
}

void UnLinkHook() {
  if (g_hook != nullptr) g_hook->UnLinkHook();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      if (g_hook == nullptr) g_hook = new (std::nothrow) CHook(instance);
      ++CHook::m_HookCnt;
      break;
    case DLL_PROCESS_DETACH:
      if (g_hook != nullptr && --CHook::m_HookCnt == 0) {
        delete g_hook;
        g_hook = nullptr;
      }
      break;
    default:
      break;
  }
  return TRUE;
}

}  // extern "C"
