// CSkinMacroDlg: the macro editor window (dialog 702). Every command goes to MacroEditorModel;
// this file makes the controls, installs the two thread hooks while recording and shows the
// model's state after each command.
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <memory>
#include <string>

#include "app/macro_edit_list_win32.h"
#include "app/language.h"
#include "app/macro_editor.h"
#include "app/pages_win32.h"
#include "app/prompt_win32.h"
#include "app/skin/controls_win32.h"
#include "ipc/messages.h"
#include "macro/listing.h"
#include "macro/macro_file.h"
#include "platform/message_box_win32.h"

namespace halvard {
namespace {

namespace c = macro_ctl;

constexpr int kDialogId = 702;
constexpr int kPictureDialog = 702;
constexpr int kPictureDrop = 2718;
constexpr int kPictureWithoutOff = 2720, kPictureWithoutOn = 2721, kPictureDefaultOff = 2722,
              kPictureDefaultOn = 2723;
constexpr COLORREF kFieldGround = RGB(43, 43, 43);
constexpr COLORREF kFieldText = RGB(250, 250, 250);

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
std::u16string U(const wchar_t* s) { return std::u16string(s, s + wcslen(s)); }

// Where each control sits on the dialog's picture, and its picture and tooltip.
struct Place {
  int id, x, y, w, h, picture, tooltip;
};
constexpr Place kButtons[] = {
    {c::kCreate, 330, 58, 80, 28, 2705, 29},     {c::kLoad, 415, 58, 80, 28, 2706, 28},
    {c::kSaveAs, 500, 58, 80, 28, 2707, 61},     {c::kInsertCommand, 330, 94, 80, 28, 2704, 60},
    {c::kDeleteFile, 500, 94, 80, 28, 2708, 56}, {c::kRecord, 360, 134, 105, 30, 2709, 30},
    {c::kStop, 475, 134, 105, 30, 2710, 31},     {c::kDelete, 360, 172, 105, 30, 2711, 32},
    {c::kUp, 475, 172, 50, 30, 2712, 37},        {c::kDown, 530, 172, 50, 30, 2713, 38},
    {c::kStepUp, 444, 234, 24, 12, 2714, -1},    {c::kStepDown, 444, 246, 24, 12, 2715, -1},
    {c::kAdjust, 475, 232, 105, 28, 2716, 27},   {c::kConfigure, 475, 358, 105, 28, 2717, 59},
    {c::kOk, 300, 452, 90, 30, 2701, 25},        {c::kCancel, 395, 452, 90, 30, 2702, 22},
    {c::kApply, 490, 452, 90, 30, 2703, 23},
};
constexpr Place kDrops[] = {{c::kMacroDrop, 95, 58, 230, 28, kPictureDrop, -1},
                            {c::kCommandDrop, 95, 94, 230, 28, kPictureDrop, -1}};
constexpr Place kToggles[] = {{c::kWithoutDelay, 360, 300, 220, 24, kPictureWithoutOff, 57},
                              {c::kDefaultDelay, 360, 328, 220, 24, kPictureDefaultOff, 58}};
constexpr Place kList = {c::kList, 20, 134, 304, 300, 0, -1};
constexpr Place kDelayEdit = {c::kDelayEdit, 360, 234, 80, 24, 0, -1};
constexpr Place kDefaultEdit = {c::kDefaultEdit, 360, 360, 80, 24, 0, -1};
constexpr Place kMacroList = {c::kMacroList, 95, 86, 230, 200, 0, -1};
constexpr Place kCommandList = {c::kCommandList, 95, 122, 230, 240, 0, -1};

// After a prompt the main window's shadow lifts the main window over everything: the editor
// goes back on top.
void Raise(HWND window) {
  if (window != nullptr) SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Holds the list view's drawing, and the editor's refresh at every selection change, while a
// command changes many rows: done at every row, a full macro takes seconds under Wine. The
// list's frame (its scroll bar, drawn at every row added) is held by taking the visible style
// away meanwhile, as the system's own redraw switch does for plain windows. The command
// refreshes the editor once at its end.
class FrozenList {
 public:
  FrozenList(HWND list, int& depth) : list_(list), depth_(depth), style_(GetWindowLongW(list, GWL_STYLE)) {
    ++depth_;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SetWindowLongW(list_, GWL_STYLE, style_ & ~WS_VISIBLE);
  }
  ~FrozenList() {
    --depth_;
    if ((style_ & WS_VISIBLE) != 0) SetWindowLongW(list_, GWL_STYLE, GetWindowLongW(list_, GWL_STYLE) | WS_VISIBLE);
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    // The whole window: a drop list closed meanwhile leaves its place to be drawn again too.
    RedrawWindow(GetParent(list_), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
  FrozenList(const FrozenList&) = delete;
  FrozenList& operator=(const FrozenList&) = delete;

 private:
  HWND list_;
  int& depth_;
  LONG style_;
};

// Messages go to a service chosen per opening, so prompts sit over the editor window.
class ForwardMessages : public MessageService {
 public:
  void ShowMessage(int number, std::u16string_view extra) override {
    if (target == nullptr) return;
    target->ShowMessage(number, extra);
    Raise(window);
  }
  MessageService* target = nullptr;
  HWND window = nullptr;
};

class CSkinMacroDlg;
CSkinMacroDlg* g_recordingEditor = nullptr;  // the editor the thread hooks report to

class ThreadHooks : public RecordHooks {
 public:
  bool Install() override;
  void Remove() override {
    if (mouse_ != nullptr) UnhookWindowsHookEx(mouse_);
    if (keyboard_ != nullptr) UnhookWindowsHookEx(keyboard_);
    mouse_ = keyboard_ = nullptr;
  }
  bool Installed() const override { return mouse_ != nullptr || keyboard_ != nullptr; }
  ~ThreadHooks() override { Remove(); }

 private:
  HHOOK mouse_ = nullptr, keyboard_ = nullptr;
};

class CSkinMacroDlg : public EditorPrompts {
 public:
  explicit CSkinMacroDlg(PageContext& ctx)
      : ctx_(ctx),
        model_(MacroEditorDeps{ctx.files, forward_, *this, ctx.store, ctx.clock, hooks_, view_,
                               MacroFolder(ctx.files)}) {}

  PageOutcome Run(int profile);

  // EditorPrompts.
  std::optional<std::u16string> AskNewMacroName() override;
  std::optional<std::u16string> AskOpenPath() override { return FileDialog(false, u""); }
  std::optional<std::u16string> AskSavePath(std::u16string_view proposed) override {
    return FileDialog(true, proposed);
  }
  bool ConfirmClear() override;

  LRESULT KeyboardHook(int code, WPARAM wp, LPARAM lp);
  LRESULT MouseHook(int code, WPARAM wp, LPARAM lp);

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  void OnInit();
  void OnCommand(int id, int code);
  void OnEdit(int id, int code);
  void Close(bool ok);
  void Show();
  void ShowList(HWND list, bool show);
  void FillNames();
  std::optional<std::u16string> FileDialog(bool save, std::u16string_view proposed);
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  std::u16string EditText(int id) const;

  PageContext& ctx_;
  ForwardMessages forward_;
  ThreadHooks hooks_;
  Win32ListView view_;
  MacroEditorModel model_;
  HWND hwnd_ = nullptr;
  Bitmap picture_;
  Brush fieldBrush_;
  std::unique_ptr<PromptMessages> messages_;
  Win32MessageBox box_;
  std::array<std::unique_ptr<CHoverButtonEx>, std::size(kButtons)> buttons_;
  std::array<std::unique_ptr<CHoverButtonEx2>, 2> drops_;
  std::array<std::unique_ptr<CxSkinButton>, 2> toggles_;
  HFONT textFont_ = nullptr, listFont_ = nullptr;
  bool ok_ = false;
  bool settingText_ = false;
  int frozen_ = 0;  // FrozenList scopes open
};

LRESULT CALLBACK RecordMouseProc(int code, WPARAM wp, LPARAM lp) {
  return g_recordingEditor != nullptr ? g_recordingEditor->MouseHook(code, wp, lp)
                                      : CallNextHookEx(nullptr, code, wp, lp);
}

LRESULT CALLBACK RecordKeyboardProc(int code, WPARAM wp, LPARAM lp) {
  return g_recordingEditor != nullptr ? g_recordingEditor->KeyboardHook(code, wp, lp)
                                      : CallNextHookEx(nullptr, code, wp, lp);
}

bool ThreadHooks::Install() {
  const DWORD thread = GetCurrentThreadId();
  mouse_ = SetWindowsHookExW(WH_MOUSE, RecordMouseProc, nullptr, thread);
  keyboard_ = SetWindowsHookExW(WH_KEYBOARD, RecordKeyboardProc, nullptr, thread);
  if (mouse_ == nullptr || keyboard_ == nullptr) {
    Remove();
    return false;
  }
  return true;
}

LRESULT CSkinMacroDlg::KeyboardHook(int code, WPARAM wp, LPARAM lp) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wp, lp);
  model_.RecordKey(static_cast<std::uint32_t>(wp), static_cast<std::uint32_t>(lp));
  Show();
  return 1;
}

LRESULT CSkinMacroDlg::MouseHook(int code, WPARAM wp, LPARAM lp) {
  if (code != HC_ACTION) return CallNextHookEx(nullptr, code, wp, lp);
  const auto* data = reinterpret_cast<const MOUSEHOOKSTRUCTEX*>(lp);
  const MouseEvent event{static_cast<std::uint32_t>(wp), static_cast<std::uint32_t>(data->mouseData),
                         data->hwnd == Item(c::kStop)};
  if (!model_.RecordMouse(event)) return CallNextHookEx(nullptr, code, wp, lp);
  Show();
  return 1;
}

PageOutcome CSkinMacroDlg::Run(int profile) {
  ok_ = false;
  textFont_ = ctx_.fonts[5].get();
  listFont_ = ctx_.fonts[4].get();
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDialogId), ctx_.owner, Proc,
                  reinterpret_cast<LPARAM>(this));
  return {profile, ok_};
}

INT_PTR CALLBACK CSkinMacroDlg::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    auto* self = reinterpret_cast<CSkinMacroDlg*>(lp);
    self->hwnd_ = hwnd;
  }
  auto* self = reinterpret_cast<CSkinMacroDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return self != nullptr ? self->Handle(msg, wp, lp) : FALSE;
}

