#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/tray_texts.h"

namespace halvard {
namespace {

// A language file: byte-order mark, 157 lines of the main program, the monitor's lines.
std::vector<std::uint8_t> LanguageFile(const std::vector<std::u16string>& monitorLines, int before = 157) {
  std::u16string text;
  for (int i = 0; i < before; ++i) text += u"main program line\r\n";
  for (const auto& l : monitorLines) text += l + u"\r\n";
  std::vector<std::uint8_t> bytes{0xFF, 0xFE};
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

const std::vector<std::u16string> kGerman = {u"Konfiguration laden", u"Vornex-Website", u"OSD einschalten",
                                             u"Beenden", u"OSD ausschalten", u"German.txt"};

TEST(TrayTexts, LanguageFileByLanguageId) {
  const std::pair<std::uint16_t, std::u16string_view> cases[] = {
      {0x0407, u"German.txt"},        {0x0807, u"German.txt"},  {0x0804, u"SimpleChinese.txt"},
      {0x0404, u"TradionalChinese.txt"}, {0x0C04, u"TradionalChinese.txt"}, {0x0405, u"Czech.txt"},
      {0x0416, u"Brasil.txt"},        {0x041F, u"Turkish.txt"}, {0x0411, u"Japanese.txt"},
      {0x0409, u""},                  {0x0413, u""},
  };
  for (auto [id, name] : cases) EXPECT_EQ(LanguageFileFor(id), name) << std::hex << id;
}

TEST(TrayTexts, ReadsTheMonitorLinesOrFallsBackToEnglish) {
  const TrayTexts english = EnglishTrayTexts();
  EXPECT_EQ(english[kTextDisableOsd], u"Disable OSD");
  EXPECT_EQ(english[kTextEnableOsd], u"Enable OSD");
  const TrayTexts german = ParseTrayTexts(LanguageFile(kGerman), u"German.txt");
  EXPECT_EQ(german[kTextLoad], u"Konfiguration laden");
  EXPECT_EQ(german[kTextDisableOsd], u"OSD ausschalten");

  auto wrongCheck = kGerman;
  wrongCheck[5] = u"French.txt";
  auto longText = kGerman;
  longText[1] = std::u16string(80, u'w');
  std::vector<std::uint8_t> noMark = LanguageFile(kGerman);
  noMark[0] = 0xFE;
  const std::pair<const char*, std::vector<std::uint8_t>> bad[] = {
      {"wrong check line", LanguageFile(wrongCheck)},
      {"a line short", LanguageFile(kGerman, 156)},
      {"no byte-order mark", noMark},
      {"empty", {}},
      {"no monitor lines", LanguageFile({})},
  };
  for (const auto& [what, bytes] : bad) EXPECT_EQ(ParseTrayTexts(bytes, u"German.txt"), english) << what;
  EXPECT_EQ(ParseTrayTexts(LanguageFile(longText), u"German.txt")[1], std::u16string(63, u'w'));
}

TEST(TrayTexts, LooksForTheFileBesideTheMonitorUnderLanguages) {
  MemoryFiles files;
  files.programPath = u"C:\\Halvard\\HalvardMonitor.exe";
  EXPECT_EQ(LoadTrayTexts(files, 0x0407, 0x0409), EnglishTrayTexts()) << "no file";
  files.Put(u"C:\\Halvard\\Languages\\German.txt", LanguageFile(kGerman));
  EXPECT_EQ(LoadTrayTexts(files, 0x0407, 0x0409)[kTextExit], u"Beenden");
  // 0 and a missing value (-1, low word 0xFFFF) take the system's language.
  EXPECT_EQ(LoadTrayTexts(files, 0, 0x0407)[kTextExit], u"Beenden");
  EXPECT_EQ(LoadTrayTexts(files, -1, 0x0407)[kTextExit], u"Beenden");
  EXPECT_EQ(LoadTrayTexts(files, -1, 0x0409)[kTextExit], u"Exit");
  // ".\" comes first.
  auto local = kGerman;
  local[3] = u"Ende";
  files.Put(u".\\German.txt", LanguageFile(local));
  EXPECT_EQ(LoadTrayTexts(files, 0x0407, 0x0409)[kTextExit], u"Ende");
}

}  // namespace
}  // namespace halvard
