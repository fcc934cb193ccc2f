// What the display library's Windows tests share: loading the library, pumping this thread's
// messages, reading what the window paints, and writing pictures.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ipc/messages.h"
#include "platform/registry_seam_win32.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard::osd {

inline double NowMs() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return 1000.0 * static_cast<double>(c.QuadPart) / static_cast<double>(f.QuadPart);
}

// Dispatches this thread's messages until `done` holds or `ms` pass; true when it held.
inline bool PumpUntil(const std::function<bool()>& done, int ms) {
  const double end = NowMs() + ms;
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (done && done()) return true;
    const double left = end - NowMs();
    if (left <= 0) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left < 5 ? left : 5), QS_ALLINPUT);
  }
}
inline void Pump(int ms) { PumpUntil(nullptr, ms); }

inline HWND PublishedOsd(RegistryStore& store) {
  const std::int32_t v = store.GetDword(kOsdHandle);
  return HandleUsable(v) ? static_cast<HWND>(HandleFromValue(v)) : nullptr;
}

// 0x00RRGGBB pixels, top row first.
struct Pixels {
  int width = 0, height = 0;
  std::vector<std::uint32_t> px;
  std::uint32_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x] & 0xFFFFFF; }
};

inline Pixels ReadBitmap(HBITMAP bitmap) {
  Pixels out;
  BITMAP info{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof info, &info) != sizeof info) return out;
  out.width = info.bmWidth;
  out.height = info.bmHeight;
  out.px.resize(static_cast<std::size_t>(out.width) * out.height);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(out.height), out.px.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return out;
}

// A picture of the library by resource number.
inline Pixels LibraryPicture(HMODULE library, int id) {
  auto bitmap = static_cast<HBITMAP>(LoadImageW(library, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  Pixels p = ReadBitmap(bitmap);
  if (bitmap != nullptr) DeleteObject(bitmap);
  return p;
}

// What the window paints as its background, at the window's size.
inline Pixels PaintedPicture(HWND osd) {
  RECT r{};
  GetWindowRect(osd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  SendMessageW(osd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  GdiFlush();
  Pixels p;
  p.width = w;
  p.height = h;
  p.px.assign(static_cast<const std::uint32_t*>(bits), static_cast<const std::uint32_t*>(bits) + w * h);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
  return p;
}

// Writes 0x00RRGGBB pixels as a 24-bit BMP file.
inline bool SaveBmp(const Pixels& p, const std::wstring& path) {
  const int stride = (p.width * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{sizeof ih, p.width, p.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + static_cast<DWORD>(stride) * p.height;
  std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * p.height);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      const std::uint32_t v = p.At(x, y);
      std::uint8_t* d = &rows[static_cast<std::size_t>(p.height - 1 - y) * stride + x * 3];
      d[0] = static_cast<std::uint8_t>(v);
      d[1] = static_cast<std::uint8_t>(v >> 8);
      d[2] = static_cast<std::uint8_t>(v >> 16);
    }
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD n = 0;
  bool ok = WriteFile(f, &fh, sizeof fh, &n, nullptr) && WriteFile(f, &ih, sizeof ih, &n, nullptr) &&
            WriteFile(f, rows.data(), static_cast<DWORD>(rows.size()), &n, nullptr);
  CloseHandle(f);
  return ok;
}

}  // namespace halvard::osd
