#include "app/main_frame_win32.h"

#include <commdlg.h>
#include <mmsystem.h>
#include <shlobj.h>

#include "app/cfg_pointer.h"
#include "device/hid_seam_win32.h"
#include "device/image_hid.h"
#include "ipc/inform.h"
#include "store/document_lookup.h"

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
  language_ = StartLanguage(GetSystemDefaultLangID(), store_, files_);
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
      } else if (LOWORD(wp) == kPgProfileList) {
        if (HIWORD(wp) == CBN_SELCHANGE) OnProfileChoice();
        if (HIWORD(wp) == CBN_CLOSEUP) {
          EnableWindow(profileList_.hwnd(), FALSE);
          SetFocus(hwnd_);
        }
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
    case WM_KEY_STATUS:
      // The plate reached another hot spot: that button becomes the selected one. Not while a
      // page, prompt or transfer has the category buttons switched off.
      if (assign_ != nullptr && session_->sessionReady() && !session_->busy()) assign_->Select(static_cast<int>(lp));
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
    case WM_MOUSEMOVE:
      // Off the hot spots the plate goes blank.
      if (screenMode_ == kScreenFullPage && plate_.Model().CurrentEntry() != -1) {
        plate_.Model().SetCurrentEntry(-1);
        plate_.Model().Refresh();
        plate_.Show();
      }
      return FALSE;
    case WM_MEASUREITEM:
      if (wp == kPgProfileList) {
        CColorCombox::MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_DRAWITEM:
      if (wp == kPgProfileList) {
        profileList_.DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, TRUE);
        return TRUE;
      }
      return FALSE;
    case WM_CTLCOLORLISTBOX:
      return reinterpret_cast<INT_PTR>(profileList_.Background());
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
  assign_ = std::make_unique<ButtonAssignment>(
      AssignDeps{*tessel_, *session_, store_, files_, *messages_, shell_, windows_, clock_, *this, hwnd_});
  pages_ctx_.reset(new PageContext{hwnd_, *tessel_, clock_, store_, files_, *profiles_, windows_, *messages_, shell_,
                                   prompt_, *session_, fonts_, language_.selection, imeFlag_, system_});
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
  hover(reset_, kPgReset, 134, 5);
  hover(registration_, kPgRegistration, 135, 6);
  hover(help_, kPgHelp, 136, 7);
  hover(normal_, kPgNormal, 183, 0);
  normal_.SetTooltip(std::u16string(lang.LedModeTip(0)));
  hover(battle_, kPgBattle, 184, 0);
  battle_.SetTooltip(std::u16string(lang.LedModeTip(1)));
  constexpr int kCategoryIds[6] = {kPgMacroFunction, kPgSingleFunction, kPgDefaultFunction, kPgApplication,
                                   kPgVideoAir, kPgVideo3d};
  constexpr int kCategoryPictures[6] = {139, 140, 141, 142, 598, 599};
  for (std::size_t c = 0; c < categories_.size(); ++c)
    hover(categories_[c], kCategoryIds[c], kCategoryPictures[c], 41 + static_cast<int>(c));
  constexpr int kPageIds[4] = {kPgAdvanced, kPgLed, kPgMacroEditor, kPgProfiles};
  constexpr int kPagePictures[4] = {600, 606, 603, 609};
  constexpr int kPageTooltips[4] = {12, 13, 11, 14};
  for (std::size_t b = 0; b < pages_.size(); ++b) {
    place(pages_[b], kPageIds[b]);
    const int pic = kPagePictures[b];
    pages_[b].SetSkin(pic, pic, pic + 1, pic, pic + 2);
    pages_[b].SetTooltip(std::u16string(lang.Tooltip(kPageTooltips[b])));
  }
  for (int t = 0; t < kProfileCount; ++t) {
    place(tabs_[static_cast<std::size_t>(t)], kIdFirstTab + t);
    tabs_[static_cast<std::size_t>(t)].SetTooltip(std::u16string(lang.Tooltip(15 + t)));
    tabPicture_[static_cast<std::size_t>(t)] = -1;
  }
  ShowTabs(0);
  ShowProfileName(u"");
  // The profile list drops down under the profile button; the list itself is never shown.
  if (const ControlPlace* p = PlaceOf(kIdProfileButton)) {
    profileList_.Create(hwnd_, kPgProfileList, p->x, p->y, p->w, 240);
    ShowWindow(profileList_.hwnd(), SW_HIDE);
    EnableWindow(profileList_.hwnd(), FALSE);  // never takes the keyboard: Escape stays the window's
    SendMessageW(profileList_.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[3].get()), FALSE);
  }
  profileList_.SetColours(RGB(240, 240, 240), RGB(75, 75, 75), RGB(255, 255, 255), RGB(150, 15, 15));
  RefillProfileList();
  // The plate and the hot spots over the mouse picture.
  place(plate_, kPgPlate);
  // The plate's caption box is 102 pixels: the small face keeps the longest function names whole.
  plate_.SetCaptionFont(fonts_[4].get());
  plate_.Model().InitialiseEntries();
  plate_.Model().SetPictures(kPlatePictureIds.data(), kPlatePictures);
  plate_.Model().notify = hwnd_;
  plate_.Model().SetCurrentEntry(-1);
  plate_.Model().Refresh();
  plate_.Show();
  for (int i = 0; i < kButtonCount; ++i) {
    auto& spot = hotSpots_[static_cast<std::size_t>(i)];
    place(spot, kHotSpotFirstId + i);
    spot.SetSkin(HotSpotNormalPicture(i), HotSpotNormalPicture(i), HotSpotHoverPicture(i), HotSpotNormalPicture(i),
                 HotSpotMaskPicture(i));
    spot.Link(i, &plate_, nullptr);
  }
  ShowPageControls(false);
  ShowWindow(yes_.hwnd(), SW_HIDE);
  EnableApplyAndOk(false);
}

