#include "macro/macro_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/messages.h"

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ScriptedPrompts : public MacroFilePrompts {
 public:
  std::optional<std::u16string> AskNewMacroName() override { return name; }
  std::optional<std::u16string> AskOpenPath() override { return openPath; }
  std::optional<std::u16string> AskSavePath(std::u16string_view proposed) override {
    proposedName = proposed;
    return savePath;
  }
  std::optional<std::u16string> name, openPath, savePath;
  std::u16string proposedName;
};

class MacroFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list->SetCapacity(256);
    list->SetDelayUnit(25);
    list->SetExtendedKeys(true);
  }
  std::u16string Folder() { return MacroFolder(files); }
  void Put(std::u16string_view name, Bytes b) { files.Put(Folder() + u"\\" + std::u16string(name), std::move(b)); }

  MemoryFiles files;
  RecordingMessages messages;
  ScriptedPrompts prompts;
  MemoryListView view;
  std::unique_ptr<CSkinLVCmdList> list = std::make_unique<CSkinLVCmdList>(view);
  MacroLibrary library{files, messages, prompts, *list, MacroFolder(files)};
};

TEST_F(MacroFileTest, FolderPathsAndTheList) {
  EXPECT_EQ(Folder(), u"C:\\Users\\gamer\\Documents\\Halvard");
  EXPECT_EQ(MacroPath(Folder(), u"Combo"), Folder() + u"\\Combo.Mac");
  EXPECT_EQ(MacroPath(u"", u"Combo"), u"");
  EXPECT_EQ(MacroPath(Folder(), u""), u"");
  EXPECT_EQ(MacroPath(Folder(), std::u16string(240, u'x')), u"");
  files.documents.clear();
  EXPECT_EQ(MacroFolder(files), u".");
  files.documents = u"C:\\Users\\gamer\\Documents";

  Put(u"b.MAC", {});
  Put(u"a.mac", {});
  Put(u".mac", {});
  Put(u"notes.txt", {});
  Put(u"Sniper.PF", {});
  files.Put(Folder() + u"\\sub\\deep.mac", {});
  auto names = ListMacros(files, Folder());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a", u"b"}));
  for (int i = 0; i < 60; ++i) Put(u"m" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) +
                                       std::u16string(1, static_cast<char16_t>(u'a' + i / 26)) + u".mac", {});
  EXPECT_EQ(ListMacros(files, Folder()).size(), 50u);
}

TEST_F(MacroFileTest, HeaderRulesWhenReading) {
  Put(u"old.Mac", {0x6D, 0xA5, 0x01, 0x02, 0x00, 0x19, 0x01, 0x64, 0x00, 0x04, 0x84});
  auto data = ReadMacroFile(files, messages, MacroPath(Folder(), u"old"), u"old");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->length, 2);
  EXPECT_EQ(data->bytes[1], 0x84);
  EXPECT_EQ(data->settings.mode, RecordingSettings::Mode::kDefaultDelay);
  EXPECT_EQ(data->settings.defaultDelayMs, 100);

  Put(u"none.Mac", {0x6D, 0xA5, 0xA1, 0x00, 0x00, 0x19, 0x00, 0x64, 0x00});
  data = ReadMacroFile(files, messages, MacroPath(Folder(), u"none"), u"none");
  ASSERT_TRUE(data);
  EXPECT_EQ(data->length, 0);
  EXPECT_EQ(data->settings.mode, RecordingSettings::Mode::kWithoutDelay);
  Put(u"measured.Mac", {0x6D, 0xA5, 0xA1, 0x00, 0x00, 0x19, 0x01, 0x00, 0x00});
  EXPECT_EQ(ReadMacroFile(files, messages, MacroPath(Folder(), u"measured"), u"measured")->settings.mode,
            RecordingSettings::Mode::kMeasured);
  EXPECT_TRUE(messages.shown.empty());

  Put(u"format4.Mac", {0x6D, 0xA5, 0x04, 0x00, 0x00, 0x19, 0x01, 0x00, 0x00});
  Put(u"long.Mac", {0x6D, 0xA5, 0xA1, 0x2C, 0x01, 0x19, 0x01, 0x00, 0x00});
  Put(u"short.Mac", {0x6D, 0xA5, 0xA1, 0x05, 0x00, 0x19, 0x01, 0x00, 0x00, 0x04});
  Put(u"stub.Mac", {0x6D, 0xA5});
  EXPECT_FALSE(ReadMacroFile(files, messages, MacroPath(Folder(), u"format4"), u"format4"));
  EXPECT_FALSE(ReadMacroFile(files, messages, MacroPath(Folder(), u"long"), u"long"));
  EXPECT_FALSE(ReadMacroFile(files, messages, MacroPath(Folder(), u"short"), u"short"));
  EXPECT_FALSE(ReadMacroFile(files, messages, MacroPath(Folder(), u"stub"), u"stub"));
  EXPECT_FALSE(ReadMacroFile(files, messages, MacroPath(Folder(), u"gone"), u"gone"));
  EXPECT_FALSE(ReadMacroFile(files, messages, u"", u"nameless"));
  ASSERT_EQ(messages.shown.size(), 6u);
  EXPECT_EQ(messages.shown[0].number, 3);
  EXPECT_EQ(messages.shown[1].number, 3);
  EXPECT_EQ(messages.shown[2].text, u"Error: Failed to LOAD the Whole EEPROM!");
  EXPECT_EQ(messages.shown[3].number, 3);
  EXPECT_EQ(messages.shown[4].text, u"FAILURE: Can't find the file path: gone");
  EXPECT_EQ(messages.shown[5].text, u"FAILURE: Can't find the file path: nameless");
  EXPECT_EQ(files.OpenFiles(), 0);
}

