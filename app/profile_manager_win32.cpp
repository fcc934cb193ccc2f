// CSkinPMDlg, the profile manager page, and CSkinPmListCtrl, its two-column list with the
// in-place rename field. What each command does to the folder is decided by ProfileManagerModel;
// this file shows the rows, runs the prompts, menus and file dialogs, and talks to the main window.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <memory>
#include <string>

#include "app/pages_win32.h"
#include "app/profile_manager.h"
#include "app/skin/more_controls_win32.h"
#include "ipc/messages.h"

namespace halvard {

namespace {

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

constexpr COLORREF kListGround = RGB(75, 75, 75);
constexpr COLORREF kFieldGround = RGB(43, 43, 43);
constexpr COLORREF kSelectedGround = RGB(150, 15, 15);
constexpr COLORREF kRowText = RGB(250, 250, 250);

// Places on picture 143 (resources/art/page-profile_manager.sh draws around them).
constexpr RECT kListPlace{30, 78, 30 + kPmProfileColumnWidth + kPmNameColumnWidth + 17, 78 + 250};
struct ButtonPlace {
  int id, picture, x, y, tooltip;
};
constexpr std::array<ButtonPlace, 7> kButtons{{{kPmNew, 7031, 30, 344, 62},
                                               {kPmImport, 7032, 168, 344, 63},
                                               {kPmExport, 7033, 306, 344, 64},
                                               {kPmDelete, 7034, 444, 344, 65},
                                               {kPmApply, 7037, 168, 392, 23},
                                               {IDOK, 7035, 306, 392, 25},
                                               {IDCANCEL, 7036, 444, 392, 22}}};
constexpr int kMenuItemWidth = 150, kMenuItemHeight = 26;
constexpr UINT_PTR kKeepOnTopTimer = 1;
constexpr int kRestackTicks = 60;  // 15 s of 250 ms ticks

}  // namespace

// The list: report view, full-row selection, the skinned header and scroll bar; the rename
// field (1737) lies over the Name cell while a rename runs. Ending the rename (a left click on
// the list, or a key released there, Enter in the field included) tells the page with word 14.
class CSkinPmListCtrl {
 public:
  ~CSkinPmListCtrl() {
    if (list_ != nullptr) RemoveWindowSubclass(list_, ListProc, 1);
  }
  bool Attach(HWND list, HWND page, HFONT font) {
    list_ = list;
    page_ = page;
    font_ = font;
    MoveWindow(list, kListPlace.left, kListPlace.top, kListPlace.right - kListPlace.left,
               kListPlace.bottom - kListPlace.top, FALSE);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    ListView_SetBkColor(list, kListGround);
    ListView_SetTextBkColor(list, kListGround);
    ListView_SetTextColor(list, kRowText);
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    c.fmt = LVCFMT_CENTER;
    c.cx = kPmProfileColumnWidth;
    c.pszText = const_cast<wchar_t*>(L"Profile");
    ListView_InsertColumn(list, 0, &c);
    c.fmt = LVCFMT_LEFT;
    c.cx = kPmNameColumnWidth;
    c.pszText = const_cast<wchar_t*>(L"Name");
    ListView_InsertColumn(list, 1, &c);
    header_.Attach(ListView_GetHeader(list), font);
    fieldBrush_.Reset(CreateSolidBrush(kFieldGround));
    SetWindowSubclass(list, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
    return bar_.Attach(list);
  }
  HWND hwnd() const { return list_; }

  void Fill(const ProfileManagerModel& m) {
    filling_ = true;
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list_);
    for (int i = 0; i < m.RowCount(); ++i) {
      std::wstring number = W(PmRowText(i + 1)), name = W(m.RowName(i));
      LVITEMW it{};
      it.mask = LVIF_TEXT;
      it.iItem = i;
      it.pszText = number.data();
      ListView_InsertItem(list_, &it);
      ListView_SetItemText(list_, i, 1, name.data());
    }
    if (m.Selected() >= 0) {
      ListView_SetItemState(list_, m.Selected(), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list_, m.Selected(), FALSE);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
    filling_ = false;
  }
  bool Filling() const { return filling_; }
  int Selected() const { return ListView_GetNextItem(list_, -1, LVNI_SELECTED); }

  bool Renaming() const { return edit_ != nullptr; }
  void BeginRename(int row, std::u16string_view name) {
    if (Renaming() || row < 0) return;
    RECT cell{};
    ListView_EnsureVisible(list_, row, FALSE);
    ListView_GetSubItemRect(list_, row, 1, LVIR_LABEL, &cell);
    edit_ = CreateWindowExW(0, L"EDIT", W(name).c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, cell.left,
                            cell.top, cell.right - cell.left, cell.bottom - cell.top, list_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPmRenameField)), GetModuleHandleW(nullptr),
                            nullptr);
    if (edit_ == nullptr) return;
    SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    SendMessageW(edit_, EM_LIMITTEXT, kPmRenameChars, 0);
    editEx_.Attach(edit_);  // Enter, when released, comes to the list as a key release
    SetWindowSubclass(edit_, FieldProc, 2, reinterpret_cast<DWORD_PTR>(this));
    SendMessageW(edit_, EM_SETSEL, 0, -1);
    SetFocus(edit_);
  }
  // The text of the finished rename.
  std::u16string TakeRenameText() { return std::move(renameText_); }
  // A command of the page drops a rename still being typed: the rows may move under it.
  void DropRename() { EndRename(false); }

