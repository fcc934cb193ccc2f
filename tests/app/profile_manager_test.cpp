#include "app/profile_manager.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>

#include "app/messages.h"
#include "device/simulated_hid.h"
#include "ipc/messages.h"
#include "platform/registry_memory.h"
#include "store/profile_file.h"

namespace halvard {
namespace {

// Files in memory whose copies and removals can be told to fail at the nth call.
class FaultyFiles : public MemoryFiles {
 public:
  bool CopyNew(std::u16string_view from, std::u16string_view to) override {
    return copies++ != failCopyAt && MemoryFiles::CopyNew(from, to);
  }
  bool RemoveFile(std::u16string_view path) override {
    return removes++ != failRemoveAt && MemoryFiles::RemoveFile(path);
  }
  int copies = 0, removes = 0, failCopyAt = -1, failRemoveAt = -1;
};

// The shortest file the main window loads: the header and the settings and headers of a block.
std::vector<std::uint8_t> ProfileBytes(std::uint8_t mark) {
  std::vector<std::uint8_t> b = {kProfileMagic[0], kProfileMagic[1], kProfileMagic[2], kFileSlotsOffset - kProfileHeaderSize, 0, 0};
  b.resize(kFileSlotsOffset, mark);
  return b;
}

const Hwnd kMain = HandleFromValue(0x1234);
const Hwnd kPage = HandleFromValue(0x5678);

class ProfileManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tessel->Reset();
    for (int i = 0; i < 71; ++i) tessel->MarkLoaded(B(1) + i, i + 1);
    store.SetDword(kProcessHandle, ValueFromHandle(kMain));
  }
  std::u16string Path(std::u16string_view file) { return DataFolder(files) + u"\\" + std::u16string(file); }
  void Put(std::u16string_view file, std::uint8_t mark = 7) { files.Put(Path(file), std::vector<std::uint8_t>(10, mark)); }
  std::vector<std::u16string> Rows() {
    std::vector<std::u16string> r;
    for (int i = 0; i < pm.RowCount(); ++i) r.push_back(pm.RowName(i));
    return r;
  }
  // The rows as a set equal the profile files of the folder.
  void ExpectRowsAreFolder() {
    std::vector<std::u16string> folder = ListProfileNames(files), rows = Rows();
    std::sort(folder.begin(), folder.end());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, folder);
  }
  int Posted(std::uintptr_t code) {
    int n = 0;
    for (const auto& p : windows.posted) n += p.window == kMain && p.message == WM_INFORM_UI && p.wParam == code;
    return n;
  }

  VirtualClock clock;
  SimulatedHid hid;
  std::unique_ptr<CIcTessel> tessel = std::make_unique<CIcTessel>(hid, clock);
  MemoryRegistry registry;
  RegistryStore store{registry};
  FaultyFiles files;
  RecordingMessages messages;
  RecordingWindowServices windows;
  ProfileManagerModel pm{PmDeps{*tessel, store, files, messages, windows}, 1};
};

TEST(ProfileManagerTexts, RowNumbersAndCopyNames) {
  const std::u16string pad(17, u' ');
  EXPECT_EQ(PmRowText(1), pad + u"01");
  EXPECT_EQ(PmRowText(9), pad + u"09");
  EXPECT_EQ(PmRowText(10), pad + u"10");
  EXPECT_EQ(PmRowText(123), pad + u"123");
  EXPECT_EQ(PmCopyName(u"Race", 0), u"Race_COPY");
  EXPECT_EQ(PmCopyName(u"Race", 1), u"Race_COPY0");
  EXPECT_EQ(PmCopyName(u"Race", 99), u"Race_COPY98");
  EXPECT_EQ(PmFileForTypedName(u"Race"), u"Race.PF");
  EXPECT_EQ(PmFileForTypedName(u"Race.pF"), u"Race.pF");
}

