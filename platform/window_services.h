// The window-services seam: posting to a window handle that another process published, and
// asking whether a handle still names a window.
#pragma once

#include <cstdint>
#include <vector>

namespace halvard {

using Hwnd = void*;

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  virtual bool Post(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual bool IsWindow(Hwnd window) = 0;
};

// Handles are published as 32-bit numbers; the platform widens them with their sign.
inline Hwnd HandleFromValue(std::int32_t value) {
  return reinterpret_cast<Hwnd>(static_cast<std::intptr_t>(value));
}
inline std::uint32_t ValueFromHandle(Hwnd window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

// Records posts and answers IsWindow from a list of live windows.
class RecordingWindowServices : public WindowServices {
 public:
  struct Posted {
    Hwnd window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  bool Post(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted.push_back({window, message, wParam, lParam});
    return true;
  }
  bool IsWindow(Hwnd window) override {
    for (Hwnd w : live)
      if (w == window) return true;
    return false;
  }
  std::vector<Posted> posted;
  std::vector<Hwnd> live;
};

}  // namespace halvard
