#include "app/progress_win32.h"

namespace halvard {

bool COsdProgress::Create(const std::vector<int>& frames) {
  animation_ = std::make_unique<ProgressAnimation>(frames);
  HINSTANCE inst = GetModuleHandleW(nullptr);
  EnsureWindowClass(L"HalvardProgress", Proc);
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_WINDOWEDGE, L"HalvardProgress", L"", WS_POPUP, 0, 0,
                          kProgressFrameWidth, kProgressFrameHeight, nullptr, nullptr, inst, this);
  if (hwnd_ == nullptr) return false;
  // Translucent where the platform can; opaque otherwise.
  using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user = GetModuleHandleW(L"User32.DLL");
  auto setLayered = user != nullptr ? reinterpret_cast<SetLayeredFn>(reinterpret_cast<void*>(
                                          GetProcAddress(user, "SetLayeredWindowAttributes")))
                                    : nullptr;
  if (setLayered != nullptr) {
    SetWindowLongW(hwnd_, GWL_EXSTYLE, GetWindowLongW(hwnd_, GWL_EXSTYLE) | WS_EX_LAYERED);
    setLayered(hwnd_, 0, kProgressAlpha, LWA_ALPHA);
  }
  return true;
}

void COsdProgress::ShowFrame(int picture) {
  Bitmap next = LoadPicture(picture);
  if (!next) return;  // the previous frame and outline stay
  picture_ = std::move(next);
  SetWindowRgn(hwnd_, RegionFromPicture(picture_.get(), kPopupKey), TRUE);
  InvalidateRect(hwnd_, nullptr, TRUE);
  ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
}

void COsdProgress::Show() {
  if (hwnd_ == nullptr) return;
  const bool start = animation_->Show();
  ShowFrame(animation_->Picture());
  SIZE s = PictureSize(picture_.get());
  if (s.cx == 0) s = {kProgressFrameWidth, kProgressFrameHeight};
  SetWindowPos(hwnd_, HWND_TOPMOST, (GetSystemMetrics(SM_CXSCREEN) - s.cx) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - s.cy) / 2, s.cx, s.cy, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  if (start) SetTimer(hwnd_, kProgressTimer, kProgressIntervalMs, nullptr);
}

void COsdProgress::Hide() {
  if (hwnd_ == nullptr) return;
  KillTimer(hwnd_, kProgressTimer);
  animation_->Hide();
  ShowWindow(hwnd_, SW_HIDE);
}

void COsdProgress::Destroy() {
  if (hwnd_ == nullptr) return;
  KillTimer(hwnd_, kProgressTimer);
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

LRESULT CALLBACK COsdProgress::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<COsdProgress*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self != nullptr) {
    switch (msg) {
      case WM_TIMER: {
        int picture = self->animation_->Tick(static_cast<std::uint32_t>(wp));
        if (picture >= 0) self->ShowFrame(picture);
        return 0;
      }
      case WM_ERASEBKGND: {
        SIZE s = PictureSize(self->picture_.get());
        DrawPicture(reinterpret_cast<HDC>(wp), self->picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
        return 1;
      }
      case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
      }
      case WM_PRINTCLIENT: {
        SIZE s = PictureSize(self->picture_.get());
        DrawPicture(reinterpret_cast<HDC>(wp), self->picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
        return 0;
      }
      case WM_NCHITTEST:
        return HTTRANSPARENT;  // no input of its own
      default:
        break;
    }
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace halvard