HWND CMainFrameDlg::ControlWindow(int id) {
  switch (id) {
    case kPgHide: return hide_.hwnd();
    case kPgReset: return reset_.hwnd();
    case kPgRegistration: return registration_.hwnd();
    case kPgHelp: return help_.hwnd();
    case kPgAdvanced: return pages_[0].hwnd();
    case kPgLed: return pages_[1].hwnd();
    case kPgMacroEditor: return pages_[2].hwnd();
    case kPgProfiles: return pages_[3].hwnd();
    case kPgApply: return apply_.hwnd();
    case kPgCancel: return cancel_.hwnd();
    case kPgOk: return ok_.hwnd();
    case kPgMacroFunction: return categories_[0].hwnd();
    case kPgSingleFunction: return categories_[1].hwnd();
    case kPgDefaultFunction: return categories_[2].hwnd();
    case kPgApplication: return categories_[3].hwnd();
    case kPgVideoAir: return categories_[4].hwnd();
    case kPgVideo3d: return categories_[5].hwnd();
    case kPgNormal: return normal_.hwnd();
    case kPgBattle: return battle_.hwnd();
    case kPgPlate: return plate_.hwnd();
    case kPgProfileButton: return profileButton_.hwnd();
    default:
      if (id >= kPgFirstTab && id < kPgFirstTab + kProfileCount) return tabs_[static_cast<std::size_t>(id - kPgFirstTab)].hwnd();
      if (id >= kPgFirstHotSpot && id < kPgFirstHotSpot + kButtonCount)
        return hotSpots_[static_cast<std::size_t>(id - kPgFirstHotSpot)].hwnd();
      return nullptr;
  }
}

