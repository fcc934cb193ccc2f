#include "app/main_frame_win32.h"

#include <mmsystem.h>

#include "device/hid_seam_win32.h"
#include "device/image_hid.h"

namespace halvard {

namespace {

constexpr ControlPlace kPlaces[] = {
#include "main_layout.inc"
};

// Tab pictures by shown profile: rows are the tabs I to V, columns the shown profile.
constexpr int kTabPictures[kProfileCount][kProfileCount] = {
    {612, 614, 614, 614, 614}, {620, 616, 618, 618, 618}, {626, 626, 622, 624, 624},
    {632, 632, 632, 628, 630}, {636, 636, 636, 636, 634},
};


std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

const ControlPlace* PlaceOf(int id) {
  for (const auto& p : kPlaces)
    if (p.id == id) return &p;
  return nullptr;
}

CMainFrameDlg::CMainFrameDlg(const StartOptions& options) : options_(options) {
  secondInstance_ = mutex_.CreateOwned(kInstanceMutexName);
  StartLanguage(GetSystemDefaultLangID(), store_, files_);
  if (options_.simulatedImage.empty()) {
    hid_ = std::make_unique<Win32Hid>();
  } else {
    auto sim = std::make_unique<ImageHid>(options_.simulatedImage, clock_);
    simulated_ = sim.get();
    hid_ = std::move(sim);
  }
  client_ = std::make_unique<CHidClient>(*hid_, box_, registry_);
  tessel_ = std::make_unique<CIcTessel>(*hid_, clock_);
  // The sizes of the two screen pictures, measured once.
  noDeviceSize_ = PictureSize(LoadPicture(kPictureNoDevice).get());
  fullPageSize_ = PictureSize(LoadPicture(kPictureFullPage).get());
}

CMainFrameDlg::~CMainFrameDlg() {
  if (popupTimerResolution_) timeEndPeriod(1);
  mutex_.Release();
}

void CMainFrameDlg::HandleSecondStart() { halvard::HandleSecondStart(store_, windows_, boxMessages_); }

INT_PTR CMainFrameDlg::Run() {
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kMainTemplate), nullptr, Proc,
                         reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK CMainFrameDlg::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* self = reinterpret_cast<CMainFrameDlg*>(lp);
    SetWindowLongPtrW(hwnd, DWLP_USER, lp);
    self->hwnd_ = hwnd;
    self->OnInitDialog();
    return FALSE;
  }
  auto* self = reinterpret_cast<CMainFrameDlg*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  return self != nullptr ? self->Handle(msg, wp, lp) : FALSE;
}

INT_PTR CMainFrameDlg::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == IDCANCEL) {
        session_->OnCancel();  // Escape, and WM_CLOSE from the monitor
      } else if (LOWORD(wp) == ID_SHOW_MAIN) {
        if (session_->OnShowRequest()) FixDeviceDescription(registry_);
      } else if (HIWORD(wp) == BN_CLICKED) {
        OnCommand(LOWORD(wp));
      }
      return TRUE;
    case WM_CLOSE:
      session_->OnCancel();
      return TRUE;
    case WM_TIMER:
      OnTimer(wp);
      return TRUE;
    case WM_DEVICECHANGE:
      session_->OnDeviceChange(static_cast<std::uint32_t>(wp));
      return TRUE;
    case WM_INFORM_UI:
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, session_->OnInformUi(wp, lp));
      return TRUE;
    case WM_WINDOWPOSCHANGING:
      // A hidden start stays hidden until the first show request, whatever shows the dialog.
      if (session_ != nullptr && session_->hiddenStart) reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~SWP_SHOWWINDOW;
      return FALSE;
    case WM_ERASEBKGND:
      if (!screenPicture_) return FALSE;
      PaintBackground(reinterpret_cast<HDC>(wp));
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, 1);
      return TRUE;
    case WM_NCHITTEST: {
      POINT pt{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
      ScreenToClient(hwnd_, &pt);
      const bool caption = screenMode_ != kScreenFullPage || pt.y <= kTitleStripHeight;
      SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, caption ? HTCAPTION : HTCLIENT);
      return TRUE;
    }
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(800)));
    default:
      return FALSE;
  }
}

