// The user-interface language: the choice made from the system's default language, and the
// process-wide text tables that every window of the main program takes its texts from, filled
// from the language file or from the built-in English defaults, never from a mix of both.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace halvard {

struct LanguageSelection {
  std::uint16_t primary = 9;    // bits 0-9 of the language id
  std::uint16_t subLanguage = 1;  // bits 10-15
  bool altGr = false;
  std::u16string suffix = u"en";
  std::u16string languageFile = u"English.txt";
  std::u16string HelpDocument() const { return u"Information_" + suffix + u".html"; }
};

LanguageSelection SelectLanguage(std::uint16_t languageId);

inline constexpr int kFontCount = 7;
inline constexpr int kTooltipCount = 66;
inline constexpr int kMessageCount = 20;
inline constexpr int kUnitCount = 2;
inline constexpr int kFunctionNameCount = 14;
inline constexpr int kCommandNameCount = 22;  // 21 commands and the "Commands" heading
inline constexpr int kLedModeTipCount = 2;
inline constexpr int kTrayTextCount = 5;

// Slot sizes in characters, terminator included.
inline constexpr int kFontFaceChars = 40;
inline constexpr int kTooltipChars = 256;
inline constexpr int kMessageChars = 80;
inline constexpr int kCaptionChars = 128;
inline constexpr int kUnitChars = 10;
inline constexpr int kNameChars = 40;

// Lines of a language file: the tables fill 1-157, five spare lines follow, and line 163 names
// the file itself.
inline constexpr int kTableLines = 157;
inline constexpr int kLanguageFileLines = 163;
inline constexpr int kMaxLineChars = 1023;

struct FontSpec {
  char16_t face[kFontFaceChars] = {};
  std::int32_t height = 0, width = 0, weight = 0;
};

class LanguageTables {
 public:
  static const LanguageTables& Defaults();

  const FontSpec& Font(int i) const { return fonts_[Clamp(i, kFontCount)]; }
  std::u16string_view Tooltip(int i) const { return Text(tooltips_, i); }
  std::u16string_view Message(int n) const { return Text(messages_, n); }
  std::u16string_view Caption() const { return caption_; }
  std::u16string_view Unit(int i) const { return Text(units_, i); }
  std::u16string_view FunctionName(int row) const { return Text(functions_, row); }
  std::u16string_view CommandName(int row) const { return Text(commands_, row); }
  std::u16string_view LedModeTip(int i) const { return Text(ledTips_, i); }
  std::u16string_view Spare() const { return spare_; }

  // The file's lines 1-157 in order (for writing a language file).
  std::array<std::u16string, kTableLines> Lines() const;

  // Stores line `index` (0-based) of a language file into its slot, cut to the slot.
  void StoreLine(int index, std::u16string_view line);

 private:
  static int Clamp(int i, int n) { return i >= 0 && i < n ? i : 0; }
  template <std::size_t N, std::size_t C>
  static std::u16string_view Text(const std::array<std::array<char16_t, C>, N>& table, int i) {
    if (i < 0 || static_cast<std::size_t>(i) >= N) return {};
    return table[i].data();
  }

  std::array<FontSpec, kFontCount> fonts_{};
  std::int32_t number_ = 0;
  std::array<std::array<char16_t, kTooltipChars>, kTooltipCount> tooltips_{};
  std::array<std::array<char16_t, kMessageChars>, kMessageCount> messages_{};
  char16_t spare_[kMessageChars] = {};
  char16_t caption_[kCaptionChars] = {};
  std::array<std::array<char16_t, kUnitChars>, kUnitCount> units_{};
  std::array<std::array<char16_t, kNameChars>, kFunctionNameCount> functions_{};
  std::array<std::array<char16_t, kNameChars>, kCommandNameCount> commands_{};
  std::array<std::array<char16_t, kNameChars>, kLedModeTipCount> ledTips_{};
};

// The monitor's five tray texts, the English ones by default.
std::array<std::u16string, kTrayTextCount> DefaultTrayTexts();

// One text line of a language file's UTF-16 bytes from byte `pos`: the units up to its CR LF (or
// the end), at most kMaxLineChars of them; `pos` moves past the line end. False at the end.
bool ReadLanguageLine(std::span<const std::uint8_t> bytes, std::size_t& pos, std::u16string& line);

// Reads a language file's bytes into `tables`. On any failure (no byte-order mark, a line that
// cannot be read, a last line that is not `fileName`) `tables` becomes the English defaults and
// the result is false.
bool LoadLanguageFile(std::span<const std::uint8_t> bytes, std::u16string_view fileName, LanguageTables& tables);

// Writes a language file: BOM, the 157 table lines, the five tray lines, the file's name.
std::u16string LanguageFileText(const LanguageTables& tables, const std::array<std::u16string, kTrayTextCount>& tray,
                                std::u16string_view fileName);
std::string LanguageFileBytes(std::u16string_view text);  // UTF-16LE with BOM

// The process-wide tables, filled once at start-up.
const LanguageTables& ActiveLanguage();
void SetActiveLanguage(const LanguageTables& tables);

// Decimal conversion of a language-file number: leading blanks, optional sign, digits; stops at
// the first other character; saturates at the 32-bit limits.
std::int32_t ParseDecimal(std::u16string_view text);

}  // namespace halvard
