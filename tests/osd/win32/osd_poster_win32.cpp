// The second process of the display tests: posts one WM_INFORM_OSD to the published window, as
// the monitor does; or loads the library and ends without unloading it, as the monitor ends.
//   osd_poster CODE LPARAM
//   osd_poster load
#include <windows.h>

#include <cwchar>

#include "ipc/inform.h"
#include "platform/registry_seam_win32.h"
#include "platform/window_services_win32.h"
#include "store/registry_store.h"

int wmain(int argc, wchar_t** argv) {
  if (argc == 2 && std::wcscmp(argv[1], L"load") == 0) return LoadLibraryW(L"HalvardOsd.dll") != nullptr ? 0 : 3;
  if (argc < 3) return 2;
  const auto code = static_cast<std::uintptr_t>(std::wcstoul(argv[1], nullptr, 0));
  const auto lParam = static_cast<std::intptr_t>(std::wcstoul(argv[2], nullptr, 0));
  halvard::Win32Registry registry;
  halvard::RegistryStore store(registry);
  halvard::Win32WindowServices windows;
  halvard::InformSender monitor(store, windows, halvard::InformSender::Check::kIsWindow);
  return monitor.m_InformOSD(code, lParam) == 1 ? 0 : 1;
}
