// The display library as the monitor uses it: loaded by name, reached through "OSD Handle".
#include <gtest/gtest.h>

#include <cstring>

#include "osd/osd_art.h"
#include "osd_win32_support.h"

namespace halvard::osd {
namespace {

std::wstring HereFolder() {
  wchar_t buf[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring s = buf;
  return s.substr(0, s.find_last_of(L"\\/") + 1);
}

const std::uint32_t kLevel2Word = DpiStateWord{1, 0, false, 32, 32}.Pack();

class OsdLibraryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
    SetCursorPos(3, 3);  // away from where the OSD appears
    library = LoadLibraryW(L"HalvardOsd.dll");
    ASSERT_NE(library, nullptr) << GetLastError();
    osd = PublishedOsd(store);
    ASSERT_NE(osd, nullptr);
  }
  void TearDown() override {
    if (library != nullptr) FreeLibrary(library);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
  }
  LRESULT Send(std::uint32_t code, std::intptr_t lParam) { return SendMessageW(osd, WM_INFORM_OSD, code, lParam); }
  RECT Rect() {
    RECT r{};
    GetWindowRect(osd, &r);
    return r;
  }
  RECT Expected(int id) {
    const PictureSize s = *OsdPictureSize(id);
    const int x = (GetSystemMetrics(SM_CXSCREEN) - s.width) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) - s.height - 50;
    return {x, y, x + s.width, y + s.height};
  }
  // Pixels of the painted picture equal the library's picture `id` placed at (x, y).
  ::testing::AssertionResult Holds(const Pixels& painted, int id, int x, int y) {
    const Pixels want = LibraryPicture(library, id);
    if (want.width == 0) return ::testing::AssertionFailure() << "no picture " << id;
    for (int ty = 0; ty < want.height; ++ty)
      for (int tx = 0; tx < want.width; ++tx)
        if (painted.At(x + tx, y + ty) != want.At(tx, ty))
          return ::testing::AssertionFailure() << "picture " << id << " differs at " << tx << "," << ty;
    return ::testing::AssertionSuccess();
  }

  Win32Registry registry;
  RegistryStore store{registry};
  HMODULE library = nullptr;
  HWND osd = nullptr;
};

bool EqualRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST_F(OsdLibraryTest, PublishesAHiddenTopmostToolWindowAndTakesItBackOnUnload) {
  EXPECT_TRUE(IsWindow(osd));
  EXPECT_EQ(GetWindowThreadProcessId(osd, nullptr), GetCurrentThreadId());
  EXPECT_FALSE(IsWindowVisible(osd));
  const LONG_PTR style = GetWindowLongPtrW(osd, GWL_STYLE), ex = GetWindowLongPtrW(osd, GWL_EXSTYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
  EXPECT_TRUE(ex & WS_EX_TOPMOST);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex & WS_EX_LAYERED);
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(osd, nullptr, &alpha, &flags));
  EXPECT_EQ(alpha, 220);
  EXPECT_TRUE(flags & LWA_ALPHA);

  // The DPI table lives in a 32-byte section shared between processes.
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(library);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const char*>(library) + dos->e_lfanew);
  const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
  const IMAGE_SECTION_HEADER* shared = nullptr;
  for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i)
    if (std::memcmp(section[i].Name, ".shared", 8) == 0) shared = &section[i];
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->Misc.VirtualSize, sizeof(OsdSharedSection));
  EXPECT_TRUE(shared->Characteristics & IMAGE_SCN_MEM_SHARED);
  EXPECT_TRUE(shared->Characteristics & IMAGE_SCN_MEM_WRITE);

  ASSERT_TRUE(FreeLibrary(library));
  library = nullptr;
  EXPECT_EQ(store.GetDword(kOsdHandle), 0);
  EXPECT_FALSE(IsWindow(osd));
  // And a second load in the same process works again.
  library = LoadLibraryW(L"HalvardOsd.dll");
  ASSERT_NE(library, nullptr);
  osd = PublishedOsd(store);
  EXPECT_TRUE(IsWindow(osd));
}

// The monitor ends without unloading the library: the handle must not outlive the process.
TEST(OsdLibraryEnd, AProcessEndingWithTheLibraryLoadedClearsTheHandle) {
  Win32Registry registry;
  RegistryStore store(registry);
  store.SetDword(kOsdHandle, 0x1234);
  std::wstring cmd = L"\"" + HereFolder() + L"osd_poster.exe\" load";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD exitCode = 99;
  GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_EQ(store.GetDword(kOsdHandle), 0);
}

