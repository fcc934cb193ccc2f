// CMainFrameDlg: the main program's one window (template 741). It owns the device link, the
// registry accessor, the prompt, the progress popup and the session, shows what the session asks
// and hands it window messages and timer ticks.
#pragma once

#include <windows.h>

#include <array>
#include <memory>
#include <string>

#include "app/button_assign.h"
#include "app/key_status_win32.h"
#include "app/main_page.h"
#include "app/pages_win32.h"
#include "app/messages.h"
#include "app/progress_win32.h"
#include "app/prompt_win32.h"
#include "app/session.h"
#include "app/skin/controls_win32.h"
#include "app/skin/more_controls_win32.h"
#include "app/instance_mutex_win32.h"
#include "app/startup.h"
#include "device/hid_client.h"
#include "device/ic_tessel.h"
#include "platform/clock_win32.h"
#include "platform/file_seam_win32.h"
#include "platform/message_box_win32.h"
#include "platform/registry_seam_win32.h"
#include "platform/shell_win32.h"
#include "platform/system_settings_win32.h"
#include "platform/window_services_win32.h"
#include "store/profile_file.h"
#include "store/registry_store.h"

namespace halvard {

class ImageHid;

inline constexpr int kMainTemplate = 741;
inline constexpr int kSelectTemplate = 742;
inline constexpr int kSelectList = 1000;
inline constexpr int kPictureNoDevice = 121;
inline constexpr int kPictureFullPage = 124;
inline constexpr int kTitleStripHeight = 144;
// Simulation only: how often the image files are looked at for plugged and unplugged mice.
inline constexpr UINT kTimerSimulatedNotices = 2400;
inline constexpr UINT kSimulatedNoticeMs = 250;

// Controls of the window.
enum MainControl : int {
  kIdHide = 1001,
  kIdYes = 1005,
  kIdApply = 1013,
  kIdCancel = 1014,
  kIdOk = 1015,
  kIdFirstTab = 1200,
  kIdProfileButton = 1787,
};

// Where a control sits on its screen picture.
struct ControlPlace {
  int id, x, y, w, h;
};
const ControlPlace* PlaceOf(int id);

// How the program was started.
struct StartOptions {
  bool automation = false;
  // Simulation mode: the first simulated mouse's image file; empty for the real mouse.
  std::string simulatedImage;
};

class CMainFrameDlg : private SessionView, private AssignView {
 public:
  explicit CMainFrameDlg(const StartOptions& options);
  ~CMainFrameDlg() override;

  bool SecondInstance() const { return secondInstance_; }
  // Asks the first instance to show itself, or says there are too many.
  void HandleSecondStart();
  // The modal loop; returns when the program ends.
  INT_PTR Run();

  HWND hwnd() const { return hwnd_; }
  DeviceSession* Session() { return session_.get(); }

 private:
  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  INT_PTR Handle(UINT msg, WPARAM wp, LPARAM lp);
  void OnInitDialog();
  void OnCommand(int id);
  void OnTimer(UINT_PTR id);
  void BuildControls();
  void SetScreenMode(int mode);
  void CentreWith(int picture);
  void ShowPageControls(bool show);
  void PaintBackground(HDC dc);
  void OnLedMode(bool battle);
  void OnProfileChoice();
  void OnPageButton(int id);
  void OnReset();
  void OnHelp();
  void OnRegistration();
  // Every page control by identifier.
  HWND ControlWindow(int id);

  // SessionView
  void ShowNoDeviceScreen(int from) override;
  void ShowFullPage() override;
  void HideYes() override;
  void MoveOffScreen() override;
  void HideWindow() override;
  void RestoreAndShow() override;
  void ShowTabs(int profile) override;
  void ShowProfileName(std::u16string_view name) override;
  void EnablePageControls(bool enabled, bool applyAndOk) override;
  void EnableApplyAndOk(bool enabled) override;
  void ShowPopup() override;
  void HidePopup() override;
  int RunDeviceSelection(const std::vector<std::u16string>& entries, DeviceSelectionEvents& events) override;
  bool AskApplyBeforeSwitch() override;
  void EndPages() override;
  void EndProgram() override;
  void ClearSelectedButton() override;
  void RefreshButtonLabels() override;
  void RefreshModeDisplay() override;
  void RefillProfileList() override;
  void ApplyPointerSettings(int profile) override;
  void SetImeFlag(bool on) override { imeFlag_ = on; }

  // AssignView
  void RefuseNoLeftButton() override;
  std::optional<int> AskSingleFunction(int currentRow) override;
  std::optional<MacroAnswer> AskMacro(std::u16string_view path, int choice, int count) override;
  std::optional<std::u16string> AskApplication(std::u16string_view storedPath) override;
  void SetButtonLabel(int button, int category, std::u16string_view text, bool select) override;
  void ShowSelectedButton(int previous, int button) override;
  void EnableCategoryButtons(bool assign, bool factory, bool videos) override;

  StartOptions options_;
  Win32Registry registry_;
  RegistryStore store_{registry_};
  Win32Files files_;
  Win32Clock clock_;
  Win32WindowServices windows_;
  Win32MessageBox box_;
  Win32Shell shell_;
  Win32SystemSettings system_;
  Win32InstanceMutex mutex_;
  std::unique_ptr<HidSeam> hid_;
  ImageHid* simulated_ = nullptr;
  std::unique_ptr<CHidClient> client_;
  std::unique_ptr<CIcTessel> tessel_;
  MessageBoxMessages boxMessages_{box_};
  CSkinDlg prompt_{files_};
  std::unique_ptr<PromptMessages> messages_;
  std::unique_ptr<ProfileFiles> profiles_;
  std::unique_ptr<DeviceSession> session_;
  std::unique_ptr<ButtonAssignment> assign_;
  LanguageStart language_;
  COsdProgress popup_;
  bool popupTimerResolution_ = false;
  bool secondInstance_ = false;
  bool imeFlag_ = false;

  HWND hwnd_ = nullptr;
  int screenMode_ = kScreenNone;
  Bitmap screenPicture_;
  SIZE noDeviceSize_{}, fullPageSize_{};
  CWndShadow shadow_;
  bool shadowAttached_ = false;
  std::array<Font, kFontCount> fonts_;
  CHoverButtonEx yes_, hide_;
  CHoverButtonEx apply_, cancel_, ok_;
  CHoverButtonEx2 profileButton_;
  std::array<CxSkinButton, kProfileCount> tabs_;
  std::array<int, kProfileCount> tabPicture_{};
  CHoverButtonEx reset_, registration_, help_;
  CHoverButtonEx normal_, battle_;
  // 1115-1118, then the two videos.
  std::array<CHoverButtonEx, 6> categories_;
  // 1009, 1012, 1011, 1010.
  std::array<CxSkinButton, 4> pages_;
  CUiKeyStatusWnd plate_;
  std::array<CUiKeyIndexWnd, kButtonCount> hotSpots_;
  CColorCombox profileList_;
  std::vector<std::u16string> profileEntries_;
  bool battleShown_ = false;
  std::unique_ptr<PageContext> pages_ctx_;
};

}  // namespace halvard
