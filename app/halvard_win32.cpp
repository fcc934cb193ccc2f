// CHalvardApp: the main program's start-up. The process ends when the main window's modal loop
// ends.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "app/main_frame_win32.h"
#include "app/simulation.h"
#include "app/startup.h"

namespace halvard {

class CHalvardApp {
 public:
  // Always false: no message loop of the framework runs after it.
  bool InitInstance() {
    INITCOMMONCONTROLSEX icc{8, 0xFF};
    InitCommonControlsEx(&icc);
    const auto args = SplitCommandLine(reinterpret_cast<const char16_t*>(GetCommandLineW()));
    StartOptions options;
    options.automation = HasAutomationSwitch(args);
    Win32Files files;
    const char* env = std::getenv("HALVARD_SIMULATE");
    options.simulatedImage = SimulatedImagePath(args, env != nullptr ? std::string(env) : std::string(),
                                                Narrow(DataFolder(files)));
    auto frame = std::make_unique<CMainFrameDlg>(options);
    if (frame->SecondInstance()) {
      frame->HandleSecondStart();
      return false;
    }
    if (!options.simulatedImage.empty()) EnsureSimulatedMouse(options.simulatedImage);
    frame->Run();
    return false;
  }
};

}  // namespace halvard

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  static halvard::CHalvardApp app;
  app.InitInstance();
  return 0;
}
