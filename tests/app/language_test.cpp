#include "app/language.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace halvard {
namespace {

TEST(LanguageSelection, PrimaryAndSubLanguagePickFileSuffixAndAltGr) {
  struct Case {
    std::uint16_t id;
    const char16_t* file;
    const char16_t* suffix;
    bool altGr;
  };
  const Case cases[] = {
      {0x0809, u"English.txt", u"en", true},         {0x0409, u"English.txt", u"en", false},
      {0x0804, u"SimpleChinese.txt", u"sc", false},  {0x0404, u"TradionalChinese.txt", u"tc", false},
      {0x0C04, u"TradionalChinese.txt", u"tc", false}, {0x0416, u"Brasil.txt", u"br", true},
      {0x0816, u"Brasil.txt", u"br", true},          {0x0413, u"English.txt", u"en", false},
      {0x0407, u"German.txt", u"de", true},          {0x0405, u"Czech.txt", u"cz", true},
      {0x0408, u"Greek.txt", u"gk", true},           {0x0C0A, u"Spanish.txt", u"sp", true},
      {0x040C, u"French.txt", u"fr", true},          {0x0410, u"Italian.txt", u"it", true},
      {0x0411, u"Japanese.txt", u"jp", false},       {0x0412, u"Korean.txt", u"ko", false},
      {0x0415, u"Polish.txt", u"po", true},          {0x0419, u"Russian.txt", u"ru", false},
      {0x041F, u"Turkish.txt", u"tk", true},
  };
  for (const Case& c : cases) {
    LanguageSelection s = SelectLanguage(c.id);
    EXPECT_EQ(s.languageFile, c.file) << std::hex << c.id;
    EXPECT_EQ(s.suffix, c.suffix) << std::hex << c.id;
    EXPECT_EQ(s.altGr, c.altGr) << std::hex << c.id;
  }
  LanguageSelection uk = SelectLanguage(0x0809);
  EXPECT_EQ(uk.primary, 9);
  EXPECT_EQ(uk.subLanguage, 2);
  EXPECT_EQ(SelectLanguage(0x0407).HelpDocument(), u"Information_de.html");
}

TEST(LanguageTables, EnglishDefaults) {
  const LanguageTables& t = LanguageTables::Defaults();
  EXPECT_EQ(std::u16string(t.Font(1).face), u"Arial Rounded MT Bold");
  EXPECT_EQ(t.Font(1).height, 20);
  EXPECT_EQ(t.Font(1).weight, 700);
  EXPECT_EQ(t.Font(5).weight, 400);
  EXPECT_EQ(t.Tooltip(0), u"Vornex Halvard Gaming Mouse");
  EXPECT_EQ(t.Tooltip(2), u"");
  EXPECT_EQ(t.Tooltip(44), u"Applictaion Laucher Function");
  EXPECT_EQ(t.Tooltip(65), u"Delete a profile");
  EXPECT_EQ(t.Tooltip(66), u"");
  EXPECT_EQ(t.Message(0), u"TOO MANY INSTANCES!");
  EXPECT_EQ(t.Message(19), u"Macro exist!");
  EXPECT_EQ(t.Caption(), u"Vornex Halvard MESSAGE");
  EXPECT_EQ(t.Unit(0), u"sec");
  EXPECT_EQ(t.Unit(1), u"ms");
  EXPECT_EQ(t.FunctionName(13), u"LAUNCH");
  EXPECT_EQ(t.CommandName(19), u"Maxmize IE/Media Player");
  EXPECT_EQ(t.CommandName(21), u"Commands");
  EXPECT_EQ(t.LedModeTip(1), u"Switch to Battle LED Mode");
  EXPECT_EQ(t.Spare(), u"");
}

std::vector<std::uint8_t> Bytes(const std::u16string& text, bool bom = true) {
  std::string s = LanguageFileBytes(text);
  if (!bom) s.erase(0, 2);
  return {s.begin(), s.end()};
}

// A complete file whose every table line is marked, so any text can be traced to its line.
std::u16string MarkedFile(std::u16string_view name) {
  auto lines = LanguageTables::Defaults().Lines();
  for (int i = 0; i < kTableLines; ++i)
    if (i >= 28) lines[i] = u"L" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + lines[i];
  LanguageTables t;
  for (int i = 0; i < kTableLines; ++i) t.StoreLine(i, lines[i]);
  return LanguageFileText(t, DefaultTrayTexts(), name);
}

TEST(LanguageFile, LoadsEveryLineIntoItsSlot) {
  LanguageTables t;
  ASSERT_TRUE(LoadLanguageFile(Bytes(MarkedFile(u"Test.txt")), u"Test.txt", t));
  EXPECT_EQ(t.Tooltip(0).substr(0, 2), u"LD");  // line index 29
  EXPECT_EQ(t.Message(19).substr(2), u"Macro exist!");
  EXPECT_EQ(t.LedModeTip(1).substr(2), u"Switch to Battle LED Mode");
  EXPECT_EQ(t.Font(6).weight, 500);
}

TEST(LanguageFile, AnyFailureGivesEveryEnglishDefault) {
  const std::u16string good = MarkedFile(u"German.txt");
  LanguageTables t;
  // No byte-order mark.
  EXPECT_FALSE(LoadLanguageFile(Bytes(good, false), u"German.txt", t));
  EXPECT_EQ(t.Tooltip(3), u"Close");
  // A last line naming another file: even the sections read correctly are English.
  EXPECT_FALSE(LoadLanguageFile(Bytes(good), u"French.txt", t));
  EXPECT_EQ(t.Tooltip(0), u"Vornex Halvard Gaming Mouse");
  EXPECT_EQ(t.Message(19), u"Macro exist!");
  // Too few lines.
  std::u16string shortFile = good.substr(0, good.find(u"Disable OSD"));
  EXPECT_FALSE(LoadLanguageFile(Bytes(shortFile), u"German.txt", t));
  EXPECT_EQ(t.Caption(), u"Vornex Halvard MESSAGE");
  // An odd byte at the end of an otherwise short file.
  auto odd = Bytes(shortFile);
  odd.push_back(0x41);
  EXPECT_FALSE(LoadLanguageFile(odd, u"German.txt", t));
  EXPECT_FALSE(LoadLanguageFile({}, u"German.txt", t));
  EXPECT_TRUE(LoadLanguageFile(Bytes(good), u"German.txt", t));
}

TEST(LanguageFile, LongTextsAreCutToTheirSlots) {
  // Tooltip 0 (line index 29) of 300 characters: cut to 255 and a terminator.
  auto lines = LanguageTables::Defaults().Lines();
  lines[29] = std::u16string(300, u't');
  lines[95] = std::u16string(100, u'm');
  lines[117] = u"seconds-long";
  std::u16string file;
  for (int i = 0; i < kTableLines; ++i) file += lines[i] + u"\r\n";
  for (auto& l : DefaultTrayTexts()) file += l + u"\r\n";
  file += u"X.txt\r\n";
  LanguageTables t;
  ASSERT_TRUE(LoadLanguageFile(Bytes(file), u"X.txt", t));
  EXPECT_EQ(t.Tooltip(0), std::u16string(255, u't'));
  EXPECT_EQ(t.Message(0), std::u16string(79, u'm'));
  EXPECT_EQ(t.Unit(0), u"seconds-l");
}

// Lines around the 2048-byte read: each text ends at its own CR LF, a line past 1023
// characters is cut there and the rest of it skipped.
TEST(LanguageFile, EveryTextEndsAtItsOwnLineEndWhateverItsLength) {
  for (std::size_t length : {1022u, 1023u, 1024u, 3000u}) {
    for (bool bom : {true, false}) {
      SCOPED_TRACE(testing::Message() << length << " characters, byte-order mark " << bom);
      std::u16string text = std::u16string(length, u'x') + u"\r\nnext\r\n";
      auto bytes = Bytes(text, bom);
      std::size_t pos = bom ? 2 : 0;
      std::u16string line;
      ASSERT_TRUE(ReadLanguageLine(bytes, pos, line));
      EXPECT_EQ(line, std::u16string(std::min<std::size_t>(length, kMaxLineChars), u'x'));
      ASSERT_TRUE(ReadLanguageLine(bytes, pos, line));
      EXPECT_EQ(line, u"next");
      EXPECT_FALSE(ReadLanguageLine(bytes, pos, line));
    }
    // The same inside a whole file: the tooltip after the long one keeps its text.
    auto lines = LanguageTables::Defaults().Lines();
    lines[29] = std::u16string(length, u'x');
    lines[30] = u"after";
    std::u16string file;
    for (int i = 0; i < kTableLines; ++i) file += lines[i] + u"\r\n";
    for (auto& l : DefaultTrayTexts()) file += l + u"\r\n";
    file += u"X.txt\r\n";
    LanguageTables t;
    EXPECT_TRUE(LoadLanguageFile(Bytes(file), u"X.txt", t)) << length;
    EXPECT_EQ(t.Tooltip(0), std::u16string(kTooltipChars - 1, u'x')) << length;
    EXPECT_EQ(t.Tooltip(1), u"after") << length;
  }
}

TEST(LanguageFile, NumbersUseTheUsualDecimalConversion) {
  EXPECT_EQ(ParseDecimal(u"  -17abc"), -17);
  EXPECT_EQ(ParseDecimal(u"+8"), 8);
  EXPECT_EQ(ParseDecimal(u"x9"), 0);
  EXPECT_EQ(ParseDecimal(u""), 0);
  EXPECT_EQ(ParseDecimal(u"99999999999999"), 2147483647);
  EXPECT_EQ(ParseDecimal(u"-99999999999999"), -2147483647 - 1);
}

TEST(LanguageFile, ShippedFilesLoadAndCarryTheirTexts) {
  for (auto [file, tooltip, message] :
       {std::tuple{"English.txt", u"Delete a profile", u"Macro exist!"},
        std::tuple{"German.txt", u"Profil l\u00f6schen", u"Makro existiert bereits!"}}) {
    std::ifstream in(std::string(HALVARD_LANG_DIR) + "/" + file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string n = file;
    LanguageTables t;
    ASSERT_TRUE(LoadLanguageFile(bytes, std::u16string(n.begin(), n.end()), t)) << file;
    EXPECT_EQ(t.Tooltip(65), tooltip);
    EXPECT_EQ(t.Message(19), message);
    EXPECT_EQ(t.CommandName(21).empty(), false);
  }
}

}  // namespace
}  // namespace halvard