void CSkinMacroDlg::OnInit() {
  const LanguageTables& lang = ActiveLanguage();
  ctx_.openPage = hwnd_;
  messages_ = std::make_unique<PromptMessages>(ctx_.prompt, box_, hwnd_);
  forward_.target = messages_.get();
  forward_.window = hwnd_;
  fieldBrush_.Reset(CreateSolidBrush(kFieldGround));
  picture_ = LoadPicture(kPictureDialog);
  SIZE s = PictureSize(picture_.get());
  if (s.cx == 0) s = {600, 500};
  SetWindowPos(hwnd_, nullptr, 0, 0, s.cx, s.cy, SWP_NOMOVE | SWP_NOZORDER);
  RECT owner{};
  GetWindowRect(ctx_.owner, &owner);
  SetWindowPos(hwnd_, nullptr, owner.left + (owner.right - owner.left - s.cx) / 2,
               owner.top + (owner.bottom - owner.top - s.cy) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  if (picture_) SetWindowRgn(hwnd_, RegionFromPicture(picture_.get(), kOutlineKey), FALSE);
  SetWindowTextW(hwnd_, W(lang.Tooltip(11)).c_str());

  auto move = [&](const Place& p) { MoveWindow(Item(p.id), p.x, p.y, p.w, p.h, FALSE); };
  for (const Place& p : {kList, kDelayEdit, kDefaultEdit, kMacroList, kCommandList}) move(p);
  for (int id : {c::kDelayEdit, c::kDefaultEdit, c::kMacroList, c::kCommandList})
    SendMessageW(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_), FALSE);
  SendMessageW(Item(c::kDelayEdit), EM_LIMITTEXT, kDelayEditChars, 0);
  SendMessageW(Item(c::kDefaultEdit), EM_LIMITTEXT, kDefaultEditChars, 0);

  for (std::size_t i = 0; i < std::size(kButtons); ++i) {
    const Place& p = kButtons[i];
    buttons_[i] = std::make_unique<CHoverButtonEx>();
    buttons_[i]->Create(hwnd_, p.id, p.x, p.y, p.w, p.h, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    buttons_[i]->LoadPicture(p.picture, true);
    if (p.tooltip >= 0) buttons_[i]->SetTooltip(std::u16string(lang.Tooltip(p.tooltip)));
  }
  for (std::size_t i = 0; i < drops_.size(); ++i) {
    const Place& p = kDrops[i];
    drops_[i] = std::make_unique<CHoverButtonEx2>();
    drops_[i]->Create(hwnd_, p.id, p.x, p.y, p.w, p.h, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    drops_[i]->LoadPicture(p.picture, true);
  }
  for (std::size_t i = 0; i < toggles_.size(); ++i) {
    const Place& p = kToggles[i];
    toggles_[i] = std::make_unique<CxSkinButton>();
    toggles_[i]->Create(hwnd_, p.id, p.x, p.y, p.w, p.h, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    toggles_[i]->SetSkin(p.picture, p.picture + 1, p.picture, 0, 0);
  }
  // The pop-up lists lie over everything else.
  SetWindowPos(Item(c::kMacroList), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetWindowPos(Item(c::kCommandList), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

  view_.Attach(Item(c::kList), listFont_);
  RecordLayout layout{ctx_.language.primary, ctx_.language.subLanguage, ctx_.language.altGr, ctx_.imeFlag};
  {
    FrozenList frozen(Item(c::kList), frozen_);
    model_.Open(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(hwnd_)), layout, true);
  }

  SendMessageW(Item(c::kCommandList), LB_RESETCONTENT, 0, 0);
  for (int k = 0; k < kCommandCount; ++k)
    SendMessageW(Item(c::kCommandList), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(CommandName(k)).c_str()));
  FillNames();
  Show();
}

void CSkinMacroDlg::FillNames() {
  HWND list = Item(c::kMacroList);
  SendMessageW(list, LB_RESETCONTENT, 0, 0);
  for (const auto& n : model_.Names()) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(n).c_str()));
  SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(model_.SelectedName()), 0);
}