TEST_F(OsdLibraryTest, AnswersOneForTheListedCodesOnly) {
  for (std::uint32_t code = 0; code < 20; ++code)
    EXPECT_EQ(Send(code, 0), IsOsdCode(code) ? 1 : 0) << code;
}

TEST_F(OsdLibraryTest, AnotherProcessShowsItShapedOnTopWithoutTakingTheFocus) {
  // An ordinary window of ours holds the focus.
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"OsdTestForeground";
  RegisterClassW(&wc);
  HWND front = CreateWindowExW(0, wc.lpszClassName, L"front", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                               nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(front, nullptr);
  SetForegroundWindow(front);
  Pump(300);
  ASSERT_EQ(GetActiveWindow(), front);

  std::wstring cmd = L"\"" + HereFolder() + L"osd_poster.exe\" 0 " + std::to_wstring(kLevel2Word);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  const bool shown = PumpUntil([&] { return IsWindowVisible(osd) != FALSE; }, 10000);
  const double shownAt = NowMs();
  DWORD exitCode = 99;
  WaitForSingleObject(pi.hProcess, 10000);
  GetExitCodeProcess(pi.hProcess, &exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(exitCode, 0u);
  ASSERT_TRUE(shown);

  EXPECT_EQ(GetActiveWindow(), front);
  EXPECT_EQ(GetForegroundWindow(), front);
  EXPECT_TRUE(GetWindowLongPtrW(osd, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(EqualRect(Rect(), Expected(317)));
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(osd, region), COMPLEXREGION);
  RECT box{};
  GetRgnBox(region, &box);
  EXPECT_TRUE(EqualRect(box, RECT{0, 0, 262, 81}));
  EXPECT_FALSE(PtInRegion(region, 0, 0));   // the key in the rounded corner
  EXPECT_TRUE(PtInRegion(region, 131, 40));
  EXPECT_TRUE(PtInRegion(region, 0, 40));   // the rim
  DeleteObject(region);

  // Three seconds later it goes: never sooner; later only as far as a busy machine delays the
  // timer, which the generous wait allows.
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(osd); }, 30000));
  const double upMs = NowMs() - shownAt;
  EXPECT_GT(upMs, 2900);
  EXPECT_EQ(GetActiveWindow(), front);
  DestroyWindow(front);
}

// Every view as the window paints it: the library's picture, with the digits in their places.
TEST_F(OsdLibraryTest, EachViewPaintsItsPictureAndDigits) {
  struct View {
    std::uint32_t code;
    std::intptr_t lParam;
    int picture;
  };
  const View plain[] = {
      {OSD_DPI_STATE, 0x84, 300}, {OSD_DPI_STATE, 0x84 + 16 * 4, 304}, {OSD_ARROW, 3, 320}, {OSD_ARROW, 4, 321},
      {OSD_MODE, 0, 322},         {OSD_MODE, 1, 323},                  {OSD_LOCK, 1, 324},  {OSD_LOCK, 0, 325},
      {OSD_POLLING_RATE, 3, 326}, {OSD_POLLING_RATE, 0, 329},
  };
  for (const View& v : plain) {
    ASSERT_EQ(Send(v.code, v.lParam), 1);
    EXPECT_TRUE(EqualRect(Rect(), Expected(v.picture))) << v.picture;
    EXPECT_TRUE(Holds(PaintedPicture(osd), v.picture, 0, 0));
  }

  // One row of large digits: 1600.
  Send(OSD_X_FIRST, 1);
  Send(OSD_DPI_STATE, kLevel2Word);
  Pixels dpi = PaintedPicture(osd);
  ASSERT_EQ(dpi.width, 262);
  const int big[] = {306, 311, 305, 305};
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(Holds(dpi, big[i], 30 + 32 * i, 37)) << i;

  // Two rows of small digits: X 800 above Y 1200, swapped when X does not come first.
  store.SetDword(u"PF0 X-Y DPI Enabled", 1);
  const std::uint32_t xy = DpiStateWord{2, 0, false, 16, 24}.Pack();
  const int x800[] = {340, 338, 330, 330}, y1200[] = {331, 332, 330, 330};
  for (bool xFirst : {true, false}) {
    Send(OSD_X_FIRST, xFirst ? 1 : 0);
    Send(OSD_DPI_STATE, xy);
    EXPECT_TRUE(EqualRect(Rect(), Expected(343)));
    Pixels p = PaintedPicture(osd);
    for (int i = 0; i < 4; ++i) {
      EXPECT_TRUE(Holds(p, xFirst ? x800[i] : y1200[i], 127 + 24 * i, 29)) << i;
      EXPECT_TRUE(Holds(p, xFirst ? y1200[i] : x800[i], 127 + 24 * i, 61)) << i;
    }
  }
}

