// Bad files in the data folder: empty, cut short in every region, oversized, random bytes, a
// wrong magic or a lying length, under plain and odd names. The lists show the folder as it is;
// every loader says why it refuses a file and changes nothing: not the shadow, the registry, the
// mouse or the folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>

#include "app/button_assign.h"
#include "app/main_page.h"
#include "app/messages.h"
#include "app/profile_manager.h"
#include "app/prompt_model.h"
#include "app/session.h"
#include "device/simulated_hid.h"
#include "macro/macro_file.h"
#include "store/value_names.h"
#include "tests/app/session_world.h"

namespace halvard {
namespace {

const Hwnd kSelf = HandleFromValue(0x1230);

struct BadFile {
  std::string what;
  std::vector<std::uint8_t> bytes;
};

// Damaged forms of a good file whose first `header` bytes are its header and whose loader needs
// at least `needed` bytes.
std::vector<BadFile> Damaged(const std::vector<std::uint8_t>& good, std::size_t header, std::size_t needed) {
  std::vector<BadFile> out{{"empty", {}}};
  for (std::size_t cut : {std::size_t{1}, header - 1, header, (header + needed) / 2, needed - 1})
    out.push_back({"cut to " + std::to_string(cut), {good.begin(), good.begin() + static_cast<long>(cut)}});
  std::mt19937 random(7);
  for (int n = 0; n < 6; ++n) {
    std::vector<std::uint8_t> bytes(random() % (2 * good.size() + 1));
    for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
    if (!bytes.empty()) bytes[0] = static_cast<std::uint8_t>(good[0] ^ 0xFF);
    out.push_back({"random " + std::to_string(n), bytes});
  }
  std::vector<std::uint8_t> big(4u << 20, 0xEE);
  out.push_back({"oversized", big});
  auto magic = good;
  magic[1] ^= 0x5A;
  out.push_back({"wrong magic", magic});
  auto lying = good;
  lying[3] = lying[4] = 0xFF;
  out.push_back({"lying length", lying});
  return out;
}

std::vector<std::uint8_t> GoodMacro() {
  std::vector<std::uint8_t> b = {kMacroMagic0, kMacroMagic1, kMacroFormat, 6, 0, 0, 1, 0, 0, 0x04, 0x84, 0x79, 0x05, 0x85, 0x79};
  return b;
}

// Names a folder can hold; the ones over 31 characters are longer than the mouse keeps.
const std::vector<std::u16string> kOddNames = {u"Plain",
                                               u"Über Straße",
                                               u"名前のプロファイル",
                                               u"Pad \U0001F3AE",
                                               u"100%s%n",
                                               u"two  spaces ",
                                               u"a.pf",
                                               u"-",
                                               u"A name far longer than the mouse keeps for its profiles"};

struct Rig : SessionWorld {
  Rig() {
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse, u""));
    files.documents = u"C:\\Docs";
    files.CreateFolder(DataFolder(files));
    session->Initialise();
    Run();
    // A profile file to make the good file from (its DPI codes its own), and registry texts a
    // load would replace.
    for (int i = 1; i <= 4; ++i) {
      mouse.SetCell(B(1) + i, static_cast<std::uint8_t>(29 + i));
      tessel->MarkLoaded(B(1) + i, 29 + i);
    }
    WriteProfileName(*tessel, 1, u"Good");
    profiles.CreateFile(1, u"Good");
    good = *files.Get(ProfileFilePath(files, u"Good"));
    files.RemoveFile(ProfileFilePath(files, u"Good"));
    WriteProfileName(*tessel, 1, u"Before");
    for (int b = 0; b < kButtonCount; ++b) store.SetString(ButtonValueName(0, b, ButtonValue::kMacroName), u"Kept");
    mouse.ClearTrace();
  }
  void Run() {
    Hwnd w;
    std::uint32_t id;
    for (int n = 0; n < 100000 && windows.NextDue(&w, &id); ++n) {
      if (id == kTimerMacroWrite)
        assign.OnTimer(id);
      else
        session->OnTimer(id);
    }
  }
  std::u16string Data(std::u16string_view file) const { return u"C:\\Docs\\Halvard\\" + std::u16string(file); }
  // The name on the mouse and in the shadow alike.
  void NameOnMouse(int p, std::u16string_view name) {
    WriteProfileName(*tessel, p, name);
    for (int c = 0; c < kNameSize; ++c) {
      mouse.SetCell(N(p) + c, static_cast<std::uint8_t>(tessel->Value(N(p) + c)));
      tessel->MarkLoaded(N(p) + c, tessel->Value(N(p) + c));
    }
  }
  // Everything a refused file must leave alone.
  struct State {
    std::vector<MemoryCell> shadow;
    std::vector<std::u16string> values;
    decltype(MemoryFiles::files) folder;
    std::size_t writes;
  };
  State Now() {
    State s{{tessel->Shadow().begin(), tessel->Shadow().end()}, {}, files.files, 0};
    for (auto& e : mouse.Trace()) s.writes += e.set && e.ok && e.bytes[1] == kReqWriteCell;
    for (int b = 0; b < kButtonCount; ++b)
      for (auto which : {ButtonValue::kMacroName, ButtonValue::kApplication, ButtonValue::kApplicationName}) {
        char16_t buf[300] = {};
        store.GetString(ButtonValueName(0, b, which), buf);
        s.values.push_back(buf);
      }
    s.values.push_back(std::u16string(1, static_cast<char16_t>(store.GetDword(XyFlagName(0)))));
    return s;
  }
  // Only a cell read from the mouse meanwhile may differ, and then it holds what the mouse does.
  ::testing::AssertionResult Unchanged(const State& before) {
    const State now = Now();
    for (int a = 0; a < kEepromSize; ++a) {
      const MemoryCell &was = before.shadow[static_cast<std::size_t>(a)], &is = now.shadow[static_cast<std::size_t>(a)];
      const bool read = !was.valid && !was.dirty && is.valid && !is.dirty && is.value == mouse.Cell(a);
      if (!read && (was.valid != is.valid || was.dirty != is.dirty || was.value != is.value))
        return ::testing::AssertionFailure() << "cell " << a << " changed";
    }
    if (now.values != before.values) return ::testing::AssertionFailure() << "a registry value changed";
    if (now.folder != before.folder) return ::testing::AssertionFailure() << "the folder changed";
    if (now.writes != before.writes) return ::testing::AssertionFailure() << "the mouse was written";
    return ::testing::AssertionSuccess();
  }

