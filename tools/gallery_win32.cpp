// The skin gallery: every control and every prompt kind on one screen. With "/scenario DIR" it
// drives them through their windows, checks what they report, saves a picture of each into DIR
// and ends with 0 when every check held.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/key_status_win32.h"
#include "app/language.h"
#include "app/progress_win32.h"
#include "app/prompt_win32.h"
#include <commctrl.h>

#include "app/skin/controls_win32.h"
#include "app/skin/more_controls_win32.h"
#include "ipc/messages.h"
#include "platform/file_seam_win32.h"

using namespace halvard;

namespace {

constexpr int kIdSlider = 3001, kIdSlider2 = 3002, kIdOk = 3010, kIdCancel = 3011, kIdYes = 3012, kIdOff = 3013;
constexpr int kIdPlate = 3040, kIdEdit = 3050;

struct Gallery {
  HWND main = nullptr;
  CBitmapSlider slider;
  CBitmapSliderEx2 slider2;
  CHoverButtonEx ok, cancel, yes, off;
  CSkinHeaderCtrl header;
  CUiKeyStatusWnd plate;
  CUiKeyIndexWnd spots[kKeyEntries];
  CEditEx edit;
  COsdProgress progress;
  HWND list = nullptr;
  CSkinVerticleScrollbar scrollbar;
  CColorCombox combo;
  CWndShadow shadow;
  CMenuEx menu;
  Win32Files files;
  Font font;
  std::vector<std::string> heard;  // what reached the main window
};
Gallery* g_gallery = nullptr;

void Pump(DWORD ms) {
  const DWORD until = GetTickCount() + ms;
  MSG msg;
  do {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  } while (GetTickCount() < until);
}

LRESULT CALLBACK MainProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (g_gallery != nullptr) {
    char line[96];
    switch (msg) {
      case WM_BITMAPSLIDER_MOVING:
      case WM_BITMAPSLIDER_MOVED:
      case WM_BITMAPSLIDER_PRESSED:
      case WM_KEY_STATUS:
        std::snprintf(line, sizeof line, "%u %u %ld", msg, static_cast<unsigned>(wp), static_cast<long>(lp));
        g_gallery->heard.push_back(line);
        return 0;
      case WM_KEYUP:
        if (wp == 0 && lp == 0) g_gallery->heard.push_back("enter");
        return 0;
      case WM_MEASUREITEM: {
        auto& m = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (m.CtlType == ODT_MENU) return CMenuEx::Measure(m);
        CColorCombox::MeasureItem(m);
        return TRUE;
      }
      case WM_DRAWITEM: {
        auto& d = *reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        return d.CtlType == ODT_MENU ? CMenuEx::Draw(d) : g_gallery->combo.DrawItem(d);
      }
      case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(g_gallery->combo.Background());
      default:
        break;
    }
  }
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      FillSolid(reinterpret_cast<HDC>(wp), rc, RGB(30, 30, 30));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(163, 163, 163));
      const wchar_t* labels[] = {L"Sliders", L"Hover buttons", L"Key-status plate and hot spots", L"Edit (Enter)",
                                 L"Skinned list: header and scroll bar", L"Colour combo box"};
      const int xs[] = {30, 30, 30, 30, 560, 560};
      const int ys[] = {20, 130, 220, 440, 20, 300};
      for (int i = 0; i < 6; ++i) TextOutW(dc, xs[i], ys[i], labels[i], static_cast<int>(wcslen(labels[i])));
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