std::u16string CSkinMacroDlg::EditText(int id) const {
  wchar_t buf[32] = {};
  GetWindowTextW(Item(id), buf, 32);
  return U(buf);
}

// The window after a command: enabled controls, captions, toggles and the two edits.
void CSkinMacroDlg::Show() {
  if (hwnd_ == nullptr) return;
  for (auto& b : buttons_) {
    const bool on = model_.Enabled(b->Id());
    if ((IsWindowEnabled(b->hwnd()) != FALSE) != on) b->Enable(on);
  }
  RECT caption{10, 0, 200, 28};
  drops_[0]->SetCaption(model_.CurrentName(), caption, textFont_, Rgb{250, 250, 250});
  drops_[1]->SetCaption(model_.CommandCaption(), caption, textFont_, Rgb{250, 250, 250});
  for (int i = 0; i < 2; ++i) {
    EnableWindow(drops_[i]->hwnd(), model_.Enabled(kDrops[i].id));
    EnableWindow(toggles_[i]->hwnd(), model_.Enabled(kToggles[i].id));
  }
  toggles_[0]->SetCheck(model_.WithoutShown());
  toggles_[1]->SetCheck(model_.DefaultShown());
  for (int id : {c::kDelayEdit, c::kDefaultEdit, c::kList}) EnableWindow(Item(id), model_.Enabled(id) || id == c::kList);
  settingText_ = true;
  if (EditText(c::kDelayEdit) != model_.DelayText()) SetWindowTextW(Item(c::kDelayEdit), W(model_.DelayText()).c_str());
  if (EditText(c::kDefaultEdit) != model_.DefaultText())
    SetWindowTextW(Item(c::kDefaultEdit), W(model_.DefaultText()).c_str());
  settingText_ = false;
}

