#include "app/language.h"

#include <algorithm>
#include <limits>

#include "macro/listing.h"
#include "platform/text.h"

namespace halvard {
namespace {

struct DefaultFont {
  const char16_t* face;
  std::int32_t height, width, weight;
};

constexpr DefaultFont kDefaultFonts[kFontCount] = {
    {u"Arial", 0, 0, 500},  {u"Arial Rounded MT Bold", 20, 0, 700}, {u"Arial Rounded MT Bold", 17, 0, 500},
    {u"Arial Rounded MT Bold", 15, 0, 500}, {u"Arial", 12, 0, 500}, {u"Arial", 14, 0, 400},
    {u"Arial", 20, 0, 500}};

constexpr const char16_t* kDefaultTooltips[kTooltipCount] = {
    u"Vornex Halvard Gaming Mouse",
    u"Vornex Halvard Gaming Mouse",
    u"",
    u"Close",
    u"Enable System tray",
    u"Reset this profile to system default.",
    u"Register your product on our web site and get the latest news.",
    u"Open the help document.",
    u"save the setting into mouse.",
    u"Cancel all changes, and quit",
    u"save the setting into mouse, and quit",
    u"Open Macro editor",
    u"Advanced mouse configuration.",
    u"LED configuration.",
    u"Profile Management.",
    u"Switch to profile 1 page.",
    u"Switch to profile 2 page.",
    u"Switch to profile 3 page.",
    u"Switch to profile 4 page.",
    u"Switch to profile 5 page.",
    u"Select one profile.",
    u"OK",
    u"Cancel",
    u"Apply",
    u"RESET TO DEFAULT",
    u"OK/EXIT",
    u"ONE SCREEN AT TIME",
    u"ADJUST DELAY TIME",
    u"Load from file",
    u"Create New Macro",
    u"RECORD",
    u"STOP",
    u"DELETE",
    u"ONE-TIME",
    u"REPEAT when press and hold",
    u"Repeat until next key is pressed",
    u"Multiple Loops",
    u"Move instruction line up",
    u"Move instruction line down",
    u"YES",
    u"NO",
    u"Macro Function",
    u"Single Key Function",
    u"Default Button Function",
    u"Applictaion Laucher Function",
    u"Air Through",
    u"3D Axis movement",
    u"Always turn on LEDs",
    u"Always turn off LEDs",
    u"Red",
    u"Purple",
    u"Blue",
    u"Cygon",
    u"White",
    u"Yellow",
    u"Green",
    u"Delete one macro file",
    u"Without and delay",
    u"Insert defualt delay",
    u"Configure the delay timing",
    u"Insert Macro command",
    u"Save as file",
    u"Create a new profile",
    u"Import profile",
    u"export profile",
    u"Delete a profile",
};

constexpr const char16_t* kDefaultMessages[kMessageCount] = {
    u"TOO MANY INSTANCES!",
    u"No Gamer Mouse Connected!",
    u"FAILURE: Can't find the file path: ",
    u"FAILURE: 101, Bad File format!?",
    u"Error: Failed to LOAD the Whole EEPROM!",
    u"Error: Failed to LOAD MOUSE CONFIGURE!",
    u"Error: Failed to SAVE MOUSE CONFIGURE!",
    u"Error: Failed to LOAD ONE SCRIPT!",
    u"Error: Failed to SAVE ONE SCRIPT!",
    u"FAILURE: 201, failed to write!?",
    u"No L-Button!",
    u"Bad Selected Macro!",
    u"Buffer Full!",
    u"Can't connect to ",
    u"No Selected item!",
    u"Can't find document: ",
    u"Record funciton failure!",
    u"Clear macro definitions?",
    u"Overwrite?",
    u"Macro exist!",
};

constexpr const char16_t* kDefaultUnits[kUnitCount] = {u"sec", u"ms"};

constexpr const char16_t* kDefaultFunctions[kFunctionNameCount] = {
    u"MACRO KEY", u"CLICK",  u"BUTTON OFF",     u"RIGHT BUTTON",     u"DOUBLE CLICK", u"BACKWARD", u"FORWARD",
    u"SCROLL BUTTON", u"SENSITIVITY-UP", u"SENSITIVITY-DOWN", u"CTRL", u"SHIFT", u"ALT", u"LAUNCH"};

constexpr const char16_t* kDefaultCommands[kCommandNameCount] = {
    u"Page UP", u"Page DN", u"Copy", u"Paste", u"Close Window", u"Show Desktop", u"Undo",
    u"Open Window Explorer", u"Delete", u"Cut", u"Print Screen", u"Lock PC", u"Zoom In", u"Zoom Out", u"All",
    u"Find", u"Print", u"Save", u"New", u"Maxmize IE/Media Player", u"Alt-Tab", u"Commands"};

constexpr const char16_t* kDefaultLedTips[kLedModeTipCount] = {u"Switch to Normal LED Control Mode",
                                                                u"Switch to Battle LED Mode"};

constexpr const char16_t* kDefaultTray[kTrayTextCount] = {u"Load Configuration", u"Go to Vornex Website",
                                                          u"Enable OSD", u"Exit", u"Disable OSD"};

// Line ranges of the sections, 0-based.
constexpr int kLineNumber = 28;
constexpr int kLineTooltips = 29;
constexpr int kLineMessages = kLineTooltips + kTooltipCount;     // 95
constexpr int kLineSpare = kLineMessages + kMessageCount;        // 115
constexpr int kLineCaption = kLineSpare + 1;                     // 116
constexpr int kLineUnits = kLineCaption + 1;                     // 117
constexpr int kLineFunctions = kLineUnits + kUnitCount;          // 119
constexpr int kLineCommands = kLineFunctions + kFunctionNameCount;  // 133
constexpr int kLineLedTips = kLineCommands + kCommandNameCount;  // 155
static_assert(kLineLedTips + kLedModeTipCount == kTableLines);

template <std::size_t C>
void Put(std::array<char16_t, C>& slot, std::u16string_view text) {
  CopyText<char16_t>(slot.data(), C, text);
}

LanguageTables MakeDefaults() {
  LanguageTables t;
  for (int i = 0; i < kFontCount; ++i) {
    const DefaultFont& f = kDefaultFonts[i];
    t.StoreLine(4 * i, f.face);
    std::u16string n;
    AppendDecimal(n, f.height);
    t.StoreLine(4 * i + 1, n);
    n.clear();
    AppendDecimal(n, f.width);
    t.StoreLine(4 * i + 2, n);
    n.clear();
    AppendDecimal(n, f.weight);
    t.StoreLine(4 * i + 3, n);
  }
  t.StoreLine(kLineNumber, u"0");
  for (int i = 0; i < kTooltipCount; ++i) t.StoreLine(kLineTooltips + i, kDefaultTooltips[i]);
  for (int i = 0; i < kMessageCount; ++i) t.StoreLine(kLineMessages + i, kDefaultMessages[i]);
  t.StoreLine(kLineSpare, u"");
  t.StoreLine(kLineCaption, u"Vornex Halvard MESSAGE");
  for (int i = 0; i < kUnitCount; ++i) t.StoreLine(kLineUnits + i, kDefaultUnits[i]);
  for (int i = 0; i < kFunctionNameCount; ++i) t.StoreLine(kLineFunctions + i, kDefaultFunctions[i]);
  for (int i = 0; i < kCommandNameCount; ++i) t.StoreLine(kLineCommands + i, kDefaultCommands[i]);
  for (int i = 0; i < kLedModeTipCount; ++i) t.StoreLine(kLineLedTips + i, kDefaultLedTips[i]);
  return t;
}

LanguageTables& Active() {
  static LanguageTables active = LanguageTables::Defaults();
  return active;
}

}  // namespace

LanguageSelection SelectLanguage(std::uint16_t languageId) {
  LanguageSelection s;
  const KeyboardLanguage keyboard = KeyboardLanguage::FromLanguageId(languageId);
  s.primary = keyboard.primary;
  s.subLanguage = keyboard.subLanguage;
  s.altGr = keyboard.altGr;
  struct Row {
    std::uint16_t primary;
    const char16_t* suffix;
    const char16_t* file;
  };
  static constexpr Row kRows[] = {{5, u"cz", u"Czech.txt"},     {7, u"de", u"German.txt"},
                                  {8, u"gk", u"Greek.txt"},     {10, u"sp", u"Spanish.txt"},
                                  {12, u"fr", u"French.txt"},   {16, u"it", u"Italian.txt"},
                                  {17, u"jp", u"Japanese.txt"}, {18, u"ko", u"Korean.txt"},
                                  {21, u"po", u"Polish.txt"},   {22, u"br", u"Brasil.txt"},
                                  {25, u"ru", u"Russian.txt"},  {31, u"tk", u"Turkish.txt"}};
  if (s.primary == 4) {
    bool simple = s.subLanguage == 2;
    s.suffix = simple ? u"sc" : u"tc";
    s.languageFile = simple ? u"SimpleChinese.txt" : u"TradionalChinese.txt";
    return s;
  }
  for (const Row& r : kRows) {
    if (r.primary == s.primary) {
      s.suffix = r.suffix;
      s.languageFile = r.file;
      return s;
    }
  }
  return s;
}

const LanguageTables& LanguageTables::Defaults() {
  static const LanguageTables defaults = MakeDefaults();
  return defaults;
}

void LanguageTables::StoreLine(int index, std::u16string_view line) {
  if (index < 0 || index >= kTableLines) return;
  if (index < kLineNumber) {
    FontSpec& f = fonts_[index / 4];
    switch (index % 4) {
      case 0: CopyText<char16_t>(f.face, kFontFaceChars, line); break;
      case 1: f.height = ParseDecimal(line); break;
      case 2: f.width = ParseDecimal(line); break;
      default: f.weight = ParseDecimal(line); break;
    }
  } else if (index == kLineNumber) {
    number_ = ParseDecimal(line);
  } else if (index < kLineMessages) {
    Put(tooltips_[index - kLineTooltips], line);
  } else if (index < kLineSpare) {
    Put(messages_[index - kLineMessages], line);
  } else if (index == kLineSpare) {
    CopyText<char16_t>(spare_, kMessageChars, line);
  } else if (index == kLineCaption) {
    CopyText<char16_t>(caption_, kCaptionChars, line);
  } else if (index < kLineFunctions) {
    Put(units_[index - kLineUnits], line);
  } else if (index < kLineCommands) {
    Put(functions_[index - kLineFunctions], line);
  } else if (index < kLineLedTips) {
    Put(commands_[index - kLineCommands], line);
  } else {
    Put(ledTips_[index - kLineLedTips], line);
  }
}

std::array<std::u16string, kTableLines> LanguageTables::Lines() const {
  std::array<std::u16string, kTableLines> lines;
  auto number = [](std::int32_t v) {
    std::u16string s;
    AppendDecimal(s, v);
    return s;
  };
  for (int i = 0; i < kFontCount; ++i) {
    lines[4 * i] = fonts_[i].face;
    lines[4 * i + 1] = number(fonts_[i].height);
    lines[4 * i + 2] = number(fonts_[i].width);
    lines[4 * i + 3] = number(fonts_[i].weight);
  }
  lines[kLineNumber] = number(number_);
  for (int i = 0; i < kTooltipCount; ++i) lines[kLineTooltips + i] = tooltips_[i].data();
  for (int i = 0; i < kMessageCount; ++i) lines[kLineMessages + i] = messages_[i].data();
  lines[kLineSpare] = spare_;
  lines[kLineCaption] = caption_;
  for (int i = 0; i < kUnitCount; ++i) lines[kLineUnits + i] = units_[i].data();
  for (int i = 0; i < kFunctionNameCount; ++i) lines[kLineFunctions + i] = functions_[i].data();
  for (int i = 0; i < kCommandNameCount; ++i) lines[kLineCommands + i] = commands_[i].data();
  for (int i = 0; i < kLedModeTipCount; ++i) lines[kLineLedTips + i] = ledTips_[i].data();
  return lines;
}

std::array<std::u16string, kTrayTextCount> DefaultTrayTexts() {
  std::array<std::u16string, kTrayTextCount> t;
  for (int i = 0; i < kTrayTextCount; ++i) t[i] = kDefaultTray[i];
  return t;
}

std::int32_t ParseDecimal(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long v = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    v = v * 10 + (text[i] - u'0');
    if (v > (1LL << 31)) v = 1LL << 31;  // saturate, never overflow
  }
  if (negative) v = -v;
  return static_cast<std::int32_t>(std::clamp<long long>(v, std::numeric_limits<std::int32_t>::min(),
                                                         std::numeric_limits<std::int32_t>::max()));
}

