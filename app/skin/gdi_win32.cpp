#include "app/skin/gdi_win32.h"

#include <cstdio>
#include <vector>

namespace halvard {
namespace {

// The picture's pixels as 32-bit values, top row first.
bool ReadPixels(HBITMAP bitmap, int& w, int& h, std::vector<std::uint32_t>& pixels) {
  BITMAP bm{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof bm, &bm) == 0) return false;
  w = bm.bmWidth;
  h = bm.bmHeight;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
  HDC screen = GetDC(nullptr);
  int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(h), pixels.data(), &bi, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return lines == h;
}

}  // namespace

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &rect, b);
  DeleteObject(b);
}

void EnsureWindowClass(const wchar_t* name, WNDPROC proc) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  if (GetClassInfoW(inst, name, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassW(&wc);
}

Bitmap LoadPicture(int id) {
  return Bitmap(static_cast<HBITMAP>(
      LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
}

SIZE PictureSize(HBITMAP bitmap) {
  BITMAP bm{};
  if (bitmap == nullptr || GetObjectW(bitmap, sizeof bm, &bm) == 0) return {0, 0};
  return {bm.bmWidth, bm.bmHeight};
}

HRGN RegionFromPicture(HBITMAP bitmap, Rgb key) {
  int w = 0, h = 0;
  std::vector<std::uint32_t> px;
  if (!ReadPixels(bitmap, w, h, px)) return nullptr;
  auto at = [&](int x, int y) {
    std::uint32_t v = px[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
    return Rgb{static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  };
  std::vector<RunRect> runs = OutlineRuns(w, h, at, key);
  HRGN result = CreateRectRgn(0, 0, 0, 0);
  for (auto batch : RegionBatches(runs)) {
    std::vector<char> data(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT));
    auto* rd = reinterpret_cast<RGNDATA*>(data.data());
    rd->rdh.dwSize = sizeof(RGNDATAHEADER);
    rd->rdh.iType = RDH_RECTANGLES;
    rd->rdh.nCount = static_cast<DWORD>(batch.size());
    rd->rdh.rcBound = {0, 0, w, h};
    auto* rects = reinterpret_cast<RECT*>(rd->Buffer);
    for (std::size_t i = 0; i < batch.size(); ++i)
      rects[i] = {batch[i].x, batch[i].y, batch[i].x + batch[i].width, batch[i].y + 1};
    HRGN part = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd);
    if (part != nullptr) {
      CombineRgn(result, result, part, RGN_OR);
      DeleteObject(part);
    }
  }
  return result;
}

void DrawPicture(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
  if (bitmap == nullptr) return;
  MemoryDc mem;
  SelectGuard g(mem.get(), bitmap);
  // Most pictures are drawn at their own size: a plain copy, without the stretching path.
  if (w == sw && h == sh) {
    BitBlt(dc, x, y, w, h, mem.get(), sx, sy, SRCCOPY);
    return;
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, x, y, w, h, mem.get(), sx, sy, sw, sh, SRCCOPY);
}

void DrawPictureKeyed(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int sx, int sy, int sw, int sh, Rgb key) {
  if (bitmap == nullptr) return;
  MemoryDc mem;
  SelectGuard g(mem.get(), bitmap);
  TransparentBlt(dc, x, y, w, h, mem.get(), sx, sy, sw, sh, RGB(key.r, key.g, key.b));
}

CMyMemDC::CMyMemDC(HDC target, const RECT& rect, bool copyScreenFirst) : target_(target), rect_(rect) {
  if (GetDeviceCaps(target, TECHNOLOGY) == DT_RASPRINTER) return;  // printing: straight through
  memory_ = CreateCompatibleDC(target);
  bitmap_.Reset(CreateCompatibleBitmap(target, rect.right - rect.left, rect.bottom - rect.top));
  old_ = SelectObject(memory_, bitmap_.get());
  SetWindowOrgEx(memory_, rect.left, rect.top, nullptr);
  if (copyScreenFirst)
    BitBlt(memory_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, target, rect.left, rect.top,
           SRCCOPY);
}

CMyMemDC::~CMyMemDC() {
  if (memory_ == nullptr) return;
  BitBlt(target_, rect_.left, rect_.top, rect_.right - rect_.left, rect_.bottom - rect_.top, memory_, rect_.left,
         rect_.top, SRCCOPY);
  SelectObject(memory_, old_);
  DeleteDC(memory_);
}

winDIB::winDIB(int width, int height) : width_(width), height_(height) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  bitmap_.Reset(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  bits_ = static_cast<std::uint32_t*>(bits);
}

bool winDIB::CopyFrom(HBITMAP picture) {
  if (bits_ == nullptr || picture == nullptr) return false;
  MemoryDc src, dst;
  SelectGuard a(src.get(), picture);
  SelectGuard b(dst.get(), bitmap_.get());
  BitBlt(dst.get(), 0, 0, width_, height_, src.get(), 0, 0, SRCCOPY);
  GdiFlush();
  for (int i = 0; i < width_ * height_; ++i) bits_[i] |= 0xFF000000u;
  return true;
}

void winDIB::AlphaDraw(HDC dc, int x, int y) const {
  if (bits_ == nullptr) return;
  MemoryDc src;
  SelectGuard g(src.get(), bitmap_.get());
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc, x, y, width_, height_, src.get(), 0, 0, width_, height_, bf);
}

bool SaveBitmapFile(HBITMAP bitmap, const wchar_t* path) {
  int w = 0, h = 0;
  std::vector<std::uint32_t> px;
  if (!ReadPixels(bitmap, w, h, px)) return false;
  const int stride = (w * 3 + 3) & ~3;
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = w;
  ih.biHeight = h;  // bottom-up
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  ih.biSizeImage = static_cast<DWORD>(stride * h);
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof ih;
  fh.bfSize = fh.bfOffBits + ih.biSizeImage;
  FILE* f = _wfopen(path, L"wb");
  if (f == nullptr) return false;
  fwrite(&fh, sizeof fh, 1, f);
  fwrite(&ih, sizeof ih, 1, f);
  std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      std::uint32_t v = px[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)];
      row[static_cast<std::size_t>(x) * 3] = static_cast<std::uint8_t>(v);
      row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<std::uint8_t>(v >> 8);
      row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<std::uint8_t>(v >> 16);
    }
    fwrite(row.data(), 1, row.size(), f);
  }
  return fclose(f) == 0;
}

bool SaveWindowPicture(HWND window, const wchar_t* path) {
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  Bitmap shot(CreateCompatibleBitmap(screen, w, h));
  {
    MemoryDc mem;
    SelectGuard g(mem.get(), shot.get());
    // What is on the screen there, as the user sees it.
    if (!BitBlt(mem.get(), 0, 0, w, h, screen, r.left, r.top, SRCCOPY)) PrintWindow(window, mem.get(), 0);
  }
  ReleaseDC(nullptr, screen);
  return SaveBitmapFile(shot.get(), path);
}

}  // namespace halvard
