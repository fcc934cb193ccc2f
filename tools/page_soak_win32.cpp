// Opens and closes every page and the reset prompt of the running main window many times, from
// another process, and prints what the program holds after every round: its windows (all of
// them, hidden ones too), and its GDI objects, user objects and handles as counted inside it by
// the probe library hooked into its thread. For the soak run; not part of make test.
//   page_soak ROUNDS
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <vector>

namespace {

HWND g_main = nullptr;
DWORD g_pid = 0;

BOOL CALLBACK FindMain(HWND w, LPARAM) {
  wchar_t title[128] = {};
  GetWindowTextW(w, title, 128);
  RECT r;
  GetWindowRect(w, &r);
  if (IsWindowVisible(w) && wcsstr(title, L"Halvard") != nullptr && r.right - r.left == 930) {
    g_main = w;
    return FALSE;
  }
  return TRUE;
}

struct Count {
  int windows = 0;
  HWND shownOther = nullptr;  // a shown top-level window of the program besides the main one
};

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
  ++reinterpret_cast<Count*>(lp)->windows;
  return TRUE;
}

BOOL CALLBACK CountTop(HWND w, LPARAM lp) {
  if (std::getenv("PAGE_SOAK_LIST") != nullptr) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    DWORD p = 0;
    GetWindowThreadProcessId(w, &p);
    if (p == g_pid) std::printf("  top %p %ls %s\n", static_cast<void*>(w), cls, IsWindowVisible(w) ? "shown" : "hidden");
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid != g_pid) return TRUE;
  auto* c = reinterpret_cast<Count*>(lp);
  ++c->windows;
  EnumChildWindows(w, CountChild, lp);
  RECT r;
  GetWindowRect(w, &r);
  // Pages and prompts are larger than the loading popup and the tooltips; the main window's drop
  // shadow is larger too, but it is no page.
  wchar_t cls[32] = {};
  GetClassNameW(w, cls, 32);
  if (w != g_main && IsWindowVisible(w) && r.right - r.left > 200 && r.bottom - r.top > 150 && wcscmp(cls, L"Shadow") != 0)
    c->shownOther = w;
  return TRUE;
}

Count Look() {
  Count c;
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&c));
  return c;
}

// Waits for a page or prompt to be shown (true) or gone (false).
HWND WaitShown(bool shown, int ms) {
  for (int t = 0; t < ms; t += 20) {
    HWND w = Look().shownOther;
    if ((w != nullptr) == shown) return shown ? w : reinterpret_cast<HWND>(1);
    Sleep(20);
  }
  return nullptr;
}

struct Probe {
  UINT message = RegisterWindowMessageW(L"Halvard Soak Probe");
  HWND reply = nullptr;
  HHOOK hook = nullptr;
  bool Attach(DWORD thread) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (wchar_t* slash = wcsrchr(path, L'\\')) wcscpy(slash + 1, L"soak_probe.dll");
    HMODULE dll = LoadLibraryW(path);
    auto proc = dll == nullptr ? nullptr : reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "SoakProbeHook@12")));
    if (proc == nullptr && dll != nullptr) proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(dll, "SoakProbeHook")));
    if (proc == nullptr) return false;
    reply = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    hook = SetWindowsHookExW(WH_GETMESSAGE, proc, dll, thread);
    return reply != nullptr && hook != nullptr;
  }
  // GDI objects, user objects and handles of the program; false when it did not answer.
  bool Ask(DWORD* gdi, DWORD* user, DWORD* handles) {
    PostMessageW(g_main, message, reinterpret_cast<WPARAM>(reply), 0);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
      MSG m;
      while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == message) {
          *gdi = LOWORD(m.wParam), *user = HIWORD(m.wParam), *handles = static_cast<DWORD>(m.lParam);
          return true;
        }
        DispatchMessageW(&m);
      }
      Sleep(10);
    }
    return false;
  }
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int rounds = argc > 1 ? _wtoi(argv[1]) : 200;
  EnumWindows(FindMain, 0);
  if (g_main == nullptr) {
    std::fprintf(stderr, "page_soak: no full page shown\n");
    return 1;
  }
  const DWORD thread = GetWindowThreadProcessId(g_main, &g_pid);
  Probe probe;
  if (!probe.Attach(thread)) {
    std::fprintf(stderr, "page_soak: cannot hook the probe into the program\n");
    return 1;
  }
  // Advanced, LED, macro editor, profile manager, and the reset prompt.
  const int commands[] = {1009, 1012, 1011, 1010, 1006};
  const int step = rounds >= 200 ? 20 : 1;
  for (int round = 0; round <= rounds; ++round) {
    if (round % step == 0 || round == rounds) {
      DWORD gdi = 0, user = 0, handles = 0;
      if (!probe.Ask(&gdi, &user, &handles)) {
        std::printf("soak: round %d the probe did not answer\n", round);
        return 1;
      }
      std::printf("soak: round %d windows %d gdi %lu user %lu handles %lu\n", round, Look().windows, gdi, user, handles);
      std::fflush(stdout);
    }
    if (round == rounds) break;
    for (int id : commands) {
      PostMessageW(g_main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(g_main, id)));
      HWND page = WaitShown(true, 10000);
      if (page == nullptr) {
        std::printf("soak: round %d command %d opened nothing\n", round, id);
        return 1;
      }
      Sleep(50);
      PostMessageW(page, WM_CLOSE, 0, 0);
      if (WaitShown(false, 10000) == nullptr) {
        std::printf("soak: round %d command %d did not close\n", round, id);
        return 1;
      }
    }
  }
  return 0;
}
