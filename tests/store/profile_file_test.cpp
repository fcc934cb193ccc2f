#include "store/profile_file.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/messages.h"
#include "device/simulated_hid.h"
#include "platform/registry_memory.h"
#include "store/value_names.h"

namespace halvard {
namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tessel->Reset();
    for (auto e : FactoryList()) tessel->MarkLoaded(e.address, e.value);
  }
  std::u16string Path(std::u16string_view name) { return ProfileFilePath(files, name); }
  const std::vector<std::uint8_t>& File(std::u16string_view name) { return *files.Get(Path(name)); }
  std::u16string Text(std::u16string_view value) {
    char16_t buf[RegistryStore::kStringChars];
    return store.GetString(value, buf) ? std::u16string(buf) : u"(none)";
  }
  // Profile p with a distinct look: settings, two macros, texts and the X-Y flag.
  void Decorate(int p) {
    for (int i = 0; i < 71; ++i) tessel->MarkLoaded(B(p) + i, (i * 7 + 3) & 0xFF);
    tessel->MarkLoaded(H(p) + 0, 3);  // button 0: 3 bytes, repeat mode 1
    tessel->MarkLoaded(H(p) + 3, 0x01);
    tessel->MarkLoaded(H(p) + 8, 0x00);  // button 2: 256 bytes (byte 3 = 0x15)
    tessel->MarkLoaded(H(p) + 11, 0x15);
    for (int c = 0; c < 256; ++c) {
      tessel->MarkLoaded(M(p) + c, 0xA0 + (c % 16));
      tessel->MarkLoaded(M(p) + 512 + c, c);
    }
    store.SetString(ButtonValueName(p, 0, ButtonValue::kMacroName), u"Combo");
    store.SetString(ButtonValueName(p, 4, ButtonValue::kApplication), u"C:\\Games\\run.exe");
    store.SetString(ButtonValueName(p, 4, ButtonValue::kApplicationName), u"Run");
    store.SetDword(XyFlagName(p), 1);
  }

  VirtualClock clock;
  SimulatedHid hid;
  std::unique_ptr<CIcTessel> tessel = std::make_unique<CIcTessel>(hid, clock);
  MemoryRegistry registry;
  RegistryStore store{registry};
  MemoryFiles files;
  RecordingMessages messages;
  ProfileFiles profiles{*tessel, store, files, messages};
  std::vector<std::uint16_t> list = std::vector<std::uint16_t>(16385);
};

TEST_F(ProfileFileTest, NamesOfProfileFiles) {
  EXPECT_TRUE(IsProfileFileName(u"Sniper.PF"));
  EXPECT_TRUE(IsProfileFileName(u"a.pf"));
  EXPECT_TRUE(IsProfileFileName(u"xxPf"));  // only the last two characters count
  EXPECT_FALSE(IsProfileFileName(u".PF"));
  EXPECT_FALSE(IsProfileFileName(u"Sniper.mac"));
  EXPECT_EQ(ProfileNameFromFile(u"Sniper.PF"), u"Sniper");
  EXPECT_EQ(DataFolder(files), u"C:\\Users\\gamer\\Documents\\Halvard");
  EXPECT_EQ(Path(u"Sniper"), u"C:\\Users\\gamer\\Documents\\Halvard\\Sniper.PF");
  files.Put(Path(u"One"), {});
  files.Put(DataFolder(files) + u"\\Two.pf", {});
  files.Put(DataFolder(files) + u"\\Burst.MAC", {});
  files.Put(DataFolder(files) + u"\\Sub\\Deep.PF", {});
  EXPECT_EQ(ListProfileNames(files), (std::vector<std::u16string>{u"One", u"Two"}));
}

