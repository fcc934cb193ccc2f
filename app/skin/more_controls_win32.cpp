#include "app/skin/more_controls_win32.h"

#include <commctrl.h>
#include <uxtheme.h>

namespace halvard {
namespace {

constexpr COLORREF kMenuGround = RGB(43, 43, 43);
constexpr COLORREF kMenuSelected = RGB(150, 15, 15);
constexpr COLORREF kMenuText = RGB(250, 250, 250);

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

// --- combo box ------------------------------------------------------------------------------

CColorCombox::CColorCombox()
    : text_(GetSysColor(COLOR_WINDOWTEXT)),
      back_(GetSysColor(COLOR_WINDOW)),
      selText_(RGB(255, 255, 255)),
      selBack_(GetSysColor(COLOR_HIGHLIGHT)),
      brush_(CreateSolidBrush(back_)) {}

bool CColorCombox::Create(HWND parent, int id, int x, int y, int w, int h) {
  hwnd_ = CreateWindowExW(0, L"COMBOBOX", L"",
                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                          x, y, w, h, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                          GetModuleHandleW(nullptr), nullptr);
  return hwnd_ != nullptr;
}

void CColorCombox::SetColours(COLORREF text, COLORREF back, COLORREF selectedText, COLORREF selectedBack) {
  text_ = text;
  back_ = back;
  selText_ = selectedText;
  selBack_ = selectedBack;
  brush_.Reset(CreateSolidBrush(back_));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

bool CColorCombox::DrawItem(const DRAWITEMSTRUCT& item) {
  if (item.hwndItem != hwnd_) return false;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  FillSolid(item.hDC, item.rcItem, selected ? selBack_ : back_);
  if (item.itemID != static_cast<UINT>(-1)) {
    wchar_t text[128] = {};
    if (SendMessageW(hwnd_, CB_GETLBTEXTLEN, item.itemID, 0) < 128)
      SendMessageW(hwnd_, CB_GETLBTEXT, item.itemID, reinterpret_cast<LPARAM>(text));
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, selected ? selText_ : text_);
    RECT r = item.rcItem;
    r.left += 4;
    DrawTextW(item.hDC, text, -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
  return true;
}

// --- header ---------------------------------------------------------------------------------

namespace {

struct HeaderSkin {
  Bitmap left, middle, right;
  HFONT font;
};

LRESULT CALLBACK HeaderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* skin = reinterpret_cast<HeaderSkin*>(data);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the items cover it
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC target = BeginPaint(hwnd, &ps);
      RECT all;
      GetClientRect(hwnd, &all);
      {
        CMyMemDC dc(target, all);
        DrawPicture(dc.get(), skin->middle.get(), 0, 0, all.right, kHeaderHeight, 0, 0, 1, kHeaderHeight);
        const int n = static_cast<int>(SendMessageW(hwnd, HDM_GETITEMCOUNT, 0, 0));
        HGDIOBJ old = skin->font != nullptr ? SelectObject(dc.get(), skin->font) : nullptr;
        SetBkMode(dc.get(), TRANSPARENT);
        SetTextColor(dc.get(), RGB(kHeaderText.r, kHeaderText.g, kHeaderText.b));
        for (int i = 0; i < n; ++i) {
          RECT r{};
          SendMessageW(hwnd, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
          if (r.right <= r.left) continue;
          HeaderTiles t = HeaderItemTiles(r.left, r.right - r.left);
          DrawPicture(dc.get(), skin->left.get(), t.leftX, 0, 4, kHeaderHeight, 0, 0, 4, kHeaderHeight);
          DrawPicture(dc.get(), skin->middle.get(), t.middleFrom, 0, t.middleTo - t.middleFrom, kHeaderHeight, 0, 0, 1,
                      kHeaderHeight);
          DrawPicture(dc.get(), skin->right.get(), t.rightX, 0, 4, kHeaderHeight, 0, 0, 4, kHeaderHeight);
          wchar_t text[64] = {};
          HDITEMW item{};
          item.mask = HDI_TEXT;
          item.pszText = text;
          item.cchTextMax = 64;
          SendMessageW(hwnd, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
          RECT tr{t.middleFrom + 2, 0, t.middleTo, kHeaderHeight};
          DrawTextW(dc.get(), text, -1, &tr, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
        }
        if (old != nullptr) SelectObject(dc.get(), old);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case HDM_LAYOUT: {
      auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
      LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
      layout->pwpos->cy = kHeaderHeight;
      layout->prc->top = layout->pwpos->y + kHeaderHeight;
      return r;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, HeaderProc, 1);
      delete skin;
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool MakeSkinHeader(HWND header, HFONT font) {
  auto* skin = new HeaderSkin{LoadPicture(275), LoadPicture(274), LoadPicture(276), font};
  if (!SetWindowSubclass(header, HeaderProc, 1, reinterpret_cast<DWORD_PTR>(skin))) {
    delete skin;
    return false;
  }
  InvalidateRect(header, nullptr, TRUE);
  return true;
}

// --- scroll bar -------------------------------------------------------------------------------

bool CSkinVerticleScrollbar::Attach(HWND list) {
  list_ = list;
  // The list must not paint over the bar that lies on it.
  SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | WS_CLIPSIBLINGS);
  // The list's own bar, never seen, is drawn plain: themed, it is drawn again at every row added
  // and a full list takes seconds.
  SetWindowTheme(list, L"", L"");
  RECT r;
  GetWindowRect(list, &r);
  POINT tl{r.right - ScrollbarModel::kThumbWidth, r.top};
  ScreenToClient(GetParent(list), &tl);
  // A static without a number of its own: the list's number + 1 may be another control's.
  if (!Create(GetParent(list), 0xFFFF, tl.x, tl.y, ScrollbarModel::kThumbWidth, r.bottom - r.top))
    return false;
  SetWindowPos(hwnd_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  arrows_ = LoadPicture(282);
  thumb_ = LoadPicture(283);
  model_.height = r.bottom - r.top;
  model_.arrowHeight = ScrollbarModel::kThumbWidth;
  SetTimer(hwnd_, 2, 100, nullptr);  // follows the list
  return true;
}

int CSkinVerticleScrollbar::ThumbTop() const {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  if (list_ == nullptr || !GetScrollInfo(list_, SB_VERT, &si)) return model_.arrowHeight;
  const int max = si.nMax - static_cast<int>(si.nPage) + 1;
  return model_.ThumbTop(si.nPos, max);
}

void CSkinVerticleScrollbar::Scroll(int code, int times) {
  for (int i = 0; i < times; ++i) SendMessageW(list_, WM_VSCROLL, MAKEWPARAM(code, 0), 0);
  Redraw();
}

void CSkinVerticleScrollbar::OnPaint(HDC dc, const RECT& rc) {
  FillSolid(dc, rc, RGB(43, 43, 43));
  const int a = model_.arrowHeight;
  DrawPicture(dc, arrows_.get(), 0, 0, a, a, 0, 0, 17, 17);
  DrawPicture(dc, arrows_.get(), 0, rc.bottom - a, a, a, 0, 17, 17, 17);
  DrawPicture(dc, thumb_.get(), 0, ThumbTop(), ScrollbarModel::kThumbWidth, ScrollbarModel::kThumbHeight, 0, 0,
              ScrollbarModel::kThumbWidth, ScrollbarModel::kThumbHeight);
}

LRESULT CSkinVerticleScrollbar::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN: {
      const int y = static_cast<short>(HIWORD(lp));
      RECT rc;
      GetClientRect(hwnd_, &rc);
      SetCapture(hwnd_);
      if (y < model_.arrowHeight || y >= rc.bottom - model_.arrowHeight) {
        repeatCode_ = y < model_.arrowHeight ? SB_LINEUP : SB_LINEDOWN;
        Scroll(repeatCode_);
        SetTimer(hwnd_, 1, ScrollbarModel::kRepeatMs, nullptr);
      } else if (y >= ThumbTop() && y < ThumbTop() + ScrollbarModel::kThumbHeight) {
        dragging_ = true;
        dragY_ = y;
      } else {
        Scroll(y < ThumbTop() ? SB_PAGEUP : SB_PAGEDOWN);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        const int y = static_cast<short>(HIWORD(lp));
        const int rows = ScrollbarModel::RowsForDrag(y - dragY_);
        if (rows != 0) {
          Scroll(rows > 0 ? SB_LINEDOWN : SB_LINEUP, rows > 0 ? rows : -rows);
          dragY_ += rows * ScrollbarModel::kRowPixels;
        }
      }
      return 0;
    case WM_LBUTTONUP:
      KillTimer(hwnd_, 1);
      repeatCode_ = -1;
      dragging_ = false;
      ReleaseCapture();
      return 0;
    case WM_TIMER:
      if (wp == 1 && repeatCode_ >= 0) Scroll(repeatCode_);
      if (wp == 2) {
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_POS;
        GetScrollInfo(list_, SB_VERT, &si);
        // Only when the list has shown its own bar again: hiding it changes the list's frame,
        // and the list answers by redrawing itself and its neighbours.
        if ((GetWindowLongW(list_, GWL_STYLE) & WS_VSCROLL) != 0) ShowScrollBar(list_, SB_VERT, FALSE);
        if (si.nPos != lastPos_) {
          lastPos_ = si.nPos;
          Redraw();
        }
      }
      return 0;
    default:
      return SkinWindow::Handle(msg, wp, lp);
  }
}

// --- menus ------------------------------------------------------------------------------------

namespace {

HHOOK g_menuHook = nullptr;

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  switch (msg) {
    case WM_WINDOWPOSCHANGING: {
      // Placed once; later position changes keep it where it is.
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (GetPropW(hwnd, L"HalvardPlaced") != nullptr) pos->flags |= SWP_NOMOVE;
      break;
    }
    case WM_WINDOWPOSCHANGED:
      SetPropW(hwnd, L"HalvardPlaced", reinterpret_cast<HANDLE>(1));
      break;
    case WM_PRINT:
      return DefSubclassProc(hwnd, WM_PRINTCLIENT, wp, lp);
    case WM_NCDESTROY:
      RemovePropW(hwnd, L"HalvardPlaced");
      RemoveWindowSubclass(hwnd, MenuWindowProc, 2);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// Catches the platform's menu window as it is made and takes its border away.
LRESULT CALLBACK MenuHook(int code, WPARAM wp, LPARAM lp) {
  if (code == HC_ACTION) {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lp);
    wchar_t cls[16] = {};
    if (cwp->message == WM_CREATE && GetClassNameW(cwp->hwnd, cls, 16) > 0 && wcscmp(cls, L"#32768") == 0) {
      HWND w = cwp->hwnd;
      SetWindowLongW(w, GWL_STYLE, GetWindowLongW(w, GWL_STYLE) & ~(WS_BORDER | WS_DLGFRAME | WS_THICKFRAME));
      SetWindowLongW(w, GWL_EXSTYLE,
                     GetWindowLongW(w, GWL_EXSTYLE) & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE));
      SetWindowSubclass(w, MenuWindowProc, 2, 0);
      // With desktop composition the frame is drawn by the compositor: turn that off too.
      if (HMODULE dwm = LoadLibraryW(L"dwmapi.dll")) {
        using SetAttrFn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
        auto set = reinterpret_cast<SetAttrFn>(reinterpret_cast<void*>(GetProcAddress(dwm, "DwmSetWindowAttribute")));
        const int disabled = 1;  // DWMNCRP_DISABLED
        if (set != nullptr) set(w, 2 /* DWMWA_NCRENDERING_POLICY */, &disabled, sizeof disabled);
        FreeLibrary(dwm);
      }
    }
  }
  return CallNextHookEx(g_menuHook, code, wp, lp);
}

}  // namespace

CMenuEx::CMenuEx() : menu_(CreatePopupMenu()) {
  // The ground around the items is the items' own.
  MENUINFO mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIM_BACKGROUND;
  mi.hbrBack = CreateSolidBrush(kMenuGround);
  SetMenuInfo(menu_, &mi);
}

CMenuEx::~CMenuEx() {
  if (menu_ == nullptr) return;
  MENUINFO mi{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIM_BACKGROUND;
  if (GetMenuInfo(menu_, &mi) && mi.hbrBack != nullptr) DeleteObject(mi.hbrBack);
  DestroyMenu(menu_);
}

void CMenuEx::Add(UINT id, std::u16string text, int picture) {
  auto item = std::make_unique<Item>(Item{id, std::move(text), picture, picture != 0 ? LoadPicture(picture) : Bitmap()});
  AppendMenuW(menu_, MF_OWNERDRAW, id, reinterpret_cast<LPCWSTR>(item.get()));
  items_.push_back(std::move(item));
}

UINT CMenuEx::Track(HWND owner, POINT at) {
  g_menuHook = SetWindowsHookExW(WH_CALLWNDPROC, MenuHook, nullptr, GetCurrentThreadId());
  UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN, at.x, at.y, 0, owner, nullptr));
  if (g_menuHook != nullptr) UnhookWindowsHookEx(g_menuHook);
  g_menuHook = nullptr;
  return chosen;
}

bool CMenuEx::Measure(MEASUREITEMSTRUCT& m) {
  if (m.CtlType != ODT_MENU || m.itemData == 0) return false;
  const auto* item = reinterpret_cast<const Item*>(m.itemData);
  m.itemWidth = 40 + static_cast<UINT>(item->text.size()) * 8;
  m.itemHeight = 24;
  return true;
}

bool CMenuEx::Draw(const DRAWITEMSTRUCT& d) {
  if (d.CtlType != ODT_MENU || d.itemData == 0) return false;
  const auto* item = reinterpret_cast<const Item*>(d.itemData);
  const bool selected = (d.itemState & ODS_SELECTED) != 0;
  FillSolid(d.hDC, d.rcItem, selected ? kMenuSelected : kMenuGround);
  int x = d.rcItem.left + 8;
  if (item->bitmap) {
    SIZE s = PictureSize(item->bitmap.get());
    DrawPicture(d.hDC, item->bitmap.get(), x, d.rcItem.top + (24 - std::min<int>(s.cy, 18)) / 2, std::min<int>(s.cx, 18),
                std::min<int>(s.cy, 18), 0, 0, s.cx, s.cy);
    x += 24;
  }
  SetBkMode(d.hDC, TRANSPARENT);
  SetTextColor(d.hDC, kMenuText);
  RECT r{x, d.rcItem.top, d.rcItem.right, d.rcItem.bottom};
  std::wstring t = W(item->text);
  DrawTextW(d.hDC, t.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  return true;
}

// --- shadow -----------------------------------------------------------------------------------

void CWndShadow::Destroy() {
  if (owner_ != nullptr) RemoveWindowSubclass(owner_, OwnerProc, 3);
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  owner_ = hwnd_ = nullptr;
}

bool CWndShadow::Create(HWND owner, const ShadowParams& params) {
  HMODULE user = GetModuleHandleW(L"USER32.DLL");
  update_ = user != nullptr ? reinterpret_cast<UpdateLayeredFn>(
                                  reinterpret_cast<void*>(GetProcAddress(user, "UpdateLayeredWindow")))
                            : nullptr;
  if (update_ == nullptr) return false;  // no shadow then
  EnsureWindowClass(L"Shadow", DefWindowProcW);
  owner_ = owner;
  params_ = params;
  // Not owned: an owned window always stays above its owner, and the shadow goes below it.
  hwnd_ = CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"Shadow", L"",
                          WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (hwnd_ == nullptr) return false;
  SetWindowSubclass(owner, OwnerProc, 3, reinterpret_cast<DWORD_PTR>(this));
  Update();
  return true;
}

void CWndShadow::Update() {
  if (hwnd_ == nullptr) return;
  if (!IsWindowVisible(owner_) || IsIconic(owner_)) {
    ShowWindow(hwnd_, SW_HIDE);
    return;
  }
  RECT r;
  GetWindowRect(owner_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<BYTE> regionData;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  if (GetWindowRgn(owner_, region) != ERROR) {
    regionData.resize(GetRegionData(region, 0, nullptr));
    if (!regionData.empty()) GetRegionData(region, static_cast<DWORD>(regionData.size()), reinterpret_cast<RGNDATA*>(regionData.data()));
  }
  DeleteObject(region);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  if (w != drawnW_ || h != drawnH_ || regionData != drawnRegion_) {
    // The owner's outline as a mask, from its rectangles (one pass, not a hit test per pixel).
    std::vector<std::uint8_t> inside(static_cast<std::size_t>(std::max(w, 0)) * static_cast<std::size_t>(std::max(h, 0)),
                                     regionData.empty() ? 1 : 0);
    if (!regionData.empty()) {
      const auto* rd = reinterpret_cast<const RGNDATA*>(regionData.data());
      const auto* rects = reinterpret_cast<const RECT*>(rd->Buffer);
      for (DWORD k = 0; k < rd->rdh.nCount; ++k) {
        const RECT& q = rects[k];
        for (int y = std::max<int>(q.top, 0); y < std::min<int>(q.bottom, h); ++y)
          for (int x = std::max<int>(q.left, 0); x < std::min<int>(q.right, w); ++x)
            inside[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] = 1;
      }
    }
    auto in = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < w && y < h && inside[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] != 0;
    };
    ShadowPicture pic = ShadowAlpha(w, h, in, params_);
    margin_ = (pic.width - w) / 2;
    winDIB dib(pic.width, pic.height);
    if (dib.Pixels() == nullptr) return;
    // Nothing under the window itself: whatever the stacking, the shadow never dims the page.
    for (int y = 0; y < pic.height; ++y)
      for (int x = 0; x < pic.width; ++x) {
        const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(pic.width) + static_cast<std::size_t>(x);
        const bool covered = in(x - margin_ + params_.offsetX, y - margin_ + params_.offsetY);
        dib.Pixels()[i] = covered ? 0u : static_cast<std::uint32_t>(pic.alpha[i]) << 24;
      }
    POINT dst{r.left - margin_ + params_.offsetX, r.top - margin_ + params_.offsetY};
    SIZE size{pic.width, pic.height};
    POINT src{0, 0};
    MemoryDc mem;
    SelectGuard g(mem.get(), dib.Handle());
    update_(hwnd_, nullptr, &dst, &size, mem.get(), &src, 0, &bf, ULW_ALPHA);
    drawnW_ = w;
    drawnH_ = h;
    drawnRegion_ = std::move(regionData);
  } else {
    POINT dst{r.left - margin_ + params_.offsetX, r.top - margin_ + params_.offsetY};
    update_(hwnd_, nullptr, &dst, nullptr, nullptr, nullptr, 0, &bf, ULW_ALPHA);
  }
  const bool wasShown = IsWindowVisible(hwnd_) != FALSE;
  SetWindowPos(hwnd_, owner_, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  // Some window systems put a newly shown window on top whatever it was placed after: lift the
  // owner back over its shadow (once; the owner's move comes back here). Only when the shadow
  // has just appeared: raising the owner at every move would put it over its own pages.
  if (!wasShown && !restacking_) {
    restacking_ = true;
    SetWindowPos(owner_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    restacking_ = false;
  }
}

LRESULT CALLBACK CWndShadow::OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  LRESULT r = DefSubclassProc(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_MOVE:
    case WM_SIZE:
    case WM_SHOWWINDOW:
    case WM_WINDOWPOSCHANGED:
      reinterpret_cast<CWndShadow*>(data)->Update();
      break;
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, OwnerProc, 3);
      reinterpret_cast<CWndShadow*>(data)->owner_ = nullptr;
      break;
    default:
      break;
  }
  return r;
}

}  // namespace halvard
