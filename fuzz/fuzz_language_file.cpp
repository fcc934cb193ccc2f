// Language files of any content: the tables hold either the file's texts or every English
// default, and every slot stays terminated within its size.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "app/language.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace halvard;
  LanguageTables t;
  bool ok = LoadLanguageFile(std::span<const std::uint8_t>(data, size), u"Fuzz.txt", t);
  const LanguageTables& d = LanguageTables::Defaults();
  if (!ok) {
    // Nothing in between: every text is the default one.
    for (int i = 0; i < kTooltipCount; ++i)
      if (t.Tooltip(i) != d.Tooltip(i)) std::abort();
    for (int i = 0; i < kMessageCount; ++i)
      if (t.Message(i) != d.Message(i)) std::abort();
    if (t.Caption() != d.Caption() || t.CommandName(21) != d.CommandName(21)) std::abort();
  }
  for (int i = 0; i < kTooltipCount; ++i)
    if (t.Tooltip(i).size() >= static_cast<std::size_t>(kTooltipChars)) std::abort();
  for (int i = 0; i < kMessageCount; ++i)
    if (t.Message(i).size() >= static_cast<std::size_t>(kMessageChars)) std::abort();
  for (int i = 0; i < kUnitCount; ++i)
    if (t.Unit(i).size() >= static_cast<std::size_t>(kUnitChars)) std::abort();
  if (t.Caption().size() >= static_cast<std::size_t>(kCaptionChars)) std::abort();
  return 0;
}