TEST_F(ProfileFileTest, CreatedFileIsExactlyTheLayout) {
  Decorate(0);
  ASSERT_EQ(profiles.CreateFile(0, u"Sniper"), 1);
  const auto& f = File(u"Sniper");
  ASSERT_EQ(f.size(), 20099u);
  EXPECT_EQ(f[0], 0x6D);
  EXPECT_EQ(f[1], 0xA5);
  EXPECT_EQ(f[2], 0x04);
  EXPECT_EQ(f[3], 0x73);
  EXPECT_EQ(f[4], 0x0B);
  for (int i = 0; i < 71; ++i) EXPECT_EQ(f[6 + i], (i * 7 + 3) & 0xFF);
  EXPECT_EQ(f[77], 3);
  EXPECT_EQ(f[80], 0x01);
  EXPECT_EQ(f[121], 0xA0);
  EXPECT_EQ(f[123], 0xA2);
  EXPECT_EQ(f[124], 0);  // past button 0's three bytes
  EXPECT_EQ(f[121 + 512 + 255], 255);  // button 2's full slot
  // Records: button 0's macro name, button 4's application name then path.
  auto record = [&](int button, int k) {
    std::u16string s;
    std::size_t at = 2937 + (button * 3 + k) * 520;
    for (std::size_t c = 0; c < 260 && (f[at + 2 * c] | f[at + 2 * c + 1]) != 0; ++c)
      s += static_cast<char16_t>(f[at + 2 * c] | (f[at + 2 * c + 1] << 8));
    return s;
  };
  EXPECT_EQ(record(0, 0), u"Combo");
  EXPECT_EQ(record(4, 1), u"Run");
  EXPECT_EQ(record(4, 2), u"C:\\Games\\run.exe");
  EXPECT_EQ(record(5, 0), u"");
  EXPECT_EQ(f[20097], 1);
  EXPECT_EQ(f[20098], 0);
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(ProfileFileTest, CreateReportsAnExistingFileAPathAndAFailedWrite) {
  files.Put(Path(u"Taken"), {1});
  EXPECT_EQ(profiles.CreateFile(0, u"Taken"), 0);
  files.failCreate = true;
  EXPECT_EQ(profiles.CreateFile(0, u"New"), 0);
  files.failCreate = false;
  files.failWritesAfter = 0;
  EXPECT_EQ(profiles.CreateFile(0, u"New2"), 0);
  ASSERT_EQ(messages.shown.size(), 3u);
  EXPECT_EQ(messages.shown[0].text, u"Macro exist!");
  EXPECT_EQ(messages.shown[1].text, u"FAILURE: Can't find the file path: " + Path(u"New"));
  EXPECT_EQ(messages.shown[2].text, u"FAILURE: 201, failed to write!?");
  EXPECT_EQ(files.OpenFiles(), 0);
}

TEST_F(ProfileFileTest, AFileFromProfileZeroLoadsIntoProfileThreeAtItsOwnBases) {
  Decorate(0);
  ASSERT_EQ(profiles.CreateFile(0, u"Sniper"), 1);
  store.SetString(ButtonValueName(3, 7, ButtonValue::kMacroName), u"Stale");
  auto n = profiles.LoadIntoProfile(3, u"Sniper", false, list);
  ASSERT_TRUE(n);
  EXPECT_EQ(*n, 71u + 44u + 3u + 256u);
  for (int i = 0; i < 71; ++i) EXPECT_EQ(tessel->Value(512 + i), (i * 7 + 3) & 0xFF);
  EXPECT_EQ(tessel->Value(900), 3);
  EXPECT_EQ(tessel->Value(900 + 11), 0x15);
  EXPECT_EQ(tessel->Value(9472 + 2), 0xA2);
  EXPECT_EQ(tessel->Value(9472 + 512 + 200), 200);
  // The write list in order: settings, headers, slots.
  EXPECT_EQ(list[0], 512);
  EXPECT_EQ(list[71], 900);
  EXPECT_EQ(list[115], 9472);
  EXPECT_EQ(list[118], 9472 + 512);
  // Cells whose value changed are pending; equal confirmed cells are not.
  EXPECT_TRUE(tessel->IsDirty(512));
  EXPECT_FALSE(tessel->IsDirty(900 + 4));  // header 0 of button 1 was 0 and stays 0
  // Registry texts moved with the profile; empty records deleted what was there.
  EXPECT_EQ(Text(ButtonValueName(3, 0, ButtonValue::kMacroName)), u"Combo");
  EXPECT_EQ(Text(ButtonValueName(3, 4, ButtonValue::kApplication)), u"C:\\Games\\run.exe");
  EXPECT_EQ(Text(ButtonValueName(3, 7, ButtonValue::kMacroName)), u"(none)");
  EXPECT_EQ(store.GetDword(XyFlagName(3)), 1);
  // Profile 0 is untouched.
  EXPECT_FALSE(tessel->IsDirty(B(0)));
}

TEST_F(ProfileFileTest, AZeroXyWordDeletesTheFlag) {
  ASSERT_EQ(profiles.CreateFile(1, u"Plain"), 1);
  store.SetDword(XyFlagName(2), 1);
  ASSERT_TRUE(profiles.LoadIntoProfile(2, u"Plain", false, list));
  EXPECT_EQ(store.GetDword(XyFlagName(2)), -1);
  EXPECT_FALSE(XyFlagSet(store.GetDword(XyFlagName(2))));
}

TEST_F(ProfileFileTest, WithNameTheNameCellsJoinTheListAndABadCountBecomesZero) {
  ASSERT_EQ(profiles.CreateFile(1, u"Named"), 1);
  WriteProfileName(*tessel, 1, u"Named");
  auto n = profiles.LoadIntoProfile(1, u"Named", true, list);
  ASSERT_TRUE(n);
  EXPECT_EQ(*n, 71u + 44u + 64u);
  EXPECT_EQ(list[115], N(1));
  EXPECT_EQ(list[115 + 63], N(1) + 63);
  tessel->MarkLoaded(N(1), 40);
  ASSERT_TRUE(profiles.LoadIntoProfile(1, u"Named", true, list));
  EXPECT_EQ(tessel->Value(N(1)), 0);
  EXPECT_TRUE(tessel->IsDirty(N(1)));
}

TEST_F(ProfileFileTest, FilesThatAreNotProfileFilesChangeNothing) {
  Decorate(0);
  ASSERT_EQ(profiles.CreateFile(0, u"Good"), 1);
  auto good = File(u"Good");
  auto snapshot = tessel->Shadow();
  auto unchanged = [&] {
    for (int a = 0; a < kEepromSize; ++a)
      if (tessel->Value(a) != snapshot[a].value || tessel->IsDirty(a) != (snapshot[a].dirty == 1)) return false;
    return Text(ButtonValueName(2, 0, ButtonValue::kMacroName)) == u"(none)";
  };
  EXPECT_FALSE(profiles.LoadIntoProfile(2, u"Missing", false, list));
  files.Put(Path(u"Short"), {0x6D, 0xA5, 0x04, 0x73});
  EXPECT_FALSE(profiles.LoadIntoProfile(2, u"Short", false, list));
  auto bad = good;
  bad[2] = 0x05;
  files.Put(Path(u"Magic"), bad);
  EXPECT_FALSE(profiles.LoadIntoProfile(2, u"Magic", false, list));
  auto truncated = std::vector<std::uint8_t>(good.begin(), good.begin() + 1000);
  files.Put(Path(u"Cut"), truncated);
  EXPECT_FALSE(profiles.LoadIntoProfile(2, u"Cut", false, list));
  auto tiny = good;
  tiny[3] = 100;  // a block too short to hold the settings and headers
  tiny[4] = 0;
  files.Put(Path(u"Tiny"), tiny);
  EXPECT_FALSE(profiles.LoadIntoProfile(2, u"Tiny", false, list));
  EXPECT_TRUE(unchanged());
  // Each refusal says why: the missing file by its path, the others as not profile files.
  ASSERT_EQ(messages.shown.size(), 5u);
  EXPECT_EQ(messages.shown[0].text, u"FAILURE: Can't find the file path: " + Path(u"Missing"));
  for (int i = 1; i < 5; ++i) EXPECT_EQ(messages.shown[static_cast<std::size_t>(i)].number, kMsgBadFileFormat);
  // A name from the mouse that leads out of the folder is never opened.
  files.Put(DataFolder(files) + u"\\..\\Out.PF", good);
  EXPECT_FALSE(profiles.LoadIntoProfile(2, u"..\\Out", false, list));
  EXPECT_EQ(ProfileFilePath(files, u"C:Out"), u"");
}

TEST_F(ProfileFileTest, LyingLengthsNeverPassASlotOrTheBlockRead) {
  Decorate(0);
  ASSERT_EQ(profiles.CreateFile(0, u"Liar"), 1);
  auto f = File(u"Liar");
  for (int b = 0; b < 11; ++b) {  // every header claims 4095 bytes
    f[77 + 4 * b] = 0xFF;
    f[77 + 4 * b + 3] = 0xF1;
  }
  files.Put(Path(u"Liar"), f);
  auto n = profiles.LoadIntoProfile(4, u"Liar", false, list);
  ASSERT_TRUE(n);
  EXPECT_EQ(*n, 71u + 44u + 11u * 256u);
  for (std::size_t i = 0; i < *n; ++i) {
    int a = list[i];
    bool inside = (a >= B(4) && a <= B(4) + 70) || (a >= H(4) && a < H(4) + 44) || (a >= M(4) && a < M(4) + 2816);
    ASSERT_TRUE(inside) << a;
  }
  EXPECT_FALSE(tessel->IsDirty(N(4)));  // the slots end where the names begin

  // A block that says it is shorter: slots stop where the block stops.
  f[3] = 200;
  f[4] = 0;
  files.Put(Path(u"Short"), f);
  n = profiles.LoadIntoProfile(1, u"Short", false, list);
  ASSERT_TRUE(n);
  EXPECT_EQ(*n, 71u + 44u + (200u - 115u));
}

TEST_F(ProfileFileTest, SaveWritesSettingsTextsAndOnlyTheNewlyAssignedMacros) {
  Decorate(2);
  WriteProfileName(*tessel, 2, u"Raid");
  ASSERT_EQ(profiles.CreateFile(2, u"Raid"), 1);
  // Change settings, a macro of button 0 (assigned) and of button 2 (not assigned).
  tessel->SetCell(B(2) + 1, 99);
  tessel->SetCell(H(2) + 0, 5);
  tessel->SetCell(M(2) + 4, 0x77);
  tessel->SetCell(H(2) + 8, 9);
  tessel->SetCell(M(2) + 512, 0x66);
  store.SetString(ButtonValueName(2, 1, ButtonValue::kMacroName), u"New");
  std::array<bool, kButtonCount> assigned{};
  assigned[0] = true;
  ASSERT_EQ(profiles.SaveIntoFile(2, assigned), 1);
  EXPECT_FALSE(assigned[0]);
  const auto& f = File(u"Raid");
  ASSERT_EQ(f.size(), 20099u);
  EXPECT_EQ(f[6 + 1], 99);
  EXPECT_EQ(f[77], 5);
  EXPECT_EQ(f[121 + 4], 0x77);
  EXPECT_EQ(f[77 + 8], 0);      // button 2's header kept from the file
  EXPECT_EQ(f[121 + 512], 0);   // and its slot
  std::size_t at = 2937 + (1 * 3 + 0) * 520;
  EXPECT_EQ(f[at], 'N');
}

TEST_F(ProfileFileTest, SaveSkipsDefaultMissingAndForeignFilesAndReportsAFailedWrite) {
  std::array<bool, kButtonCount> assigned{};
  assigned[3] = true;
  EXPECT_EQ(profiles.SaveIntoFile(0, assigned), 0);  // "Default": no file at all
  EXPECT_TRUE(files.files.empty());
  EXPECT_TRUE(assigned[3]);
  WriteProfileName(*tessel, 0, u"Gone");
  EXPECT_EQ(profiles.SaveIntoFile(0, assigned), 0);
  EXPECT_TRUE(files.files.empty());
  files.Put(Path(u"Gone"), {1, 2, 3, 4});
  EXPECT_EQ(profiles.SaveIntoFile(0, assigned), 0);
  EXPECT_EQ(File(u"Gone"), (std::vector<std::uint8_t>{1, 2, 3, 4}));
  EXPECT_TRUE(messages.shown.empty());

  ASSERT_EQ(profiles.CreateFile(0, u"Gone2"), 1);
  WriteProfileName(*tessel, 0, u"Gone2");
  files.failWritesAfter = 0;
  EXPECT_EQ(profiles.SaveIntoFile(0, assigned), 0);
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].number, 9);
  EXPECT_EQ(files.OpenFiles(), 0);
}

