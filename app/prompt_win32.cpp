#include "app/prompt_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "app/language.h"

namespace halvard {
namespace {

constexpr int kIdOk = IDOK;
constexpr int kIdCancel = IDCANCEL;
constexpr int kIdName = 1001;
constexpr int kIdCount = 1002;
constexpr int kIdList = 1003;
constexpr int kIdRadio = 1010;  // 1010-1013
constexpr COLORREF kTextColour = RGB(250, 250, 250);

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

std::u16string TextOf(HWND w) {
  wchar_t buf[kPromptTextChars] = {};
  GetWindowTextW(w, buf, static_cast<int>(kPromptTextChars));
  return std::u16string(buf, buf + wcslen(buf));
}

}  // namespace

CSkinDlg::~CSkinDlg() {
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
}

void CSkinDlg::Prepare(HFONT textFont, HFONT listFont) {
  textFont_ = textFont;
  listFont_ = listFont;
  icon_ = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(800));
  ground_.Reset(CreateSolidBrush(RGB(30, 30, 30)));
  field_.Reset(CreateSolidBrush(RGB(43, 43, 43)));
  prepared_ = true;
}

bool CSkinDlg::Open(HWND owner) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  EnsureWindowClass(L"HalvardPrompt", Proc);
  owner_ = owner;
  done_ = false;
  result_ = kPromptResultCancel;
  if (text.size() >= kPromptTextChars) text.resize(kPromptTextChars - 1);
  picture_ = LoadPicture(kind);
  SIZE s = PictureSize(picture_.get());
  if (s.cx == 0) s = {420, 230};  // a missing picture: no outline, nothing reported
  hwnd_ = CreateWindowExW(WS_EX_TOPMOST, L"HalvardPrompt", L"", WS_POPUP, (GetSystemMetrics(SM_CXSCREEN) - s.cx) / 2,
                          (GetSystemMetrics(SM_CYSCREEN) - s.cy) / 2, s.cx, s.cy, owner, nullptr, inst, this);
  if (hwnd_ == nullptr) return false;
  if (icon_ != nullptr) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
  if (picture_) SetWindowRgn(hwnd_, RegionFromPicture(picture_.get(), kOutlineKey), FALSE);
  Layout();
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  return true;
}