// Files shorter than the header, down to empty ones, are refused with the format message.
TEST_F(MacroFileTest, FilesShorterThanTheHeaderAreBadFormat) {
  const Bytes header = {0x6D, 0xA5, 0xA1, 0x00, 0x00, 0x19, 0x01, 0x00, 0x00};
  for (std::size_t n = 0; n < header.size(); ++n) {
    Put(u"cut.Mac", Bytes(header.begin(), header.begin() + static_cast<std::ptrdiff_t>(n)));
    messages.shown.clear();
    EXPECT_FALSE(ReadMacroFile(files, messages, MacroPath(Folder(), u"cut"), u"cut")) << n << " bytes";
    ASSERT_EQ(messages.shown.size(), 1u) << n << " bytes";
    EXPECT_EQ(messages.shown[0].number, 3) << n << " bytes";
  }
  Put(u"cut.Mac", header);
  EXPECT_TRUE(ReadMacroFile(files, messages, MacroPath(Folder(), u"cut"), u"cut"));
  EXPECT_EQ(files.OpenFiles(), 0);
}

TEST_F(MacroFileTest, WritingKeepsTheRowsThatFitAndTheSettings) {
  for (int i = 0; i < 128; ++i) list->AppendInstruction(0x04, 0, 0);
  list->AppendInstruction(0x80, 1, 1);  // 5 bytes: 133
  for (int i = 0; i < 120; ++i) list->AppendInstruction(0x05, 0, 0);  // 253
  list->SetCapacity(300);
  list->AppendInstruction(0x80, 2, 2);  // 258: this one does not fit a file
  RecordingSettings settings;  // measured, default delay 100
  settings.defaultDelayMs = 100;
  const std::u16string path = MacroPath(Folder(), u"Big");
  ASSERT_TRUE(WriteMacroFile(files, messages, path, *list, settings));
  const Bytes& f = *files.Get(path);
  ASSERT_EQ(f.size(), 9u + 253u);
  EXPECT_EQ(Bytes(f.begin(), f.begin() + 9), (Bytes{0x6D, 0xA5, 0xA1, 0xFD, 0x00, 0x19, 0x01, 0x64, 0x00}));
  // Measured mode with a default delay of 100 reads back as default-delay mode.
  EXPECT_EQ(ReadMacroFile(files, messages, path, u"Big")->settings.mode, RecordingSettings::Mode::kDefaultDelay);

  settings.mode = RecordingSettings::Mode::kWithoutDelay;
  list->ClearAll();
  ASSERT_TRUE(WriteMacroFile(files, messages, path, *list, settings));
  EXPECT_EQ(*files.Get(path), (Bytes{0x6D, 0xA5, 0xA1, 0x00, 0x00, 0x19, 0x00, 0x64, 0x00}));

  files.failWritesAfter = 0;
  EXPECT_FALSE(WriteMacroFile(files, messages, path, *list, settings));
  files.failWritesAfter = -1;
  files.failCreate = true;
  EXPECT_FALSE(WriteMacroFile(files, messages, path, *list, settings));
  EXPECT_FALSE(WriteMacroFile(files, messages, u"", *list, settings));
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0].number, 9);
  EXPECT_EQ(messages.shown[1].text, u"FAILURE: Can't find the file path: " + path);
  EXPECT_EQ(messages.shown[2].number, 2);
}

