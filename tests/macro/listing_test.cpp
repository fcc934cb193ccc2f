#include "macro/listing.h"

#include <gtest/gtest.h>

namespace halvard {
namespace {

using C = std::uint8_t[6];

KeyboardLanguage Lang(std::uint16_t id) { return KeyboardLanguage::FromLanguageId(id); }

std::u16string Row(std::initializer_list<int> bytes, int line = 0, bool ext = true) {
  std::uint8_t c[6] = {};
  int i = 0;
  for (int b : bytes) c[i++] = static_cast<std::uint8_t>(b);
  return RenderRow(c, line, ext);
}

TEST(KeyNames, EnglishInstructionAndKeyModes) {
  const auto us = Lang(0x0409);
  auto in = [&](int code) { return std::u16string(KeyName(KeyNameMode::kInstruction, code, us)); };
  auto key = [&](int code) { return std::u16string(KeyName(KeyNameMode::kKey, code, us)); };
  EXPECT_EQ(in(0x00), u"<All-Keys-Up>");
  EXPECT_EQ(in(0x04), u"A");
  EXPECT_EQ(in(0x84), u"A");  // a release shows the press's name
  EXPECT_EQ(in(0x1E), u"1");
  EXPECT_EQ(in(0x27), u"0");
  EXPECT_EQ(in(0x28), u"Reture");
  EXPECT_EQ(in(0x32), u"`");
  EXPECT_EQ(in(0x45), u"F12");
  EXPECT_EQ(in(0x4B), u"Prior");
  EXPECT_EQ(in(0x62), u"Keypad-0");
  EXPECT_EQ(in(0x66), u"");
  EXPECT_EQ(in(0x6F), u"F20");
  EXPECT_EQ(in(0x76), u"Right Alt");
  EXPECT_EQ(in(0x7C), u"XButton 5");
  EXPECT_EQ(in(0x7E), u"Wheel Scroll");
  EXPECT_EQ(in(0xFE), u"Wheel Scroll");
  EXPECT_EQ(in(0x80), u"");
  EXPECT_EQ(in(0x81), u"<Pause>");
  EXPECT_EQ(in(0x82), u"<Loop> End");
  EXPECT_EQ(in(0x83), u"Absoluted Move: ");
  EXPECT_EQ(in(0xFF), u"Script Stop");
  EXPECT_EQ(in(0x102), u"GOTO ");
  EXPECT_EQ(in(0x106), u"Return");
  EXPECT_EQ(in(0x107), u"");
  EXPECT_EQ(key(0x00), u"");
  EXPECT_EQ(key(0x7F), u"");
  EXPECT_EQ(key(0x87), u"<");
  EXPECT_EQ(key(0x88), u"");
  EXPECT_EQ(key(0x8B), u"No Switch JP-IME");
  EXPECT_EQ(key(0xE0), u"Left Control");
  EXPECT_EQ(key(0xE7), u"Right WindowKey");
  EXPECT_EQ(key(0x78), u"L-Button");
}

TEST(KeyNames, LanguageVariants) {
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x04, Lang(0x040C)), u"Q");   // French
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x84, Lang(0x040C)), u"Q");
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x76, Lang(0x0407)), u"AltGr");
  EXPECT_EQ(KeyName(KeyNameMode::kKey, 0xE6, Lang(0x0407)), u"Right Alt");
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x1C, Lang(0x0407)), u"Z");
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x31, Lang(0x0809)), u"#");  // English, United Kingdom
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x31, Lang(0x0409)), u"\\");
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x14, Lang(0x0408)), u";");  // Greek
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x05, Lang(0x0419)), u"и");  // Russian
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x1D, Lang(0x0419)), u"и");
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x2E, Lang(0x0416)), u"=");  // Brazil
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x2E, Lang(0x0816)), u"«");  // Portugal
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x2E, Lang(0x0C16)), u"+");  // another Portuguese: English
  EXPECT_EQ(KeyName(KeyNameMode::kKey, 0x88, Lang(0x0411)), u"ローマ字");  // Japanese, key mode only
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x88, Lang(0x0411)), u"E");
  EXPECT_EQ(KeyName(KeyNameMode::kKey, 0x91, Lang(0x0412)), u"한/영");
  EXPECT_EQ(KeyName(KeyNameMode::kInstruction, 0x2D, Lang(0x041D)), u"+");  // Swedish
  EXPECT_TRUE(Lang(0x0809).altGr);
  EXPECT_FALSE(Lang(0x0409).altGr);
}

