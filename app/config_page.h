// CSkinCfgDlg's decisions: the performance page of one profile. Sensitivity (four levels, one
// group or separate X and Y), the active level and the polling rate (written to the mouse at
// once), the lift-off distance, and the profile's pointer settings (in force at once through
// the system-settings seam). Edits stay in the shadow until APPLY or OK; CANCEL puts back what
// the page found. The window shows what this model holds after every call.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "device/ic_tessel.h"
#include "ipc/inform.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "platform/system_settings.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

// DPI codes (DPI / 50) and the vertical sliders that show them, high end at the top.
inline constexpr int kDpiCodeMin = 1;
inline constexpr int kDpiCodeMax = 164;
inline constexpr int kDpiMax = 8200;
inline constexpr int kDpiSliderTop = kDpiCodeMax + 1;  // position = 165 - code
inline constexpr int kLevelCount = 4;
inline constexpr int kLiftOffMax = 31;
inline constexpr int kLiftOffShownWhenInvalid = 16;
inline constexpr int kPointerSliderMax = 10;
inline constexpr std::size_t kDpiFieldChars = 4;
// Polling-rate codes of bits 3-4 of B(p)+0.
enum PollingCode : int { kPoll1000 = 0, kPoll500 = 1, kPoll250 = 2, kPoll125 = 3 };

// Typed DPI to a code: 50 or less 1, 8200 or more 164, otherwise DPI / 50.
int DpiToCode(int dpi);
// A code to the DPI shown: 50 for 1 or less, 8200 for 164 or more.
int CodeToDpi(int code);
// The DPI field after an edit: at most four digits, no leading zero, no other characters (the
// last character typed goes), above 8200 it reads "8200".
std::u16string FilterDpiText(std::u16string_view text);
// APPLY's rewrite of the common field: a multiple of 50 from 50 to 8200.
std::u16string RoundDpiText(std::u16string_view text);
// B(p)+0 with bits 5-7 made 1, 0, 0.
constexpr int NormaliseLevelCell(int v) { return (v & 0xE0) == 0x80 ? v : ((v & 0x1F) | 0x80); }

enum class DpiField { kCommon = 0, kX = 1, kY = 2 };

struct CfgPageDeps {
  CIcTessel& tessel;
  RegistryStore& store;
  SystemSettings& system;
  WindowServices& windows;
  Clock& clock;
  MessageService& messages;
};

class CfgPageModel {
 public:
  explicit CfgPageModel(CfgPageDeps deps);

  // Opening on profile `p` (0-4); `page` is published as "Configure Handle".
  void Open(int p, Hwnd page);

  // Controls.
  void SetLevel(int slider);                         // DPI LEVELS, 1-4
  void MoveDpiSlider(DpiField field, int position);  // 1-164
  std::u16string EditDpiField(DpiField field, std::u16string_view text);
  void SetXy(bool on);
  void SetPolling(int code);
  void SetLiftOff(int value);
  void SetCursorSlider(int v);
  void SetDoubleClickSlider(int v);
  void SetScrollSlider(int v);
  void ToggleOneScreen();

  // APPLY (`ok` false) and OK: true when every pending cell reached the mouse. OK only ends the
  // page then; a failed write is reported and its cell stays pending.
  bool Apply(bool ok);
  void Cancel();
  void ResetToDefault();
  // The session ended under the page (the mouse went away): the shadow and the system settings
  // go back to the snapshot, nothing is sent.
  void EndPage();
  // WM_INFORM_UI from the monitor; 1 for a handled code.
  std::intptr_t OnInformUi(std::uintptr_t code, std::intptr_t lParam);

  // What the window shows.
  int profile() const { return profile_; }
  bool xy() const { return xy_; }
  bool axisSwapped() const { return axis_; }
  int level() const { return level_; }
  int LevelSlider() const { return level_ + 1; }
  int XCode() const;
  int YCode() const;
  int SliderPosition(DpiField field) const;
  const std::u16string& FieldText(DpiField field) const { return text_[static_cast<int>(field)]; }
  int pollingShown() const { return polling_; }
  int liftOff() const { return liftOff_; }
  int cursorSlider() const { return cursorSlider_; }
  int doubleClickSlider() const { return doubleClickSlider_; }
  int scrollSlider() const { return scrollSlider_; }
  bool oneScreen() const { return oneScreen_; }
  bool cursorChanged() const { return cursorChanged_; }
  bool scrollChanged() const { return scrollChanged_; }
  // The page asked to be closed (OK that wrote everything, or CANCEL).
  bool closed() const { return closed_; }
  // The DpiStateWord sent to the display for the current level.
  std::uint32_t DpiWord() const;
  // The cells the page snapshots: B(p)+0..+10 and 142.
  static std::array<int, 12> SnapshotCells(int p);

 private:
  int Base() const;
  int XCell() const;
  int YCell() const;
  void Load(int p);
  void ShowDpi();
  void ReadPointerSliders();
  void TakeSnapshot();
  void RestoreSystemSettings();
  int ReadLevelCell();
  void SetCode(DpiField field, int code);
  void Pause() { clock_.Sleep(10); }

  CIcTessel& tessel_;
  RegistryStore& store_;
  SystemSettings& system_;
  Clock& clock_;
  MessageService& messages_;
  InformSender inform_;

  int profile_ = 0;
  bool xy_ = false, axis_ = false;
  int level_ = 0;
  int polling_ = kPoll1000;
  int liftOff_ = kLiftOffShownWhenInvalid;
  int cursorSlider_ = 5, doubleClickSlider_ = 5, scrollSlider_ = 3;
  bool oneScreen_ = false, cursorChanged_ = false, scrollChanged_ = false;
  bool closed_ = false;
  std::array<std::u16string, 3> text_;
  std::array<MemoryCell, 12> snapshot_{};
  int snapCursor_ = 0, snapDoubleClick_ = 0, snapWheel_ = 0;
};

}  // namespace halvard
