#include "app/startup.h"

#include <gtest/gtest.h>

#include "platform/window_services.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

TEST(CommandLine, AutomationSwitchInAnyCaseAfterSlashOrDash) {
  auto has = [](std::u16string_view line) {
    auto args = SplitCommandLine(line);
    return HasAutomationSwitch(args);
  };
  EXPECT_TRUE(has(u"/Automation"));
  EXPECT_TRUE(has(u"-automation"));
  EXPECT_TRUE(has(u"  /AUTOMATION  other"));
  EXPECT_FALSE(has(u"Automation"));
  EXPECT_FALSE(has(u"/Automations"));
  EXPECT_FALSE(has(u"\"/Automation x\""));
  EXPECT_FALSE(has(u""));
  EXPECT_EQ(SplitCommandLine(u"a \"b c\" d\\\"e"), (std::vector<std::u16string>{u"a", u"b c", u"d\"e"}));
}

class Table : public DwordSource {
 public:
  std::int32_t GetDword(std::u16string_view) override { return value; }
  std::int32_t value = -1;
};

TEST(SecondStart, PostsShowToTheFirstInstanceOrSaysTooMany) {
  Table values;
  RecordingWindowServices windows;
  RecordingMessages messages;
  for (std::int32_t v : {0, -1}) {
    values.value = v;
    EXPECT_FALSE(HandleSecondStart(values, windows, messages));
  }
  EXPECT_TRUE(windows.posted.empty());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[0].text, u"TOO MANY INSTANCES!");

  values.value = 0x2040;
  EXPECT_TRUE(HandleSecondStart(values, windows, messages));
  ASSERT_EQ(windows.posted.size(), 1u);
  EXPECT_EQ(windows.posted[0].window, HandleFromValue(0x2040));
  EXPECT_EQ(windows.posted[0].message, 0x0111u);
  EXPECT_EQ(windows.posted[0].wParam, 32774u);
  EXPECT_EQ(windows.posted[0].lParam, 0);
  EXPECT_EQ(messages.shown.size(), 2u);
}

TEST(Messages, NumberedTextsWithAppendedTextAndTheirRoute) {
  SetActiveLanguage(LanguageTables::Defaults());
  EXPECT_EQ(MessageText(2, u"C:\\x"), u"FAILURE: Can't find the file path: C:\\x");
  EXPECT_EQ(MessageText(20, u"x"), u"");
  RecordingMessageBox box;
  MessageBoxMessages path(box);
  path.ShowMessage(6);
  path.ShowMessage(-1);
  path.ShowMessage(20);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, u"Error: Failed to SAVE MOUSE CONFIGURE!");
  EXPECT_EQ(box.shown[0].caption, u"Vornex Halvard MESSAGE");
  EXPECT_TRUE(box.shown[0].stop);
  EXPECT_TRUE(MessageFitsPrompt(true, 39));
  EXPECT_FALSE(MessageFitsPrompt(true, 40));
  EXPECT_FALSE(MessageFitsPrompt(false, 5));
}

TEST(Fonts, MainSizeFollowsTheIconTitleFont) {
  EXPECT_EQ(MainFontSizeTenths(-8), 150);
  EXPECT_EQ(MainFontSizeTenths(-9), 150);
  EXPECT_EQ(MainFontSizeTenths(-10), 109);
  EXPECT_EQ(MainFontSizeTenths(-12), 109);
  EXPECT_EQ(MainFontSizeTenths(-13), 90);
  EXPECT_EQ(MainFontSizeTenths(-16), 75);
  EXPECT_EQ(MainFontSizeTenths(-19), 55);
  EXPECT_EQ(MainFontSizeTenths(-24), 55);
  EXPECT_EQ(MainFontSizeTenths(-25), 100);
  FontRequest r = FontRequestFor(LanguageTables::Defaults().Font(2));
  EXPECT_EQ(r.face, u"Arial Rounded MT Bold");
  EXPECT_EQ(r.height, 17);
  EXPECT_EQ(r.weight, 500);
  EXPECT_EQ(r.outPrecision, 2);
  EXPECT_EQ(r.clipPrecision, 16);
  EXPECT_EQ(r.quality, 1);
  EXPECT_EQ(r.pitchAndFamily, 0x22);
}

