// CSkinCfgDlg: the performance page (template 701, picture 343). The window only shows what
// CfgPageModel holds and hands it every control's change.
#include <windows.h>

#include <commctrl.h>

#include <array>
#include <string>

#include "app/cfg_pointer.h"
#include "app/config_page.h"
#include "app/pages_win32.h"
#include "app/skin/controls_win32.h"

namespace halvard {
namespace {

constexpr int kTemplate = 701;
constexpr int kPicture = 343;

enum CfgControl : int {
  kIdOk = 1201,
  kIdApply = 1202,
  kIdReset = 1203,
  kIdXy = 1204,
  kIdLevel = 1205,
  kIdDoubleClick = 1206,
  kIdCursor = 1207,
  kIdScroll = 1208,
  kIdLiftOff = 1209,
  kIdCommonSlider = 1210,
  kIdCommonField = 1211,
  kIdXSlider = 1212,
  kIdXField = 1213,
  kIdYSlider = 1214,
  kIdYField = 1215,
  kIdPolling = 1220,  // 125, 250, 500, 1000 Hz
  kIdOneScreen = 1224,
  kIdLabelFirst = 1230,  // DPI, X AXIS, Y AXIS
};

// Pictures of the page's controls (drawn by resources/art/page-config_page.sh).
constexpr int kPicChannel = 1910, kPicChannelActive = 1911, kPicThumb = 1912;
constexpr int kPicVChannel = 2100, kPicVChannelActive = 2101, kPicVThumb = 2102;
constexpr int kPicPolling = 2110;  // + 4 * button: normal, pressed, hover, disabled
constexpr int kPicCheck = 2130;    // normal, checked, hover, disabled
constexpr int kPicOk = 1900, kPicCancel = 1901, kPicApply = 2140, kPicReset = 2141;

// Where the controls sit on the page picture (the picture is drawn to the same places).
constexpr POINT kLevelAt{36, 96}, kDoubleClickAt{396, 96}, kCursorAt{396, 166}, kScrollAt{396, 236},
    kLiftOffAt{396, 336};
constexpr POINT kXyAt{36, 150}, kOneScreenAt{396, 272};
constexpr POINT kCommonSliderAt{70, 196}, kCommonFieldAt{110, 300}, kXSliderAt{70, 196}, kXFieldAt{110, 300},
    kYSliderAt{220, 196}, kYFieldAt{260, 300};
constexpr int kFieldW = 64, kFieldH = 22;
constexpr int kPollingY = 444, kPollingX0 = 36, kPollingStep = 80;
constexpr POINT kResetAt{396, 384}, kApplyAt{410, 450}, kCancelAt{510, 450}, kOkAt{610, 450};
// Polling buttons left to right are 125, 250, 500 and 1000 Hz: codes 3, 2, 1, 0.
constexpr int PollingCodeOfButton(int b) { return 3 - b; }

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string FieldTextOf(HWND w) {
  wchar_t buf[16] = {};
  GetWindowTextW(w, buf, 16);
  return std::u16string(buf, buf + wcslen(buf));
}

class CSkinCfgDlg {
 public:
  CSkinCfgDlg(PageContext& ctx, int profile)
      : ctx_(ctx),
        profile_(profile),
        model_(CfgPageDeps{ctx.tessel, ctx.store, ctx.system, ctx.windows, ctx.clock, ctx.messages}) {}

  PageOutcome Run() {
    const INT_PTR r = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kTemplate), ctx_.owner, Proc,
                                      reinterpret_cast<LPARAM>(this));
    ctx_.openPage = nullptr;
    // Whatever the exit, the profile keeps the pointer settings now in force.
    SaveProfilePointerSettings(ctx_.store, ctx_.system, model_.profile());
    return {model_.profile(), r == kIdOk};
  }

