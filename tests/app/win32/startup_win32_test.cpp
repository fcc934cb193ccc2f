// Start-up pieces against the real registry, mutexes and files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/instance_mutex_win32.h"
#include "app/startup.h"
#include "platform/file_seam_win32.h"
#include "platform/registry_seam_win32.h"

namespace halvard {
namespace {

const wchar_t kKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\HID\\Vid_2e4a&Pid_1C07&MI_00";

void PutDescription(const std::wstring& sub, const std::wstring& text) {
  HKEY k = nullptr;
  std::wstring path = std::wstring(kKey) + L"\\" + sub;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(k, L"DeviceDesc", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(k);
}

DWORD StoredSize(const std::wstring& sub, std::wstring* text) {
  HKEY k = nullptr;
  std::wstring path = std::wstring(kKey) + L"\\" + sub;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return 0;
  wchar_t buf[128] = {};
  DWORD size = sizeof buf - sizeof(wchar_t);
  RegQueryValueExW(k, L"DeviceDesc", nullptr, nullptr, reinterpret_cast<BYTE*>(buf), &size);
  RegCloseKey(k);
  *text = buf;
  return size;
}

TEST(DeviceDescriptionWin32, RewritesAForeignDescriptionAndLeavesAnEqualOne) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
  PutDescription(L"7&1&0&0000", L"HID-compliant mouse");
  PutDescription(L"7&2&0&0000", L"Vornex Halvard Mouse");
  Win32Registry registry;
  EXPECT_EQ(FixDeviceDescription(registry), 1);
  std::wstring text;
  EXPECT_EQ(StoredSize(L"7&1&0&0000", &text), 40u);  // no terminator
  EXPECT_EQ(text, L"Vornex Halvard Mouse");
  EXPECT_EQ(StoredSize(L"7&2&0&0000", &text), 42u);  // untouched, still with the system's terminator
  EXPECT_EQ(FixDeviceDescription(registry), 0);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kKey);
  EXPECT_EQ(FixDeviceDescription(registry), 0);
}

TEST(InstanceMutexWin32, ASecondOwnerSeesTheFirst) {
  Win32InstanceMutex first, second;
  EXPECT_FALSE(first.CreateOwned(u"Vornex Halvard Test"));
  EXPECT_TRUE(second.CreateOwned(u"Vornex Halvard Test"));
  second.Release();
  first.Release();
  Win32InstanceMutex again;
  EXPECT_FALSE(again.CreateOwned(u"Vornex Halvard Test"));
}

TEST(LanguageWin32, TheShippedGermanFileLoadsThroughTheDocumentLookup) {
  Win32Registry registry;
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
  RegistryStore store(registry);
  Win32Files files;
  // The language files are built beside the test programs' parent folder.
  std::u16string program = files.ProgramPath();
  std::u16string tests = program.substr(0, program.find_last_of(u'\\'));
  std::u16string build = tests.substr(0, tests.find_last_of(u'\\'));
  ASSERT_EQ(store.SetString(u"Path", build), 1);
  LanguageStart s = StartLanguage(0x0407, store, files);
  EXPECT_TRUE(s.fileLoaded);
  EXPECT_EQ(ActiveLanguage().Tooltip(3), u"Schlie\u00dfen");
  EXPECT_EQ(s.helpDocument, u"Information_en.html");
  s = StartLanguage(0x0409, store, files);
  EXPECT_TRUE(s.fileLoaded);
  EXPECT_EQ(ActiveLanguage().Tooltip(3), u"Close");
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
}

}  // namespace
}  // namespace halvard
