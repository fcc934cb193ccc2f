// The other process of the message test: three windows that publish their handles like the
// display library, the main window and the performance page, and log what reaches them.
//   ipc_peer LOGFILE
#include <windows.h>

#include <cstdio>
#include <string>

#include "ipc/messages.h"
#include "platform/window_services.h"
#include "platform/registry_seam_win32.h"
#include "store/registry_store.h"

namespace {

FILE* g_log = nullptr;

LRESULT CALLBACK PeerProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == halvard::WM_INFORM_OSD || msg == halvard::WM_INFORM_UI) {
    char name[32] = {};
    GetWindowTextA(w, name, sizeof name);
    std::fprintf(g_log, "%s %u %u %u\n", name, msg, static_cast<unsigned>(wp), static_cast<unsigned>(lp));
    return 1;
  }
  if (msg == WM_CLOSE) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  g_log = _wfopen(argv[1], L"w");
  if (g_log == nullptr) return 3;
  WNDCLASSW wc{};
  wc.lpfnWndProc = PeerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HalvardIpcPeer";
  RegisterClassW(&wc);
  auto make = [&](const wchar_t* name) {
    return CreateWindowExW(0, wc.lpszClassName, name, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  };
  HWND main = make(L"main"), osd = make(L"osd"), configure = make(L"configure");
  if (!main || !osd || !configure) return 4;

  halvard::Win32Registry registry;
  halvard::RegistryStore store(registry);
  store.SetDword(halvard::kProcessHandle, halvard::ValueFromHandle(main));
  store.SetDword(halvard::kConfigureHandle, halvard::ValueFromHandle(configure));
  store.SetDword(halvard::kOsdHandle, halvard::ValueFromHandle(osd));  // last: the sender waits for it

  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
  store.SetDword(halvard::kOsdHandle, 0);
  std::fclose(g_log);
  return 0;
}
