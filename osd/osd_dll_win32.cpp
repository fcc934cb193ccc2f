// HalvardOsd.dll: the application object creates the display window while the library loads and
// takes it down when the library goes.
#include <windows.h>

#include <memory>

#include "ipc/messages.h"
#include "osd/osd_window_win32.h"

// The DPI table, shared by every process that loads the library.
__attribute__((section(".shared"), shared)) halvard::OsdSharedSection g_dpiTable = {{0, 0, 0, 0}, {0, 0, 0, 0}};

namespace halvard::osd {

class CZa2OsdApp {
 public:
  explicit CZa2OsdApp(HINSTANCE module) : window_(std::make_unique<COsdWnd>(module, g_dpiTable)) {
    if (!window_->Create()) window_.reset();
  }
  ~CZa2OsdApp() {
    store_.SetDword(kOsdHandle, 0);
    if (window_) window_->StopTimers();
  }
  // At process end the window goes with the process; only the handle is taken back.
  void Abandon() { (void)window_.release(); }

 private:
  Win32Registry registry_;
  RegistryStoreA store_{registry_};
  std::unique_ptr<COsdWnd> window_;
};

}  // namespace halvard::osd

namespace {
halvard::osd::CZa2OsdApp* g_app = nullptr;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    DisableThreadLibraryCalls(module);
    g_app = new halvard::osd::CZa2OsdApp(module);
  } else if (reason == DLL_PROCESS_DETACH && g_app != nullptr) {
    if (reserved != nullptr) g_app->Abandon();
    delete g_app;
    g_app = nullptr;
  }
  return TRUE;
}
