#include "platform/registry_memory.h"

#include <gtest/gtest.h>

namespace halvard {
namespace {

TEST(MemoryRegistry, KeysAreCreatedOnlyWhenAskedAndNamesIgnoreCase) {
  MemoryRegistry r;
  RegKey k = nullptr;
  EXPECT_EQ(r.OpenKey(RegRoot::kCurrentUser, u"Software\\Halvard", false, &k), kRegErrorFileNotFound);
  EXPECT_FALSE(r.KeyExists(RegRoot::kCurrentUser, u"Software"));
  ASSERT_EQ(r.OpenKey(RegRoot::kCurrentUser, u"Software\\Halvard", true, &k), 0);
  EXPECT_TRUE(r.KeyExists(RegRoot::kCurrentUser, u"SOFTWARE\\halvard\\"));
  EXPECT_FALSE(r.KeyExists(RegRoot::kLocalMachine, u"Software\\Halvard"));
  std::uint32_t dw = 7;
  ASSERT_EQ(r.SetValue(k, u"Value", kRegDword, reinterpret_cast<std::uint8_t*>(&dw), 4), 0);
  std::uint32_t type = 0, size = 4, out = 0;
  ASSERT_EQ(r.QueryValue(k, u"VALUE", &type, reinterpret_cast<std::uint8_t*>(&out), &size), 0);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(out, 7u);
  std::uint8_t small[2];
  size = 2;
  EXPECT_EQ(r.QueryValue(k, u"value", &type, small, &size), kRegErrorMoreData);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(r.DeleteValue(k, u"value"), 0);
  EXPECT_EQ(r.DeleteValue(k, u"value"), kRegErrorFileNotFound);
  EXPECT_EQ(r.CloseKey(k), 0);
  EXPECT_EQ(r.CloseKey(k), kRegErrorInvalidParameter);
  EXPECT_EQ(r.OpenKeyCount(), 0);
}

TEST(MemoryRegistry, SubKeysEnumerateUntilNoMoreItems) {
  MemoryRegistry r;
  RegKey k = nullptr;
  for (auto p : {u"A\\One", u"A\\Two"}) {
    ASSERT_EQ(r.OpenKey(RegRoot::kLocalMachine, p, true, &k), 0);
    r.CloseKey(k);
  }
  ASSERT_EQ(r.OpenKey(RegRoot::kLocalMachine, u"A", false, &k), 0);
  char16_t name[8];
  EXPECT_EQ(r.EnumSubKey(k, 0, name, 8), 0);
  EXPECT_EQ(std::u16string(name), u"One");
  EXPECT_EQ(r.EnumSubKey(k, 1, name, 8), 0);
  EXPECT_EQ(r.EnumSubKey(k, 1, name, 3), kRegErrorMoreData);
  EXPECT_EQ(r.EnumSubKey(k, 2, name, 8), kRegErrorNoMoreItems);
  r.FailAll(kRegErrorAccessDenied);
  EXPECT_EQ(r.EnumSubKey(k, 0, name, 8), kRegErrorAccessDenied);
}

}  // namespace
}  // namespace halvard
