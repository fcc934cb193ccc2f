// The accessor against the real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/registry_seam_win32.h"
#include "store/registry_store.h"

namespace halvard {
namespace {

class RealRegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard"); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard"); }
  bool KeyExists() {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Halvard", 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  }
  // The stored size, as the registry keeps it (no terminator added on the way out).
  LONG Raw(const wchar_t* name, DWORD* type, DWORD* size) {
    HKEY k = nullptr;
    LONG rc = RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Halvard", 0, KEY_READ, &k);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegQueryValueExW(k, name, nullptr, type, nullptr, size);
    RegCloseKey(k);
    return rc;
  }
  Win32Registry registry;
  RegistryStore store{registry};
  RegistryStoreA narrow{registry};
};

TEST_F(RealRegistryTest, AFiveCharacterStringIsTenBytesAndReadsBackExactly) {
  ASSERT_EQ(store.SetString(u"PF2T3 Macro Name", u"Burst"), 1);
  DWORD type = 0, size = 0;
  ASSERT_EQ(Raw(L"PF2T3 Macro Name", &type, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 10u);
  char16_t buf[RegistryStore::kStringChars];
  ASSERT_EQ(store.GetString(u"PF2T3 Macro Name", buf), 1);
  EXPECT_EQ(std::u16string(buf), u"Burst");
  // The 8-bit form reads the same text, one byte per character.
  char nbuf[RegistryStoreA::kStringChars];
  ASSERT_EQ(narrow.GetString(u"PF2T3 Macro Name", nbuf), 1);
  EXPECT_STREQ(nbuf, "Burst");
  ASSERT_EQ(narrow.SetString(u"PF0T1 AP", "C:\\Games\\run.exe"), 1);
  ASSERT_EQ(store.GetString(u"PF0T1 AP", buf), 1);
  EXPECT_EQ(std::u16string(buf), u"C:\\Games\\run.exe");
}

TEST_F(RealRegistryTest, GetDwordWithoutTheKeyCreatesItWithZero) {
  ASSERT_FALSE(KeyExists());
  EXPECT_EQ(store.GetDword(u"Current Dialog"), 0);
  ASSERT_TRUE(KeyExists());
  DWORD type = 0, size = 0;
  ASSERT_EQ(Raw(L"Current Dialog", &type, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(size, 4u);
}

TEST_F(RealRegistryTest, AMissingValueReadsMinusOneAndCreatesNothing) {
  ASSERT_EQ(store.SetDword(u"Process Handle", 0x10203), 1);
  EXPECT_EQ(store.GetDword(u"OSD Handle"), -1);
  DWORD type = 0, size = 0;
  EXPECT_EQ(Raw(L"OSD Handle", &type, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.LastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(store.GetDword(u"Process Handle"), 0x10203);
  EXPECT_EQ(narrow.GetDword(u"Process Handle"), 0x10203);
  EXPECT_EQ(store.DeleteValue(u"Process Handle"), 1);
  EXPECT_EQ(store.GetDword(u"Process Handle"), -1);
}

TEST_F(RealRegistryTest, GetStringAndDeleteNeverCreateTheKey) {
  char16_t buf[16];
  EXPECT_EQ(store.GetString(u"Path", buf), 0);
  EXPECT_EQ(store.DeleteValue(u"Path"), 0);
  EXPECT_FALSE(KeyExists());
  EXPECT_EQ(store.LastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
}  // namespace halvard

#include "store/document_lookup.h"
#include "platform/file_seam_win32.h"

namespace halvard {
namespace {

TEST_F(RealRegistryTest, DocumentLookupFindsAFileBesideTheProgramThenUnderPath) {
  Win32Files files;
  std::u16string program = files.ProgramPath();
  ASSERT_FALSE(program.empty());
  std::u16string folder = program.substr(0, program.find_last_of(u'\\') + 1);
  std::wstring helpDir(folder.begin(), folder.end());
  helpDir += L"HELP";
  CreateDirectoryW(helpDir.c_str(), nullptr);
  std::wstring file = helpDir + L"\\lookup_test.txt";
  HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  CloseHandle(h);

  char16_t result[kDocumentPathChars];
  ASSERT_EQ(FindDocument(store, files, u"lookup_test.txt", kHelpFolder, result), 1);
  EXPECT_EQ(std::u16string(result), folder + u"HELP\\lookup_test.txt");
  EXPECT_EQ(FindDocument(store, files, u"lookup_test.txt", kMediaFolder, result), 0);

  // "Path" comes before the program's folder.
  std::u16string parent = folder.substr(0, folder.size() - 1);
  ASSERT_EQ(store.SetString(u"Path", parent), 1);
  ASSERT_EQ(FindDocument(store, files, u"lookup_test.txt", kHelpFolder, result), 1);
  EXPECT_EQ(std::u16string(result), parent + u"\\HELP\\lookup_test.txt");
  DeleteFileW(file.c_str());
}

}  // namespace
}  // namespace halvard
