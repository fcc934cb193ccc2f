// langfile: writes the program's language files.
//   langfile english OUT            English.txt from the built-in texts
//   langfile translate IN OUT NAME  a translation: IN is UTF-8, one text per line, the 157 table
//                                   lines and the five tray lines; NAME becomes line 163
// Every file written is read back with the program's own loader before the tool succeeds.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/language.h"

namespace {

using halvard::kTableLines;
using halvard::kTrayTextCount;

bool DecodeUtf8(const std::string& in, std::u16string& out) {
  out.clear();
  for (std::size_t i = 0; i < in.size();) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    char32_t cp;
    int extra;
    if (c < 0x80) { cp = c; extra = 0; }
    else if ((c & 0xE0) == 0xC0) { cp = c & 0x1F; extra = 1; }
    else if ((c & 0xF0) == 0xE0) { cp = c & 0x0F; extra = 2; }
    else if ((c & 0xF8) == 0xF0) { cp = c & 0x07; extra = 3; }
    else return false;
    for (int k = 1; k <= extra; ++k) {
      if (i + k >= in.size()) return false;
      unsigned char n = static_cast<unsigned char>(in[i + k]);
      if ((n & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (n & 0x3F);
    }
    i += extra + 1;
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return true;
}

int Write(const std::string& path, const std::u16string& text, const std::u16string& name) {
  std::string bytes = halvard::LanguageFileBytes(text);
  std::ofstream f(path, std::ios::binary | std::ios::trunc);
  if (!f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
    std::fprintf(stderr, "langfile: cannot write %s\n", path.c_str());
    return 1;
  }
  halvard::LanguageTables check;
  std::vector<std::uint8_t> raw(bytes.begin(), bytes.end());
  if (!halvard::LoadLanguageFile(raw, name, check)) {
    std::fprintf(stderr, "langfile: %s does not load back\n", path.c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "english") {
    const std::u16string name = u"English.txt";
    return Write(argv[2],
                 halvard::LanguageFileText(halvard::LanguageTables::Defaults(), halvard::DefaultTrayTexts(), name),
                 name);
  }
  if (argc == 5 && std::string(argv[1]) == "translate") {
    std::ifstream in(argv[2], std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "langfile: cannot read %s\n", argv[2]);
      return 1;
    }
    std::vector<std::u16string> lines;
    std::string line;
    while (std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::u16string wide;
      if (!DecodeUtf8(line, wide)) {
        std::fprintf(stderr, "langfile: %s line %zu is not UTF-8\n", argv[2], lines.size() + 1);
        return 1;
      }
      lines.push_back(wide);
    }
    if (lines.size() != static_cast<std::size_t>(kTableLines + kTrayTextCount)) {
      std::fprintf(stderr, "langfile: %s has %zu lines, not %d\n", argv[2], lines.size(), kTableLines + kTrayTextCount);
      return 1;
    }
    std::string n = argv[4];
    std::u16string name(n.begin(), n.end());
    std::u16string text;
    for (const auto& l : lines) text += l + u"\r\n";
    text += name + u"\r\n";
    return Write(argv[3], text, name);
  }
  std::fprintf(stderr, "usage: langfile english OUT | langfile translate IN OUT NAME\n");
  return 2;
}
