#include "store/value_names.h"

#include <gtest/gtest.h>

#include <set>

#include "store/document_lookup.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

TEST(ValueNames, PatternsOfTheProfileAndButtonValues) {
  EXPECT_EQ(XyFlagName(0), u"PF0 X-Y DPI Enabled");
  EXPECT_EQ(PointerSettingName(0, PointerSetting::kMotionSpeed), u"PF1 Motion Speed");
  EXPECT_EQ(PointerSettingName(4, PointerSetting::kDoubleClickSpeed), u"PF5 Double-Click_speed");
  EXPECT_EQ(PointerSettingName(2, PointerSetting::kWheelScrollLines), u"PF3 Wheel Scroll Lines");
  EXPECT_EQ(ButtonValueName(4, 9, ButtonValue::kMacroName), u"PF4T10 Macro Name");
  EXPECT_EQ(ButtonValueName(4, 9, ButtonValue::kApplication), u"PF4T10 AP");
  EXPECT_EQ(ButtonValueName(4, 9, ButtonValue::kApplicationName), u"PF4T10 AP Name");
  EXPECT_EQ(ButtonValueName(4, 10, ButtonValue::kMacroName), u"PF4T11 Macro Name");
  EXPECT_EQ(ButtonValueName(0, 0, ButtonValue::kApplication), u"PF0T1 AP");
  std::set<std::u16string> names;
  for (int p = 0; p < 5; ++p)
    for (int b = 0; b < 11; ++b)
      for (auto w : {ButtonValue::kMacroName, ButtonValue::kApplication, ButtonValue::kApplicationName})
        names.insert(ButtonValueName(p, b, w));
  EXPECT_EQ(names.size(), 165u);
}

TEST(ValueNames, HookNumbersMapToProfileAndButton) {
  auto first = ProfileButtonFromNumber(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->profile, 0);
  EXPECT_EQ(first->button, 0);
  auto last = ProfileButtonFromNumber(54);
  ASSERT_TRUE(last);
  EXPECT_EQ(last->profile, 4);
  EXPECT_EQ(last->button, 10);
  EXPECT_EQ(ButtonValueName(last->profile, last->button, ButtonValue::kApplication), u"PF4T11 AP");
  auto twelve = ProfileButtonFromNumber(12);
  EXPECT_EQ(twelve->profile, 1);
  EXPECT_EQ(twelve->button, 1);
  EXPECT_FALSE(ProfileButtonFromNumber(55));
  EXPECT_FALSE(ProfileButtonFromNumber(-1));
}

TEST(ValueNames, ReadingRules) {
  EXPECT_FALSE(PointerSettingSet(0));
  EXPECT_FALSE(PointerSettingSet(-1));
  EXPECT_TRUE(PointerSettingSet(10));
  EXPECT_TRUE(XyFlagSet(1));
  EXPECT_FALSE(XyFlagSet(2));
  EXPECT_FALSE(XyFlagSet(-1));
}

class DocumentLookupTest : public ::testing::Test {
 protected:
  MemoryRegistry registry;
  RegistryStore store{registry};
  MemoryFiles files;
  char16_t result[kDocumentPathChars];
};

TEST_F(DocumentLookupTest, AsGivenThenInstallationFolderThenProgramFolder) {
  for (auto f : {u"manual.pdf", u"D:\\Inst\\HELP\\guide.pdf", u"C:\\Program Files\\Halvard\\HELP\\guide.pdf",
                 u"C:\\Program Files\\Halvard\\Languages\\Deutsch.txt", u"D:\\Inst\\readme.txt"})
    files.Put(f, {});
  ASSERT_EQ(FindDocument(store, files, u"manual.pdf", u"HELP", result), 1);
  EXPECT_EQ(std::u16string(result), u"manual.pdf");

  // Without "Path" the program's folder is next.
  ASSERT_EQ(FindDocument(store, files, u"guide.pdf", kHelpFolder, result), 1);
  EXPECT_EQ(std::u16string(result), u"C:\\Program Files\\Halvard\\HELP\\guide.pdf");
  ASSERT_EQ(store.SetString(u"Path", u"D:\\Inst"), 1);
  ASSERT_EQ(FindDocument(store, files, u"guide.pdf", kHelpFolder, result), 1);
  EXPECT_EQ(std::u16string(result), u"D:\\Inst\\HELP\\guide.pdf");
  ASSERT_EQ(FindDocument(store, files, u"Deutsch.txt", kLanguagesFolder, result), 1);
  EXPECT_EQ(std::u16string(result), u"C:\\Program Files\\Halvard\\Languages\\Deutsch.txt");
  ASSERT_EQ(FindDocument(store, files, u"readme.txt", u"", result), 1);
  EXPECT_EQ(std::u16string(result), u"D:\\Inst\\readme.txt");

  EXPECT_EQ(FindDocument(store, files, u"none.pdf", kHelpFolder, result), 0);
  EXPECT_EQ(result[0], u'\0');
}

TEST_F(DocumentLookupTest, ProgramWithoutFolderAndOverlongCandidates) {
  files.programPath = u"Halvard.exe";
  files.Put(u"\\MEDIA\\clip.mp4", {});
  ASSERT_EQ(FindDocument(store, files, u"clip.mp4", kMediaFolder, result), 1);
  EXPECT_EQ(std::u16string(result), u"\\MEDIA\\clip.mp4");

  std::u16string longName(1100, u'n');
  files.Put(longName, {});
  EXPECT_EQ(FindDocument(store, files, longName, u"", result), 0);
}

}  // namespace
}  // namespace halvard
