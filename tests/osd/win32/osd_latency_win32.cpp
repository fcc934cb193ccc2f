// The time from a posted WM_INFORM_OSD to the OSD on screen. The library lives on its own thread,
// as on the monitor's; this thread posts, then watches the window flag and the screen's pixels.
//   osd_latency [HOLD_MS]   HOLD_MS: afterwards keep an X-Y DPI view up that long (screenshots)
#include <algorithm>
#include <cstdio>
#include <cwchar>

#include "osd/osd_art.h"
#include "osd_win32_support.h"

namespace {

using namespace halvard;
using namespace halvard::osd;

DWORD WINAPI OsdThread(LPVOID) {
  HMODULE library = LoadLibraryW(L"HalvardOsd.dll");
  if (library == nullptr) return 1;
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  FreeLibrary(library);
  return 0;
}

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int holdMs = argc > 1 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 0;
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
  Win32Registry registry;
  RegistryStore store(registry);
  SetCursorPos(2, 2);

  DWORD threadId = 0;
  HANDLE thread = CreateThread(nullptr, 0, OsdThread, nullptr, 0, &threadId);
  HWND osd = nullptr;
  for (int i = 0; i < 500 && osd == nullptr; ++i) {
    Sleep(10);
    osd = PublishedOsd(store);
  }
  if (osd == nullptr) {
    std::printf("osd_latency: the library published no window\n");
    return 1;
  }

  struct Event {
    std::uint32_t code;
    std::intptr_t lParam;
    int picture;
  };
  const Event events[] = {
      {OSD_DPI_STATE, static_cast<std::intptr_t>(DpiStateWord{1, 0, false, 32, 32}.Pack()), kLevelPlateBase + 1},
      {OSD_LOCK, 1, kLockPicture},
      {OSD_POLLING_RATE, 0, kPollingPictureBase + 3},
      {OSD_DPI_STATE, 0x84 + 16 * 2, kProfilePictureBase + 2},
      {OSD_MODE, 1, kBattlePicture},
  };
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  std::vector<double> toWindow, toScreen;
  int missedScreen = 0;
  for (int i = 0; i < 25; ++i) {
    const Event& e = events[i % std::size(events)];
    SendMessageW(osd, WM_NCHITTEST, 0, 0);  // hides at once: the pointer is elsewhere
    Sleep(40);
    const PictureSize s = *OsdPictureSize(e.picture);
    const int cx = (sw - s.width) / 2 + s.width / 2, cy = sh - s.height - 50 + s.height / 2;
    const COLORREF before = ScreenPixel(cx, cy);

    const double t0 = NowMs();
    PostMessageW(osd, WM_INFORM_OSD, e.code, e.lParam);
    while (!IsWindowVisible(osd) && NowMs() - t0 < 2000) Sleep(0);
    const double t1 = NowMs();
    while (ScreenPixel(cx, cy) == before && NowMs() - t0 < 1000) Sleep(0);
    const double t2 = NowMs();
    toWindow.push_back(t1 - t0);
    if (ScreenPixel(cx, cy) != before)
      toScreen.push_back(t2 - t0);
    else
      ++missedScreen;
  }
  // The window's own share: the same commands sent and answered once handled.
  std::vector<double> handling;
  for (int i = 0; i < 25; ++i) {
    const Event& e = events[i % std::size(events)];
    SendMessageW(osd, WM_NCHITTEST, 0, 0);
    const double t0 = NowMs();
    SendMessageW(osd, WM_INFORM_OSD, e.code, e.lParam);
    handling.push_back(NowMs() - t0);
  }
  SendMessageW(osd, WM_NCHITTEST, 0, 0);
  std::printf("handling one command in the window (sent, not posted): median %.2f ms, max %.2f ms\n",
              Median(handling), *std::max_element(handling.begin(), handling.end()));

  const double windowMedian = Median(toWindow), screenMedian = Median(toScreen);
  std::printf("posted WM_INFORM_OSD to window shown: median %.2f ms, max %.2f ms (%zu events)\n", windowMedian,
              *std::max_element(toWindow.begin(), toWindow.end()), toWindow.size());
  if (!toScreen.empty())
    std::printf("posted WM_INFORM_OSD to picture on screen: median %.2f ms, max %.2f ms (%zu events, %d unseen)\n",
                screenMedian, *std::max_element(toScreen.begin(), toScreen.end()), toScreen.size(), missedScreen);
  else
    std::printf("posted WM_INFORM_OSD to picture on screen: not seen through the screen's pixels\n");

  if (holdMs > 0) {
    // A striped backdrop behind the OSD, so its shape and translucency show in a screenshot.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateHatchBrush(HS_DIAGCROSS, RGB(200, 200, 200));
    wc.lpszClassName = L"OsdBackdrop";
    RegisterClassW(&wc);
    HWND backdrop = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, sw / 2 - 250, sh - 250, 500,
                                    250, nullptr, nullptr, wc.hInstance, nullptr);
    ShowWindow(backdrop, SW_SHOWNA);
    UpdateWindow(backdrop);
    store.SetDword(u"PF0 X-Y DPI Enabled", 1);
    PostMessageW(osd, WM_INFORM_OSD, OSD_X_FIRST, 1);
    const double end = NowMs() + holdMs;
    while (NowMs() < end) {
      PostMessageW(osd, WM_INFORM_OSD, OSD_DPI_STATE, DpiStateWord{1, 0, false, 16, 24}.Pack());
      PumpUntil(nullptr, static_cast<int>(std::min(2000.0, std::max(1.0, end - NowMs()))));
    }
    DestroyWindow(backdrop);
  }
  PostThreadMessageW(threadId, WM_QUIT, 0, 0);
  WaitForSingleObject(thread, 5000);
  CloseHandle(thread);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
  // Only a sanity bound: a figure in whole seconds means the window is stuck behind something.
  return windowMedian < 1000 ? 0 : 1;
}