void Build(Gallery& g) {
  HINSTANCE inst = GetModuleHandleW(nullptr);
  WNDCLASSW wc{};
  wc.lpfnWndProc = MainProc;
  wc.hInstance = inst;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconW(inst, MAKEINTRESOURCEW(800));
  wc.lpszClassName = L"HalvardGallery";
  RegisterClassW(&wc);
  g.main = CreateWindowExW(0, L"HalvardGallery", L"Halvard skin gallery", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                           20, 20, 900, 560, nullptr, nullptr, inst, nullptr);
  g.font.Reset(CreateFontW(-13, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 2, 16, 1, 0x22, L"DejaVu Sans"));

  g.slider.Create(g.main, kIdSlider, 30, 45, 220, 24);
  g.slider.SetChannel(1910, 1911);
  g.slider.SetThumb(1912);
  g.slider.Model().SetPosition(30);
  g.slider2.Create(g.main, kIdSlider2, 30, 85, 220, 24);
  g.slider2.SetChannel(1910, 1911);
  g.slider2.SetThumb(1912);
  g.slider2.Model().SetPosition(75);

  g.ok.Create(g.main, kIdOk, 30, 155, 90, 30);
  g.ok.LoadPicture(1900, true);
  g.cancel.Create(g.main, kIdCancel, 130, 155, 90, 30);
  g.cancel.LoadPicture(1901, true);
  g.yes.Create(g.main, kIdYes, 230, 155, 90, 30);
  g.yes.LoadPicture(1902, true);
  g.off.Create(g.main, kIdOff, 330, 155, 90, 30);
  g.off.LoadPicture(1900, true);
  g.off.Enable(false);

  g.plate.Create(g.main, kIdPlate, 330, 250, 194, 53);
  g.plate.SetCaptionFont(g.font.get());
  CUiKeyStatus& m = g.plate.Model();
  m.InitialiseEntries();
  m.SetPictures(kPlatePictureIds.data(), kPlatePictures);
  m.notify = g.main;
  const char16_t* labels[kKeyEntries] = {u"CLICK", u"RIGHT BUTTON", u"SCROLL BUTTON", u"Combo", u"BACKWARD",
                                         u"FORWARD", u"SENSITIVITY-UP", u"Notepad", u"", u"", u""};
  const int categories[kKeyEntries] = {2, 1, 1, 0, 1, 1, 2, 3, 6, 6, 6};
  for (int i = 0; i < kKeyEntries; ++i) m.SetEntry(categories[i], labels[i], i, false);
  m.SetCurrentEntry(-1);
  m.Refresh();
  g.plate.Show();
  // The eleven hot spots in two rows.
  for (int i = 0; i < kKeyEntries; ++i) {
    g.spots[i].Create(g.main, kHotSpotFirstId + i, 30 + (i % 6) * 50, 250 + (i / 6) * 85, 10, 10);
    g.spots[i].SetSkin(HotSpotNormalPicture(i), HotSpotHoverPicture(i), HotSpotHoverPicture(i), 0, HotSpotMaskPicture(i));
    g.spots[i].Link(i, &g.plate, nullptr);
  }

  g.edit.Attach(CreateWindowExW(0, L"EDIT", L"type, then Enter", WS_CHILD | WS_VISIBLE | WS_BORDER, 30, 465, 220, 24,
                                g.main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kIdEdit)), inst, nullptr));
  g.progress.Create(ProgressFrames());

  // A list with the skinned header and scroll bar, as the macro editor has.
  g.list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_NOSORTHEADER, 560, 45, 300,
                           230, g.main, reinterpret_cast<HMENU>(static_cast<INT_PTR>(3060)), inst, nullptr);
  ListView_SetExtendedListViewStyle(g.list, LVS_EX_FULLROWSELECT);
  ListView_SetBkColor(g.list, RGB(75, 75, 75));
  ListView_SetTextBkColor(g.list, RGB(75, 75, 75));
  ListView_SetTextColor(g.list, RGB(250, 250, 250));
  const wchar_t* titles[] = {L"NO.", L"INSTRUCTION", L"DELAY"};
  const int widths[] = {40, 140, 100};
  for (int c = 0; c < 3; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.pszText = const_cast<wchar_t*>(titles[c]);
    col.cx = widths[c];
    SendMessageW(g.list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&col));
  }
  for (int r = 0; r < 30; ++r) {
    std::wstring n = std::to_wstring(r + 1), key = std::wstring(L"Key ") + static_cast<wchar_t>(L'A' + r % 26);
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = r;
    item.pszText = n.data();
    SendMessageW(g.list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    ListView_SetItemText(g.list, r, 1, key.data());
    std::wstring delay = std::to_wstring(25 * r) + L"ms";
    ListView_SetItemText(g.list, r, 2, delay.data());
  }
  g.header.Attach(ListView_GetHeader(g.list), g.font.get());
  SetWindowPos(g.list, nullptr, 0, 0, 300, 231, SWP_NOMOVE | SWP_NOZORDER);  // the header takes its new height
  g.scrollbar.Attach(g.list);

  g.combo.Create(g.main, 3070, 560, 325, 200, 200);
  g.combo.SetColours(RGB(250, 250, 250), RGB(43, 43, 43), RGB(255, 255, 255), RGB(150, 15, 15));
  for (const wchar_t* t : {L"CLICK", L"RIGHT BUTTON", L"DOUBLE CLICK", L"BACKWARD"})
    SendMessageW(g.combo.hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(t));
  SendMessageW(g.combo.hwnd(), CB_SETCURSEL, 2, 0);

  g.menu.Add(2000, u"Load Configuration", 1903);
  g.menu.Add(2001, u"Go to Vornex Website");
  g.menu.Add(2002, u"Disable OSD");
  g.menu.Add(2003, u"Exit");

  ShowWindow(g.main, SW_SHOW);
  UpdateWindow(g.main);
}

