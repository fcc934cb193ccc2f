#include "monitor/tray_texts.h"

#include <vector>

namespace halvard {

TrayTexts EnglishTrayTexts() {
  return {u"Load Configuration", u"Go to Vornex Website", u"Enable OSD", u"Exit", u"Disable OSD"};
}

std::u16string_view LanguageFileFor(std::uint16_t id) {
  switch (id & 0x3FF) {
    case 0x04: return id >= 0x0800 && id <= 0x0BFF ? u"SimpleChinese.txt" : u"TradionalChinese.txt";
    case 0x05: return u"Czech.txt";
    case 0x07: return u"German.txt";
    case 0x08: return u"Greek.txt";
    case 0x0A: return u"Spanish.txt";
    case 0x0C: return u"French.txt";
    case 0x10: return u"Italian.txt";
    case 0x11: return u"Japanese.txt";
    case 0x12: return u"Korean.txt";
    case 0x15: return u"Polish.txt";
    case 0x16: return u"Brasil.txt";
    case 0x19: return u"Russian.txt";
    case 0x1F: return u"Turkish.txt";
    default: return {};
  }
}

TrayTexts ParseTrayTexts(std::span<const std::uint8_t> bytes, std::u16string_view fileName) {
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return EnglishTrayTexts();
  std::u16string text;
  text.reserve((bytes.size() - 2) / 2);
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  std::size_t pos = 0;
  // The last line may end with the text instead of CR LF.
  auto nextLine = [&](std::u16string* line) {
    if (pos >= text.size()) return false;
    std::size_t end = text.find(u"\r\n", pos);
    if (end == std::u16string::npos) end = text.size();
    if (line) *line = text.substr(pos, end - pos);
    pos = end + 2;
    return true;
  };
  for (int i = 0; i < kTrayTextFirstLine; ++i)
    if (!nextLine(nullptr)) return EnglishTrayTexts();
  TrayTexts texts;
  for (auto& t : texts) {
    if (!nextLine(&t)) return EnglishTrayTexts();
    if (t.size() > kTrayTextChars) t.resize(kTrayTextChars);
  }
  std::u16string check;
  if (!nextLine(&check) || check != fileName) return EnglishTrayTexts();
  return texts;
}

TrayTexts LoadTrayTexts(FileSeam& files, std::int32_t languageValue, std::uint16_t systemDefault) {
  // Only the low word is a language id; a missing value reads as 0xFFFF there.
  std::uint16_t id = static_cast<std::uint16_t>(languageValue);
  if (id == 0 || id == 0xFFFF) id = systemDefault;
  const std::u16string name(LanguageFileFor(id));
  if (name.empty()) return EnglishTrayTexts();
  std::u16string folder = files.ProgramPath();
  folder.resize(folder.rfind(u'\\') == std::u16string::npos ? 0 : folder.rfind(u'\\') + 1);
  for (const std::u16string& path : {u".\\" + name, name, folder + u"Languages\\" + name}) {
    if (!files.CanOpenForReading(path)) continue;
    std::vector<std::uint8_t> bytes;
    if (!files.ReadFile(path, bytes, 4u << 20)) return EnglishTrayTexts();
    return ParseTrayTexts(bytes, name);
  }
  return EnglishTrayTexts();
}

}  // namespace halvard