 private:
  static INT_PTR CALLBACK Proc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) SetWindowLongPtrW(h, DWLP_USER, lp);
    auto* self = reinterpret_cast<CSkinCfgDlg*>(GetWindowLongPtrW(h, DWLP_USER));
    if (self == nullptr) return FALSE;
    if (msg == WM_INITDIALOG) self->hwnd_ = h;
    return self->Handle(msg, wp, lp);
  }

  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_INITDIALOG:
        OnInit();
        return TRUE;
      case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SIZE s = PictureSize(picture_.get());
        DrawPicture(dc, picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
        return TRUE;
      }
      case WM_NCHITTEST: {
        // The heading strip moves the page.
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ScreenToClient(hwnd_, &pt);
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, pt.y < 46 ? HTCAPTION : HTCLIENT);
        return TRUE;
      }
      case WM_CTLCOLOREDIT:
      case WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, RGB(250, 250, 250));
        const bool field = msg == WM_CTLCOLOREDIT;
        SetBkColor(dc, field ? RGB(43, 43, 43) : RGB(30, 30, 30));
        return reinterpret_cast<INT_PTR>(field ? field_.get() : ground_.get());
      }
      case WM_COMMAND:
        OnCommand(LOWORD(wp), HIWORD(wp));
        return TRUE;
      case WM_BITMAPSLIDER_MOVED:
        OnSlider(static_cast<int>(wp), static_cast<int>(lp));
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
    if (s.cx == 0) s = {720, 500};
    SetWindowPos(hwnd_, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - s.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - s.cy) / 2,
                 s.cx, s.cy, SWP_NOACTIVATE);
    if (picture_) SetWindowRgn(hwnd_, RegionFromPicture(picture_.get(), kOutlineKey), FALSE);
    SetWindowTextW(hwnd_, L"Performance");
    ground_.Reset(CreateSolidBrush(RGB(30, 30, 30)));
    field_.Reset(CreateSolidBrush(RGB(43, 43, 43)));
    Build();
    model_.Open(profile_, hwnd_);
    Show();
  }

  void Slider(CBitmapSlider& s, int id, POINT at, int min, int max, bool vertical) {
    s.SetVertical(vertical);
    s.Create(hwnd_, id, at.x, at.y, vertical ? 24 : 220, vertical ? 220 : 24);
    s.SetChannel(vertical ? kPicVChannel : kPicChannel, vertical ? kPicVChannelActive : kPicChannelActive);
    s.SetThumb(vertical ? kPicVThumb : kPicThumb);
    s.Model().SetRange(min, max);
    s.Model().focusOnClick = true;
  }

  void Hover(CHoverButtonEx& b, int id, POINT at, int w, int picture, int tooltip) {
    b.Create(hwnd_, id, at.x, at.y, w, 30);
    b.LoadPicture(picture, true);
    b.SetTooltip(std::u16string(ActiveLanguage().Tooltip(tooltip)));
  }

  HWND Field(int id, POINT at) {
    HWND f = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | ES_CENTER | ES_AUTOHSCROLL | WS_TABSTOP, at.x, at.y, kFieldW,
                             kFieldH, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                             nullptr);
    SendMessageW(f, EM_LIMITTEXT, kDpiFieldChars, 0);
    SendMessageW(f, WM_SETFONT, reinterpret_cast<WPARAM>(ctx_.fonts[5].get()), TRUE);
    return f;
  }

  HWND Label(int id, const wchar_t* text, int x, int y) {
    HWND l = CreateWindowExW(0, L"STATIC", text, WS_CHILD | SS_LEFT, x, y, 60, 18, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(l, WM_SETFONT, reinterpret_cast<WPARAM>(ctx_.fonts[4].get()), TRUE);
    return l;
  }

  void Build() {
    Slider(level_, kIdLevel, kLevelAt, 1, kLevelCount, false);
    Slider(doubleClick_, kIdDoubleClick, kDoubleClickAt, 0, kPointerSliderMax, false);
    Slider(cursor_, kIdCursor, kCursorAt, 0, kPointerSliderMax, false);
    Slider(scroll_, kIdScroll, kScrollAt, 0, kPointerSliderMax, false);
    Slider(liftOff_, kIdLiftOff, kLiftOffAt, 0, kLiftOffMax, false);
    Slider(common_, kIdCommonSlider, kCommonSliderAt, 1, kDpiCodeMax, true);
    Slider(x_, kIdXSlider, kXSliderAt, 1, kDpiCodeMax, true);
    Slider(y_, kIdYSlider, kYSliderAt, 1, kDpiCodeMax, true);
    commonField_ = Field(kIdCommonField, kCommonFieldAt);
    xField_ = Field(kIdXField, kXFieldAt);
    yField_ = Field(kIdYField, kYFieldAt);
    labels_[0] = Label(kIdLabelFirst, L"DPI", kCommonFieldAt.x + kFieldW + 6, kCommonFieldAt.y + 2);
    labels_[1] = Label(kIdLabelFirst + 1, L"X AXIS", kXFieldAt.x, kXFieldAt.y - 22);
    labels_[2] = Label(kIdLabelFirst + 2, L"Y AXIS", kYFieldAt.x, kYFieldAt.y - 22);
    for (int b = 0; b < 4; ++b) {
      polling_[b].Create(hwnd_, kIdPolling + b, kPollingX0 + kPollingStep * b, kPollingY, 70, 28, WS_CHILD | WS_VISIBLE);
      const int pic = kPicPolling + 4 * b;
      polling_[b].SetSkin(pic, pic + 1, pic + 2, pic + 3, 0);
    }
    xy_.Create(hwnd_, kIdXy, kXyAt.x, kXyAt.y, 20, 20, WS_CHILD | WS_VISIBLE);
    xy_.SetSkin(kPicCheck, kPicCheck + 1, kPicCheck + 2, kPicCheck + 3, 0);
    oneScreen_.Create(hwnd_, kIdOneScreen, kOneScreenAt.x, kOneScreenAt.y, 20, 20, WS_CHILD | WS_VISIBLE);
    oneScreen_.SetSkin(kPicCheck, kPicCheck + 1, kPicCheck + 2, kPicCheck + 3, 0);
    AddTooltip(oneScreen_.hwnd(), 26);
    Hover(reset_, kIdReset, kResetAt, 150, kPicReset, 24);
    Hover(apply_, kIdApply, kApplyAt, 90, kPicApply, 23);
    Hover(cancel_, IDCANCEL, kCancelAt, 90, kPicCancel, 22);
    Hover(ok_, kIdOk, kOkAt, 90, kPicOk, 25);
  }

  void AddTooltip(HWND control, int tooltip) {
    tips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (tips_ == nullptr) return;
    std::wstring text = W(ActiveLanguage().Tooltip(tooltip));
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = text.data();
    SendMessageW(tips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }

  void SetField(HWND f, DpiField which) {
    const std::wstring text = W(model_.FieldText(which));
    if (FieldTextOf(f) == model_.FieldText(which)) return;
    updating_ = true;
    SetWindowTextW(f, text.c_str());
    SendMessageW(f, EM_SETSEL, text.size(), text.size());
    updating_ = false;
  }

  static void Place(CBitmapSlider& s, int pos) {
    if (s.Model().position == pos) return;
    s.Model().SetPosition(pos);
    InvalidateRect(s.hwnd(), nullptr, FALSE);
  }

  // Every control from the model.
  void Show() {
    const bool xy = model_.xy();
    const int common = xy ? SW_HIDE : SW_SHOW, pair = xy ? SW_SHOW : SW_HIDE;
    ShowWindow(common_.hwnd(), common);
    ShowWindow(commonField_, common);
    ShowWindow(labels_[0], SW_SHOW);
    for (HWND w : {x_.hwnd(), xField_, y_.hwnd(), yField_, labels_[1], labels_[2]}) ShowWindow(w, pair);
    MoveWindow(labels_[0], (xy ? kYFieldAt.x : kCommonFieldAt.x) + kFieldW + 6, kCommonFieldAt.y + 2, 40, 18, TRUE);
    xy_.SetCheck(xy);
    Place(level_, model_.LevelSlider());
    Place(common_, model_.SliderPosition(DpiField::kCommon));
    Place(x_, model_.SliderPosition(DpiField::kX));
    Place(y_, model_.SliderPosition(DpiField::kY));
    SetField(commonField_, DpiField::kCommon);
    SetField(xField_, DpiField::kX);
    SetField(yField_, DpiField::kY);
    for (int b = 0; b < 4; ++b) polling_[b].SetCheck(PollingCodeOfButton(b) == model_.pollingShown());
    Place(doubleClick_, model_.doubleClickSlider());
    Place(cursor_, model_.cursorSlider());
    Place(scroll_, model_.scrollSlider());
    Place(liftOff_, model_.liftOff());
    oneScreen_.SetCheck(model_.oneScreen());
  }

  void EnableAll(bool on) {
    for (int id = kIdOk; id <= kIdOneScreen; ++id)
      if (HWND w = GetDlgItem(hwnd_, id)) EnableWindow(w, on);
    EnableWindow(GetDlgItem(hwnd_, IDCANCEL), on);
  }

  void OnSlider(int id, int pos) {
    switch (id) {
      case kIdLevel: model_.SetLevel(pos); break;
      case kIdCommonSlider: model_.MoveDpiSlider(DpiField::kCommon, pos); break;
      case kIdXSlider: model_.MoveDpiSlider(DpiField::kX, pos); break;
      case kIdYSlider: model_.MoveDpiSlider(DpiField::kY, pos); break;
      case kIdDoubleClick: model_.SetDoubleClickSlider(pos); break;
      case kIdCursor: model_.SetCursorSlider(pos); break;
      case kIdScroll: model_.SetScrollSlider(pos); break;
      case kIdLiftOff: model_.SetLiftOff(pos); break;
      default: return;
    }
    Show();
  }

  void OnField(HWND f, DpiField which) {
    if (updating_) return;
    const std::u16string typed = FieldTextOf(f);
    const std::u16string shown = model_.EditDpiField(which, typed);
    if (shown != typed) {
      updating_ = true;
      SetWindowTextW(f, W(shown).c_str());
      SendMessageW(f, EM_SETSEL, shown.size(), shown.size());
      updating_ = false;
    }
    Show();
  }

  void Finish(INT_PTR result) { EndDialog(hwnd_, result); }

  void OnCommand(int id, int code) {
    if (id >= kIdPolling && id < kIdPolling + 4) {
      model_.SetPolling(PollingCodeOfButton(id - kIdPolling));
      Show();
      return;
    }
    switch (id) {
      case kIdCommonField:
      case kIdXField:
      case kIdYField:
        if (code == EN_CHANGE)
          OnField(GetDlgItem(hwnd_, id), id == kIdCommonField ? DpiField::kCommon : id == kIdXField ? DpiField::kX : DpiField::kY);
        return;
      case kIdXy:
        model_.SetXy(!model_.xy());
        break;
      case kIdOneScreen:
        model_.ToggleOneScreen();
        break;
      case kIdApply:
        model_.Apply(false);
        break;
      case kIdOk:
        if (model_.Apply(true)) return Finish(kIdOk);
        break;
      case IDCANCEL:  // CANCEL, Escape and the window's close
        model_.Cancel();
        return Finish(IDCANCEL);
      case kIdReset:
        EnableAll(false);
        model_.ResetToDefault();
        EnableAll(true);
        break;
      default:
        return;  // Enter (IDOK) in a field does not end the page
    }
    Show();
  }

  PageContext& ctx_;
  int profile_;
  CfgPageModel model_;
  HWND hwnd_ = nullptr;
  Bitmap picture_;
  Brush ground_, field_;
  CBitmapSlider level_, doubleClick_, cursor_, scroll_, liftOff_, common_, x_, y_;
  HWND commonField_ = nullptr, xField_ = nullptr, yField_ = nullptr;
  std::array<HWND, 3> labels_{};
  std::array<CxSkinButton, 4> polling_;
  CxSkinButton xy_, oneScreen_;
  CHoverButtonEx reset_, apply_, cancel_, ok_;
  HWND tips_ = nullptr;
  bool updating_ = false;
};

}  // namespace

PageOutcome RunConfigPage(PageContext& ctx, int profile) {
  CSkinCfgDlg page(ctx, profile);
  return page.Run();
}

}  // namespace halvard
