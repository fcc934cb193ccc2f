// The device-description rewrite against the real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "device/hid_client.h"
#include "device/hid_seam_win32.h"
#include "platform/registry_seam_win32.h"

namespace halvard {
namespace {

const wchar_t kUsbKey[] = L"SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_3b91&Pid_b602";

std::wstring ReadString(const std::wstring& key, const wchar_t* name, DWORD* type) {
  wchar_t buf[256] = {};
  DWORD size = sizeof buf - sizeof(wchar_t);
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_ANY, type, buf, &size) != ERROR_SUCCESS) return L"?";
  return buf;
}

TEST(ModifyDeviceRegistry, RewritesMakerAndDescriptionUnderEverySubKey) {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUsbKey);
  const std::wstring subs[] = {std::wstring(kUsbKey) + L"\\7&aa&0&1", std::wstring(kUsbKey) + L"\\7&aa&0&2"};
  for (const auto& s : subs) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, s.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    const wchar_t old[] = L"USB Input Device";
    RegSetValueExW(k, L"DeviceDesc", 0, REG_SZ, reinterpret_cast<const BYTE*>(old), sizeof old);
    RegCloseKey(k);
  }
  Win32Hid hid;
  RecordingMessageBox box;
  Win32Registry registry;
  auto c = std::make_unique<CHidClient>(hid, box, registry);
  ASSERT_EQ(c->ModifyDeviceRegistry(0), 1);
  for (const auto& s : subs) {
    DWORD type = 0;
    EXPECT_EQ(ReadString(s, L"DeviceDesc", &type), L"Kestrova Halvard Gaming Mouse");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(ReadString(s, L"Mfg", &type), L"Kestrova");
  }
  // The HID branch is not there: nothing found, nothing created.
  EXPECT_EQ(c->ModifyDeviceRegistry(1), 0);
  HKEY k = nullptr;
  EXPECT_NE(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Enum\\HID\\Vid_3b91&Pid_b602", 0,
                          KEY_READ, &k),
            ERROR_SUCCESS);
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUsbKey);
}

}  // namespace
}  // namespace halvard
