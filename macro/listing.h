// The text of the macro list: key and opcode names in the keyboard language of the system, the
// text of every instruction kind, the delay column and the kind icons.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace halvard {

// The system's keyboard language, read once at start-up.
struct KeyboardLanguage {
  std::uint16_t primary = 9;      // bits 0-9 of the language id
  std::uint16_t subLanguage = 1;  // bits 10-15
  bool altGr = false;
  static KeyboardLanguage FromLanguageId(std::uint16_t id);
};

// The words of the list that the language tables may replace.
struct MacroTexts {
  std::u16string secondWord = u"sec";
  std::u16string millisecondWord = u"ms";
  std::u16string commandNames[22];  // empty: the command table's English name
  std::u16string columnNumber = u"NO.";
  std::u16string columnInstruction = u"INSTRUCTION";
  std::u16string columnDelay = u"DELAY";
};

// Process-wide, set once at start-up.
const KeyboardLanguage& ActiveKeyboardLanguage();
void SetKeyboardLanguage(const KeyboardLanguage& language);
const MacroTexts& ActiveMacroTexts();
void SetMacroTexts(const MacroTexts& texts);

enum class KeyNameMode { kInstruction, kKey };

// Codes 0x100-0x106 name the 0x83 sub-operations 0-6; anything above is empty.
std::u16string_view KeyName(KeyNameMode mode, int code, const KeyboardLanguage& language = ActiveKeyboardLanguage());

// The command's name as the list shows it.
std::u16string_view CommandName(int number);

// Appends into a fixed, terminated buffer; what does not fit is cut.
class FixedText {
 public:
  explicit FixedText(std::span<char16_t> buffer) : buf_(buffer) { Terminate(); }
  FixedText& operator<<(std::u16string_view s);
  FixedText& operator<<(long long n);
  std::u16string_view View() const { return {buf_.data(), len_}; }
  // Characters that still fit before the terminator.
  std::size_t Room() const { return buf_.empty() ? 0 : buf_.size() - 1 - len_; }

 private:
  void Terminate() {
    if (!buf_.empty()) buf_[len_] = u'\0';
  }
  std::span<char16_t> buf_;
  std::size_t len_ = 0;
};

// The row text of an instruction (opcode and up to five operand bytes). `targetLine` is the
// 1-based line of a jump's target row, or 0 for "??". `extendedKeys` tells whether 0x6F and 0xEF
// carry a key code.
void RenderRow(const std::uint8_t (&code)[6], int targetLine, bool extendedKeys, FixedText& out);
std::u16string RenderRow(const std::uint8_t (&code)[6], int targetLine, bool extendedKeys = true);

// The DELAY cell: "250ms" up to 1000 ms, else tenths of a second, "1.5sec".
void DelayText(int ms, FixedText& out);
std::u16string DelayText(int ms);

// The icon kind, 1-15.
int KindOf(const std::uint8_t (&code)[6]);

// The 36 conditions and 63 assignment forms, "" beyond them.
void ConditionText(int index, int value, FixedText& out);
void SetFormText(int index, int value, FixedText& out);

}  // namespace halvard