void CSkinMacroDlg::ShowList(HWND list, bool show) {
  ShowWindow(list, show ? SW_SHOW : SW_HIDE);
  if (show) {
    SetWindowPos(list, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetFocus(list);
  }
}

void CSkinMacroDlg::OnCommand(int id, int code) {
  if (id == c::kDelayEdit || id == c::kDefaultEdit || id == c::kOk || id == c::kCancel) {
    OnEdit(id, code);
    return;
  }
  // A drop list stays open until a choice or another command: the hover buttons take the
  // focus from it as the pointer passes over them.
  if (id != c::kMacroList && id != c::kMacroDrop) ShowList(Item(c::kMacroList), false);
  if (id != c::kCommandList && id != c::kCommandDrop) ShowList(Item(c::kCommandList), false);
  FrozenList frozen(Item(c::kList), frozen_);
  switch (id) {
    case c::kApply: model_.Apply(); break;
    case c::kMacroDrop:
      FillNames();
      ShowList(Item(c::kMacroList), !IsWindowVisible(Item(c::kMacroList)));
      return;
    case c::kCommandDrop:
      SendMessageW(Item(c::kCommandList), LB_SETCURSEL, static_cast<WPARAM>(model_.SelectedCommand()), 0);
      ShowList(Item(c::kCommandList), !IsWindowVisible(Item(c::kCommandList)));
      return;
    case c::kMacroList:
    case c::kCommandList:
      if (code == LBN_SELCHANGE) {
        const int sel = static_cast<int>(SendMessageW(Item(id), LB_GETCURSEL, 0, 0));
        ShowList(Item(id), false);
        if (id == c::kMacroList) model_.ChooseMacro(sel);
        else model_.ChooseCommand(sel);
        FillNames();
      }
      break;
    case c::kInsertCommand: model_.InsertCommand(); break;
    case c::kCreate: model_.CreateMacro(); FillNames(); break;
    case c::kLoad: model_.ImportMacro(); FillNames(); break;
    case c::kSaveAs: model_.SaveAs(); break;
    case c::kDeleteFile: model_.DeleteMacroFile(); FillNames(); break;
    case c::kRecord:
      g_recordingEditor = this;
      model_.Record();
      if (model_.Busy()) SetFocus(hwnd_);
      break;
    case c::kStop: model_.Stop(); break;
    case c::kDelete: model_.Delete(); break;
    case c::kUp: model_.MoveUp(); break;
    case c::kDown: model_.MoveDown(); break;
    case c::kAdjust: model_.AdjustDelay(); break;
    case c::kStepUp: model_.StepUp(); break;
    case c::kStepDown: model_.StepDown(); break;
    case c::kWithoutDelay: model_.ToggleWithoutDelay(); break;
    case c::kDefaultDelay:
      model_.ToggleDefaultDelay();
      if (model_.DefaultShown()) {
        Show();
        SetFocus(Item(c::kDefaultEdit));
      }
      break;
    case c::kConfigure: model_.ConfigureDelay(); break;
    default: return;
  }
  Show();
}

void CSkinMacroDlg::OnEdit(int id, int code) {
  if (id == c::kOk || id == c::kCancel) {
    Close(id == c::kOk);
    return;
  }
  if (code != EN_CHANGE || settingText_) return;
  const std::u16string now = EditText(id);
  const std::u16string kept = model_.EditChanged(id, now);
  if (kept != now) {
    settingText_ = true;
    SetWindowTextW(Item(id), W(kept).c_str());
    SendMessageW(Item(id), EM_SETSEL, kept.size(), kept.size());
    settingText_ = false;
  }
}

void CSkinMacroDlg::Close(bool ok) {
  if (ok) model_.Ok();
  else model_.Cancel();
  g_recordingEditor = nullptr;
  ok_ = ok;
  forward_.target = nullptr;
  forward_.window = nullptr;
  view_.Detach();
  EndDialog(hwnd_, ok ? IDOK : IDCANCEL);
}

INT_PTR CSkinMacroDlg::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      OnInit();
      return FALSE;
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd_, &rc);
      HDC dc = reinterpret_cast<HDC>(wp);
      FillSolid(dc, rc, RGB(30, 30, 30));
      SIZE s = PictureSize(picture_.get());
      DrawPicture(dc, picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
      return TRUE;
    }
    case WM_NCHITTEST: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd_, &pt);
      if (pt.y < 50) {  // the heading strip moves the window
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, HTCAPTION);
        return TRUE;
      }
      return FALSE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wp);
      SetTextColor(dc, kFieldText);
      SetBkColor(dc, kFieldGround);
      return reinterpret_cast<INT_PTR>(fieldBrush_.get());
    }
    case WM_NOTIFY: {
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      if (hdr->idFrom == static_cast<UINT_PTR>(c::kList)) {
        if (hdr->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
          SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, view_.CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lp)));
          return TRUE;
        }
        // Selection changes enable DELETE, ADJUST and the moves; text changes matter not.
        if (hdr->code == LVN_ITEMCHANGED && (reinterpret_cast<NMLISTVIEW*>(lp)->uChanged & LVIF_STATE) != 0 &&
            frozen_ == 0)
          Show();
      }
      return FALSE;
    }
    case WM_MOUSEWHEEL: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      RECT r;
      GetWindowRect(view_.hwnd(), &r);
      if (PtInRect(&r, pt)) view_.Wheel(static_cast<short>(HIWORD(wp)));
      return TRUE;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wp), HIWORD(wp));
      return TRUE;
    case WM_INFORM_UI:
      model_.InformUi(static_cast<std::uint32_t>(wp), static_cast<std::uint32_t>(lp));
      Show();
      return TRUE;
    case WM_END_PAGE:
    case WM_CLOSE:
      Close(false);
      return TRUE;
    default: return FALSE;
  }
}

