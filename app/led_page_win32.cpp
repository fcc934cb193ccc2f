// CSkinLedDlg: the LED page (template 700, picture 335). The window shows what LedPageModel
// holds: the zones' colours on the mouse picture, the selected zone joined to its colour button,
// the ON/OFF state, and hands the model every press.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "app/led_page.h"
#include "app/pages_win32.h"
#include "app/skin/controls_win32.h"

namespace halvard {
namespace {

constexpr int kTemplate = 700;
constexpr int kPicture = 335;

enum LedControl : int {
  kIdOk = 1727,
  kIdApply = 1728,
  kIdOn = 1729,
  kIdOff = 1730,
  kIdZone = 1731,    // 1731-1733
  kIdColour = 1799,  // 1799-1805
};

// Pictures (drawn by resources/art/page-led_page.sh; APPLY by the performance page's script).
constexpr int kPicColour = 2150;  // + 4 * button: normal, pressed, hover, disabled
constexpr int kPicOn = 2180, kPicOff = 2184;
constexpr int kPicZone = 2190;  // normal, selected, hover, mask
constexpr int kPicOk = 1900, kPicCancel = 1901, kPicApply = 2140;

// Places on the page picture.
constexpr std::array<POINT, kZoneCount> kZoneCentre = {{{160, 132}, {160, 250}, {96, 318}}};
constexpr int kZoneSize = 30;
constexpr int kColourX = 330, kColourY0 = 76, kColourStep = 36, kColourW = 120, kColourH = 28;
constexpr POINT kOnAt{474, 100}, kOffAt{474, 140};
constexpr POINT kApplyAt{300, 370}, kCancelAt{400, 370}, kOkAt{500, 370};
constexpr int kFirstTooltipColour = 49, kTooltipOn = 47, kTooltipOff = 48;

COLORREF ColourOf(int button) {
  if (button < 0 || button >= kColourCount) return RGB(60, 60, 60);
  const int code = kColourCodes[static_cast<std::size_t>(button)];
  return RGB((code & 1) ? 255 : 0, (code & 2) ? 255 : 0, (code & 4) ? 255 : 0);
}

class CSkinLedDlg {
 public:
  CSkinLedDlg(PageContext& ctx, int profile)
      : ctx_(ctx), profile_(profile), model_(LedPageDeps{ctx.tessel, ctx.store, ctx.clock, ctx.messages}) {}

  PageOutcome Run() {
    const INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplate), ctx_.owner, Proc,
                                      reinterpret_cast<LPARAM>(this));
    ctx_.openPage = nullptr;
    return {model_.profile(), r == kIdOk};
  }

