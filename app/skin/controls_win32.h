// The skinned controls as windows. Each is a small window class whose procedure hands every
// message to a typed handler; what a message means is decided by the portable models.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/skin/gdi_win32.h"
#include "app/skin/skin_model.h"

namespace halvard {

// The common window plumbing: one registered class per control kind, the object in the
// window's user data.
class SkinWindow {
 public:
  virtual ~SkinWindow();
  HWND hwnd() const { return hwnd_; }
  bool Create(HWND parent, int id, int x, int y, int w, int h, DWORD style = WS_CHILD | WS_VISIBLE,
              DWORD exStyle = 0);
  int Id() const { return id_; }
  // A tooltip over the whole control; `active` off keeps the text but shows nothing.
  void SetTooltip(const std::u16string& text, bool active = true);

 protected:
  virtual const wchar_t* ClassName() const = 0;
  // Painting goes off-screen through CMyMemDC; the background is never erased separately.
  virtual void OnPaint(HDC dc, const RECT& client) {
    (void)dc;
    (void)client;
  }
  virtual LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void Redraw() { InvalidateRect(hwnd_, nullptr, FALSE); }
  void PostToParent(UINT msg, WPARAM wp, LPARAM lp) { PostMessageW(GetParent(hwnd_), msg, wp, lp); }

  HWND hwnd_ = nullptr;
  int id_ = 0;
  HWND tooltip_ = nullptr;
  std::u16string tooltipText_;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
};

// CHoverButtonEx: four frames of one picture, hover tracking and a tooltip.
class CHoverButtonEx : public SkinWindow {
 public:
  bool LoadPicture(int id, bool sideBySide = false);
  void SetHighlight(bool on) {
    highlight_ = on;
    Redraw();
  }
  void Enable(bool on) {
    EnableWindow(hwnd_, on);
    Redraw();
  }
  bool Hovering() const { return hover_; }
  HoverFrame Frame() const;

 protected:
  const wchar_t* ClassName() const override { return L"HalvardHoverButton"; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  virtual void OnHover();
  virtual void OnLeave();
  void OnPaint(HDC dc, const RECT& client) override;

  Bitmap picture_;
  FrameSize frame_{0, 0};
  bool sideBySide_ = false;
  bool hover_ = false, tracking_ = false, pressed_ = false, highlight_ = true;
  // The caption of the Ex2 form; off in the plain one.
  HoverCaption caption_;
  RECT captionRect_{};
  HFONT captionFont_ = nullptr;
};

// CHoverButtonEx2: the hover button with a text caption over its picture.
class CHoverButtonEx2 : public CHoverButtonEx {
 public:
  void SetCaption(std::u16string_view text, const RECT& rect, HFONT font, Rgb colour);
};

// CxSkinButton and CxSkinButtonExt: separate pictures per state, outline from a mask.
class CxSkinButton : public SkinWindow {
 public:
  void SetSkin(int normal, int pressed, int hover, int disabled, int mask);
  void SetCheck(bool on) {
    checked_ = on;
    Redraw();
  }
  bool Checked() const { return checked_; }
  SkinPicture Shown() const;

 protected:
  const wchar_t* ClassName() const override { return L"HalvardSkinButton"; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& client) override;

  Bitmap normal_, pressed_, hover_, disabled_;
  bool over_ = false, tracking_ = false, down_ = false, checked_ = false;
  // Hover and leave reports; the Ext form hands them out.
  std::function<void()> onMouseMove_, onMouseLeave_;
};

// CxSkinButtonExt: the skinned button that tells others about hover and leave.
class CxSkinButtonExt : public CxSkinButton {
 public:
  void OnMouseMove(std::function<void()> f) { onMouseMove_ = std::move(f); }
  void OnMouseLeave(std::function<void()> f) { onMouseLeave_ = std::move(f); }
};

// CBitmapSlider, CBitmapSliderEx, CBitmapSliderEx2.
class CBitmapSlider : public SkinWindow {
 public:
  void SetChannel(int normal, int active = 0);
  void SetThumb(int normal, int active = 0);
  SliderModel& Model() { return model_; }
  void SetVertical(bool v) { vertical_ = v; }

 protected:
  const wchar_t* ClassName() const override { return L"HalvardSlider"; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) override;
  void OnPaint(HDC dc, const RECT& client) override;
  void Send(const std::vector<SliderModel::Post>& posts);
  int Along(LPARAM lp) const { return vertical_ ? static_cast<short>(HIWORD(lp)) : static_cast<short>(LOWORD(lp)); }

  SliderModel model_;
  Bitmap channel_, channelActive_, thumb_, thumbActive_;
  SIZE thumbSize_{0, 0};
  bool vertical_ = false;
  bool focused_ = false;
};
class CBitmapSliderEx : public CBitmapSlider {};
class CBitmapSliderEx2 : public CBitmapSliderEx {
 public:
  CBitmapSliderEx2() { model_.leadingEdge = true; }
};

// CEditEx: an edit control whose Enter key, when released, goes to the parent as WM_KEYUP 0, 0.
bool MakeEditEx(HWND edit);
class CEditEx {
 public:
  bool Attach(HWND edit) { return MakeEditEx(hwnd_ = edit); }
  HWND hwnd() const { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
};

}  // namespace halvard
