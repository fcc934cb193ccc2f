#include "app/macro_editor.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/messages.h"
#include "ipc/messages.h"
#include "macro/listing.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;
namespace c = macro_ctl;

TEST(MacroEditorFields, EditFilterParsingStepsAndDefaultDelay) {
  struct Filter {
    std::u16string in, out;
  } filters[] = {{u"", u""},         {u"0", u"0"},       {u"7000", u"5000"}, {u"250", u"250"},
                 {u"25a", u"25"},    {u"a", u""},        {u"05", u"0"},      {u"00", u"0"},
                 {u"5000", u"5000"}, {u"5001", u"5000"}, {u"12x45", u"12"},  {u"999999999999", u"5000"}};
  for (const auto& f : filters) EXPECT_EQ(FilterDelayText(f.in), f.out) << std::string(f.in.begin(), f.in.end());

  struct Parse {
    std::u16string in;
    std::optional<std::int64_t> v;
  } parses[] = {{u"", 0},       {u"110", 110},  {u"-25", -25},          {u"0x1F", 31},
                {u"1,000", 1000}, {u"1 000", 1000}, {u"12a", std::nullopt}, {u"0x", std::nullopt},
                {u"+7", 7},     {u"abc", std::nullopt}};
  for (const auto& p : parses) EXPECT_EQ(ParseEditNumber(p.in), p.v) << std::string(p.in.begin(), p.in.end());

  struct Step {
    int v, up, down;
  } steps[] = {{110, 150, 75}, {100, 125, 75}, {30, 75, 0}, {5000, 5000, 4975}, {0, 25, 0}, {24, 50, 0}};
  for (const auto& s : steps) {
    EXPECT_EQ(StepDelayUp(s.v, 25), s.up) << s.v;
    EXPECT_EQ(StepDelayDown(s.v, 25), s.down) << s.v;
  }
  EXPECT_EQ(ConfigureDefaultDelay(110), 100);
  EXPECT_EQ(ConfigureDefaultDelay(10), 25);
  EXPECT_EQ(ConfigureDefaultDelay(9000), 5000);
  EXPECT_EQ(ConfigureDefaultDelay(-5), 25);
}

struct Prompts : EditorPrompts {
  std::optional<std::u16string> AskNewMacroName() override { return name; }
  std::optional<std::u16string> AskOpenPath() override { return openPath; }
  std::optional<std::u16string> AskSavePath(std::u16string_view) override { return savePath; }
  bool ConfirmClear() override {
    ++confirms;
    return confirm;
  }
  std::optional<std::u16string> name, openPath, savePath;
  bool confirm = false;
  int confirms = 0;
};

struct Hooks : RecordHooks {
  bool Install() override { return installed = true; }
  void Remove() override { installed = false; }
  bool Installed() const override { return installed; }
  bool installed = false;
};

class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKeyboardLanguage(KeyboardLanguage::FromLanguageId(0x0409));
    Put(u"Alpha.Mac", {0x6D, 0xA5, 0xA1, 4, 0, 25, 1, 0, 0, 0x04, 0x01, 0x04, 0x84});
    Put(u"Beta.mac", {0x6D, 0xA5, 0xA1, 2, 0, 25, 1, 100, 0, 0x05, 0x85});
    Put(u"Cut.Mac", {0x6D, 0xA5, 0xA1, 9, 0, 25, 1, 0, 0, 0x04});              // data cut short
    Put(u"Long.Mac", {0x6D, 0xA5, 0xA1, 0x2C, 0x01, 25, 1, 0, 0, 0x04, 0x84});  // 300 bytes
    Open();
  }
  std::u16string Folder() { return MacroFolder(files); }
  void Put(std::u16string_view name, Bytes b) { files.Put(Folder() + u"\\" + std::u16string(name), std::move(b)); }
  const Bytes* File(std::u16string_view name) { return files.Get(Folder() + u"\\" + std::u16string(name)); }
  void Open() { editor->Open(0x1234, RecordLayout{}, true); }
  int Index(std::u16string_view name) {
    const auto& n = editor->Names();
    for (std::size_t i = 0; i < n.size(); ++i)
      if (n[i] == name) return static_cast<int>(i);
    return -1;
  }
  void Choose(std::u16string_view name) { editor->ChooseMacro(Index(name)); }
  Bytes Data(std::u16string_view name) {
    const Bytes* f = File(std::u16string(name) + u".Mac");
    return f == nullptr || f->size() < 9 ? Bytes{} : Bytes(f->begin() + 9, f->end());
  }
  std::vector<int> Shown() {
    std::vector<int> n;
    for (const auto& s : messages.shown) n.push_back(s.number);
    messages.shown.clear();
    return n;
  }

  VirtualClock clock;
  MemoryRegistry registry;
  RegistryStore store{registry};
  MemoryFiles files;
  RecordingMessages messages;
  Prompts prompts;
  Hooks hooks;
  MemoryListView view;
  std::unique_ptr<MacroEditorModel> editor = std::make_unique<MacroEditorModel>(
      MacroEditorDeps{files, messages, prompts, store, clock, hooks, view, MacroFolder(files)});
};