 private:
  static INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(h, DWLP_USER, lp);
    auto* self = reinterpret_cast<CSkinLedDlg*>(GetWindowLongPtrW(h, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (msg == WM_INITDIALOG) self->hwnd_ = h;
    return self->Handle(msg, wp, lp);
  }

  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_INITDIALOG:
        OnInit();
        return TRUE;
      case WM_ERASEBKGND:
        Paint(reinterpret_cast<HDC>(wp));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
        return TRUE;
      case WM_NCHITTEST: {
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ScreenToClient(hwnd_, &pt);
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, pt.y < 46 ? HTCAPTION : HTCLIENT);
        return TRUE;
      }
      case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return TRUE;
      case WM_INFORM_UI: {
        const INT_PTR r = model_.OnInformUi(wp, lp);
        Show();
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, r);
        return TRUE;
      }
      case WM_END_PAGE:
        model_.EndPage();
        EndDialog(hwnd_, IDCANCEL);
        return TRUE;
      case WM_DESTROY:
        ctx_.openPage = nullptr;
        return FALSE;
      default:
        return FALSE;
    }
  }

  void OnInit() {
    ctx_.openPage = hwnd_;
    picture_ = LoadPicture(kPicture);
    SIZE s = PictureSize(picture_.get());
    if (s.cx == 0) s = {600, 420};
    SetWindowPos(hwnd_, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - s.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - s.cy) / 2,
                 s.cx, s.cy, SWP_NOACTIVATE);
    if (picture_) SetWindowRgn(hwnd_, RegionFromPicture(picture_.get(), kOutlineKey), FALSE);
    SetWindowTextW(hwnd_, L"Light Option");
    const auto& lang = ActiveLanguage();
    for (int z = 0; z < kZoneCount; ++z) {
      const POINT c = kZoneCentre[static_cast<std::size_t>(z)];
      zones_[static_cast<std::size_t>(z)].Create(hwnd_, kIdZone + z, c.x - kZoneSize / 2, c.y - kZoneSize / 2, kZoneSize,
                                                 kZoneSize, WS_CHILD | WS_VISIBLE);
      zones_[static_cast<std::size_t>(z)].SetSkin(kPicZone, kPicZone + 1, kPicZone + 2, 0, kPicZone + 3);
    }
    for (int b = 0; b < kColourCount; ++b) {
      auto& button = colours_[static_cast<std::size_t>(b)];
      button.Create(hwnd_, kIdColour + b, kColourX, kColourY0 + kColourStep * b, kColourW, kColourH,
                    WS_CHILD | WS_VISIBLE);
      const int pic = kPicColour + 4 * b;
      button.SetSkin(pic, pic + 1, pic + 2, pic + 3, 0);
      AddTooltip(button.hwnd(), std::u16string(lang.Tooltip(kFirstTooltipColour + b)));
    }
    on_.Create(hwnd_, kIdOn, kOnAt.x, kOnAt.y, 90, 28, WS_CHILD | WS_VISIBLE);
    on_.SetSkin(kPicOn, kPicOn + 1, kPicOn + 2, kPicOn + 3, 0);
    AddTooltip(on_.hwnd(), std::u16string(lang.Tooltip(kTooltipOn)));
    off_.Create(hwnd_, kIdOff, kOffAt.x, kOffAt.y, 90, 28, WS_CHILD | WS_VISIBLE);
    off_.SetSkin(kPicOff, kPicOff + 1, kPicOff + 2, kPicOff + 3, 0);
    AddTooltip(off_.hwnd(), std::u16string(lang.Tooltip(kTooltipOff)));
    auto hover = [&](CHoverButtonEx& b, int id, POINT at, int pic, int tip) {
      b.Create(hwnd_, id, at.x, at.y, 90, 30);
      b.LoadPicture(pic, true);
      b.SetTooltip(std::u16string(lang.Tooltip(tip)));
    };
    hover(apply_, kIdApply, kApplyAt, kPicApply, 23);
    hover(cancel_, IDCANCEL, kCancelAt, kPicCancel, 22);
    hover(ok_, kIdOk, kOkAt, kPicOk, 21);
    model_.Open(profile_, hwnd_);
    Show();
  }

  void AddTooltip(HWND control, const std::u16string& text) {
    if (tips_ == nullptr) {
      tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
      if (tips_ == nullptr) return;
    }
    std::wstring w(text.begin(), text.end());
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = w.data();
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }

  // The picture, then each zone's light and the line from the chosen zone to its colour.
  void Paint(HDC dc) {
    SIZE s = PictureSize(picture_.get());
    DrawPicture(dc, picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
    for (int z = 0; z < kZoneCount; ++z) {
      const POINT c = kZoneCentre[static_cast<std::size_t>(z)];
      Brush light(CreateSolidBrush(ColourOf(model_.Shown(z))));
      SelectGuard b(dc, light.get());
      SelectGuard p(dc, GetStockObject(NULL_PEN));
      Ellipse(dc, c.x - 10, c.y - 10, c.x + 11, c.y + 11);
    }
    const int z = model_.selectedZone();
    if (z != kNoZone && model_.Shown(z) != kNoColour) {
      const POINT c = kZoneCentre[static_cast<std::size_t>(z)];
      const int by = kColourY0 + kColourStep * model_.Shown(z) + kColourH / 2;
      GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(220, 30, 30)));
      SelectGuard g(dc, pen.get());
      MoveToEx(dc, c.x + kZoneSize / 2, c.y, nullptr);
      LineTo(dc, kColourX - 2, by);
    }
  }

  void Show() {
    for (int z = 0; z < kZoneCount; ++z) zones_[static_cast<std::size_t>(z)].SetCheck(model_.selectedZone() == z);
    const int chosen = model_.selectedZone() == kNoZone ? kNoColour : model_.Shown(model_.selectedZone());
    for (int b = 0; b < kColourCount; ++b) {
      auto& button = colours_[static_cast<std::size_t>(b)];
      EnableWindow(button.hwnd(), model_.ledsOn());
      button.SetCheck(b == chosen);
    }
    on_.SetCheck(model_.ledsOn());
    off_.SetCheck(!model_.ledsOn());
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
  }

  void OnCommand(int id) {
    if (id >= kIdZone && id < kIdZone + kZoneCount) {
      model_.SelectZone(id - kIdZone);
    } else if (id >= kIdColour && id < kIdColour + kColourCount) {
      model_.ChooseColour(id - kIdColour);
    } else {
      switch (id) {
        case kIdOn: model_.On(); break;
        case kIdOff: model_.Off(); break;
        case kIdApply: model_.Apply(false); break;
        case kIdOk:
          if (model_.Apply(true)) return (void)EndDialog(hwnd_, kIdOk);
          break;
        case IDCANCEL:  // CANCEL, Escape and the window's close
          model_.Cancel();
          return (void)EndDialog(hwnd_, IDCANCEL);
        default: return;
      }
    }
    Show();
  }

  PageContext& ctx_;
  int profile_;
  LedPageModel model_;
  HWND hwnd_ = nullptr;
  Bitmap picture_;
  std::array<CxSkinButton, kZoneCount> zones_;
  std::array<CxSkinButton, kColourCount> colours_;
  CxSkinButton on_, off_;
  CHoverButtonEx apply_, cancel_, ok_;
  HWND tips_ = nullptr;
};

}  // namespace

PageOutcome RunLedPage(PageContext& ctx, int profile) {
  CSkinLedDlg page(ctx, profile);
  return page.Run();
}

}  // namespace halvard
