// Posting and window checks on Windows.
#pragma once

#include "platform/window_services.h"

namespace halvard {

class Win32WindowServices : public WindowServices {
 public:
  bool Post(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
  bool IsWindow(Hwnd window) override;
  bool SetTimer(Hwnd window, std::uint32_t id, std::uint32_t ms) override;
  void KillTimer(Hwnd window, std::uint32_t id) override;
};

}  // namespace halvard