  SimulatedMouse mouse{&clock, 0x2002};
  NullSessionView view;
  std::unique_ptr<DeviceSession> session = std::make_unique<DeviceSession>(Deps(view, kSelf));
  MacroPromptAnswers answers;
  ButtonAssignment assign{AssignDeps{*tessel, *session, store, files, messages, shell, windows, clock, answers, kSelf}};
  std::vector<std::uint8_t> good;
};

struct NoPrompts : MacroFilePrompts {
  std::optional<std::u16string> AskNewMacroName() override { return std::nullopt; }
  std::optional<std::u16string> AskOpenPath() override { return std::nullopt; }
  std::optional<std::u16string> AskSavePath(std::u16string_view) override { return std::nullopt; }
};

TEST(BadFiles, ProfileFilesAreRefusedWithAMessageAndChangeNothing) {
  Rig probe;
  const auto bad = Damaged(probe.good, kProfileHeaderSize, kFileSlotsOffset);
  for (const std::u16string& name : kOddNames) {
    for (const BadFile& file : bad) {
      SCOPED_TRACE(file.what);
      Rig r;
      const std::u16string fileName = name + u".PF";
      r.files.Put(r.Data(fileName), file.bytes);
      r.files.Put(r.Data(u"Other.pf"), r.good);
      // The main window's list and the profile manager's rows hold the folder as it is.
      const auto entries = ProfileListEntries(r.files);
      ASSERT_EQ(entries.size(), 3u);
      ASSERT_NE(std::find(entries.begin(), entries.end(), name), entries.end());
      ProfileManagerModel pm{PmDeps{*r.tessel, r.store, r.files, r.messages, r.windows}, 0};
      pm.Open();
      ASSERT_EQ(pm.RowCount(), 2);
      r.NameOnMouse(3, name);
      const auto before = r.Now();
      // Picked from the list, sent by the profile manager's Set Active, or reloaded as sharing
      // the name of a profile just saved.
      const int position = static_cast<int>(std::find(entries.begin(), entries.end(), name) - entries.begin());
      EXPECT_TRUE(ChooseProfileEntry(*r.session, entries, position));
      r.session->OnInformUi(UI_SET_PROFILE_NAME, reinterpret_cast<std::intptr_t>(name.c_str()));
      EXPECT_EQ(r.session->LoadProfileFile(3, false), 0);
      r.Run();
      EXPECT_FALSE(r.session->transferRunning());
      ASSERT_EQ(r.messages.shown.size(), 3u);
      for (auto& m : r.messages.shown)
        EXPECT_TRUE(m.number == kMsgBadFileFormat || m.number == kMsgCantFindPath) << m.number;
      EXPECT_TRUE(r.Unchanged(before));
      // Imported from elsewhere it never joins the folder.
      r.files.Put(u"D:\\Share\\" + fileName, file.bytes);
      r.messages.shown.clear();
      EXPECT_FALSE(pm.Import(u"D:\\Share\\" + fileName));
      ASSERT_EQ(r.messages.shown.size(), 1u);
      EXPECT_EQ(r.messages.shown.back().number, kMsgBadFileFormat);
      EXPECT_EQ(*r.files.Get(r.Data(fileName)), file.bytes);
    }
  }
}