void CSkinDlg::Layout() {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  SIZE s = PictureSize(picture_.get());
  if (s.cx == 0) s = {420, 230};
  const auto info = PromptKindOf(kind).value_or(PromptKindInfo{kind, true, PromptInput::kNone});
  const LanguageTables& lang = ActiveLanguage();

  ok_ = std::make_unique<CHoverButtonEx2>();
  cancel_ = std::make_unique<CHoverButtonEx2>();
  const int y = s.cy - 48;
  if (info.okOnly) {
    ok_->Create(hwnd_, kIdOk, (s.cx - 90) / 2, y, 90, 30);
    ok_->LoadPicture(kPictureYes, true);
  } else {
    ok_->Create(hwnd_, kIdOk, s.cx / 2 - 110, y, 90, 30);
    ok_->LoadPicture(kPictureOk, true);
    cancel_->Create(hwnd_, kIdCancel, s.cx / 2 + 20, y, 90, 30);
    cancel_->LoadPicture(kPictureCancel, true);
    cancel_->SetTooltip(std::u16string(lang.Tooltip(40)));
  }
  ok_->SetTooltip(std::u16string(lang.Tooltip(39)));

  const DWORD edit = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL;
  switch (info.input) {
    case PromptInput::kName:
      name_ = CreateWindowExW(0, L"EDIT", W(text).c_str(), edit, 102, 84, 276, 22, hwnd_,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdName)), inst, nullptr);
      SendMessageW(name_, EM_LIMITTEXT, kPromptNameChars, 0);
      MakeEditEx(name_);
      SetFocus(name_);
      break;
    case PromptInput::kCount:
      count_ = CreateWindowExW(0, L"EDIT", W(CountSeed(value)).c_str(), edit | ES_CENTER, 162, 87, 96, 22, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdCount)), inst, nullptr);
      SendMessageW(count_, EM_LIMITTEXT, kPromptCountChars, 0);
      MakeEditEx(count_);
      SetFocus(count_);
      break;
    case PromptInput::kFunctionList:
    case PromptInput::kMacroList:
      combo_ = std::make_unique<CColorCombox>();
      combo_->Create(hwnd_, kIdList, 31, 89, 358, 300);
      combo_->SetColours(kTextColour, RGB(43, 43, 43), RGB(255, 255, 255), RGB(150, 15, 15));
      list_ = combo_->hwnd();
      break;
    default:
      break;
  }
  for (HWND w : {name_, count_, list_})
    if (w != nullptr && textFont_ != nullptr) SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_ ? listFont_ : textFont_), TRUE);

  if (info.input == PromptInput::kFunctionList) {
    for (int row : kFunctionListRows) {
      std::wstring name = W(lang.FunctionName(row));
      SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(FunctionListPosition(value)), 0);
  }
  if (info.input == PromptInput::kMacroList) {
    macros_ = OpenMacroChoice(files_, macroPath);
    text = macros_.text;
    for (const auto& n : macros_.names) {
      std::wstring name = W(n);
      SendMessageW(list_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(list_, CB_SETCURSEL, static_cast<WPARAM>(macros_.selected), 0);
    for (int i = 0; i < 4; ++i) {
      radios_[i] = std::make_unique<CxSkinButton>();
      radios_[i]->Create(hwnd_, kIdRadio + i, 30, 162 + 26 * i, 18, 18);
      radios_[i]->SetSkin(kPictureRadioOff, kPictureRadioOn, kPictureRadioOff, 0, 0);
      radios_[i]->SetCheck(i == choice);
    }
    AddRadioTooltips(lang);
  }
}

void CSkinDlg::AddRadioTooltips(const LanguageTables& lang) {
  radioTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, GetModuleHandleW(nullptr),
                               nullptr);
  if (radioTips_ == nullptr) return;
  for (int i = 0; i < 4; ++i) {
    if (!radios_[i]) continue;
    std::wstring tip = W(lang.Tooltip(kRepeatChoiceTooltips[i]));
    TOOLINFOW ti{};
    ti.cbSize = sizeof ti;
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = hwnd_;
    ti.uId = reinterpret_cast<UINT_PTR>(radios_[i]->hwnd());
    ti.lpszText = tip.data();
    SendMessageW(radioTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
  }
  SendMessageW(radioTips_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 2000);
}

HWND CSkinDlg::OpenModeless(HWND owner) { return Open(owner) ? hwnd_ : nullptr; }

void CSkinDlg::TakeResults() {
  if (name_ != nullptr) text = TextOf(name_).substr(0, kPromptTextChars - 1);
  if (count_ != nullptr) value = CountValue(TextOf(count_));
}

void CSkinDlg::Close(int result) {
  if (result == kPromptResultOk) TakeResults();
  result_ = result;
  done_ = true;
  ok_.reset();
  cancel_.reset();
  for (auto& r : radios_) r.reset();
  combo_.reset();
  if (hwnd_ != nullptr) DestroyWindow(hwnd_);
  hwnd_ = name_ = count_ = list_ = radioTips_ = nullptr;
}

int CSkinDlg::Run(HWND owner) {
  if (!Open(owner)) return kPromptResultCancel;
  if (owner != nullptr) EnableWindow(owner, FALSE);
  MSG msg;
  while (!done_ && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (hwnd_ != nullptr && IsDialogMessageW(hwnd_, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (owner != nullptr) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  return result_;
}

void CSkinDlg::OnCommand(int id, int code) {
  if (id == kIdOk && code == BN_CLICKED) {
    Close(kPromptResultOk);
  } else if (id == kIdCancel && code == BN_CLICKED) {
    Close(kPromptResultCancel);
  } else if (id == kIdCount && code == EN_CHANGE) {
    std::u16string now = TextOf(count_);
    std::u16string kept = FilterCount(now);
    if (kept != now) {
      SetWindowTextW(count_, W(kept).c_str());
      SendMessageW(count_, EM_SETSEL, kept.size(), kept.size());
    }
  } else if (id == kIdList && code == CBN_SELCHANGE) {
    const int pos = static_cast<int>(SendMessageW(list_, CB_GETCURSEL, 0, 0));
    if (kind == kPromptSingleKey) {
      value = FunctionListRow(pos);
    } else if (pos >= 0 && pos < static_cast<int>(macros_.names.size())) {
      text = macros_.names[static_cast<std::size_t>(pos)];
    }
  } else if (id >= kIdRadio && id < kIdRadio + 4 && code == BN_CLICKED) {
    choice = id - kIdRadio;
    for (int i = 0; i < 4; ++i)
      if (radios_[i]) radios_[i]->SetCheck(i == choice);
    if (ChoiceAsksForCount(choice)) {
      CSkinDlg count(files_);
      count.Prepare(textFont_, listFont_);
      count.kind = kPromptRepeatCount;
      count.value = value;
      if (count.Run(hwnd_) == kPromptResultOk) value = count.value;
    }
  }
}

LRESULT CALLBACK CSkinDlg::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<CSkinDlg*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<CSkinDlg*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr || msg == WM_NCDESTROY) {
    if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->Handle(msg, wp, lp);
}

LRESULT CSkinDlg::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      HDC dc = reinterpret_cast<HDC>(wp);
      FillRect(dc, &rc, ground_ ? ground_.get() : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      SIZE s = PictureSize(picture_.get());
      DrawPicture(dc, picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      // The text line, only when there is a text; name and macro kinds show it in their fields.
      const auto info = PromptKindOf(kind);
      const bool own = info && (info->input == PromptInput::kName || info->input == PromptInput::kMacroList);
      if (!text.empty() && !own) {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        RECT line{30, 120, rc.right - 30, rc.bottom - 60};
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, kTextColour);
        HGDIOBJ old = textFont_ != nullptr ? SelectObject(dc, textFont_) : nullptr;
        std::wstring t = W(text);
        DrawTextW(dc, t.c_str(), static_cast<int>(t.size()), &line, DT_CENTER | DT_WORDBREAK);
        if (old != nullptr) SelectObject(dc, old);
      }
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      Handle(WM_ERASEBKGND, wp, 0);
      return 0;
    }
    case WM_NCHITTEST:
      return HTCAPTION;  // a press anywhere drags the prompt
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, kTextColour);
      SetBkColor(dc, RGB(43, 43, 43));
      return reinterpret_cast<LRESULT>(msg == WM_CTLCOLORLISTBOX && combo_ ? combo_->Background() : field_.get());
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_MEASUREITEM:
      CColorCombox::MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DRAWITEM:
      return combo_ && combo_->DrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp)) ? TRUE : FALSE;
    case WM_KEYUP:  // the fields' Enter
      if (wp == 0 && lp == 0) Close(kPromptResultOk);
      return 0;
    case WM_CLOSE:
      Close(kPromptResultCancel);
      return 0;
    default:
      return DefWindowProcW(hwnd_, msg, wp, lp);
  }
}

void PromptMessages::ShowMessage(int number, std::u16string_view extra) {
  if (number < 0 || number >= kMessageCount) return;
  std::u16string text = MessageText(number, extra);
  if (MessageFitsPrompt(prompt_.Prepared(), text.size())) {
    prompt_.kind = kPromptMessage;
    prompt_.text = text;
    prompt_.Run(owner_);
    return;
  }
  box_.ShowStop(text, ActiveLanguage().Caption());
}

}  // namespace halvard