void CMainFrameDlg::PaintBackground(HDC dc) {
  SIZE s = PictureSize(screenPicture_.get());
  DrawPicture(dc, screenPicture_.get(), 0, 0, s.cx, s.cy, 0, 0, s.cx, s.cy);
}

void CMainFrameDlg::OnInitDialog() {
  SetWindowTextW(hwnd_, W(ActiveLanguage().Tooltip(0)).c_str());
  HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(800));
  SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  for (int i = 0; i < kFontCount; ++i) {
    FontRequest f = FontRequestFor(ActiveLanguage().Font(i));
    fonts_[static_cast<std::size_t>(i)].Reset(CreateFontW(f.height, f.width, 0, 0, f.weight, f.italic, f.underline, 0,
                                                          f.charset, f.outPrecision, f.clipPrecision, f.quality,
                                                          f.pitchAndFamily, W(f.face).c_str()));
  }
  prompt_.Prepare(fonts_[5].get(), fonts_[4].get());
  messages_ = std::make_unique<PromptMessages>(prompt_, box_, hwnd_);
  profiles_ = std::make_unique<ProfileFiles>(*tessel_, store_, files_, *messages_);
  popup_.Create(ProgressFrames());
  session_ = std::make_unique<DeviceSession>(SessionDeps{*client_, *tessel_, store_, *profiles_, windows_, clock_,
                                                         *messages_, files_, shell_, *this, hwnd_});
  session_->automationMode = options_.automation;
  session_->hiddenStart = options_.automation;
  BuildControls();
  if (simulated_ != nullptr) {
    simulated_->PollNotices();  // the machine as it is now; later changes become notices
    windows_.SetTimer(hwnd_, kTimerSimulatedNotices, kSimulatedNoticeMs);
  }
  if (session_->Initialise()) FixDeviceDescription(registry_);
}

void CMainFrameDlg::BuildControls() {
  const auto& lang = ActiveLanguage();
  auto place = [&](SkinWindow& w, int id) {
    const ControlPlace* p = PlaceOf(id);
    if (p != nullptr) w.Create(hwnd_, id, p->x, p->y, p->w, p->h, WS_CHILD);
  };
  auto hover = [&](CHoverButtonEx& b, int id, int picture, int tooltip) {
    place(b, id);
    b.LoadPicture(picture, true);  // the four frames lie side by side
    b.SetTooltip(std::u16string(lang.Tooltip(tooltip)));
  };
  hover(yes_, kIdYes, 446, 39);
  hover(hide_, kIdHide, 110, 4);
  hover(apply_, kIdApply, 118, 8);
  hover(cancel_, kIdCancel, 119, 9);
  hover(ok_, kIdOk, 120, 10);
  hover(profileButton_, kIdProfileButton, 597, 20);
  for (int t = 0; t < kProfileCount; ++t) {
    place(tabs_[static_cast<std::size_t>(t)], kIdFirstTab + t);
    tabPicture_[static_cast<std::size_t>(t)] = -1;
  }
  ShowTabs(0);
  ShowPageControls(false);
  ShowWindow(yes_.hwnd(), SW_HIDE);
  EnableApplyAndOk(false);
}

void CMainFrameDlg::ShowPageControls(bool show) {
  const int cmd = show ? SW_SHOW : SW_HIDE;
  for (SkinWindow* w : std::initializer_list<SkinWindow*>{&hide_, &apply_, &cancel_, &ok_, &profileButton_})
    ShowWindow(w->hwnd(), cmd);
  for (auto& t : tabs_) {
    ShowWindow(t.hwnd(), cmd);
    if (show) EnableWindow(t.hwnd(), TRUE);
  }
}

