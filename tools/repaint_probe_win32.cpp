// Times the main window from another process, for the scenarios' figures:
//   repaint_probe tab N        a click on tab N (0-4) to the first changed pixel of the tab
//   repaint_probe redraw COUNT COUNT full repaints of the page, each waited for
// Prints one line "probe: ..." with the figure in microseconds; exit 1 when the window is absent.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

HWND g_main = nullptr;

BOOL CALLBACK FindMain(HWND w, LPARAM) {
  wchar_t title[128] = {};
  GetWindowTextW(w, title, 128);
  RECT r;
  GetWindowRect(w, &r);
  // The full page is 930 x 768; its title is never drawn but is the window's.
  if (IsWindowVisible(w) && wcsstr(title, L"Halvard") != nullptr && r.right - r.left == 930) {
    g_main = w;
    return FALSE;
  }
  return TRUE;
}

double Micros(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: repaint_probe tab N | redraw COUNT\n");
    return 2;
  }
  EnumWindows(FindMain, 0);
  if (g_main == nullptr) {
    std::fprintf(stderr, "repaint_probe: no full page shown\n");
    return 1;
  }
  const int n = _wtoi(argv[2]);
  LARGE_INTEGER t0, t1;
  if (std::wcscmp(argv[1], L"tab") == 0) {
    HWND tab = GetDlgItem(g_main, 1200 + n);
    if (tab == nullptr) return 1;
    RECT r;
    GetWindowRect(tab, &r);
    const int x = (r.left + r.right) / 2, y = r.top + (r.bottom - r.top) * 4 / 5;
    HDC screen = GetDC(nullptr);
    const COLORREF before = GetPixel(screen, x, y);
    QueryPerformanceCounter(&t0);
    PostMessageW(tab, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(tab, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    for (int k = 0; k < 200000 && GetPixel(screen, x, y) == before; ++k) Sleep(0);
    QueryPerformanceCounter(&t1);
    ReleaseDC(nullptr, screen);
    std::printf("probe: tab %d click to repainted tab %.0f us\n", n + 1, Micros(t0, t1));
    return 0;
  }
  QueryPerformanceCounter(&t0);
  for (int k = 0; k < n; ++k)
    RedrawWindow(g_main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // A message answered after the repaints: the last one is done.
  SendMessageW(g_main, WM_NULL, 0, 0);
  QueryPerformanceCounter(&t1);
  std::printf("probe: %d full repaints, %.0f us each\n", n, Micros(t0, t1) / (n > 0 ? n : 1));
  return 0;
}
