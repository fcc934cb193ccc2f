#include "app/skin/controls_win32.h"

#include <commctrl.h>

#include <string>

namespace halvard {

SkinWindow::~SkinWindow() {
  if (hwnd_ != nullptr && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool SkinWindow::Create(HWND parent, int id, int x, int y, int w, int h, DWORD style, DWORD exStyle) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  EnsureWindowClass(ClassName(), Proc);
  id_ = id;
  hwnd_ = CreateWindowExW(exStyle, ClassName(), L"", style, x, y, w, h, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), inst, this);
  return hwnd_ != nullptr;
}

LRESULT CALLBACK SkinWindow::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<SkinWindow*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self != nullptr ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT SkinWindow::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC target = BeginPaint(hwnd_, &ps);
      RECT rc;
      GetClientRect(hwnd_, &rc);
      {
        CMyMemDC dc(target, rc);
        OnPaint(dc.get(), rc);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

// --- hover button ------------------------------------------------------------------------------

bool CHoverButtonEx::LoadPicture(int id, bool sideBySide) {
  picture_ = halvard::LoadPicture(id);
  if (!picture_) return false;
  sideBySide_ = sideBySide;
  SIZE s = PictureSize(picture_.get());
  frame_ = HoverFrameSize(s.cx, s.cy, sideBySide);
  SetWindowPos(hwnd_, nullptr, 0, 0, frame_.width, frame_.height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  Redraw();
  return true;
}

void SkinWindow::SetTooltip(const std::u16string& text, bool active) {
  tooltipText_ = text;
  if (tooltip_ == nullptr) {
    tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    GetClientRect(hwnd_, &ti.rect);
    ti.lpszText = const_cast<wchar_t*>(L"");
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  std::wstring w(text.begin(), text.end());
  TOOLINFOW ti{};
  ti.cbSize = sizeof ti;
  ti.hwnd = hwnd_;
  ti.lpszText = w.data();
  SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
  SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 2000);
  SendMessageW(tooltip_, TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

void CHoverButtonEx2::SetCaption(std::u16string_view text, const RECT& rect, HFONT font, Rgb colour) {
  caption_.Set(text, colour);
  captionRect_ = rect;
  captionFont_ = font;
  Redraw();
}

HoverFrame CHoverButtonEx::Frame() const { return ChooseHoverFrame(pressed_, hover_, IsWindowEnabled(hwnd_) != FALSE); }

void CHoverButtonEx::OnPaint(HDC dc, const RECT& rc) {
  FillSolid(dc, rc, RGB(0, 0, 0));
  const int f = static_cast<int>(Frame());
  const int sx = sideBySide_ ? f * frame_.width : 0, sy = sideBySide_ ? 0 : f * frame_.height;
  DrawPicture(dc, picture_.get(), 0, 0, rc.right, rc.bottom, sx, sy, frame_.width, frame_.height);
  if (caption_.on) {
    SetBkMode(dc, TRANSPARENT);
    Rgb c = caption_.ColourFor(highlight_);
    SetTextColor(dc, RGB(c.r, c.g, c.b));
    HGDIOBJ old = captionFont_ != nullptr ? SelectObject(dc, captionFont_) : nullptr;
    std::wstring t(caption_.text.begin(), caption_.text.end());
    RECT r = captionRect_;
    DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (old != nullptr) SelectObject(dc, old);
  }
}

void CHoverButtonEx::OnHover() {
  hover_ = true;
  SetActiveWindow(GetParent(hwnd_));
  Redraw();
  if (tooltip_ != nullptr) {
    SetTooltip(tooltipText_);
    SendMessageW(tooltip_, TTM_POPUP, 0, 0);
  }
}

void CHoverButtonEx::OnLeave() {
  tracking_ = false;
  hover_ = false;
  Redraw();
}

LRESULT CHoverButtonEx::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE | TME_HOVER, hwnd_, 1};
        tracking_ = TrackMouseEvent(&t) != FALSE;
      }
      return 0;
    case WM_MOUSEHOVER:
      OnHover();
      return 0;
    case WM_MOUSELEAVE:
      OnLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      pressed_ = true;
      SetCapture(hwnd_);
      Redraw();
      return 0;
    case WM_LBUTTONUP: {
      if (!pressed_) return 0;
      pressed_ = false;
      ReleaseCapture();
      Redraw();
      POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT rc;
      GetClientRect(hwnd_, &rc);
      if (PtInRect(&rc, p) && IsWindowEnabled(hwnd_))
        PostToParent(WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd_));
      return 0;
    }
    default:
      return SkinWindow::Handle(msg, wp, lp);
  }
}