void CMainFrameDlg::ShowPageControls(bool show) {
  const int cmd = show ? SW_SHOW : SW_HIDE;
  for (int id : PageControls()) ShowWindow(ControlWindow(id), cmd);
  if (show) {
    for (auto& t : tabs_) EnableWindow(t.hwnd(), TRUE);
    if (session_ != nullptr) InvalidateRect(tabs_[static_cast<std::size_t>(session_->currentProfile() % kProfileCount)].hwnd(), nullptr, FALSE);
  }
}

void CMainFrameDlg::OnCommand(int id) {
  if (session_ == nullptr) return;
  if (id >= kIdFirstTab && id < kIdFirstTab + kProfileCount) {
    session_->OnProfileTab(id - kIdFirstTab);
    return;
  }
  if (id >= kPgFirstHotSpot && id < kPgFirstHotSpot + kButtonCount) {
    assign_->Select(id - kPgFirstHotSpot);
    return;
  }
  switch (id) {
    case kIdYes:
    case 57665:  // the platform's application-exit command
      session_->ExitSequence();
      break;
    case kIdApply:
      session_->ApplyChanges();
      assign_->ClearSelection();
      break;
    case kPgReset:
      OnReset();
      break;
    case kPgRegistration:
      OnRegistration();
      break;
    case kPgHelp:
      OnHelp();
      break;
    case kPgAdvanced:
    case kPgLed:
    case kPgMacroEditor:
    case kPgProfiles:
      OnPageButton(id);
      break;
    case kPgNormal:
    case kPgBattle:
      OnLedMode(id == kPgBattle);
      break;
    case kIdProfileButton:
      EnableWindow(profileList_.hwnd(), TRUE);
      SendMessageW(profileList_.hwnd(), CB_SHOWDROPDOWN, TRUE, 0);
      break;
    case kPgMacroFunction:
      assign_->AssignMacro();
      break;
    case kPgSingleFunction:
      assign_->AssignSingle();
      break;
    case kPgDefaultFunction:
      assign_->ResetToFactory();
      break;
    case kPgApplication:
      assign_->AssignApplication();
      break;
    case kPgVideoAir:
      assign_->ShowVideo(kVideoAirThrough);
      break;
    case kPgVideo3d:
      assign_->ShowVideo(kVideo3dSteering);
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
  if (id == kTimerMacroWrite) {
    assign_->OnTimer(kTimerMacroWrite);
    return;
  }
  session_->OnTimer(static_cast<std::uint32_t>(id));
}

// ---- commands of the page ----------------------------------------------------------------------

void CMainFrameDlg::OnReset() {
  if (session_->busy()) return;
  prompt_.kind = kPromptReset;
  prompt_.text.clear();
  if (prompt_.Run(hwnd_) == kPromptResultOk) session_->ResetProfile(session_->currentProfile(), 1);
}

void CMainFrameDlg::OnRegistration() {
  if (!shell_.OpenDocument(kRegistrationAddress)) messages_->ShowMessage(kMsgCantConnect, kRegistrationAddress);
}

void CMainFrameDlg::OnHelp() {
  char16_t path[kDocumentPathChars] = {};
  if (FindDocument(store_, files_, language_.helpDocument, kHelpFolder, path) != 1 || !shell_.OpenDocument(path))
    messages_->ShowMessage(kMsgCantFindDocument, language_.helpDocument);
}

void CMainFrameDlg::OnPageButton(int id) {
  if (!session_->connected()) {
    messages_->ShowMessage(kMsgNoMouse);
    return;
  }
  if (session_->busy() || pages_ctx_ == nullptr) return;
  PageContext& ctx = *pages_ctx_;
  const int profile = session_->currentProfile();
  int code = kRouteMainWindow;
  switch (id) {
    case kPgAdvanced: code = kRouteConfigure; break;
    case kPgLed: code = kRouteLedPage; break;
    case kPgMacroEditor: code = kRouteMacroEditor; break;
    case kPgProfiles: code = kRouteProfileManager; break;
    default: return;
  }
  session_->LockForWindow(code);
  PageOutcome out{profile, false};
  switch (code) {
    case kRouteConfigure: out = RunConfigPage(ctx, profile); break;
    case kRouteLedPage: out = RunLedPage(ctx, profile); break;
    case kRouteMacroEditor: out = RunMacroEditor(ctx, profile); break;
    case kRouteProfileManager:
      out = RunProfileManager(ctx, profile, std::u16string_view(session_->shownName()) == kFactoryProfileName);
      break;
    default: break;
  }
  ctx.openPage = nullptr;
  session_->Unlock();
  // The advanced page has already stored its pointer settings; the rest follows the profile.
  if (session_->connected()) session_->AfterPage(code, out.profile, out.ok);
}

void CMainFrameDlg::OnLedMode(bool battle) {
  if (battleShown_ != battle) {
    if (battle) {
      session_->LockForWindow(kRoutePrompt);
      prompt_.kind = kPromptBattleMode;
      prompt_.text.clear();
      prompt_.Run(hwnd_);
      session_->Unlock();
    }
    const ModePictures m = ModePicturesFor(battle);
    normal_.LoadPicture(m.normal, true);
    battle_.LoadPicture(m.battle, true);
    if (WriteLedMode(*tessel_, clock_, session_->currentProfile(), battle) < kLedModeCells) {
      // The cells left are pending: APPLY writes them.
      session_->SetModified(true);
      messages_->ShowMessage(kMsgSaveConfigFailed);
    }
    battleShown_ = battle;
  }
  InformSender(store_, windows_).m_InformOSD(OSD_MODE, battleShown_ ? 1 : 0);
}

void CMainFrameDlg::OnProfileChoice() {
  const int i = static_cast<int>(SendMessageW(profileList_.hwnd(), CB_GETCURSEL, 0, 0));
  ChooseProfileEntry(*session_, profileEntries_, i);
}

void CMainFrameDlg::ClearSelectedButton() {
  if (assign_ != nullptr) assign_->ClearSelection();
}

void CMainFrameDlg::RefreshButtonLabels() {
  if (assign_ == nullptr) return;
  assign_->RefreshLabels(session_->currentProfile());
  plate_.Model().Refresh();
  plate_.Show();
}

void CMainFrameDlg::RefreshModeDisplay() {
  battleShown_ = InBattleMode(*tessel_, session_->currentProfile());
  const ModePictures m = ModePicturesFor(battleShown_);
  normal_.LoadPicture(m.normal, true);
  battle_.LoadPicture(m.battle, true);
}

void CMainFrameDlg::RefillProfileList() {
  profileEntries_ = ProfileListEntries(files_);
  SendMessageW(profileList_.hwnd(), CB_RESETCONTENT, 0, 0);
  for (const auto& e : profileEntries_)
    SendMessageW(profileList_.hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(e).c_str()));
}

