// The prompt window's decisions: what each kind shows and asks, the name and count fields, the
// single-function list and the macro list with its repeat choice.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_seam.h"

namespace halvard {

enum PromptKind : int {
  kPromptNewProfile = 113,
  kPromptDeleteProfile = 115,
  kPromptNewMacro = 125,
  kPromptReset = 248,
  kPromptMessage = 251,
  kPromptConfirm = 287,
  kPromptSavePerGame = 353,
  kPromptBattleMode = 447,
  kPromptLeftButton = 448,
  kPromptSingleKey = 469,
  kPromptMacro = 470,
  kPromptRepeatCount = 474,
};

enum class PromptInput { kNone, kName, kCount, kFunctionList, kMacroList };

struct PromptKindInfo {
  int kind;
  bool okOnly;  // one button, showing YES
  PromptInput input;
};

// Every kind; nullopt for a number that is not a prompt kind.
std::optional<PromptKindInfo> PromptKindOf(int kind);
std::span<const PromptKindInfo> PromptKinds();

inline constexpr int kPromptResultOk = 1;
inline constexpr int kPromptResultCancel = 2;
inline constexpr std::size_t kPromptTextChars = 160;
inline constexpr std::size_t kPromptNameChars = 20;
inline constexpr std::size_t kPromptCountChars = 3;

// The name field keeps at most 20 characters; OK copies at most 159 into the text.
std::u16string FilterName(std::u16string_view typed);

// The count field after a change: at most three characters; above 255 becomes "255"; a leading
// zero or anything not a number (other than "0") loses its last character.
std::u16string FilterCount(std::u16string_view text);
// The value on OK; an empty field is 0.
int CountValue(std::u16string_view text);
// The field's first text: the value clamped to 0..255.
std::u16string CountSeed(int value);

// The single-function list: positions 0-5 are function rows 1-6, positions 6-10 rows 8-12.
inline constexpr int kFunctionListRows[11] = {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12};
int FunctionListPosition(int row);  // -1 when the row is not listed
int FunctionListRow(int position);  // -1 outside the list

// The macro list of kind 470: the macros of the folder, the selected one, and the text.
struct MacroChoiceList {
  std::vector<std::u16string> names;  // at most 50, in the folder's order
  int selected = -1;
  std::u16string text;  // the current macro, empty when it is not in the list
};
// `macroPath` is the folder, "\", and optionally the current macro's file name.
MacroChoiceList OpenMacroChoice(FileSeam& files, std::u16string_view macroPath);

// The repeat radio buttons, top to bottom.
enum RepeatChoice : int { kChoiceOnce = 0, kChoiceMultiple = 1, kChoiceWhileHeld = 2, kChoiceUntilNext = 3 };
// The language tooltip of each repeat radio button, top to bottom.
inline constexpr int kRepeatChoiceTooltips[4] = {33, 36, 34, 35};
// Multiple Times asks for a count with a nested prompt of kind 474.
constexpr bool ChoiceAsksForCount(int choice) { return choice == kChoiceMultiple; }

}  // namespace halvard
