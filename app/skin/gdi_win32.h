// GDI on Windows: one owner per kind of handle, pictures from the program's resources, outlines
// from pictures, and the off-screen drawing surface.
#pragma once

#include <windows.h>

#include <utility>

#include "app/skin/skin_model.h"

namespace halvard {

// A move-only owner of a GDI object (bitmap, region, font, brush).
template <typename H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  void Reset(H h = nullptr) {
    if (h_ != nullptr) DeleteObject(h_);
    h_ = h;
  }
  H Release() { return std::exchange(h_, nullptr); }
  H get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  H h_ = nullptr;
};
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;

// Puts the previous object back into the device context on scope exit.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A memory device context compatible with the screen.
class MemoryDc {
 public:
  MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
  ~MemoryDc() {
    if (dc_ != nullptr) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// Fills a rectangle with one colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// Registers a window class of the program once (arrow cursor, double clicks).
void EnsureWindowClass(const wchar_t* name, WNDPROC proc);

// A picture of the program by resource number; empty when there is none.
Bitmap LoadPicture(int id);
SIZE PictureSize(HBITMAP bitmap);

// The outline of a picture: its pixels that are not `key`, merged 3000 runs at a time. Null for
// a missing picture.
HRGN RegionFromPicture(HBITMAP bitmap, Rgb key);

// Draws `bitmap` (or the part at srcX, srcY) stretched over the destination rectangle.
void DrawPicture(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH);
// The same, leaving out the pixels of colour `key`.
void DrawPictureKeyed(HDC dc, HBITMAP bitmap, int x, int y, int w, int h, int srcX, int srcY, int srcW, int srcH,
                      Rgb key);

// CMyMemDC: draws into an off-screen bitmap of the rectangle and copies it to the target when
// it goes; on a printing context it draws straight through.
class CMyMemDC {
 public:
  CMyMemDC(HDC target, const RECT& rect, bool copyScreenFirst = false);
  ~CMyMemDC();
  CMyMemDC(const CMyMemDC&) = delete;
  CMyMemDC& operator=(const CMyMemDC&) = delete;
  HDC get() const { return memory_ != nullptr ? memory_ : target_; }

 private:
  HDC target_;
  RECT rect_;
  HDC memory_ = nullptr;
  Bitmap bitmap_;
  HGDIOBJ old_ = nullptr;
};

// winDIB: a 32-bit top-down device-independent bitmap with pixel access.
class winDIB {
 public:
  winDIB(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  std::uint32_t* Pixels() const { return bits_; }  // 0xAARRGGBB, row 0 at the top
  HBITMAP Handle() const { return bitmap_.get(); }
  // Copies a picture in (opaque).
  bool CopyFrom(HBITMAP picture);
  // Draws with per-pixel alpha.
  void AlphaDraw(HDC dc, int x, int y) const;

 private:
  int width_, height_;
  std::uint32_t* bits_ = nullptr;
  Bitmap bitmap_;
};

// Saves what the screen shows where a window is as a 24-bit BMP file.
bool SaveWindowPicture(HWND window, const wchar_t* path);
// Saves a bitmap as a 24-bit BMP file.
bool SaveBitmapFile(HBITMAP bitmap, const wchar_t* path);

}  // namespace halvard