TEST_F(EditorTest, OpeningListsMacrosAndKeepsTheCurrentOne) {
  EXPECT_EQ(editor->Names(), (std::vector<std::u16string>{u"Alpha", u"Beta", u"Cut", u"Long"}));
  EXPECT_EQ(store.GetDword(kMacroEditHandle), 0x1234);
  EXPECT_EQ(view.columns.size(), 3u);
  EXPECT_FALSE(editor->Enabled(c::kRecord));
  EXPECT_FALSE(editor->Enabled(c::kSaveAs));
  EXPECT_EQ(editor->CommandCaption(), u"Commands");
  Choose(u"Beta");
  EXPECT_EQ(editor->CurrentName(), u"Beta");
  EXPECT_EQ(editor->List().Count(), 2);
  EXPECT_TRUE(editor->DefaultShown());
  EXPECT_EQ(editor->DefaultText(), u"100");
  EXPECT_TRUE(editor->Enabled(c::kRecord));
  EXPECT_TRUE(editor->Enabled(c::kDefaultEdit));
  editor->Cancel();
  EXPECT_EQ(store.GetDword(kMacroEditHandle), -1);
  Open();  // a second opening: every name once, the current macro shown again
  EXPECT_EQ(editor->Names().size(), 4u);
  EXPECT_EQ(editor->CurrentName(), u"Beta");
  EXPECT_EQ(editor->List().Count(), 2);
  files.RemoveFile(Folder() + u"\\Beta.mac");
  editor->Cancel();
  Open();  // gone meanwhile: no current macro
  EXPECT_EQ(editor->CurrentName(), u"");
  EXPECT_EQ(editor->List().Count(), 0);
  EXPECT_TRUE(Shown().empty());
}

TEST_F(EditorTest, AFailedOpenKeepsThePreviousMacroAndItsRows) {
  Choose(u"Alpha");
  editor->ChooseCommand(2);
  editor->InsertCommand();  // Copy appended
  for (auto bad : {u"Cut", u"Long"}) {
    Choose(bad);
    EXPECT_EQ(editor->CurrentName(), u"Alpha");
    EXPECT_EQ(editor->SelectedName(), Index(u"Alpha"));
    EXPECT_EQ(editor->List().Count(), 3);
  }
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgLoadEepromFailed, kMsgBadFileFormat}));
  editor->Ok();
  EXPECT_EQ(Data(u"Alpha"), (Bytes{0x04, 0x01, 0x04, 0x84, 0x83, 0x82, 0, 0}));
  EXPECT_EQ(File(u"Cut.Mac")->size(), 10u);
  EXPECT_EQ(File(u"Long.Mac")->size(), 11u);
}

