#include "osd/osd_window_win32.h"

#include <cstring>

namespace halvard::osd {
namespace {

// A 32-bit top-down DIB section with its pixels; null on failure.
HBITMAP MakeDib(int w, int h, void** bits) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

// The shape from its runs, 3000 rectangles per region merged into one; null when a region
// cannot be made.
HRGN RegionFromRuns(const std::vector<ShapeRun>& runs, int w, int h) {
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  if (result == nullptr) return nullptr;
  std::vector<char> data;
  for (std::size_t start = 0; start < runs.size(); start += kRunsPerRegion) {
    const std::size_t n = std::min(kRunsPerRegion, runs.size() - start);
    data.assign(sizeof(RGNDATAHEADER) + n * sizeof(RECT), 0);
    auto* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = static_cast<DWORD>(n);
    rd->rdh.rcBound = {0, 0, w, h};
    auto* rects = reinterpret_cast<RECT*>(rd->Buffer);
    for (std::size_t i = 0; i < n; ++i) {
      const ShapeRun& r = runs[start + i];
      rects[i] = {r.left, r.y, r.right, r.y + 1};
    }
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
    if (part == nullptr) {
      DeleteObject(result);
      return nullptr;
    }
    CombineRgn(result, result, part, RGN_OR);
    DeleteObject(part);
  }
  return result;
}

}  // namespace

COsdWnd::COsdWnd(HINSTANCE module, OsdSharedSection& table) : module_(module), model_(*this, store_, table) {}

COsdWnd::~COsdWnd() {
  if (hwnd_ != nullptr && GetWindowThreadProcessId(hwnd_, nullptr) == GetCurrentThreadId()) DestroyWindow(hwnd_);
  UnregisterClassA(kOsdWindowClass, module_);
  if (picture_ != nullptr) DeleteObject(picture_);
}

bool COsdWnd::Create() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = module_;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kOsdWindowClass;
  RegisterClassA(&wc);  // already there when the library is loaded a second time in a process

  hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE, kOsdWindowClass, "", WS_POPUP, 0, 0,
                          0, 0, nullptr, nullptr, module_, this);
  if (hwnd_ == nullptr) return false;
  store_.SetDword(kOsdHandle, ValueFromHandle(hwnd_));
  MakeTranslucent();
  // Shown once without activation from the start, so later shows never take the focus.
  ::ShowWindow(hwnd_, SW_SHOWNA);
  ::ShowWindow(hwnd_, SW_HIDE);
  return true;
}

void COsdWnd::MakeTranslucent() {
  SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) ^ WS_EX_LAYERED);
  using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  HMODULE user32 = GetModuleHandleA("User32.DLL");
  auto set = user32 != nullptr
                 ? reinterpret_cast<SetLayeredFn>(
                       reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                 : nullptr;
  if (set != nullptr) set(hwnd_, 0, kOsdAlpha, LWA_ALPHA);  // without it the OSD stays opaque
}

LRESULT CALLBACK COsdWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<COsdWnd*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<COsdWnd*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(hwnd, msg, wp, lp);
  return self->OnMessage(msg, wp, lp);
}

LRESULT COsdWnd::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INFORM_OSD:
      return model_.OnInformOsd(wp, lp);
    case WM_TIMER:
      model_.OnTimer(static_cast<std::uint32_t>(wp));
      return 0;
    case WM_NCHITTEST:
      model_.OnNcHitTest();
      return HTCLIENT;
    case WM_ERASEBKGND:
      OnEraseBackground(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_DESTROY: {
      store_.SetDword(kOsdHandle, 0);
      model_.OnDestroy();
      LRESULT r = DefWindowProcA(hwnd_, msg, wp, lp);
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return r;
    }
    default:
      return DefWindowProcA(hwnd_, msg, wp, lp);
  }
}

void COsdWnd::OnEraseBackground(HDC dc) {
  if (picture_ == nullptr || dc == nullptr) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, picture_);
  BitBlt(dc, 0, 0, pictureSize_.cx, pictureSize_.cy, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

std::optional<OsdImage> COsdWnd::LoadPicture(int id) {
  auto bitmap = static_cast<HBITMAP>(
      LoadImageA(module_, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  if (bitmap == nullptr) return std::nullopt;
  BITMAP info{};
  std::optional<OsdImage> image;
  if (GetObjectA(bitmap, sizeof info, &info) == sizeof info && info.bmWidth > 0 && info.bmHeight > 0) {
    OsdImage pixels(info.bmWidth, info.bmHeight);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = info.bmWidth;
    bi.bmiHeader.biHeight = -info.bmHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), pixels.pixels.data(), &bi, DIB_RGB_COLORS) ==
        info.bmHeight) {
      for (auto& p : pixels.pixels) p &= 0xFFFFFF;
      image = std::move(pixels);
    }
    ReleaseDC(nullptr, screen);
  }
  DeleteObject(bitmap);  // released as soon as it is read
  return image;
}

void COsdWnd::SetPicture(const OsdImage& picture, const std::vector<ShapeRun>& shape) {
  void* bits = nullptr;
  HBITMAP dib = MakeDib(picture.width, picture.height, &bits);
  if (dib == nullptr) return;  // keep the previous picture
  std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  GdiFlush();
  if (picture_ != nullptr) DeleteObject(picture_);
  picture_ = dib;
  pictureSize_ = {picture.width, picture.height};
  if (HRGN region = RegionFromRuns(shape, picture.width, picture.height)) {
    if (SetWindowRgn(hwnd_, region, TRUE) == 0) DeleteObject(region);  // the window owns it otherwise
    InvalidateRect(hwnd_, nullptr, TRUE);
  }
}

void COsdWnd::Place(const OsdRect& rect) {
  SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}

void COsdWnd::ShowWindow() {
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void COsdWnd::HideWindow() { ::ShowWindow(hwnd_, SW_HIDE); }

void COsdWnd::Invalidate() { InvalidateRect(hwnd_, nullptr, TRUE); }

void COsdWnd::SetTimer(std::uint32_t id, std::uint32_t ms) { ::SetTimer(hwnd_, id, ms, nullptr); }

void COsdWnd::KillTimer(std::uint32_t id) { ::KillTimer(hwnd_, id); }

OsdPoint COsdWnd::PointerPosition() {
  POINT p{};
  GetCursorPos(&p);
  return {p.x, p.y};
}

PictureSize COsdWnd::ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace halvard::osd