// --- skinned button ------------------------------------------------------------------------------

void CxSkinButton::SetSkin(int normal, int pressed, int hover, int disabled, int mask) {
  normal_ = LoadPicture(normal);
  pressed_ = LoadPicture(pressed);
  hover_ = LoadPicture(hover);
  disabled_ = disabled != 0 ? LoadPicture(disabled) : Bitmap();
  if (mask != 0) {
    Bitmap m = LoadPicture(mask);
    if (m) {
      SIZE s = PictureSize(m.get());
      SetWindowPos(hwnd_, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
      // Everything that is not white on the mask is the button.
      SetWindowRgn(hwnd_, RegionFromPicture(m.get(), kMaskOutside), TRUE);
    }
  }
  Redraw();
}

SkinPicture CxSkinButton::Shown() const {
  return ChooseSkinPicture(IsWindowEnabled(hwnd_) != FALSE, down_ || checked_, over_, static_cast<bool>(disabled_));
}

void CxSkinButton::OnPaint(HDC dc, const RECT& rc) {
  HBITMAP b = normal_.get();
  switch (Shown()) {
    case SkinPicture::kPressed: b = pressed_.get(); break;
    case SkinPicture::kHover: b = hover_.get(); break;
    case SkinPicture::kDisabled: b = disabled_.get(); break;
    default: break;
  }
  SIZE s = PictureSize(b);
  DrawPicture(dc, b, 0, 0, rc.right, rc.bottom, 0, 0, s.cx, s.cy);
}

LRESULT CxSkinButton::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT t{sizeof t, TME_LEAVE, hwnd_, 0};
        tracking_ = TrackMouseEvent(&t) != FALSE;
        over_ = true;
        Redraw();
      }
      if (onMouseMove_) onMouseMove_();
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      over_ = false;
      Redraw();
      if (onMouseLeave_) onMouseLeave_();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a double click is one more single click
      down_ = true;
      SetCapture(hwnd_);
      Redraw();
      return 0;
    case WM_LBUTTONUP:
      if (down_) {
        down_ = false;
        ReleaseCapture();
        Redraw();
        PostToParent(WM_COMMAND, MAKEWPARAM(id_, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd_));
      }
      return 0;
    case BM_SETCHECK:
      SetCheck(wp == BST_CHECKED);
      return 0;
    case BM_GETCHECK:
      return checked_ ? BST_CHECKED : BST_UNCHECKED;
    case WM_KILLFOCUS:
      down_ = false;
      Redraw();
      return 0;
    default:
      return SkinWindow::Handle(msg, wp, lp);
  }
}

// --- slider --------------------------------------------------------------------------------------