TEST(ProfileManagerTexts, TypedNames) {
  for (std::u16string_view good : {u"Race", u"My Game 2", u"a.b", u"x", u"COM0", u"console", u"Ünïcode"})
    EXPECT_TRUE(PmNameUsable(good)) << std::string(good.begin(), good.end());
  for (std::u16string_view bad : {u"", u"a\\b", u"a/b", u"C:x", u"..", u"..\\up", u"a..b", u"x?y", u"x*", u"a<b",
                                  u"a|b", u"q\"", u"CON", u"nul.txt", u"lpt1", u"Com9", u"trail.", u"trail ",
                                  u"tab\tin", u"0123456789012345678901234567890123"})
    EXPECT_FALSE(PmNameUsable(bad)) << std::string(bad.begin(), bad.end());
}

TEST_F(ProfileManagerTest, OpenListsProfileFilesAndSelects) {
  Put(u"Race.PF");
  Put(u"b.pf");
  Put(u"notes.txt");
  Put(u"xpf");    // three characters: no row
  Put(u"abpf");   // ends in "pf": row "a"
  files.Put(Path(u"Sub\\Deep.PF"), {});
  pm.Open();
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{u"a", u"b", u"Race"}));
  EXPECT_EQ(pm.Selected(), 2);
  pm.Open(0);
  EXPECT_EQ(pm.Selected(), 0);
  EXPECT_EQ(pm.RowFile(0), u"abpf");
}

TEST_F(ProfileManagerTest, CreateAsksTheMainWindowAndFollowsItsAnswer) {
  pm.Open();
  // An answer nobody asked for creates nothing.
  EXPECT_FALSE(pm.OnCreateAnswer(1));
  for (std::intptr_t answer : {0, 1}) {
    ASSERT_TRUE(pm.RequestCreate(u"Race", kPage));
    ASSERT_FALSE(windows.posted.empty());
    const auto& ask = windows.posted.back();
    EXPECT_EQ(ask.window, kMain);
    EXPECT_EQ(ask.wParam, UI_READ_PROFILE);
    EXPECT_EQ(ask.lParam, static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(kPage)));
    EXPECT_TRUE(pm.AwaitingAnswer());
    EXPECT_EQ(pm.OnCreateAnswer(answer), answer == 1);
    EXPECT_FALSE(pm.AwaitingAnswer());
  }
  const auto* f = files.Get(Path(u"Race.PF"));
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(f->size(), kProfileFileSize);
  EXPECT_EQ((*f)[kFileSettingsOffset], 1);  // profile 1's settings block
  EXPECT_EQ(Rows(), std::vector<std::u16string>{u"Race"});
  EXPECT_EQ(pm.Selected(), 0);
  EXPECT_EQ(Posted(UI_PROFILE_FILES_CHANGED), 1);
  EXPECT_EQ(files.files.size(), 1u);  // nothing written under another name is left

  // The name is taken now: message 19 and no request; without a main window no request either.
  EXPECT_FALSE(pm.RequestCreate(u"race", kPage));
  EXPECT_EQ(messages.shown.back().number, kMsgMacroExists);
  store.SetDword(kProcessHandle, 0xFFFFFFFFu);
  const auto before = windows.posted.size();
  EXPECT_FALSE(pm.RequestCreate(u"Other", kPage));
  EXPECT_EQ(windows.posted.size(), before);
  EXPECT_FALSE(pm.AwaitingAnswer());
}

TEST_F(ProfileManagerTest, TypedNamesOutsideTheFolderAreRefused) {
  Put(u"Race.PF");
  pm.Open();
  for (std::u16string_view bad : {u"..\\Evil", u"C:\\Evil", u"sub/Evil", u"", u"a?b", u"AUX"}) {
    const auto before = files.files;
    messages.shown.clear();
    EXPECT_FALSE(pm.RequestCreate(bad, kPage));
    EXPECT_FALSE(pm.Rename(bad));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].number, kMsgCantFindPath);
    EXPECT_EQ(files.files, before);
    EXPECT_EQ(Rows(), std::vector<std::u16string>{u"Race"});
  }
  EXPECT_EQ(Posted(UI_READ_PROFILE), 0);
}