TEST_F(EditorTest, InsertDeleteMoveAndDelays) {
  Choose(u"Alpha");
  EXPECT_FALSE(editor->Enabled(c::kInsertCommand));
  editor->InsertCommand();
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgBadSelectedMacro}));
  editor->ChooseCommand(0);
  EXPECT_EQ(editor->CommandCaption(), u"Page UP");
  EXPECT_FALSE(editor->Enabled(c::kApply));
  editor->InsertCommand();  // none selected: appended
  EXPECT_TRUE(editor->Enabled(c::kApply));
  view.SelectOnly({1});
  editor->ChooseCommand(8);
  editor->InsertCommand();  // in front of the selected row
  view.SelectOnly({0, 1});
  editor->ChooseCommand(20);
  editor->InsertCommand();  // two selected: appended
  auto& list = editor->List();
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.RowText(1), u"Delete");
  EXPECT_EQ(list.RowText(3), u"Page UP");
  EXPECT_EQ(list.RowText(4), u"Alt-Tab");

  view.SelectOnly({0});
  EXPECT_FALSE(editor->Enabled(c::kUp));
  EXPECT_TRUE(editor->Enabled(c::kDown));
  editor->MoveDown();
  EXPECT_EQ(list.RowText(0), u"Delete");
  view.SelectOnly({4});
  EXPECT_TRUE(editor->Enabled(c::kUp));
  EXPECT_FALSE(editor->Enabled(c::kDown));

  editor->SetDelayText(u"7000");
  EXPECT_EQ(editor->DelayText(), u"5000");
  editor->SetDelayText(u"110");
  editor->StepUp();
  EXPECT_EQ(editor->DelayText(), u"150");
  editor->AdjustDelay();
  EXPECT_EQ(list.DelayTicks(4), 7);
  view.SelectOnly({});
  editor->AdjustDelay();
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgNoSelectedItem}));

  view.SelectOnly({1, 2});
  editor->Delete();
  EXPECT_EQ(list.Count(), 3);
  view.SelectOnly({});
  editor->Delete();  // asks, and keeps the rows on Cancel
  EXPECT_EQ(prompts.confirms, 1);
  EXPECT_EQ(list.Count(), 3);
  prompts.confirm = true;
  editor->Delete();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(editor->Enabled(c::kDelete));
  editor->Apply();
  EXPECT_EQ(Data(u"Alpha"), Bytes{});
  EXPECT_FALSE(editor->Enabled(c::kApply));
}

TEST_F(EditorTest, FileCommands) {
  prompts.name = u"alpha";  // exists whatever the case
  editor->CreateMacro();
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgMacroExists}));
  EXPECT_EQ(editor->CurrentName(), u"");
  prompts.name = u"Gamma";
  editor->CreateMacro();
  EXPECT_EQ(editor->CurrentName(), u"Gamma");
  EXPECT_EQ(*File(u"Gamma.Mac"), (Bytes{0x6D, 0xA5, 0xA1, 0, 0, 25, 1, 0, 0}));
  EXPECT_TRUE(editor->Modified());
  EXPECT_TRUE(editor->Enabled(c::kRecord));

  // Import: a copy of a file from elsewhere becomes current; a name that exists changes nothing.
  Choose(u"Alpha");
  files.Put(u"D:\\x\\Combo.mac", {0x6D, 0xA5, 0x01, 1, 0, 25, 0, 0, 0, 0x2C});
  prompts.openPath = u"D:\\x\\Combo.mac";
  editor->ImportMacro();
  EXPECT_EQ(editor->CurrentName(), u"Combo");
  EXPECT_TRUE(editor->WithoutShown());
  EXPECT_FALSE(editor->Modified());
  editor->ImportMacro();
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgMacroExists}));
  EXPECT_EQ(editor->CurrentName(), u"Combo");
  files.Put(u"D:\\x\\Broken.mac", {0x6D, 0xA5, 0x04, 0, 0, 25, 0, 0, 0});
  prompts.openPath = u"D:\\x\\Broken.mac";
  editor->ImportMacro();
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgBadFileFormat}));
  EXPECT_EQ(editor->CurrentName(), u"Combo");
  EXPECT_EQ(editor->List().Count(), 1);

  prompts.savePath = u"D:\\x\\Copy.mac";
  editor->SaveAs();
  EXPECT_EQ(*files.Get(u"D:\\x\\Copy.mac"), (Bytes{0x6D, 0xA5, 0xA1, 1, 0, 25, 0, 0, 0, 0x2C}));

  editor->DeleteMacroFile();
  EXPECT_EQ(File(u"Combo.Mac"), nullptr);
  EXPECT_EQ(editor->CurrentName(), u"");
  EXPECT_EQ(editor->List().Count(), 0);
  EXPECT_FALSE(editor->Enabled(c::kDeleteFile));
  EXPECT_FALSE(editor->Enabled(c::kRecord));
}