TEST(BadFiles, GoodProfileFilesUnderOddNamesLoadWhenTheMouseCanKeepTheName) {
  for (const std::u16string& name : kOddNames) {
    SCOPED_TRACE(testing::Message() << name.size() << " characters");
    Rig r;
    auto bytes = r.good;
    bytes.resize(bytes.size() + (1u << 20), 0xEE);  // trailing bytes are not read
    r.files.Put(r.Data(name + u".PF"), bytes);
    const auto entries = ProfileListEntries(r.files);
    ASSERT_EQ(entries.size(), 2u);
    const bool fits = name.size() <= kNameMaxChars;
    const std::u16string oldName = r.profiles.ProfileName(0);
    EXPECT_TRUE(ChooseProfileEntry(*r.session, entries, 1));
    r.Run();
    EXPECT_EQ(r.messages.shown.size(), fits ? 0u : 1u);
    EXPECT_EQ(r.profiles.ProfileName(0), fits ? name : oldName);
    // The file's DPI codes are on the mouse in profile 0 (or, refused, the old ones still).
    for (int i = 1; i <= 4; ++i) ASSERT_EQ(r.mouse.Cell(B(0) + i) == 29 + i, fits) << i;
  }
}

TEST(BadFiles, MacroFilesAreRefusedWithAMessageAndChangeNothing) {
  const auto good = GoodMacro();
  const auto bad = Damaged(good, kMacroHeaderSize, good.size());
  for (const std::u16string& name : kOddNames) {
    if (name.size() > kMacroNameMaxChars) continue;
    for (const BadFile& file : bad) {
      SCOPED_TRACE(file.what);
      Rig r;
      r.files.Put(r.Data(name + u".Mac"), file.bytes);
      r.files.Put(r.Data(u"Good.mac"), good);
      // The editor's list holds both; opening the bad one keeps the good one current.
      NoPrompts prompts;
      MemoryListView view;
      CSkinLVCmdList rows(view);
      MacroLibrary library(r.files, r.messages, prompts, rows, MacroFolder(r.files));
      library.Refresh();
      ASSERT_EQ(library.Names().size(), 2u);
      const auto at = [&](std::u16string_view n) {
        return static_cast<int>(std::find(library.Names().begin(), library.Names().end(), n) - library.Names().begin());
      };
      library.Select(at(u"Good"));
      ASSERT_TRUE(library.OpenSelected());
      const int rowCount = rows.Count();
      library.Select(at(name));
      EXPECT_FALSE(library.OpenSelected());
      EXPECT_EQ(library.CurrentName(), u"Good");
      EXPECT_EQ(rows.Count(), rowCount);
      ASSERT_EQ(r.messages.shown.size(), 1u);
      // Assigned to a button: nothing reaches the mouse, the shadow or the registry.
      const auto before = r.Now();
      r.assign.Select(4);
      r.answers.macro = AssignView::MacroAnswer{name, kChoiceOnce, 0};
      r.assign.AssignMacro();
      r.Run();
      EXPECT_EQ(r.messages.shown.size(), 2u);
      EXPECT_TRUE(r.Unchanged(before));
    }
  }
}

}  // namespace
}  // namespace halvard