TEST_F(ProfileManagerTest, RenameMovesTheFileAndSameNameTouchesNothing) {
  Put(u"Race.PF", 1);
  Put(u"Snipe.PF", 2);
  pm.Open(0);
  EXPECT_FALSE(pm.Rename(u"Race"));
  EXPECT_EQ(files.copies + files.removes, 0);
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_EQ(Posted(UI_PROFILE_FILES_CHANGED), 0);

  EXPECT_TRUE(pm.Rename(u"Rally"));
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{u"Rally", u"Snipe"}));
  EXPECT_EQ(files.Get(Path(u"Rally.PF"))->front(), 1);
  EXPECT_EQ(files.Get(Path(u"Race.PF")), nullptr);
  EXPECT_TRUE(pm.Rename(u"RALLY"));  // a change of case only
  EXPECT_EQ(pm.RowFile(0), u"RALLY.PF");
  EXPECT_EQ(files.Get(Path(u"rally.pf"))->front(), 1);
  EXPECT_FALSE(pm.Rename(u"Snipe"));  // taken
  EXPECT_EQ(messages.shown.back().number, kMsgMacroExists);
  EXPECT_EQ(files.Get(Path(u"Snipe.PF"))->front(), 2);
  EXPECT_EQ(Posted(UI_PROFILE_FILES_CHANGED), 2);
}

TEST_F(ProfileManagerTest, CopyTakesTheFirstFreeNameUpToTheHundredthAttempt) {
  Put(u"Race.PF");
  pm.Open(0);
  EXPECT_TRUE(pm.Copy());
  EXPECT_TRUE(pm.Copy());
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{u"Race", u"Race_COPY", u"Race_COPY0"}));
  EXPECT_EQ(pm.Selected(), 0);
  for (int a = 2; a < kPmCopyAttempts - 1; ++a) Put(PmCopyName(u"Race", a) + u".PF");
  pm.Open(0);
  EXPECT_TRUE(pm.Copy());
  EXPECT_NE(files.Get(Path(u"Race_COPY98.PF")), nullptr);
  const auto before = files.files.size();
  EXPECT_FALSE(pm.Copy());
  EXPECT_EQ(messages.shown.back().number, kMsgMacroExists);
  EXPECT_EQ(files.files.size(), before);
  ExpectRowsAreFolder();
}

TEST_F(ProfileManagerTest, DeleteSelectsTheNextOrThePreviousRow) {
  for (auto f : {u"A.PF", u"B.PF", u"C.PF"}) Put(f);
  pm.Open(1);
  EXPECT_TRUE(pm.Delete());
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{u"A", u"C"}));
  EXPECT_EQ(pm.Selected(), 1);
  EXPECT_TRUE(pm.Delete());
  EXPECT_EQ(pm.Selected(), 0);
  EXPECT_TRUE(pm.Delete());
  EXPECT_EQ(pm.Selected(), -1);
  EXPECT_FALSE(pm.Delete());
  EXPECT_EQ(Posted(UI_PROFILE_FILES_CHANGED), 3);
}

TEST_F(ProfileManagerTest, ImportExportAndActiveName) {
  files.Put(u"D:\\Share\\Game.pf", ProfileBytes(1));
  files.Put(u"D:\\Share\\notes.txt", {4});
  files.Put(u"D:\\Share\\Broken.pf", {1, 2, 3});
  pm.Open();
  EXPECT_FALSE(pm.Import(u"D:\\Share\\notes.txt"));
  EXPECT_TRUE(messages.shown.empty());
  EXPECT_FALSE(pm.Import(u"D:\\Share\\Broken.pf"));  // the main window could not load it
  EXPECT_EQ(messages.shown.back().number, kMsgBadFileFormat);
  EXPECT_EQ(pm.RowCount(), 0);
  EXPECT_TRUE(pm.Import(u"D:\\Share\\Game.pf"));
  EXPECT_EQ(pm.RowFile(0), u"Game.pf");
  EXPECT_FALSE(pm.Import(u"D:\\Share\\Game.pf"));  // never replaces
  EXPECT_EQ(messages.shown.back().number, kMsgMacroExists);

  pm.Select(0);
  EXPECT_EQ(pm.ExportName(), u"Game.PF");
  files.Put(u"D:\\Out\\Game.PF", {9});
  EXPECT_TRUE(pm.Export(u"D:\\Out\\Game.PF"));
  EXPECT_EQ(*files.Get(u"D:\\Out\\Game.PF"), ProfileBytes(1));
  EXPECT_EQ(files.Get(u"D:\\Out\\Game.PF.part"), nullptr);
  EXPECT_EQ(pm.ActiveName(), u"Game");

  Put(u"0123456789012345678901234567890123.PF");  // longer than the mouse keeps
  Put(u"xxpf");
  pm.Open();
  for (int row = 0; row < pm.RowCount(); ++row) {
    pm.Select(row);
    EXPECT_EQ(pm.ActiveName().has_value(), pm.RowName(row) == u"Game") << row;
  }
}