TEST_F(EditorTest, DelayToggles) {
  Choose(u"Alpha");
  EXPECT_FALSE(editor->Enabled(c::kDefaultEdit));
  editor->ToggleDefaultDelay();
  EXPECT_TRUE(editor->Enabled(c::kDefaultEdit));
  editor->EditChanged(c::kDefaultEdit, u"110");
  editor->ConfigureDelay();
  EXPECT_EQ(editor->DefaultText(), u"100");
  EXPECT_EQ(editor->Committed().mode, RecordingSettings::Mode::kDefaultDelay);
  editor->ToggleWithoutDelay();
  EXPECT_FALSE(editor->DefaultShown());
  EXPECT_EQ(editor->Committed().mode, RecordingSettings::Mode::kDefaultDelay);  // not yet committed
  editor->ConfigureDelay();
  EXPECT_EQ(editor->Committed().mode, RecordingSettings::Mode::kWithoutDelay);
  EXPECT_FALSE(editor->Modified());
  editor->ToggleWithoutDelay();
  editor->ConfigureDelay();  // measured: no default delay that would read back as the default mode
  editor->ChooseCommand(1);
  editor->InsertCommand();
  editor->Apply();
  Choose(u"Beta");
  Choose(u"Alpha");
  EXPECT_EQ(editor->Committed().mode, RecordingSettings::Mode::kMeasured);
  EXPECT_FALSE(editor->DefaultShown());
  EXPECT_FALSE(editor->WithoutShown());
}

TEST_F(EditorTest, RecordingThroughTheEditor) {
  Choose(u"Beta");  // default delay 100 from its file
  editor->List().ClearAll();
  editor->Record();
  EXPECT_TRUE(editor->Busy());
  EXPECT_EQ(store.GetDword(kMacroRecordStart), 1);
  for (int id : {c::kOk, c::kApply, c::kRecord, c::kDelete, c::kMacroDrop, c::kCreate, c::kDefaultEdit})
    EXPECT_FALSE(editor->Enabled(id)) << id;
  EXPECT_TRUE(editor->Enabled(c::kStop));
  editor->RecordKey(0x41, 0x001E0001);
  editor->InformUi(UI_RECORDED_KEY, PackRecordedKey(0x5B, false));
  editor->InformUi(UI_RECORDED_KEY, PackRecordedKey(0x5B, true));
  editor->RecordKey(0x41, 0xC01E0001);
  EXPECT_TRUE(editor->RecordMouse({mouse_msg::kMouseWheel, 0x00780000u, false}));
  editor->InformUi(0, ProfileChangeWord(3));
  editor->InformUi(7, 0);
  EXPECT_EQ(editor->NotedProfile(), 3);
  editor->Stop();
  editor->Stop();
  EXPECT_FALSE(editor->Busy());
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(store.GetDword(kMacroRecordStart), 0);
  // What the list shows is what is saved, the delay after the last row included.
  auto& list = editor->List();
  ASSERT_EQ(list.Count(), 5);
  for (int r = 0; r < 5; ++r) EXPECT_EQ(view.items[r].text[2], u"100ms") << r;
  editor->Ok();
  EXPECT_EQ(Data(u"Beta"), (Bytes{0x04, 1, 4, 0x73, 1, 4, 0xF3, 1, 4, 0x84, 1, 4, 0xFE, 1, 4}));
  EXPECT_TRUE(Shown().empty());
}

TEST_F(EditorTest, ClosingWhileRecordingTakesTheHooksOff) {
  for (bool ok : {false, true}) {
    Choose(u"Alpha");
    editor->Record();
    ASSERT_TRUE(hooks.installed);
    editor->RecordKey(0x10, 0x002A0001);  // Shift held when the window goes
    ok ? editor->Ok() : editor->Cancel();
    EXPECT_FALSE(hooks.installed);
    EXPECT_EQ(store.GetDword(kMacroRecordStart), 0);
    EXPECT_EQ(store.GetDword(kMacroEditHandle), -1);
    EXPECT_EQ(editor->List().Row(editor->List().Count() - 1).code[0], 0xF1);
    Open();
  }
  // OK saved the recording; Cancel did not.
  EXPECT_EQ(Data(u"Alpha"), (Bytes{0x04, 0x01, 0x04, 0x84, 0x71, 0xF1}));
  editor->Record();
  editor.reset();
  EXPECT_FALSE(hooks.installed);
  EXPECT_EQ(store.GetDword(kMacroRecordStart), 0);
}

TEST_F(EditorTest, AFullMacroRefusesCommands) {
  Choose(u"Alpha");
  editor->ChooseCommand(7);  // six bytes
  for (int i = 0; i < 42; ++i) editor->InsertCommand();
  EXPECT_EQ(editor->List().UsedBytes(), 4 + 6 * 42);
  editor->InsertCommand();
  EXPECT_EQ(Shown(), (std::vector<int>{kMsgBufferFull}));
  EXPECT_EQ(editor->List().UsedBytes(), 256);
}

}  // namespace
}  // namespace halvard