TEST_F(ProfileFileTest, ResetDeletesTheProfilesValuesAndListsPendingFactoryCells) {
  Decorate(1);
  std::vector<std::uint16_t> out(200);
  EXPECT_FALSE(profiles.ResetToFactory(1, false, out));
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].text, u"No Gamer Mouse Connected!");
  Decorate(0);
  auto n = profiles.ResetToFactory(1, true, out);
  ASSERT_TRUE(n);
  EXPECT_GT(*n, 60u);
  EXPECT_EQ(out[0], B(1));
  EXPECT_EQ(Text(ButtonValueName(1, 0, ButtonValue::kMacroName)), u"(none)");
  EXPECT_EQ(store.GetDword(XyFlagName(1)), -1);
  EXPECT_EQ(Text(ButtonValueName(0, 0, ButtonValue::kMacroName)), u"Combo");  // another profile's
  EXPECT_EQ(tessel->Value(B(1) + 1), 16);
  EXPECT_EQ(tessel->Value(H(1) + 11), 0);
}

TEST_F(ProfileFileTest, ProfilesSharingAName) {
  WriteProfileName(*tessel, 1, u"Team");
  WriteProfileName(*tessel, 3, u"Team");
  WriteProfileName(*tessel, 4, u"Teams");
  EXPECT_EQ(profiles.ProfilesSharingName(1), (std::vector<int>{3}));
  EXPECT_EQ(profiles.ProfilesSharingName(0), (std::vector<int>{2}));  // both "Default"
  tessel->MarkLoaded(N(2), 0);
  EXPECT_EQ(profiles.ProfilesSharingName(2), (std::vector<int>{}));
}

}  // namespace
}  // namespace halvard
