#include "app/prompt_model.h"

#include <algorithm>
#include <array>

#include "macro/macro_file.h"
#include "platform/text.h"

namespace halvard {
namespace {

constexpr std::array<PromptKindInfo, 12> kKinds = {{
    {kPromptNewProfile, false, PromptInput::kName},
    {kPromptDeleteProfile, false, PromptInput::kNone},
    {kPromptNewMacro, false, PromptInput::kName},
    {kPromptReset, false, PromptInput::kNone},
    {kPromptMessage, true, PromptInput::kNone},
    {kPromptConfirm, false, PromptInput::kNone},
    {kPromptSavePerGame, false, PromptInput::kNone},
    {kPromptBattleMode, true, PromptInput::kNone},
    {kPromptLeftButton, true, PromptInput::kNone},
    {kPromptSingleKey, false, PromptInput::kFunctionList},
    {kPromptMacro, false, PromptInput::kMacroList},
    {kPromptRepeatCount, false, PromptInput::kCount},
}};

bool AllDigits(std::u16string_view s) {
  if (s.empty()) return false;
  for (char16_t c : s)
    if (c < u'0' || c > u'9') return false;
  return true;
}

}  // namespace

std::optional<PromptKindInfo> PromptKindOf(int kind) {
  for (const auto& k : kKinds)
    if (k.kind == kind) return k;
  return std::nullopt;
}

std::span<const PromptKindInfo> PromptKinds() { return kKinds; }

std::u16string FilterName(std::u16string_view typed) {
  return std::u16string(typed.substr(0, std::min(typed.size(), kPromptNameChars)));
}

std::u16string FilterCount(std::u16string_view text) {
  std::u16string t(text.substr(0, std::min(text.size(), kPromptCountChars)));
  if (t.empty()) return t;
  if (!AllDigits(t)) {
    t.pop_back();
    return t;
  }
  int value = 0;
  for (char16_t c : t) value = value * 10 + (c - u'0');
  if (value > 255) return u"255";
  int smallest = 1;
  for (std::size_t i = 1; i < t.size(); ++i) smallest *= 10;
  if (t.size() > 1 && value < smallest) t.pop_back();  // a leading zero
  return t;
}

int CountValue(std::u16string_view text) {
  int value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + (c - u'0');
  }
  return std::min(value, 255);
}

std::u16string CountSeed(int value) {
  std::u16string s;
  AppendDecimal(s, std::clamp(value, 0, 255));
  return s;
}

int FunctionListPosition(int row) {
  for (int i = 0; i < 11; ++i)
    if (kFunctionListRows[i] == row) return i;
  return -1;
}

int FunctionListRow(int position) { return position >= 0 && position < 11 ? kFunctionListRows[position] : -1; }

MacroChoiceList OpenMacroChoice(FileSeam& files, std::u16string_view macroPath) {
  MacroChoiceList list;
  std::u16string folder(macroPath);
  const std::size_t slash = folder.find_last_of(u'\\');
  const bool named = folder.size() >= 4 && AsciiLower(folder.substr(folder.size() - 4)) == u".mac" &&
                     slash != std::u16string::npos;
  if (named) {
    std::u16string file = folder.substr(slash + 1);
    list.text = file.substr(0, file.size() - 4);
    folder.resize(slash);
  } else if (!folder.empty() && folder.back() == u'\\') {
    folder.pop_back();
  }
  list.names = ListMacros(files, folder);
  for (std::size_t i = 0; i < list.names.size(); ++i)
    if (list.names[i] == list.text) list.selected = static_cast<int>(i);
  if (list.selected < 0) list.text.clear();
  return list;
}

}  // namespace halvard