void CMainFrameDlg::OnCommand(int id) {
  if (session_ == nullptr) return;
  if (id >= kIdFirstTab && id < kIdFirstTab + kProfileCount) {
    session_->OnProfileTab(id - kIdFirstTab);
    return;
  }
  switch (id) {
    case kIdYes:
      session_->ExitSequence();
      break;
    case kIdApply:
      session_->ApplyChanges();
      break;
    case kIdOk:
      session_->ApplyChanges();
      [[fallthrough]];
    case kIdHide:
    case kIdCancel:
      // Only hides: the session, its timers and the reports go on; nothing is undone.
      if (!session_->connected()) {
        messages_->ShowMessage(kMsgNoMouse);
      } else if (!session_->busy()) {
        ShowWindow(hwnd_, SW_HIDE);
      }
      break;
    default:
      break;
  }
}

void CMainFrameDlg::OnTimer(UINT_PTR id) {
  if (id == kTimerSimulatedNotices) {
    if (simulated_ == nullptr) return;
    for (const DeviceNotice& n : simulated_->PollNotices())
      session_->OnDeviceChange(n.arrival ? kDeviceArrival : kDeviceRemoveComplete);
    return;
  }
  session_->OnTimer(static_cast<std::uint32_t>(id));
}

// ---- screens -----------------------------------------------------------------------------------