// ---- button assignment -------------------------------------------------------------------------

void CMainFrameDlg::RefuseNoLeftButton() {
  // Where the language file replaced the English texts the picture's English would not fit.
  if (language_.fileLoaded && PRIMARYLANGID(GetSystemDefaultLangID()) != LANG_ENGLISH) {
    messages_->ShowMessage(kMsgNoLeftButton);
    return;
  }
  prompt_.kind = kPromptLeftButton;
  prompt_.text.clear();
  prompt_.Run(hwnd_);
}

std::optional<int> CMainFrameDlg::AskSingleFunction(int currentRow) {
  prompt_.kind = kPromptSingleKey;
  prompt_.text.clear();
  prompt_.value = currentRow;
  if (prompt_.Run(hwnd_) != kPromptResultOk || FunctionListPosition(prompt_.value) < 0) return std::nullopt;
  return prompt_.value;
}

std::optional<AssignView::MacroAnswer> CMainFrameDlg::AskMacro(std::u16string_view path, int choice, int count) {
  prompt_.kind = kPromptMacro;
  prompt_.text.clear();
  prompt_.macroPath = std::u16string(path);
  prompt_.choice = choice;
  prompt_.value = count;
  if (prompt_.Run(hwnd_) != kPromptResultOk) return std::nullopt;
  return MacroAnswer{prompt_.text, prompt_.choice, prompt_.value};
}