TEST(LanguageStart, FileFromLanguagesFolderHelpFromHelpFolderWithFallbacks) {
  MemoryRegistry registry;
  RegistryStore store(registry);
  MemoryFiles files;
  const std::u16string dir = u"C:\\Program Files\\Halvard\\";
  auto german = LanguageFileText(LanguageTables::Defaults(), DefaultTrayTexts(), u"German.txt");
  german.replace(german.find(u"Close"), 5, u"Schlie\u00dfen");
  auto bytes = LanguageFileBytes(german);
  files.Put(dir + u"Languages\\German.txt", {bytes.begin(), bytes.end()});
  files.Put(dir + u"HELP\\Information_de.html", {});

  LanguageStart s = StartLanguage(0x0407, store, files);
  EXPECT_TRUE(s.fileLoaded);
  EXPECT_TRUE(s.selection.altGr);
  EXPECT_EQ(s.helpDocument, dir + u"HELP\\Information_de.html");
  EXPECT_EQ(ActiveLanguage().Tooltip(3), u"Schlie\u00dfen");

  // French: no file, no help document.
  s = StartLanguage(0x040C, store, files);
  EXPECT_FALSE(s.fileLoaded);
  EXPECT_EQ(s.helpDocument, u"Information_en.html");
  EXPECT_EQ(ActiveLanguage().Tooltip(3), u"Close");
}

TEST(DeviceDescription, RewritesDifferingDescriptionsOnly) {
  MemoryRegistry registry;
  const std::u16string key(kMouseDeviceKey);
  auto put = [&](std::u16string sub, std::u16string text, bool terminator) {
    RegKey k = nullptr;
    ASSERT_EQ(registry.OpenKey(RegRoot::kLocalMachine, key + u"\\" + sub, true, &k), 0);
    if (terminator) text.push_back(u'\0');
    registry.SetValue(k, u"DeviceDesc", kRegSz, reinterpret_cast<const std::uint8_t*>(text.data()),
                      static_cast<std::uint32_t>(text.size() * 2));
    registry.CloseKey(k);
  };
  put(u"1", u"HID-compliant mouse", true);
  put(u"2", u"Vornex Halvard Mouse", true);  // equal, with the system's terminator
  put(u"3", std::u16string(200, u'x'), false);  // more than 256 bytes: unreadable, left alone
  RegKey k = nullptr;
  registry.OpenKey(RegRoot::kLocalMachine, key + u"\\4", true, &k);  // no DeviceDesc
  registry.CloseKey(k);
  // Descriptions that are not text are not descriptions to compare: left as they are.
  const std::uint8_t number[4] = {0x48, 0, 0, 0};
  for (std::uint32_t type : {kRegDword, kRegBinary}) {
    registry.OpenKey(RegRoot::kLocalMachine, key + u"\\" + (type == kRegDword ? u"5" : u"6"), true, &k);
    registry.SetValue(k, u"DeviceDesc", type, number, 4);
    registry.CloseKey(k);
  }

  EXPECT_EQ(FixDeviceDescription(registry), 1);
  auto* v = registry.Find(RegRoot::kLocalMachine, key + u"\\1", u"DeviceDesc");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->data.size(), 40u);  // 20 characters, no terminator
  EXPECT_EQ(registry.Find(RegRoot::kLocalMachine, key + u"\\2", u"DeviceDesc")->data.size(), 42u);
  EXPECT_EQ(registry.Find(RegRoot::kLocalMachine, key + u"\\3", u"DeviceDesc")->data.size(), 400u);
  EXPECT_EQ(registry.Find(RegRoot::kLocalMachine, key + u"\\4", u"DeviceDesc"), nullptr);
  for (const char16_t* sub : {u"5", u"6"}) {
    auto* other = registry.Find(RegRoot::kLocalMachine, key + u"\\" + sub, u"DeviceDesc");
    ASSERT_NE(other, nullptr);
    EXPECT_NE(other->type, kRegSz);
    EXPECT_EQ(other->data.size(), 4u);
  }
  EXPECT_EQ(FixDeviceDescription(registry), 0);
  EXPECT_EQ(registry.OpenKeyCount(), 0);

  MemoryRegistry empty;
  EXPECT_EQ(FixDeviceDescription(empty), 0);
}

}  // namespace
}  // namespace halvard