// A line ends at its own CR LF however long it is, so a read that stops between CR and LF never
// makes the next text start with a line feed; past kMaxLineChars the rest of the line is skipped.
bool ReadLanguageLine(std::span<const std::uint8_t> bytes, std::size_t& pos, std::u16string& line) {
  const std::size_t units = (pos < bytes.size() ? bytes.size() - pos : 0) / 2;
  if (units == 0) return false;
  auto unit = [&](std::size_t i) {
    return static_cast<char16_t>(bytes[pos + 2 * i] | (bytes[pos + 2 * i + 1] << 8));
  };
  line.clear();
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t c = unit(i);
    if (c == u'\r' && i + 1 < units && unit(i + 1) == u'\n') {
      pos += (i + 2) * 2;
      return true;
    }
    if (line.size() < static_cast<std::size_t>(kMaxLineChars)) line.push_back(c);
  }
  pos += units * 2;
  return true;
}

bool LoadLanguageFile(std::span<const std::uint8_t> bytes, std::u16string_view fileName, LanguageTables& tables) {
  auto fail = [&] {
    tables = LanguageTables::Defaults();
    return false;
  };
  if (bytes.size() < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) return fail();
  std::size_t pos = 2;
  std::u16string line;
  for (int i = 0; i < kTableLines; ++i) {
    if (!ReadLanguageLine(bytes, pos, line)) return fail();
    tables.StoreLine(i, line);
  }
  for (int i = kTableLines; i < kLanguageFileLines - 1; ++i)
    if (!ReadLanguageLine(bytes, pos, line)) return fail();
  if (!ReadLanguageLine(bytes, pos, line) || line != fileName) return fail();
  return true;
}

std::u16string LanguageFileText(const LanguageTables& tables, const std::array<std::u16string, kTrayTextCount>& tray,
                                std::u16string_view fileName) {
  std::u16string text;
  for (const auto& l : tables.Lines()) text += l + u"\r\n";
  for (const auto& l : tray) text += l + u"\r\n";
  text += fileName;
  text += u"\r\n";
  return text;
}

std::string LanguageFileBytes(std::u16string_view text) {
  std::string out = "\xFF\xFE";
  for (char16_t c : text) {
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
  }
  return out;
}

const LanguageTables& ActiveLanguage() { return Active(); }
void SetActiveLanguage(const LanguageTables& tables) { Active() = tables; }

}  // namespace halvard