 private:
  void EndRename(bool keep) {
    if (!Renaming()) return;
    wchar_t text[kPmRenameChars + 1] = {};
    GetWindowTextW(edit_, text, static_cast<int>(kPmRenameChars + 1));
    HWND edit = std::exchange(edit_, nullptr);
    DestroyWindow(edit);
    SetFocus(list_);
    if (!keep) return;
    renameText_.assign(text, text + wcslen(text));
    PostMessageW(page_, WM_INFORM_UI, UI_LIST_EDIT_DONE, 0);
  }

  static LRESULT CALLBACK ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<CSkinPmListCtrl*>(ref);
    switch (msg) {
      case WM_KEYUP:
        if (self->Renaming()) {
          self->EndRename(true);
          return 0;
        }
        break;
      case WM_LBUTTONDOWN:
        if (self->Renaming()) self->EndRename(true);
        break;
      case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, kRowText);
        SetBkColor(dc, kFieldGround);
        return reinterpret_cast<LRESULT>(self->fieldBrush_.get());
      }
      default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wp, lp);
  }

  // The field keeps Enter and Escape from the page (they would end it); Escape drops the rename.
  static LRESULT CALLBACK FieldProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<CSkinPmListCtrl*>(ref);
    if (msg == WM_GETDLGCODE) return DLGC_WANTALLKEYS | DefSubclassProc(hwnd, msg, wp, lp);
    if (msg == WM_KEYDOWN && wp == VK_ESCAPE) {
      self->EndRename(false);
      return 0;
    }
    if (msg == WM_CHAR && wp == VK_ESCAPE) return 0;
    if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FieldProc, 2);
    return DefSubclassProc(hwnd, msg, wp, lp);
  }

  HWND list_ = nullptr, page_ = nullptr, edit_ = nullptr;
  HFONT font_ = nullptr;
  CSkinHeaderCtrl header_;
  CSkinVerticleScrollbar bar_;
  CEditEx editEx_;
  Brush fieldBrush_;
  std::u16string renameText_;
  bool filling_ = false;
};

// The system message box of the long messages, owned by the page so that it stays above it and
// the page waits for it.
class PageMessageBox : public MessageBoxSeam {
 public:
  void Show(std::u16string_view text, std::u16string_view caption) override {
    MessageBoxW(owner, W(text).c_str(), W(caption).c_str(), MB_OK);
  }
  void Show(std::string_view text, std::string_view caption) override {
    MessageBoxA(owner, std::string(text).c_str(), std::string(caption).c_str(), MB_OK);
  }
  void ShowStop(std::u16string_view text, std::u16string_view caption) override {
    MessageBoxW(owner, W(text).c_str(), W(caption).c_str(), MB_OK | MB_ICONSTOP);
  }
  HWND owner = nullptr;
};

