// Counted from inside the soaked program: the soak tool hooks the main window's thread with this
// library, and on the probe message it answers with the program's GDI objects, user objects and
// kernel handles. Where the system does not count them (GetGuiResources and the handle count
// answer 0 under the emulator), the handle tables are walked: every GDI handle index, every
// user handle slot, every kernel handle value. For the soak run only; never installed.
#include <windows.h>

#include <cstdint>

namespace {

// Wine accepts a GDI handle by its table index alone; Windows refuses such a handle, but there
// GetGuiResources answers.
DWORD WalkGdi() {
  DWORD n = 0;
  for (std::uintptr_t i = 1; i < 0x10000; ++i)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0) ++n;
  return n;
}

// Windows of this process and menus: user handles sit at even values from 0x20, found by
// their slot alone.
DWORD WalkUser() {
  const DWORD self = GetCurrentProcessId();
  DWORD n = 0;
  for (std::uintptr_t i = 0x20; i < 0xFFF0; i += 2) {
    const HWND w = reinterpret_cast<HWND>(i);
    DWORD pid = 0;
    if (IsWindow(w) && GetWindowThreadProcessId(w, &pid) != 0 && pid == self)
      ++n;
    else if (IsMenu(reinterpret_cast<HMENU>(i)))
      ++n;
  }
  return n;
}

DWORD WalkHandles() {
  DWORD n = 0, flags = 0;
  for (std::uintptr_t h = 4; h < 0x10000; h += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++n;
  return n;
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK SoakProbeHook(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT probe = RegisterWindowMessageW(L"Halvard Soak Probe");
  const MSG* m = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && m->message == probe) {
    HANDLE self = GetCurrentProcess();
    DWORD gdi = GetGuiResources(self, GR_GDIOBJECTS), user = GetGuiResources(self, GR_USEROBJECTS), handles = 0;
    if (gdi == 0) gdi = WalkGdi();
    if (user == 0) user = WalkUser();
    if (!GetProcessHandleCount(self, &handles) || handles == 0) handles = WalkHandles();
    // The answer: GDI and user objects in the word, handles in the long.
    PostMessageW(reinterpret_cast<HWND>(m->wParam), probe, MAKEWPARAM(gdi, user), static_cast<LPARAM>(handles));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