// The main window's shadow: darkness 180, sharpness 10, size 5.
void AddShadow(Gallery& g) {
  ShadowParams main;
  main.darkness = 180;
  main.sharpness = 10;
  main.size = 5;
  g.shadow.Create(g.main, main);
}

bool Heard(Gallery& g, const std::string& line) {
  for (const auto& h : g.heard)
    if (h == line) return true;
  return false;
}

int Count(Gallery& g, const std::string& prefix) {
  int n = 0;
  for (const auto& h : g.heard) n += h.compare(0, prefix.size(), prefix) == 0 ? 1 : 0;
  return n;
}

std::wstring Shot(const std::wstring& dir, const wchar_t* name) { return dir + L"\\" + name + L".bmp"; }

int Scenario(Gallery& g, const std::wstring& dir) {
  CreateDirectoryW(dir.c_str(), nullptr);
  FILE* log = _wfopen((dir + L"\\gallery.log").c_str(), L"w");
  if (log == nullptr) return 2;
  int failures = 0, passes = 0;
  auto check = [&](bool ok, const char* what) {
    ++(ok ? passes : failures);
    std::fprintf(log, "%s %s\n", ok ? "ok" : "FAILED", what);
    std::printf("%s %s\n", ok ? "ok" : "FAILED", what);
  };
  SetCursorPos(890, 700);
  Pump(300);
  SaveWindowPicture(g.main, Shot(dir, L"gallery").c_str());

  // Drag the slider's thumb 60 pixels to the right, then End.
  const int thumb = g.slider.Model().PositionToPixel(g.slider.Model().position);
  PostMessageW(g.slider.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(thumb, 12));
  PostMessageW(g.slider.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(thumb + 60, 12));
  PostMessageW(g.slider.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(thumb + 60, 12));
  Pump(200);
  const int dragged = g.slider.Model().position;
  check(Heard(g, "10451 3001 30"), "slider: pressed posted (10451)");
  check(Heard(g, "10449 3001 " + std::to_string(dragged)) && dragged > 30, "slider: moving posted (10449)");
  check(Heard(g, "10450 3001 " + std::to_string(dragged)), "slider: moved posted on release (10450)");
  PostMessageW(g.slider.hwnd(), WM_KEYDOWN, VK_END, 0);
  Pump(100);
  check(Heard(g, "10450 3001 100"), "slider: End key moves to the maximum (10450)");
  SaveWindowPicture(g.main, Shot(dir, L"gallery-slider-dragged").c_str());

  // Hover hot spot 3, then 5 without leaving the plate's hover state.
  PostMessageW(g.spots[3].hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  Pump(150);
  PostMessageW(g.spots[3].hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  Pump(150);
  check(Count(g, "37122 ") == 1 && Heard(g, "37122 0 3"), "plate: WM_KEY_STATUS once for hot spot 3 (macro)");
  check(g.plate.Model().Caption() == u"Combo", "plate: caption of hot spot 3");
  SaveWindowPicture(g.main, Shot(dir, L"gallery-plate-hover").c_str());
  PostMessageW(g.spots[5].hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  Pump(150);
  check(Count(g, "37122 ") == 1 && g.plate.Model().CurrentEntry() == 5, "plate: hot spot 5 switches without a second report");

  // The edit reports Enter to its parent.
  PostMessageW(g.edit.hwnd(), WM_KEYUP, VK_RETURN, 0);
  Pump(100);
  check(Heard(g, "enter"), "edit: Enter released reaches the parent as WM_KEYUP 0, 0");

  // Every prompt kind, with its texts and buttons.
  std::wstring macros = dir + L"\\macros";
  CreateDirectoryW(macros.c_str(), nullptr);
  for (const wchar_t* n : {L"Burst.Mac", L"Combo.Mac", L"Snipe.mac"}) {
    HANDLE h = CreateFileW((macros + L"\\" + n).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    const BYTE empty[9] = {0x6D, 0xA5, 0xA1, 0, 0, 0x19, 1, 0, 0};
    DWORD written = 0;
    WriteFile(h, empty, sizeof empty, &written, nullptr);
    CloseHandle(h);
  }
  CSkinDlg prompt(g.files);
  prompt.Prepare(g.font.get(), g.font.get());
  for (const auto& info : PromptKinds()) {
    prompt.kind = info.kind;
    prompt.text = info.kind == kPromptMessage ? u"No Gamer Mouse Connected!"
                  : info.kind == kPromptConfirm ? u"Overwrite?"
                  : info.kind == kPromptNewProfile ? u"Raid"
                                                   : u"";
    prompt.value = info.kind == kPromptSingleKey ? 4 : 12;
    prompt.choice = 1;
    std::wstring m = macros + L"\\Combo.Mac";
    prompt.macroPath = std::u16string(m.begin(), m.end());
    HWND w = prompt.OpenModeless(g.main);
    Pump(250);
    wchar_t name[32];
    std::swprintf(name, 32, L"prompt-%d", info.kind);
    SaveWindowPicture(w, Shot(dir, name).c_str());
    if (info.kind == kPromptRepeatCount) {
      HWND count = prompt.CountField();
      SendMessageW(count, EM_SETSEL, 0, -1);
      for (wchar_t c : {L'3', L'0', L'0'}) {
        PostMessageW(count, WM_CHAR, c, 1);
        Pump(80);
      }
      wchar_t typed[8] = {};
      GetWindowTextW(count, typed, 8);
      check(std::wstring(typed) == L"255", "count field: typing 3, 0, 0 reads 255");
      SaveWindowPicture(w, Shot(dir, L"prompt-474-typed").c_str());
      prompt.Close(kPromptResultOk);
      check(prompt.value == 255, "count field: OK gives the value 255");
      continue;
    }
    if (info.kind == kPromptMacro) {
      check(prompt.text == u"Combo" && SendMessageW(prompt.List(), CB_GETCURSEL, 0, 0) == 1,
            "macro list: the current macro is selected");
      HWND tips = prompt.RadioTooltips();
      bool tipped = tips != nullptr && SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0) == 4;
      for (int i = 0; i < 4 && tipped; ++i) {
        wchar_t text[96] = {};
        TOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        ti.hwnd = w;
        ti.uId = reinterpret_cast<UINT_PTR>(prompt.Radio(i)->hwnd());
        ti.lpszText = text;
        SendMessageW(tips, TTM_GETTEXTW, 96, reinterpret_cast<LPARAM>(&ti));
        const auto want = ActiveLanguage().Tooltip(kRepeatChoiceTooltips[i]);
        tipped = !want.empty() && std::wstring(text) == std::wstring(want.begin(), want.end());
      }
      check(tipped, "macro prompt: each of the four repeat radios has its tooltip");
    }
    if (info.kind == kPromptSingleKey)
      check(SendMessageW(prompt.List(), CB_GETCURSEL, 0, 0) == 3, "function list: row 4 is position 3");
    prompt.Close(kPromptResultCancel);
  }

  // The skinned list: an 18-pixel header, and the bar scrolls the list.
  RECT hr;
  GetWindowRect(ListView_GetHeader(g.list), &hr);
  check(hr.bottom - hr.top == kHeaderHeight, "header: 18 pixels high");
  RECT br;
  GetClientRect(g.scrollbar.hwnd(), &br);
  PostMessageW(g.scrollbar.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, br.bottom - 5));
  PostMessageW(g.scrollbar.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(8, br.bottom - 5));
  Pump(300);
  check(ListView_GetTopIndex(g.list) >= 1, "scroll bar: the down arrow scrolls the list");
  SaveWindowPicture(g.main, Shot(dir, L"gallery-list-combo").c_str());

  // The shadow sits behind the main window, offset by 5, 5 around its grown outline. Without a
  // compositor a layered window shows black on the screen, so it goes before later pictures.
  AddShadow(g);
  Pump(100);
  RECT mr, sr;
  GetWindowRect(g.main, &mr);
  GetWindowRect(g.shadow.hwnd(), &sr);
  check(g.shadow.hwnd() != nullptr && IsWindowVisible(g.shadow.hwnd()) &&
            sr.left == mr.left - 15 + 5 && sr.right == mr.right + 15 + 5,
        "shadow: a layered window behind the owner, grown by size and sharpness, offset 5, 5");
  g.shadow.Destroy();
  Pump(100);

  // The menu: borderless while it is open.
  static bool s_menuBorderless = false;
  static std::wstring s_menuShot;
  s_menuShot = Shot(dir, L"menu");
  SetTimer(g.main, 77, 300, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(g_gallery->main, id);
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu != nullptr) {
      s_menuBorderless = (GetWindowLongW(menu, GWL_STYLE) & WS_BORDER) == 0;
      SaveWindowPicture(menu, s_menuShot.c_str());
    }
    EndMenu();
  });
  g.menu.Track(g.main, POINT{600, 420});
  check(s_menuBorderless, "menu: the pop-up has no border");

  // A prompt whose picture is missing opens without an outline and closes normally.
  prompt.kind = 999;
  prompt.text = u"no picture";
  HWND bare = prompt.OpenModeless(g.main);
  Pump(100);
  HRGN probe = CreateRectRgn(0, 0, 0, 0);
  check(bare != nullptr && GetWindowRgn(bare, probe) == ERROR, "prompt: a missing picture leaves no outline");
  DeleteObject(probe);
  prompt.Close(kPromptResultCancel);

  // The loading popup: its animation runs; its frame is saved directly too, since a layered
  // window can come out black in a screen picture without a compositor.
  g.progress.Show();
  Pump(450);
  check(g.progress.Animation().Index() >= 2, "progress: frames advance on timer 0x3000");
  SaveWindowPicture(g.progress.hwnd(), Shot(dir, L"progress-window").c_str());
  SaveBitmapFile(g.progress.CurrentPicture(), Shot(dir, L"progress-frame").c_str());
  g.progress.Show();
  check(g.progress.Animation().Index() == 0, "progress: showing again restarts at frame 0");
  g.progress.Hide();

  std::fprintf(log, "%d failed\n", failures);
  std::fclose(log);
  std::printf("gallery: %d passed, %d failed\n", passes, failures);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Gallery g;
  g_gallery = &g;
  Build(g);
  int rc = 0;
  if (argc >= 3 && std::wstring(argv[1]) == L"/scenario") {
    rc = Scenario(g, argv[2]);
  } else {
    AddShadow(g);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  g_gallery = nullptr;
  return rc;
}