void CMainFrameDlg::SetScreenMode(int mode) {
  Bitmap picture = LoadPicture(mode == kScreenFullPage ? kPictureFullPage : kPictureNoDevice);
  HRGN outline = RegionFromPicture(picture.get(), kOutlineKey);
  if (outline == nullptr) return;
  screenMode_ = mode;
  SetWindowRgn(hwnd_, outline, TRUE);  // the window owns the region from here on
  screenPicture_ = std::move(picture);
  if (!shadowAttached_) {
    shadowAttached_ = shadow_.Create(hwnd_, ShadowParams{180, 10, 5});
  } else {
    shadow_.Update();
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void CMainFrameDlg::CentreWith(int picture) {
  SIZE s = picture == kPictureFullPage ? fullPageSize_ : noDeviceSize_;
  MoveWindow(hwnd_, (GetSystemMetrics(SM_CXSCREEN) - s.cx) / 2, (GetSystemMetrics(SM_CYSCREEN) - s.cy) / 2, s.cx, s.cy,
             TRUE);
}

void CMainFrameDlg::ShowNoDeviceScreen(int from) {
  if (from == kScreenFullPage) ShowPageControls(false);
  CentreWith(kPictureNoDevice);
  SetScreenMode(kScreenNoDevice);
  ShowWindow(yes_.hwnd(), SW_SHOW);
  if (!session_->hiddenStart) ShowWindow(hwnd_, SW_SHOW);
}

void CMainFrameDlg::ShowFullPage() {
  ShowWindow(yes_.hwnd(), SW_HIDE);
  CentreWith(kPictureFullPage);
  SetScreenMode(kScreenFullPage);
  ShowPageControls(true);
  if (!session_->hiddenStart) ShowWindow(hwnd_, SW_SHOW);
}

void CMainFrameDlg::HideYes() { ShowWindow(yes_.hwnd(), SW_HIDE); }

void CMainFrameDlg::MoveOffScreen() { MoveWindow(hwnd_, -100, -100, 1, 1, TRUE); }

void CMainFrameDlg::HideWindow() { ShowWindow(hwnd_, SW_HIDE); }

void CMainFrameDlg::RestoreAndShow() {
  ShowWindow(hwnd_, SW_RESTORE);
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void CMainFrameDlg::ShowTabs(int profile) {
  if (profile < 0 || profile >= kProfileCount) return;
  for (int t = 0; t < kProfileCount; ++t) {
    const int picture = kTabPictures[t][profile];
    auto& shown = tabPicture_[static_cast<std::size_t>(t)];
    if (shown == picture) continue;  // only the tabs whose picture changes
    tabs_[static_cast<std::size_t>(t)].SetSkin(picture, picture, picture, picture, picture + 1);
    shown = picture;
    // The selected tab is drawn over its neighbours.
    if (t == profile) SetWindowPos(tabs_[static_cast<std::size_t>(t)].hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  SetWindowPos(tabs_[static_cast<std::size_t>(profile)].hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CMainFrameDlg::ShowProfileName(std::u16string_view name) {
  profileButton_.SetCaption(name, RECT{0, 2, 137, 17}, fonts_[3].get(), Rgb{250, 250, 250});
}

void CMainFrameDlg::EnablePageControls(bool enabled, bool applyAndOk) {
  for (auto& t : tabs_) EnableWindow(t.hwnd(), enabled);
  hide_.Enable(enabled);
  cancel_.Enable(enabled);
  profileButton_.Enable(enabled);
  apply_.Enable(enabled && applyAndOk);
  ok_.Enable(enabled && applyAndOk);
}

void CMainFrameDlg::EnableApplyAndOk(bool enabled) {
  apply_.Enable(enabled);
  ok_.Enable(enabled);
}

void CMainFrameDlg::ShowPopup() {
  // Window timers tick every 15.6 ms unless the system timer is made finer; one cell per 10 ms
  // needs it while a transfer runs.
  if (!popupTimerResolution_) popupTimerResolution_ = timeBeginPeriod(1) == TIMERR_NOERROR;
  popup_.Show();
}

void CMainFrameDlg::HidePopup() {
  popup_.Hide();
  if (popupTimerResolution_) {
    timeEndPeriod(1);
    popupTimerResolution_ = false;
  }
}

bool CMainFrameDlg::AskApplyBeforeSwitch() {
  prompt_.kind = kPromptSavePerGame;
  prompt_.text.clear();
  return prompt_.Run(hwnd_) == kPromptResultOk;
}

void CMainFrameDlg::EndPages() {
  if (prompt_.Window() != nullptr) prompt_.Close(kPromptResultCancel);
}

void CMainFrameDlg::EndProgram() {
  if (prompt_.Window() != nullptr) PostMessageW(prompt_.Window(), WM_CLOSE, 0, 0);
  popup_.Hide();
  EndDialog(hwnd_, 0);
}

// ---- device selection dialog (template 742) ----------------------------------------------------

namespace {

struct Selection {
  const std::vector<std::u16string>* entries;
  DeviceSelectionEvents* events;
  int shown = 0;
};

INT_PTR CALLBACK SelectionProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
  auto* s = reinterpret_cast<Selection*>(GetWindowLongPtrW(dlg, DWLP_USER));
  switch (msg) {
    case WM_INITDIALOG: {
      s = reinterpret_cast<Selection*>(lp);
      SetWindowLongPtrW(dlg, DWLP_USER, lp);
      for (const auto& e : *s->entries)
        SendDlgItemMessageW(dlg, kSelectList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(e).c_str()));
      SendDlgItemMessageW(dlg, kSelectList, CB_SETCURSEL, 0, 0);
      s->events->OnSelectionOpened();
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wp) == kSelectList && HIWORD(wp) == CBN_SELCHANGE) {
        const int i = static_cast<int>(SendDlgItemMessageW(dlg, kSelectList, CB_GETCURSEL, 0, 0));
        s->events->OnSelectionChanged(i);
      } else if (LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) {
        const int i = static_cast<int>(SendDlgItemMessageW(dlg, kSelectList, CB_GETCURSEL, 0, 0));
        s->events->OnSelectionClosed();
        EndDialog(dlg, LOWORD(wp) == IDOK ? i : -1);
      }
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int CMainFrameDlg::RunDeviceSelection(const std::vector<std::u16string>& entries, DeviceSelectionEvents& events) {
  Selection s{&entries, &events};
  return static_cast<int>(DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kSelectTemplate), hwnd_,
                                          SelectionProc, reinterpret_cast<LPARAM>(&s)));
}

}  // namespace halvard