std::optional<std::u16string> CSkinMacroDlg::AskNewMacroName() {
  ctx_.prompt.kind = kPromptNewMacro;
  ctx_.prompt.text.clear();
  const int result = ctx_.prompt.Run(hwnd_);
  Raise(hwnd_);
  if (result != kPromptResultOk) return std::nullopt;
  return ctx_.prompt.text;
}

bool CSkinMacroDlg::ConfirmClear() {
  ctx_.prompt.kind = kPromptConfirm;
  ctx_.prompt.text = std::u16string(ActiveLanguage().Message(kMsgClearMacro));
  const int result = ctx_.prompt.Run(hwnd_);
  Raise(hwnd_);
  return result == kPromptResultOk;
}

std::optional<std::u16string> CSkinMacroDlg::FileDialog(bool save, std::u16string_view proposed) {
  std::wstring filter = W(kMacroFilter);
  for (auto& ch : filter)
    if (ch == L'|') ch = L'\0';
  wchar_t path[MAX_PATH] = {};
  std::wstring name = W(proposed);
  if (save) {
    name += W(kMacroExtension);
    wcsncpy(path, name.c_str(), MAX_PATH - 1);
  }
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = MAX_PATH;
  std::wstring ext = W(kMacroDefaultExtension);
  ofn.lpstrDefExt = ext.c_str();
  ofn.Flags = OFN_NOCHANGEDIR | OFN_EXPLORER | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  Raise(hwnd_);
  if (!ok) return std::nullopt;
  return U(path);
}

}  // namespace

PageOutcome RunMacroEditor(PageContext& ctx, int profile) {
  // One editor for the whole run: its current macro stays between openings. It is never
  // destroyed, since what it refers to belongs to the main window, which goes first; every
  // close has already taken the hooks off and cleared "Macro Record start".
  static CSkinMacroDlg* editor = new CSkinMacroDlg(ctx);
  return editor->Run(profile);
}

}  // namespace halvard
