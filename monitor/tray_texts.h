// The tray menu's five texts: English, or the monitor's lines of the language file that the
// language id chooses.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/file_seam.h"

namespace halvard {

inline constexpr std::size_t kTrayTextChars = 63;
inline constexpr int kTrayTextCount = 5;
// Lines of the main program before the monitor's own.
inline constexpr int kTrayTextFirstLine = 157;
using TrayTexts = std::array<std::u16string, kTrayTextCount>;

enum TrayText { kTextLoad = 0, kTextWebsite = 1, kTextEnableOsd = 2, kTextExit = 3, kTextDisableOsd = 4 };

TrayTexts EnglishTrayTexts();

// The language file's name for a language id; empty for English and every language without one.
std::u16string_view LanguageFileFor(std::uint16_t languageId);

// The texts from the file's monitor lines; English when the file is missing, has no byte-order
// mark, is too short or its check line is not its own name.
TrayTexts ParseTrayTexts(std::span<const std::uint8_t> bytes, std::u16string_view fileName);

// "Language" 0 or 0xFFFF means the system's default; the file is looked for as ".\name", as
// given, then in the monitor's folder under "Languages".
TrayTexts LoadTrayTexts(FileSeam& files, std::int32_t languageValue, std::uint16_t systemDefault);

}  // namespace halvard