// In key mode the upper half of the codes is a table of its own: the layout names of a language
// belong to the keys 0x04-0x64 and, in instruction mode, to their releases.
TEST(KeyNames, UpperKeyModeCodesKeepTheirOwnNamesInEveryLanguage) {
  struct Case {
    std::uint16_t language;
    KeyNameMode mode;
    int code;
    std::u16string_view name;
  };
  const Case cases[] = {
      {0x040C, KeyNameMode::kKey, 0x84, u"A"},          // French
      {0x040C, KeyNameMode::kKey, 0x04, u"Q"},
      {0x040C, KeyNameMode::kInstruction, 0x84, u"Q"},
      {0x040C, KeyNameMode::kKey, 0xB8, u"/"},
      {0x0407, KeyNameMode::kKey, 0xB3, u";"},          // German
      {0x0407, KeyNameMode::kKey, 0x33, u"ö"},
      {0x0407, KeyNameMode::kInstruction, 0xB3, u"ö"},
      {0x0407, KeyNameMode::kKey, 0x9C, u"Y"},
      {0x0408, KeyNameMode::kKey, 0x94, u"Q"},          // Greek
      {0x0419, KeyNameMode::kKey, 0x85, u"B"},          // Russian
      {0x0809, KeyNameMode::kKey, 0xB1, u"\\"},        // English, United Kingdom
      {0x0809, KeyNameMode::kInstruction, 0xB1, u"#"},
      {0x0411, KeyNameMode::kKey, 0x87, u"￥"},         // Japanese: its own key-mode names stay
      {0x0411, KeyNameMode::kKey, 0xB3, u";"},
      {0x0412, KeyNameMode::kKey, 0x90, u"한자"},       // Korean
      {0x0409, KeyNameMode::kKey, 0x84, u"A"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(KeyName(c.mode, c.code, Lang(c.language)), c.name)
        << "language " << std::hex << c.language << " code " << c.code << " key mode " << (c.mode == KeyNameMode::kKey);
  }
}

TEST(RowText, EveryInstructionKind) {
  SetKeyboardLanguage(Lang(0x0409));
  EXPECT_EQ(Row({0x04}), u"A");
  EXPECT_EQ(Row({0x02, 0xFF, 0}), u"<Loop>: 256 Times");
  EXPECT_EQ(Row({0x02, 0x04, 0}), u"<Loop>: 5 Times");
  EXPECT_EQ(Row({0x82, 0, 0}), u"<Loop> End");
  EXPECT_EQ(Row({0x03, 0, 0}), u"Code=0");
  EXPECT_EQ(Row({0x03, 0x24, 0x02}), u"Code=548");
  EXPECT_EQ(Row({0x03, 0xE9, 0x00}), u"Volume Up");
  EXPECT_EQ(Row({0x03, 0x23, 0x02}), u"Web Browser");
  EXPECT_EQ(Row({0x80, 0xFF, 0xFF, 0xFF, 0xFF}), u"(-1, -1)");
  EXPECT_EQ(Row({0x80, 0x10, 0x00, 0x00, 0x80}), u"(16, -32768)");
  EXPECT_EQ(Row({0x83, 0, 0x64, 0, 0xC8, 0}), u"Absoluted Move: (100, 200)");
  EXPECT_EQ(Row({0x83, 1, 0x83, 0, 5, 0}, 3), u"IF (('NumLock' lock) AND ('CapsLock' lock))  GOTO 3");
  EXPECT_EQ(Row({0x83, 1, 0x40, 1, 5, 0}, 3), u"IF ((L-BUTTON release))  GOTO 3");
  EXPECT_EQ(Row({0x83, 1, 0x04, 0x80, 5, 0}, 2), u"IF (('ScrollLock' lock) OR (Button-8 press))  GOTO 2");
  EXPECT_EQ(Row({0x83, 1, 0, 0, 5, 0}, 3), u"IF ()  GOTO 3");
  EXPECT_EQ(Row({0x83, 2, 7, 0}), u"GOTO ??");
  EXPECT_EQ(Row({0x83, 2, 7, 0}, 12), u"GOTO 12");
  EXPECT_EQ(Row({0x83, 3, 2, 42, 0, 0}, 1), u"IF (A == 42)  GOTO 1");
  EXPECT_EQ(Row({0x83, 3, 36, 42, 0, 0}, 3), u"IF ()  GOTO 3");
  EXPECT_EQ(Row({0x83, 4, 24, 7}), u"SET C = A +7");
  EXPECT_EQ(Row({0x83, 4, 26, 7}), u"SET C = C + 7");
  EXPECT_EQ(Row({0x83, 4, 27, 9}), u"SET A = 9 - A");
  EXPECT_EQ(Row({0x83, 4, 62, 9}), u"SET C = C - B");
  EXPECT_EQ(Row({0x83, 4, 63, 9}), u"SET ");
  EXPECT_EQ(Row({0x83, 5, 0, 0}, 4), u"CALL 4");
  EXPECT_EQ(Row({0x83, 6}), u"Return");
  EXPECT_EQ(Row({0x83, 0x82}), u"Copy");
  EXPECT_EQ(Row({0x6F, 0x88}), u"");  // key mode
  EXPECT_EQ(Row({0x6F, 0x87}), u"<");
  EXPECT_EQ(Row({0x6F, 0x00}, 0, false), u"F20");
  EXPECT_EQ(Row({0x81}), u"<Pause>");
}

// An IF on every lock and button does not fit a row: its condition is shortened, never its target.
TEST(RowText, AnOverlongIfKeepsItsGotoPart) {
  struct Case {
    std::uint8_t state, buttons;
    int line;
    std::u16string_view tail;
  };
  const Case cases[] = {{0xC7, 0xFF, 2200, u")  GOTO 2200"}, {0x87, 0xFF, 0, u")  GOTO ??"}, {0x47, 0xFF, 7, u")  GOTO 7"}};
  for (const Case& c : cases) {
    std::uint8_t code[6] = {0x83, 1, c.state, c.buttons, 0, 0};
    char16_t buf[256];
    FixedText t(buf);
    RenderRow(code, c.line, true, t);
    const std::u16string_view text = t.View();
    EXPECT_LE(text.size(), 255u);
    EXPECT_EQ(text.substr(0, 6), u"IF (('");
    ASSERT_GE(text.size(), c.tail.size());
    EXPECT_EQ(text.substr(text.size() - c.tail.size()), c.tail) << std::hex << int(c.state);
  }
}

TEST(RowText, CommandNamesFollowTheLanguageTexts) {
  MacroTexts t;
  t.commandNames[2] = u"Kopieren";
  SetMacroTexts(t);
  EXPECT_EQ(Row({0x83, 0x82}), u"Kopieren");
  EXPECT_EQ(Row({0x83, 0x83}), u"Paste");
  SetMacroTexts(MacroTexts{});
}

TEST(DelayColumn, MillisecondsThenTenthsOfSeconds) {
  EXPECT_EQ(DelayText(0), u"0ms");
  EXPECT_EQ(DelayText(250), u"250ms");
  EXPECT_EQ(DelayText(1000), u"1000ms");
  EXPECT_EQ(DelayText(1025), u"1.0sec");
  EXPECT_EQ(DelayText(1475), u"1.5sec");
  EXPECT_EQ(DelayText(1549), u"1.5sec");
  EXPECT_EQ(DelayText(1950), u"2.0sec");
  EXPECT_EQ(DelayText(4975), u"5.0sec");
}

TEST(Kinds, IconsByInstruction) {
  auto kind = [](std::initializer_list<int> bytes) {
    std::uint8_t c[6] = {};
    int i = 0;
    for (int b : bytes) c[i++] = static_cast<std::uint8_t>(b);
    return KindOf(c);
  };
  EXPECT_EQ(kind({0x04}), 1);
  EXPECT_EQ(kind({0x77}), 1);
  EXPECT_EQ(kind({0x6F, 0x88}), 1);
  EXPECT_EQ(kind({0x84}), 2);
  EXPECT_EQ(kind({0xEF}), 2);
  EXPECT_EQ(kind({0x78}), 3);
  EXPECT_EQ(kind({0xFD}), 4);
  EXPECT_EQ(kind({0x7E}), 5);
  EXPECT_EQ(kind({0xFE}), 6);
  EXPECT_EQ(kind({0x01}), 7);
  EXPECT_EQ(kind({0x03}), 8);
  EXPECT_EQ(kind({0x80}), 9);
  EXPECT_EQ(kind({0x83, 0}), 9);
  EXPECT_EQ(kind({0x83, 1}), 10);
  EXPECT_EQ(kind({0x83, 3}), 10);
  EXPECT_EQ(kind({0x83, 2}), 11);
  EXPECT_EQ(kind({0x83, 4}), 12);
  for (int op : {0x00, 0x7F, 0x81, 0xFF, 0x02, 0x82}) EXPECT_EQ(kind({op}), 13);
  EXPECT_EQ(kind({0x83, 0x85}), 13);
  EXPECT_EQ(kind({0x83, 9}), 13);
  EXPECT_EQ(kind({0x83, 5}), 14);
  EXPECT_EQ(kind({0x83, 6}), 15);
}

}  // namespace
}  // namespace halvard
