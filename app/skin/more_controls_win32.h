// The rest of the skinned kit on Windows: the coloured combo box, the list header, the list's
// scroll bar, the borderless owner-drawn menus and the drop shadow.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/skin/controls_win32.h"

namespace halvard {

// CColorCombox: a drop-down list that draws its items in its own colours. The parent hands it
// WM_DRAWITEM and WM_MEASUREITEM for the control and uses Background() for WM_CTLCOLORLISTBOX.
class CColorCombox {
 public:
  CColorCombox();
  bool Create(HWND parent, int id, int x, int y, int w, int h);
  HWND hwnd() const { return hwnd_; }
  void SetColours(COLORREF text, COLORREF back, COLORREF selectedText, COLORREF selectedBack);
  bool DrawItem(const DRAWITEMSTRUCT& item);
  static void MeasureItem(MEASUREITEMSTRUCT& item) { item.itemHeight = 20; }
  HBRUSH Background() const { return brush_.get(); }

 private:
  HWND hwnd_ = nullptr;
  COLORREF text_, back_, selText_, selBack_;
  Brush brush_;
};

// CSkinHeaderCtrl: the header of a skinned list, drawn from pictures 275, 274 and 276.
bool MakeSkinHeader(HWND header, HFONT font);
class CSkinHeaderCtrl {
 public:
  bool Attach(HWND header, HFONT font) { return MakeSkinHeader(hwnd_ = header, font); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

// CSkinVerticleScrollbar: drawn over the list's own scroll bar, scrolling the list.
class CSkinVerticleScrollbar : public SkinWindow {
 public:
  bool Attach(HWND list);  // creates the bar beside the list's right edge
 protected:
  const wchar_t* ClassName() const override { return L"HalvardScrollbar"; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& client) override;

 private:
  void Scroll(int code, int times = 1);
  int ThumbTop() const;
  HWND list_ = nullptr;
  Bitmap arrows_, thumb_;
  ScrollbarModel model_;
  int repeatCode_ = -1;
  bool dragging_ = false;
  int dragY_ = 0;
  int lastPos_ = -1;
};

// CMenuEx and CBitmapMenu: owner-drawn pop-up menus without the platform's border.
class CMenuEx {
 public:
  struct Item {
    UINT id;
    std::u16string text;
    int picture;  // 0: none
    Bitmap bitmap;
  };
  CMenuEx();
  ~CMenuEx();
  CMenuEx(const CMenuEx&) = delete;
  CMenuEx& operator=(const CMenuEx&) = delete;
  void Add(UINT id, std::u16string text, int picture = 0);
  // Shows the menu at a screen point; the command chosen, or 0.
  UINT Track(HWND owner, POINT at);
  // The owner hands these over for menu items (CtlType ODT_MENU).
  static bool Measure(MEASUREITEMSTRUCT& item);
  static bool Draw(const DRAWITEMSTRUCT& item);
  HMENU Handle() const { return menu_; }

 private:
  HMENU menu_;
  std::vector<std::unique_ptr<Item>> items_;
};
class CBitmapMenu : public CMenuEx {};

// CWndShadow: a soft shadow behind a window that follows it.
class CWndShadow {
 public:
  ~CWndShadow() { Destroy(); }
  bool Create(HWND owner, const ShadowParams& params = ShadowParams{});
  void Destroy();
  void Update();
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK OwnerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  using UpdateLayeredFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);
  HWND owner_ = nullptr, hwnd_ = nullptr;
  ShadowParams params_;
  bool restacking_ = false;
  UpdateLayeredFn update_ = nullptr;
  // The outline the current picture was drawn for: a move with the same outline only moves it.
  int drawnW_ = 0, drawnH_ = 0;
  std::vector<BYTE> drawnRegion_;
  int margin_ = 0;
};

}  // namespace halvard
