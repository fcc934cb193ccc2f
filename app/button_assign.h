// Button assignment: the function table, how a button's cells match it, the rule that keeps a
// left click on every profile, and the category commands acting on the selected button.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/session.h"
#include "device/ic_tessel.h"
#include "device/memory_map.h"
#include "macro/bytecode.h"
#include "platform/clock.h"
#include "platform/file_seam.h"
#include "platform/message_service.h"
#include "platform/shell.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

// The byte the mouse interprets.
enum FunctionType : std::uint8_t {
  kFnMouseButton = 1,
  kFnModifier = 2,
  kFnDoubleClick = 4,
  kFnMacro = 6,
  kFnDpiUp = 9,
  kFnDpiDown = 10,
  kFnLaunch = 15,
  kFnOff = 73,
};

struct FunctionRow {
  std::uint8_t type;
  std::array<std::uint8_t, 4> params;
};

enum FunctionRowIndex : int {
  kRowMacro = 0,
  kRowClick = 1,
  kRowOff = 2,
  kRowRight = 3,
  kRowDoubleClick = 4,
  kRowBackward = 5,
  kRowForward = 6,
  kRowScroll = 7,
  kRowDpiUp = 8,
  kRowDpiDown = 9,
  kRowCtrl = 10,
  kRowShift = 11,
  kRowAlt = 12,
  kRowLaunch = 13,
};
inline constexpr int kFunctionRowCount = 14;
inline constexpr std::array<FunctionRow, kFunctionRowCount> kFunctionRows = {{
    {kFnMacro, {0, 0, 0, 0}},
    {kFnMouseButton, {1, 0, 0, 0}},
    {kFnOff, {0, 0, 0, 0}},
    {kFnMouseButton, {2, 0, 0, 0}},
    {kFnDoubleClick, {1, 2, 6, 2}},
    {kFnMouseButton, {8, 0, 0, 0}},
    {kFnMouseButton, {16, 0, 0, 0}},
    {kFnMouseButton, {4, 0, 0, 0}},
    {kFnDpiUp, {0, 0, 0, 0}},
    {kFnDpiDown, {0, 0, 0, 0}},
    {kFnModifier, {1, 0, 0, 0}},
    {kFnModifier, {2, 0, 0, 0}},
    {kFnModifier, {4, 0, 0, 0}},
    {kFnLaunch, {0, 0, 0, 0}},
}};

// The factory row of each button; -1 for buttons 8 to 10, which have none.
inline constexpr std::array<int, kButtonCount> kFactoryRows = {1, 3, 7, 5, 6, 9, 8, 0, -1, -1, -1};
constexpr int FactoryRow(int button) {
  return button >= 0 && button < kButtonCount ? kFactoryRows[static_cast<std::size_t>(button)] : -1;
}

// Label categories: the plate picture of a button's label.
enum LabelCategory : int {
  kLabelMacro = 0,
  kLabelSingle = 1,
  kLabelFactory = 2,
  kLabelApplication = 3,
  kLabelNone = 6,
};

inline constexpr int kNoButton = 11;

// Cells of button i of profile p.
inline int TypeCell(int p, int i) { return B(p) + kOffFunctionType + i; }
inline int ParameterCell(int p, int i, int k) { return B(p) + kOffParameters + 4 * i + k; }

struct ButtonMatch {
  int row = -1;
  int category = kLabelNone;
};
// The button's row in the table and its label category, from the shadow.
ButtonMatch MatchButton(const CIcTessel& tessel, int p, int i);

struct ButtonLabel {
  std::u16string text;
  int category = kLabelNone;
};
// The row name, or the registry's macro or application name for those two kinds.
ButtonLabel DescribeButton(const CIcTessel& tessel, RegistryStore& store, int p, int i);

bool IsLeftClick(const CIcTessel& tessel, int p, int i);
// False when writing `row` to button i would leave p without a left click, and for rows outside
// the table.
bool LeftRuleAllows(const CIcTessel& tessel, int p, int i, int row);

// Repeat modes of the macro header by the prompt's radio index; 1 for none chosen.
int RepeatModeOfChoice(int choice);
// -1 (no choice) for a mode that no radio button gives.
int ChoiceOfRepeatMode(int mode);
constexpr bool ModeHasCount(int mode) { return mode == 12 || mode == 8; }

