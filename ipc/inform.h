// The three sending operations every sending deliverable performs: read the handle right before
// each send and post to it. The monitor also checks that the handle still names a window.
#pragma once

#include <cstdint>

#include "ipc/dword_source.h"
#include "ipc/messages.h"
#include "platform/window_services.h"

namespace halvard {

class InformSender {
 public:
  enum class Check { kNone, kIsWindow };
  InformSender(DwordSource& values, WindowServices& windows, Check check = Check::kNone)
      : values_(values), windows_(windows), check_(check) {}

  // WM_INFORM_OSD to "OSD Handle".
  int m_InformOSD(std::uintptr_t wParam, std::intptr_t lParam) {
    return PostTo(kOsdHandle, WM_INFORM_OSD, wParam, lParam);
  }

  // WM_INFORM_UI to the window that "Current Dialog" routes to; dropped for 4, 5 and others.
  int m_InformMainFrame(std::uintptr_t wParam, std::intptr_t lParam) {
    auto name = RouteHandleName(values_.GetDword(kCurrentDialog));
    if (!name) return 0;
    return PostTo(*name, WM_INFORM_UI, wParam, lParam);
  }

  // A recorded key to the macro editor, only while it records.
  int m_InformUIEdit(std::uint32_t vk, bool released) {
    Hwnd editor = Usable(values_.GetDword(kMacroEditHandle));
    if (editor == nullptr) return 0;
    if (values_.GetDword(kMacroRecordStart) != 1) return 0;
    windows_.Post(editor, WM_INFORM_UI, UI_RECORDED_KEY,
                  static_cast<std::intptr_t>(PackRecordedKey(vk, released)));
    return 1;
  }

 private:
  Hwnd Usable(std::int32_t value) {
    if (!HandleUsable(value)) return nullptr;
    Hwnd h = HandleFromValue(value);
    if (check_ == Check::kIsWindow && !windows_.IsWindow(h)) return nullptr;
    return h;
  }
  int PostTo(std::u16string_view name, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    Hwnd h = Usable(values_.GetDword(name));
    if (h == nullptr) return 0;
    windows_.Post(h, message, wParam, lParam);
    return 1;
  }

  DwordSource& values_;
  WindowServices& windows_;
  Check check_;
};

}  // namespace halvard