TEST_F(MacroFileTest, LoadForDeviceExpandsTheCommands) {
  Put(u"Copy.Mac", {0x6D, 0xA5, 0xA1, 0x06, 0x00, 0x19, 0x01, 0x00, 0x00, 0x83, 0x82, 0x00, 0x00, 0x13, 0x93});
  std::array<std::uint8_t, 256> buffer{};
  ASSERT_EQ(LoadForDevice(files, messages, Folder(), u"Copy", buffer), 6);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + 6), (Bytes{0x70, 0x06, 0x86, 0xF0, 0x13, 0x93}));
  EXPECT_EQ(LoadForDevice(files, messages, Folder(), u"Missing", buffer), 0);
  EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(MacroFileTest, CreatingAMacro) {
  prompts.name = u"Attack";
  Put(u"attack.MAC", {1});
  library.SetCurrentName(u"Old");
  EXPECT_FALSE(library.CreateMacro());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, u"Macro exist!Attack");
  EXPECT_EQ(library.CurrentName(), u"Old");

  prompts.name = u"Burst";
  list->AppendInstruction(0x04, 0, 0);
  ASSERT_TRUE(library.CreateMacro());
  EXPECT_EQ(*files.Get(MacroPath(Folder(), u"Burst")), (Bytes{0x6D, 0xA5, 0xA1, 0, 0, 0x19, 0x01, 0, 0}));
  EXPECT_EQ(library.CurrentName(), u"Burst");
  EXPECT_EQ(list->Count(), 0);
  ASSERT_EQ(library.Selected(), 0);
  EXPECT_EQ(library.Names()[0], u"Burst");

  prompts.name.reset();  // Cancel
  EXPECT_FALSE(library.CreateMacro());
  files.failCreate = true;
  prompts.name = u"Other";
  EXPECT_FALSE(library.CreateMacro());
  EXPECT_EQ(messages.shown.back().number, 2);
  EXPECT_EQ(library.CurrentName(), u"Burst");
}

TEST_F(MacroFileTest, ImportingCopiesTheFileAndOpensIt) {
  files.Put(u"D:\\Share\\Combo.mac", {0x6D, 0xA5, 0xA1, 0x02, 0x00, 0x19, 0x00, 0x00, 0x00, 0x04, 0x84});
  prompts.openPath = u"D:\\Share\\Combo.mac";
  ASSERT_TRUE(library.ImportMacro());
  EXPECT_EQ(library.CurrentName(), u"Combo");
  EXPECT_NE(files.Get(MacroPath(Folder(), u"Combo")), nullptr);
  EXPECT_EQ(list->Count(), 2);
  EXPECT_EQ(library.Settings().mode, RecordingSettings::Mode::kWithoutDelay);
  // Once more: the file is there now.
  EXPECT_FALSE(library.ImportMacro());
  EXPECT_EQ(messages.shown.back().text, u"Macro exist!Combo");
}

TEST_F(MacroFileTest, SavingAsAndDeleting) {
  list->AppendInstruction(0x04, 0, 0);
  library.SetCurrentName(u"Burst");
  prompts.savePath = u"E:\\Backup\\Burst.mac";
  ASSERT_TRUE(library.SaveAs());
  EXPECT_EQ(prompts.proposedName, u"Burst");
  EXPECT_NE(files.Get(u"E:\\Backup\\Burst.mac"), nullptr);
  EXPECT_TRUE(library.Names().empty());  // the list is not changed
  files.failCreate = true;
  EXPECT_FALSE(library.SaveAs());
  ASSERT_EQ(messages.shown.size(), 2u);
  EXPECT_EQ(messages.shown[1].text, u"Error: Failed to SAVE ONE SCRIPT!");
  files.failCreate = false;

  Put(u"A1.Mac", {0x6D, 0xA5, 0xA1, 0, 0, 0x19, 1, 0, 0});
  Put(u"A2.Mac", {0x6D, 0xA5, 0xA1, 0, 0, 0x19, 1, 0, 0});
  library.SetCurrentName(u"A1");
  library.Refresh();
  library.Select(1);  // "A2"
  EXPECT_FALSE(library.DeleteMacro());
  EXPECT_EQ(messages.shown.back().text, u"No Selected item!");
  EXPECT_NE(files.Get(MacroPath(Folder(), u"A1")), nullptr);
  library.Select(0);
  ASSERT_TRUE(library.DeleteMacro());
  EXPECT_EQ(files.Get(MacroPath(Folder(), u"A1")), nullptr);
  EXPECT_EQ(library.Names(), (std::vector<std::u16string>{u"A2"}));
  EXPECT_EQ(library.CurrentName(), u"");
  EXPECT_EQ(library.Selected(), -1);
  EXPECT_EQ(list->Count(), 0);
}

}  // namespace
}  // namespace halvard