// The numbered messages in the prompt over the page, once the page exists.
class PageMessages : public MessageService {
 public:
  void ShowMessage(int number, std::u16string_view extra = {}) override {
    if (path != nullptr) path->ShowMessage(number, extra);
  }
  std::unique_ptr<PromptMessages> path;
};

class CSkinPMDlg {
 public:
  CSkinPMDlg(PageContext& ctx, int profile)
      : ctx_(ctx), profile_(profile), model_(PmDeps{ctx.tessel, ctx.store, ctx.files, messages_, ctx.windows}, profile) {}

  PageOutcome Run() {
    DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kPmTemplate), ctx_.owner, Proc,
                    reinterpret_cast<LPARAM>(this));
    return {profile_, ok_};
  }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
      SetWindowLongPtrW(hwnd, DWLP_USER, lp);
      auto* self = reinterpret_cast<CSkinPMDlg*>(lp);
      self->hwnd_ = hwnd;
      self->OnInit();
      return FALSE;
    }
    auto* self = reinterpret_cast<CSkinPMDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    return self != nullptr ? self->Handle(msg, wp, lp) : FALSE;
  }

  INT_PTR Result(LRESULT r) {
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, r);
    return TRUE;
  }

  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_COMMAND:
        OnCommand(LOWORD(wp));
        return TRUE;
      case WM_CLOSE:  // the main window's exit sequence
        Close(false);
        return TRUE;
      case WM_END_PAGE:  // the session ended: the files stay, and so does the page
        // A read-back that was asked for will not answer now: the buttons come back.
        if (model_.AwaitingAnswer()) {
          model_.OnCreateAnswer(0);
          EnableButtons(true);
        }
        return TRUE;
      case WM_INFORM_UI:
        return Result(OnInformUi(wp, lp));
      case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<NMHDR*>(lp));
      case WM_ERASEBKGND: {
        SIZE s = PictureSize(picture_.get());
        DrawPicture(reinterpret_cast<HDC>(wp), picture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
        return Result(1);
      }
      case WM_NCHITTEST: {
        POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        ScreenToClient(hwnd_, &pt);
        return Result(pt.y < 48 ? HTCAPTION : HTCLIENT);  // the heading drags the page
      }
      case WM_MEASUREITEM: {
        auto& m = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (m.CtlType != ODT_MENU) return FALSE;
        m.itemWidth = kMenuItemWidth - 12;  // the system adds room for a check mark
        m.itemHeight = kMenuItemHeight;
        return TRUE;
      }
      case WM_DRAWITEM: {
        const auto& d = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (d.CtlType != ODT_MENU) return FALSE;
        DrawMenuItem(d);
        return TRUE;
      }
      case WM_TIMER:
        if (wp == kKeepOnTopTimer) KeepOverShadow();
        return TRUE;
      case WM_DESTROY:
        KillTimer(hwnd_, kKeepOnTopTimer);
        ctx_.openPage = nullptr;
        return FALSE;
      default:
        return FALSE;
    }
  }

  void OnInit() {
    ctx_.openPage = hwnd_;
    box_.owner = hwnd_;
    messages_.path = std::make_unique<PromptMessages>(ctx_.prompt, box_, hwnd_);
    model_.Publish(hwnd_);
    SetWindowTextW(hwnd_, L"Profile management");
    picture_ = LoadPicture(kPmPicture);
    SIZE s = PictureSize(picture_.get());
    RECT owner{};
    GetWindowRect(ctx_.owner, &owner);
    SetWindowPos(hwnd_, nullptr, (owner.left + owner.right - s.cx) / 2, (owner.top + owner.bottom - s.cy) / 2, s.cx,
                 s.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowRgn(hwnd_, RegionFromPicture(picture_.get(), kOutlineKey), FALSE);
    const auto& lang = ActiveLanguage();
    for (std::size_t i = 0; i < kButtons.size(); ++i) {
      const auto& b = kButtons[i];
      buttons_[i] = std::make_unique<CHoverButtonEx>();
      buttons_[i]->Create(hwnd_, b.id, b.x, b.y, 110, 32);
      buttons_[i]->LoadPicture(b.picture, true);
      buttons_[i]->SetTooltip(std::u16string(lang.Tooltip(b.tooltip)));
    }
    list_.Attach(GetDlgItem(hwnd_, kPmList), hwnd_, ctx_.fonts[5].get());
    SetTimer(hwnd_, kKeepOnTopTimer, 250, nullptr);
    model_.Open(kPmSelectLast);
    list_.Fill(model_);
    SetFocus(list_.hwnd());
  }

  // The main window's drop shadow comes up over the windows above the main window when the
  // progress popup of a read-back or a load comes and goes; for a while after such a transfer
  // starts the page puts itself back on top (through the topmost band, so the window system
  // restacks it even where it already counts as the top window).
  void KeepOverShadow() {
    if (restackTicks_ <= 0 || !IsWindowEnabled(hwnd_)) return;
    --restackTicks_;
    constexpr UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(hwnd_, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
  }

  void EnableButtons(bool on) {
    for (auto& b : buttons_) b->Enable(on);
  }

  // Shows what the model holds after a command.
  void Show() {
    model_.Reconcile();
    list_.Fill(model_);
  }

  void OnCommand(int id) {
    if (model_.AwaitingAnswer() && id != IDCANCEL) return;  // the buttons wait for the main window
    list_.DropRename();
    model_.Select(list_.Selected());
    switch (id) {
      case kPmNew: OnNew(); break;
      case kPmImport: OnImport(); break;
      case kPmExport: OnExport(); break;
      case kPmDelete: OnDelete(); break;
      case kPmApply: SetActive(); break;
      case IDOK:
        SetActive();
        Close(true);
        break;
      case IDCANCEL: Close(false); break;
      default: break;
    }
  }

  void Close(bool ok) {
    ok_ = ok;
    model_.Unpublish();
    EndDialog(hwnd_, ok ? IDOK : IDCANCEL);
  }

  int Prompt(int kind) {
    ctx_.prompt.kind = kind;
    ctx_.prompt.text.clear();
    return ctx_.prompt.Run(hwnd_);
  }

  void OnNew() {
    EnableButtons(false);
    restackTicks_ = kRestackTicks;  // the read-back's popup
    if (Prompt(kPromptNewProfile) != kPromptResultOk ||
        !model_.RequestCreate(ctx_.prompt.text, static_cast<Hwnd>(hwnd_))) {
      EnableButtons(true);
      Show();
    }
    // Otherwise the buttons wait for the main window's answer (word 11).
  }

  void OnImport() {
    FileDialogRequest r;
    r.owner = hwnd_;
    r.filter = std::u16string(kPmFileFilter);
    auto chosen = ctx_.shell.ChooseFileToOpen(r);
    if (chosen) model_.Import(*chosen);
    Show();
  }

  void OnExport() {
    if (model_.Selected() < 0) return;
    FileDialogRequest r;
    r.owner = hwnd_;
    r.filter = std::u16string(kPmFileFilter);
    r.fileName = model_.ExportName();
    auto chosen = ctx_.shell.ChooseFileToSave(r);
    if (chosen) model_.Export(*chosen);
    Show();
  }

  void OnDelete() {
    if (Prompt(kPromptDeleteProfile) == kPromptResultOk && list_.Selected() >= 0) {
      model_.Select(list_.Selected());
      model_.Delete();
    }
    Show();
  }

  // Word 13 carries the name's address, so it goes straight to a main window of this process,
  // while the name is still here to be read.
  void SetActive() {
    auto name = model_.ActiveName();
    list_.Fill(model_);
    if (!name) return;
    const std::int32_t value = ctx_.store.GetDword(kProcessHandle);
    if (!HandleUsable(value)) return;
    HWND main = static_cast<HWND>(HandleFromValue(value));
    DWORD process = 0;
    if (!IsWindow(main) || GetWindowThreadProcessId(main, &process) == 0 || process != GetCurrentProcessId()) return;
    activeName_.assign(name->begin(), name->end());
    SendMessageW(main, WM_INFORM_UI, UI_SET_PROFILE_NAME, reinterpret_cast<LPARAM>(activeName_.c_str()));
    restackTicks_ = kRestackTicks;
  }

  LRESULT OnInformUi(WPARAM code, LPARAM value) {
    switch (code) {
      case UI_READ_PROFILE:
        if (!model_.AwaitingAnswer()) return 0;
        model_.OnCreateAnswer(value);
        EnableButtons(true);
        restackTicks_ = kRestackTicks;
        Show();
        return 1;
      case UI_LIST_EDIT_DONE:
        model_.Select(list_.Selected());
        model_.Rename(list_.TakeRenameText());
        Show();
        return 1;
      default:
        return 0;
    }
  }

  INT_PTR OnNotify(const NMHDR& n) {
    if (n.idFrom != kPmList) return FALSE;
    switch (n.code) {
      case LVN_ITEMCHANGED:
        if (!list_.Filling()) model_.Select(list_.Selected());
        return FALSE;
      case NM_RCLICK:
        OnMenu();
        return TRUE;
      case NM_CUSTOMDRAW:
        return Result(CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(&n))));
      default:
        return FALSE;
    }
  }

  // Rows in the list's colours; the selected row red.
  LRESULT CustomDraw(NMLVCUSTOMDRAW& cd) {
    if (cd.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (cd.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    const int row = static_cast<int>(cd.nmcd.dwItemSpec);
    const bool selected = (ListView_GetItemState(list_.hwnd(), row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    cd.clrText = kRowText;
    cd.clrTextBk = selected ? kSelectedGround : kListGround;
    cd.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
    return CDRF_NEWFONT;
  }

  void OnMenu() {
    model_.Select(list_.Selected());
    const bool row = model_.Selected() >= 0 && !list_.Renaming();
    CBitmapMenu menu;
    menu.Add(kPmMenuRename, u"Rename");
    menu.Add(kPmMenuCopy, u"Copy");
    menu.Add(kPmMenuSetActive, u"Set Active");
    for (int id : {kPmMenuRename, kPmMenuCopy, kPmMenuSetActive})
      EnableMenuItem(menu.Handle(), static_cast<UINT>(id), MF_BYCOMMAND | (row ? MF_ENABLED : MF_GRAYED));
    POINT at{};
    GetCursorPos(&at);
    switch (menu.Track(hwnd_, at)) {
      case kPmMenuRename:
        list_.BeginRename(model_.Selected(), model_.RowName(model_.Selected()));
        break;
      case kPmMenuCopy:
        model_.Copy();
        Show();
        break;
      case kPmMenuSetActive:
        SetActive();
        break;
      default:
        break;
    }
  }

  // One cell of picture 128: the command's row, the item's state's column.
  void DrawMenuItem(const DRAWITEMSTRUCT& d) {
    if (!menuPicture_) menuPicture_ = LoadPicture(kPmMenuPicture);
    const auto* item = reinterpret_cast<const CMenuEx::Item*>(d.itemData);
    const int row = item != nullptr ? static_cast<int>(item->id) - kPmMenuRename : 0;
    int state = static_cast<int>(HoverFrame::kNormal);
    if ((d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0) {
      state = static_cast<int>(HoverFrame::kDisabled);
    } else if ((d.itemState & ODS_SELECTED) != 0) {
      state = static_cast<int>(HoverFrame::kHover);
    }
    DrawPicture(d.hDC, menuPicture_.get(), d.rcItem.left, d.rcItem.top, d.rcItem.right - d.rcItem.left,
                d.rcItem.bottom - d.rcItem.top, state * kMenuItemWidth, row * kMenuItemHeight, kMenuItemWidth,
                kMenuItemHeight);
  }

  PageContext& ctx_;
  int profile_;
  HWND hwnd_ = nullptr;
  PageMessageBox box_;
  PageMessages messages_;
  ProfileManagerModel model_;
  CSkinPmListCtrl list_;
  std::array<std::unique_ptr<CHoverButtonEx>, kButtons.size()> buttons_;
  Bitmap picture_, menuPicture_;
  std::wstring activeName_;
  bool ok_ = false;
  int restackTicks_ = 0;
};

PageOutcome RunProfileManager(PageContext& ctx, int profile, bool defaultName) {
  (void)defaultName;  // the page shows the folder whatever the shown profile is called
  CSkinPMDlg page(ctx, profile);
  return page.Run();
}

}  // namespace halvard