TEST_F(OsdLibraryTest, ThePointerComingOntoItHidesItUnlessItWasAlreadyThere) {
  Send(OSD_LOCK, 1);
  ASSERT_TRUE(IsWindowVisible(osd));
  SendMessageW(osd, WM_NCHITTEST, 0, 0);
  EXPECT_FALSE(IsWindowVisible(osd));

  const RECT r = Expected(kUnlockPicture);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  Send(OSD_LOCK, 0);
  ASSERT_TRUE(IsWindowVisible(osd));
  EXPECT_EQ(SendMessageW(osd, WM_NCHITTEST, 0, 0), HTCLIENT);
  EXPECT_TRUE(IsWindowVisible(osd));
}

TEST_F(OsdLibraryTest, SwitchedOffItMovesButStaysHidden) {
  EXPECT_EQ(Send(OSD_ENABLE, 0), 1);
  Send(OSD_POLLING_RATE, 2);
  Pump(50);
  EXPECT_FALSE(IsWindowVisible(osd));
  EXPECT_TRUE(EqualRect(Rect(), Expected(327)));
  Send(OSD_ENABLE, 1);
  Send(OSD_POLLING_RATE, 2);
  EXPECT_TRUE(IsWindowVisible(osd));
}

TEST_F(OsdLibraryTest, ContactSheetOfEveryPictureAndView) {
  constexpr int kCellW = 320, kCellH = 128, kCols = 4;
  struct Item {
    Pixels p;
    std::wstring label;
  };
  std::vector<Item> items;
  for (int id : kOsdPictureIds) items.push_back({LibraryPicture(library, id), std::to_wstring(id)});
  struct View {
    std::uint32_t code;
    std::intptr_t lParam;
    const wchar_t* label;
  };
  const std::uint32_t xy = DpiStateWord{3, 1, false, 16, 24}.Pack();
  const View views[] = {
      {OSD_DPI_STATE, 0x84 + 16 * 2, L"P3"},
      {OSD_DPI_STATE, kLevel2Word, L"1600 DPI"},
      {OSD_DPI_STATE, DpiStateWord{0, 0, false, 1, 1}.Pack(), L"50 DPI"},
      {OSD_DPI_STATE, DpiStateWord{3, 0, false, 164, 164}.Pack(), L"8200 DPI"},
      {OSD_DPI_STATE, DpiStateWord{2, 0, false, 165, 165}.Pack(), L"code 165"},
      {OSD_DPI_STATE, xy, L"X 800 / Y 1200"},
      {OSD_ARROW, 3, L"left"},
      {OSD_POLLING_RATE, 1, L"500 Hz"},
  };
  store.SetDword(u"PF1 X-Y DPI Enabled", 1);
  Send(OSD_X_FIRST, 1);
  for (const View& v : views) {
    ASSERT_EQ(Send(v.code, v.lParam), 1);
    items.push_back({PaintedPicture(osd), std::wstring(L"view: ") + v.label});
  }
  const int rows = (static_cast<int>(items.size()) + kCols - 1) / kCols;

  // Drawn with GDI so the labels come out as text.
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kCellW * kCols, -kCellH * rows, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP sheet = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(sheet, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, sheet);
  RECT all{0, 0, kCellW * kCols, kCellH * rows};
  HBRUSH ground = CreateSolidBrush(RGB(24, 24, 24));
  FillRect(dc, &all, ground);
  DeleteObject(ground);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(200, 200, 200));
  auto* px = static_cast<std::uint32_t*>(bits);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const int cx = static_cast<int>(i % kCols) * kCellW + 6, cy = static_cast<int>(i / kCols) * kCellH + 4;
    const Pixels& p = items[i].p;
    ASSERT_GT(p.width, 0) << i;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) px[static_cast<std::size_t>(cy + y) * kCellW * kCols + cx + x] = p.At(x, y);
    TextOutW(dc, cx, cy + p.height + 2, items[i].label.c_str(), static_cast<int>(items[i].label.size()));
  }
  GdiFlush();
  Pixels out = ReadBitmap(sheet);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(sheet);
  CreateDirectoryW(HALVARD_SHOTS_DIR, nullptr);
  EXPECT_TRUE(SaveBmp(out, std::wstring(HALVARD_SHOTS_DIR) + L"\\osd-contact-sheet.bmp"));
}

}  // namespace
}  // namespace halvard::osd