// Every failure of a file operation is reported, leaves the rows equal to the folder, keeps every
// file that was there as it was, and leaves nothing half-made.
TEST_F(ProfileManagerTest, FailuresLeaveTheRowsEqualToTheFolder) {
  struct Op {
    const char* name;
    std::function<bool(ProfileManagerModel&)> run;
  };
  const std::vector<Op> ops = {
      {"create", [](ProfileManagerModel& m) { return m.RequestCreate(u"Fresh", kPage) && m.OnCreateAnswer(1); }},
      {"import", [](ProfileManagerModel& m) { return m.Import(u"D:\\Share\\Game.pf"); }},
      {"copy", [](ProfileManagerModel& m) { return m.Copy(); }},
      {"rename", [](ProfileManagerModel& m) { return m.Rename(u"Rally"); }},
      {"case", [](ProfileManagerModel& m) { return m.Rename(u"RACE"); }},
      {"delete", [](ProfileManagerModel& m) { return m.Delete(); }},
      {"export", [](ProfileManagerModel& m) { return m.Export(u"D:\\Out\\Race.PF"); }},
      {"active", [](ProfileManagerModel& m) { return m.ActiveName().has_value(); }},
  };
  enum Fault { kCopy, kRemove, kCreateFile, kWrite, kVanished };
  for (const auto& op : ops) {
    for (Fault fault : {kCopy, kRemove, kCreateFile, kWrite, kVanished}) {
      for (int at = 0; at < 4; ++at) {
        SCOPED_TRACE(std::string(op.name) + " fault " + std::to_string(fault) + " at " + std::to_string(at));
        files.files.clear();
        files.copies = files.removes = 0;
        files.failCopyAt = files.failRemoveAt = files.failWritesAfter = -1;
        files.failCreate = false;
        messages.shown.clear();
        Put(u"Race.PF", 1);
        Put(u"Race_COPY.PF", 2);
        Put(u"Other.PF", 3);
        files.Put(u"D:\\Share\\Game.pf", ProfileBytes(4));
        files.Put(u"D:\\Out\\Race.PF", {5});
        pm.Open();
        for (int r = 0; r < pm.RowCount(); ++r)
          if (pm.RowName(r) == u"Race") pm.Select(r);
        switch (fault) {
          case kCopy: files.failCopyAt = at; break;
          case kRemove: files.failRemoveAt = at; break;
          case kCreateFile: files.failCreate = true; break;
          case kWrite: files.failWritesAfter = at == 0 ? 0 : -1; break;
          case kVanished: files.files.erase(Path(u"Race.PF")); break;
        }
        const auto before = files.files;
        const auto namesBefore = ListProfileNames(files);
        const bool ok = op.run(pm);
        ExpectRowsAreFolder();
        // A temporary that could not be removed is whole; only a failed removal may leave one.
        if (fault != kRemove) {
          for (const auto& [path, bytes] : files.files)
            EXPECT_FALSE(path.starts_with(DataFolder(files)) && path.ends_with(u".part")) << "left behind";
        }
        if (ok) continue;
        EXPECT_FALSE(messages.shown.empty()) << "a failure without a message";
        EXPECT_EQ(ListProfileNames(files), namesBefore) << "a failure made a profile file";
        if (std::string(op.name) == "export") continue;  // its target lies outside the folder
        for (const auto& [path, bytes] : before) {
          const auto* now = files.Get(path);
          EXPECT_TRUE(now != nullptr && *now == bytes) << "changed or lost";
        }
      }
    }
  }
}

}  // namespace
}  // namespace halvard