std::optional<std::u16string> CMainFrameDlg::AskApplication(std::u16string_view storedPath) {
  std::wstring filter = W(kApplicationFilter);
  for (auto& c : filter)
    if (c == L'|') c = L'\0';
  std::wstring stored = W(storedPath);
  std::wstring folder, file;
  const auto slash = stored.find_last_of(L'\\');
  if (!stored.empty() && slash != std::wstring::npos) {
    folder = stored.substr(0, slash);
    file = stored.substr(slash + 1);
  } else {
    wchar_t programs[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, programs);
    folder = programs;
  }
  wchar_t name[MAX_PATH] = {};
  file.copy(name, MAX_PATH - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrInitialDir = folder.c_str();
  ofn.lpstrDefExt = L"EXE";
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_EXPLORER;
  if (!GetOpenFileNameW(&ofn)) return std::nullopt;
  std::wstring chosen = name;
  return std::u16string(chosen.begin(), chosen.end());
}

void CMainFrameDlg::SetButtonLabel(int button, int category, std::u16string_view text, bool select) {
  const std::u16string label(text);
  plate_.Model().SetEntry(category, label.c_str(), button, select);
  plate_.Model().Refresh();  // the shown entry may be the one just relabelled
  plate_.Show();
}

void CMainFrameDlg::ShowSelectedButton(int previous, int button) {
  auto skin = [&](int i, bool lit) {
    if (i < 0 || i >= kButtonCount) return;
    const int normal = lit ? HotSpotHoverPicture(i) : HotSpotNormalPicture(i);
    hotSpots_[static_cast<std::size_t>(i)].SetSkin(normal, normal, HotSpotHoverPicture(i), HotSpotNormalPicture(i),
                                                   HotSpotMaskPicture(i));
    InvalidateRect(hotSpots_[static_cast<std::size_t>(i)].hwnd(), nullptr, FALSE);
  };
  skin(previous, false);
  skin(button, true);
}

void CMainFrameDlg::EnableCategoryButtons(bool assign, bool factory, bool videos) {
  if (session_->busy()) return;  // a locked page turns them on again with the rest
  categories_[0].Enable(assign);
  categories_[1].Enable(assign);
  categories_[2].Enable(assign && factory);
  categories_[3].Enable(assign);
  categories_[4].Enable(videos);
  categories_[5].Enable(videos);
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
  PageState state{enabled, applyAndOk, kNoButton, kLabelNone};
  if (assign_ != nullptr) state.selectedButton = assign_->selected(), state.selectedCategory = assign_->selectedCategory();
  for (int id : PageControls()) {
    HWND w = ControlWindow(id);
    EnableWindow(w, PageControlEnabled(id, state));
    InvalidateRect(w, nullptr, FALSE);
  }
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

void CMainFrameDlg::ApplyPointerSettings(int profile) { ApplyProfilePointerSettings(store_, system_, profile); }

void CMainFrameDlg::EndPages() {
  if (prompt_.Window() != nullptr) prompt_.Close(kPromptResultCancel);
  if (pages_ctx_ != nullptr && pages_ctx_->openPage != nullptr) SendMessageW(pages_ctx_->openPage, WM_END_PAGE, 0, 0);
}

void CMainFrameDlg::EndProgram() {
  if (prompt_.Window() != nullptr) PostMessageW(prompt_.Window(), WM_CLOSE, 0, 0);
  if (pages_ctx_ != nullptr && pages_ctx_->openPage != nullptr) PostMessageW(pages_ctx_->openPage, WM_CLOSE, 0, 0);
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