void CBitmapSlider::SetChannel(int normal, int active) {
  channel_ = normal != 0 ? LoadPicture(normal) : Bitmap();
  channelActive_ = active != 0 ? LoadPicture(active) : Bitmap();
  SIZE s = PictureSize(channel_.get());
  if (s.cx > 0) SetWindowPos(hwnd_, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  model_.length = vertical_ ? s.cy : s.cx;
  Redraw();
}

void CBitmapSlider::SetThumb(int normal, int active) {
  thumb_ = normal != 0 ? LoadPicture(normal) : Bitmap();
  thumbActive_ = active != 0 ? LoadPicture(active) : Bitmap();
  thumbSize_ = PictureSize(thumb_.get());
  model_.thumbLength = vertical_ ? thumbSize_.cy : thumbSize_.cx;
  Redraw();
}

void CBitmapSlider::Send(const std::vector<SliderModel::Post>& posts) {
  for (const auto& p : posts) PostToParent(p.message, static_cast<WPARAM>(id_), p.position);
  if (!posts.empty()) Redraw();
}

void CBitmapSlider::OnPaint(HDC dc, const RECT& rc) {
  FillSolid(dc, rc, RGB(30, 30, 30));
  HBITMAP ch = (model_.dragging && channelActive_) ? channelActive_.get() : channel_.get();
  SIZE cs = PictureSize(ch);
  DrawPictureKeyed(dc, ch, 0, 0, cs.cx, cs.cy, 0, 0, cs.cx, cs.cy, kMaskOutside);
  HBITMAP th = (model_.dragging && thumbActive_) ? thumbActive_.get() : thumb_.get();
  const int centre = model_.PositionToPixel(model_.position);
  const int x = vertical_ ? (rc.right - thumbSize_.cx) / 2 : centre - thumbSize_.cx / 2;
  const int y = vertical_ ? centre - thumbSize_.cy / 2 : (rc.bottom - thumbSize_.cy) / 2;
  DrawPictureKeyed(dc, th, x, y, thumbSize_.cx, thumbSize_.cy, 0, 0, thumbSize_.cx, thumbSize_.cy, kOutlineKey);
  if (focused_) DrawFocusRect(dc, &rc);
}

LRESULT CBitmapSlider::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      return (GetKeyState(VK_TAB) & 0x8000) != 0 ? 0 : DLGC_WANTARROWS;
    case WM_LBUTTONDOWN:
      if (!model_.enabled) return 0;
      SetCapture(hwnd_);
      if (model_.focusOnClick) SetFocus(hwnd_);
      Send(model_.MouseDown(Along(lp)));
      return 0;
    case WM_MOUSEMOVE:
      Send(model_.MouseMove(Along(lp)));
      return 0;
    case WM_LBUTTONUP:
      if (model_.dragging) ReleaseCapture();
      Send(model_.MouseUp());
      return 0;
    case WM_KEYDOWN: {
      SliderKey k = SliderKey::kOther;
      switch (wp) {
        case VK_PRIOR: k = SliderKey::kPageUp; break;
        case VK_NEXT: k = SliderKey::kPageDown; break;
        case VK_END: k = SliderKey::kEnd; break;
        case VK_HOME: k = SliderKey::kHome; break;
        case VK_LEFT: k = SliderKey::kLeft; break;
        case VK_UP: k = SliderKey::kUp; break;
        case VK_RIGHT: k = SliderKey::kRight; break;
        case VK_DOWN: k = SliderKey::kDown; break;
        default: break;
      }
      Send(model_.Key(k));
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focused_ = msg == WM_SETFOCUS;
      Redraw();
      return 0;
    case WM_ENABLE:
      model_.enabled = wp != 0;
      Redraw();
      return 0;
    default:
      return SkinWindow::Handle(msg, wp, lp);
  }
}

// --- edit ------------------------------------------------------------------------------------------

namespace {

LRESULT CALLBACK EditExProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_KEYUP && wp == VK_RETURN) {
    PostMessageW(GetParent(hwnd), WM_KEYUP, 0, 0);
    return 0;
  }
  if ((msg == WM_KEYDOWN || msg == WM_CHAR) && (wp == VK_RETURN || wp == '\r')) return 0;
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool MakeEditEx(HWND edit) { return SetWindowSubclass(edit, EditExProc, 1, 0) != FALSE; }

}  // namespace halvard