inline constexpr std::u16string_view kApplicationFilter =
    u"Application Files (*.exe)|*.exe|Application Files (*.com)|*.com|Application Files (*.bat)|*.bat|All Files "
    u"(*.*)|*.*||";
inline constexpr std::u16string_view kApplicationExtension = u"EXE";
// The file name of a path cut at its last ".".
std::u16string ApplicationName(std::u16string_view path);

// The demonstration videos, by category button.
inline constexpr std::u16string_view kVideoAirThrough = u"M_mouse_Air_through.MP4";
inline constexpr std::u16string_view kVideo3dSteering = u"M_mouse_3D_steering.MP4";

// What the window does for the assignment.
class AssignView {
 public:
  virtual ~AssignView() = default;
  // Prompt kind 448, or message 10 where the language file replaced the English texts.
  virtual void RefuseNoLeftButton() = 0;
  // Prompt kind 469 seeded with the current row; the chosen row, nothing on Cancel.
  virtual std::optional<int> AskSingleFunction(int currentRow) = 0;
  struct MacroAnswer {
    std::u16string name;
    int choice = -1;
    int count = 0;
  };
  // Prompt kind 470.
  virtual std::optional<MacroAnswer> AskMacro(std::u16string_view path, int choice, int count) = 0;
  // The file-open dialog for programs, starting at the stored path.
  virtual std::optional<std::u16string> AskApplication(std::u16string_view storedPath) = 0;
  virtual void SetButtonLabel(int button, int category, std::u16string_view text, bool select) = 0;
  // The selected hot spot's look; -1 for none.
  virtual void ShowSelectedButton(int previous, int button) = 0;
  // The six category buttons: 1115-1118 with `assign`, 1117 also needs `factory`, the videos
  // with `videos`.
  virtual void EnableCategoryButtons(bool assign, bool factory, bool videos) = 0;
  virtual void ShowPopup() = 0;
  virtual void HidePopup() = 0;
};

struct AssignDeps {
  CIcTessel& tessel;
  DeviceSession& session;
  RegistryStore& store;
  FileSeam& files;
  MessageService& messages;
  ShellSeam& shell;
  WindowServices& windows;
  Clock& clock;
  AssignView& view;
  Hwnd window;
};

class ButtonAssignment {
 public:
  explicit ButtonAssignment(AssignDeps deps) : d_(deps) {}

  void Select(int i);
  void ClearSelection();
  int selected() const { return selected_; }
  // Category of the selected button's label; kLabelNone when none is selected.
  int selectedCategory() const { return selectedCategory_; }

  // Applies the left-button rule (refusing with the view); with `commit`, puts the row into the
  // shadow. True when allowed.
  bool WriteRow(int p, int i, int row, bool commit);
  void RefreshLabels(int p);

  // The category commands on the selected button of the current profile.
  void AssignMacro();
  void AssignSingle();
  void ResetToFactory();
  void AssignApplication();
  void ShowVideo(std::u16string_view file);

  // Timer 2310: one macro cell per tick.
  void OnTimer(std::uint32_t id);
  bool seriesRunning() const { return series_.running; }

 private:
  struct MacroSeries {
    bool running = false;
    int profile = 0, button = 0, mode = 0, count = 0, length = 0;
    std::u16string name;
    std::array<std::uint16_t, kSlotSize> cells{};
    std::array<std::uint8_t, kSlotSize> values{};
    // What the mouse held before, where the shadow knew it, to put back after a failure.
    std::array<std::int16_t, kSlotSize> before{};
    int cellCount = 0, cursor = 0;
  };

  bool Ready() const;
  void Relabel(int p, int i, int category, std::u16string_view text);
  void UpdateModified(int p);
  void EnableForSelection();
  bool WriteThrough(int address, int value);
  void FinishMacro(bool ok);
  void RestoreSlot(int written);

  AssignDeps d_;
  int selected_ = kNoButton;
  int selectedCategory_ = kLabelNone;
  MacroSeries series_;
};

}  // namespace halvard
