#include "store/registry_store.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/registry_memory.h"

namespace halvard {
namespace {

class RegistryStoreTest : public ::testing::Test {
 protected:
  const MemoryRegistry::Value* Stored(std::u16string_view name) {
    return registry.Find(RegRoot::kCurrentUser, kHalvardKey, name);
  }
  bool KeyExists() { return registry.KeyExists(RegRoot::kCurrentUser, kHalvardKey); }
  void MakeKey() { ASSERT_EQ(store.SetDword(u"Seed", 1), 1); }

  MemoryRegistry registry;
  RegistryStore store{registry};
  RegistryStoreA narrow{registry};
};

TEST_F(RegistryStoreTest, GetDwordOnAMachineWithoutTheKeyCreatesItWithZero) {
  EXPECT_EQ(store.GetDword(u"Current Dialog"), 0);
  ASSERT_TRUE(KeyExists());
  auto* v = Stored(u"Current Dialog");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->type, kRegDword);
  EXPECT_EQ(v->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(RegistryStoreTest, MissingOrUnreadableValuesReadAsMinusOneAndCreateNothing) {
  MakeKey();
  EXPECT_EQ(store.GetDword(u"OSD Handle"), -1);
  EXPECT_EQ(Stored(u"OSD Handle"), nullptr);
  EXPECT_EQ(store.LastError(), kRegErrorFileNotFound);

  // Wrong type or size is unreadable, never misread.
  RegKey k = nullptr;
  registry.OpenKey(RegRoot::kCurrentUser, kHalvardKey, false, &k);
  const std::uint8_t text[] = {'7', 0};
  registry.SetValue(k, u"AsText", kRegSz, text, 2);
  const std::uint8_t eight[8] = {1};
  registry.SetValue(k, u"Wide", kRegDword, eight, 8);
  const std::uint8_t two[2] = {1, 0};
  registry.SetValue(k, u"Short", kRegDword, two, 2);
  registry.CloseKey(k);
  EXPECT_EQ(store.GetDword(u"AsText"), -1);
  EXPECT_EQ(store.GetDword(u"Wide"), -1);
  EXPECT_EQ(store.GetDword(u"Short"), -1);
  EXPECT_EQ(narrow.GetDword(u"Short"), -1);
}

TEST_F(RegistryStoreTest, DwordsRoundTripLittleEndianInBothForms) {
  ASSERT_EQ(store.SetDword(u"Process Handle", 0x00A1B2C3), 1);
  EXPECT_EQ(Stored(u"Process Handle")->data, (std::vector<std::uint8_t>{0xC3, 0xB2, 0xA1, 0x00}));
  EXPECT_EQ(store.GetDword(u"process handle"), 0x00A1B2C3);
  EXPECT_EQ(narrow.GetDword(u"Process Handle"), 0x00A1B2C3);
  ASSERT_EQ(narrow.SetDword(u"Configure Handle", 0xFFFFFFFFu), 1);
  EXPECT_EQ(store.GetDword(u"Configure Handle"), -1);
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(RegistryStoreTest, StringsAreStoredWithoutTerminator) {
  ASSERT_EQ(store.SetString(u"PF0T1 Macro Name", u"Combo"), 1);
  auto* v = Stored(u"PF0T1 Macro Name");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->type, kRegSz);
  EXPECT_EQ(v->data.size(), 10u);
  char16_t buf[RegistryStore::kStringChars];
  ASSERT_EQ(store.GetString(u"PF0T1 Macro Name", buf), 1);
  EXPECT_EQ(std::u16string(buf), u"Combo");

  // The 8-bit form: one byte per character, the same text for the other form.
  ASSERT_EQ(narrow.SetString(u"PF0T1 AP", "C:\\x.exe"), 1);
  EXPECT_EQ(Stored(u"PF0T1 AP")->data.size(), 16u);  // kept in 16-bit characters
  char nbuf[RegistryStoreA::kStringChars];
  ASSERT_EQ(narrow.GetString(u"PF0T1 AP", nbuf), 1);
  EXPECT_STREQ(nbuf, "C:\\x.exe");
  ASSERT_EQ(store.GetString(u"PF0T1 AP", buf), 1);
  EXPECT_EQ(std::u16string(buf), u"C:\\x.exe");

  // An empty string is a value of length 0.
  ASSERT_EQ(store.SetString(u"Empty", u""), 1);
  EXPECT_EQ(Stored(u"Empty")->data.size(), 0u);
  buf[0] = u'x';
  EXPECT_EQ(store.GetString(u"Empty", buf), 1);
  EXPECT_EQ(buf[0], u'\0');
}

TEST_F(RegistryStoreTest, LongOddOrTerminatedStringsNeverOverrunTheBuffer) {
  MakeKey();
  RegKey k = nullptr;
  registry.OpenKey(RegRoot::kCurrentUser, kHalvardKey, false, &k);
  std::vector<std::uint8_t> huge(10000, 'a');  // 5000 wide characters of 0x6161
  registry.SetValue(k, u"Huge", kRegSz, huge.data(), static_cast<std::uint32_t>(huge.size()));
  const std::uint8_t odd[] = {'H', 0, 'i', 0, '!'};
  registry.SetValue(k, u"Odd", kRegSz, odd, 5);
  const std::uint8_t early[] = {'A', 0, 0, 0, 'B', 0};
  registry.SetValue(k, u"Early", kRegSz, early, 6);
  const std::uint8_t number[4] = {1, 2, 3, 4};
  registry.SetValue(k, u"Number", kRegDword, number, 4);
  registry.CloseKey(k);

  char16_t buf[RegistryStore::kStringChars + 1];
  buf[RegistryStore::kStringChars] = u'#';  // guard past the 4096 bytes
  ASSERT_EQ(store.GetString(u"Huge", std::span<char16_t>(buf, RegistryStore::kStringChars)), 1);
  EXPECT_EQ(std::u16string(buf).size(), RegistryStore::kStringChars - 1);
  EXPECT_EQ(buf[RegistryStore::kStringChars], u'#');
  char16_t small[4];
  ASSERT_EQ(store.GetString(u"Huge", small), 1);
  EXPECT_EQ(std::u16string(small), u"\x6161\x6161\x6161");

  ASSERT_EQ(store.GetString(u"Odd", buf), 1);
  EXPECT_EQ(std::u16string(buf), u"Hi");  // only the half character is lost
  ASSERT_EQ(store.GetString(u"Early", buf), 1);
  EXPECT_EQ(std::u16string(buf), u"A");
  EXPECT_EQ(store.GetString(u"Number", buf), 0);
  EXPECT_EQ(buf[0], u'\0');
  EXPECT_EQ(store.GetString(u"Missing", buf), 0);
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(RegistryStoreTest, OnlyTheWritersCreateTheKey) {
  char16_t buf[16];
  EXPECT_EQ(store.GetString(u"Path", buf), 0);
  EXPECT_EQ(store.DeleteValue(u"Path"), 0);
  EXPECT_EQ(store.Open(), 0);
  EXPECT_FALSE(KeyExists());
  EXPECT_EQ(store.SetString(u"Path", u"C:\\Halvard"), 1);
  EXPECT_TRUE(KeyExists());
  EXPECT_EQ(store.DeleteValue(u"Path"), 1);
  EXPECT_EQ(store.DeleteValue(u"Path"), 0);
  EXPECT_EQ(Stored(u"Path"), nullptr);
}

TEST_F(RegistryStoreTest, OpenKeepsTheKeyUntilCloseOrTheNextOperation) {
  MakeKey();
  ASSERT_EQ(store.Open(), 1);
  EXPECT_EQ(registry.OpenKeyCount(), 1);
  store.GetDword(u"Seed");  // closes what was left open first
  EXPECT_EQ(registry.OpenKeyCount(), 0);
  ASSERT_EQ(store.Open(), 1);
  store.Close();
  store.Close();
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(RegistryStoreTest, FailuresAreSilentAndKeepTheSystemError) {
  MakeKey();
  registry.FailAll(kRegErrorAccessDenied);
  EXPECT_EQ(store.SetDword(u"Seed", 2), 0);
  EXPECT_EQ(store.LastError(), kRegErrorAccessDenied);
  EXPECT_EQ(store.GetDword(u"Seed"), -1);
  EXPECT_EQ(store.SetString(u"Seed", u"x"), 0);
  registry.FailAll(0);
  EXPECT_EQ(store.GetDword(u"Seed"), 1);  // nothing half-written
}

// Only a key that does not exist is created by a read; a key that exists but refuses to open
// keeps its values and gets no new ones.
TEST_F(RegistryStoreTest, AKeyThatRefusesToOpenIsNeitherCreatedNorWritten) {
  MakeKey();
  ASSERT_EQ(store.SetDword(u"Current Dialog", 3), 1);
  registry.RefuseOpen(RegRoot::kCurrentUser, kHalvardKey);
  struct Case {
    const char* form;
    std::function<std::int32_t(std::u16string_view)> get;
    std::function<long()> error;
  };
  const Case cases[] = {
      {"wide", [&](std::u16string_view n) { return store.GetDword(n); }, [&] { return store.LastError(); }},
      {"8-bit", [&](std::u16string_view n) { return narrow.GetDword(n); }, [&] { return narrow.LastError(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    EXPECT_EQ(c.get(u"Current Dialog"), -1);
    EXPECT_EQ(c.get(u"OSD Handle"), -1);
    EXPECT_EQ(c.error(), kRegErrorAccessDenied);
    EXPECT_EQ(registry.OpenKeyCount(), 0);
  }
  registry.RefuseOpen(RegRoot::kCurrentUser, kHalvardKey, 0);
  EXPECT_EQ(store.GetDword(u"Current Dialog"), 3);
  EXPECT_EQ(Stored(u"OSD Handle"), nullptr);
}

}  // namespace
}  // namespace halvard
