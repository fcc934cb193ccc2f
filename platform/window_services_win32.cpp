#include "platform/window_services_win32.h"

#include <windows.h>

namespace halvard {

bool Win32WindowServices::Post(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != FALSE;
}

bool Win32WindowServices::IsWindow(Hwnd window) { return ::IsWindow(static_cast<HWND>(window)) != FALSE; }

bool Win32WindowServices::SetTimer(Hwnd window, std::uint32_t id, std::uint32_t ms) {
  return ::SetTimer(static_cast<HWND>(window), id, ms, nullptr) != 0;
}

void Win32WindowServices::KillTimer(Hwnd window, std::uint32_t id) { ::KillTimer(static_cast<HWND>(window), id); }

}  // namespace halvard
