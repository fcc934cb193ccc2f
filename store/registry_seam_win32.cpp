#include "store/registry_seam_win32.h"

#include <windows.h>

#include <string>

namespace halvard {
namespace {

HKEY RootKey(RegRoot root) { return root == RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The platform wants terminated names; string_views are not.
std::wstring Terminated(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

}  // namespace

long Win32Registry::OpenKey(RegRoot root, std::u16string_view path, bool create, RegKey* key) {
  if (key == nullptr) return ERROR_INVALID_PARAMETER;
  HKEY h = nullptr;
  std::wstring p = Terminated(path);
  LONG rc = create ? RegCreateKeyExW(RootKey(root), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, nullptr, &h, nullptr)
                   : RegOpenKeyExW(RootKey(root), p.c_str(), 0, KEY_ALL_ACCESS, &h);
  *key = rc == ERROR_SUCCESS ? static_cast<RegKey>(h) : nullptr;
  return rc;
}

long Win32Registry::EnumSubKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t cap) {
  DWORD len = cap;
  return RegEnumKeyExW(static_cast<HKEY>(key), index, reinterpret_cast<wchar_t*>(name), &len, nullptr, nullptr,
                       nullptr, nullptr);
}

long Win32Registry::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) {
  std::wstring n = Terminated(name);
  DWORD t = 0;
  DWORD s = size != nullptr ? *size : 0;
  LONG rc = RegQueryValueExW(static_cast<HKEY>(key), n.c_str(), nullptr, &t, data, size != nullptr ? &s : nullptr);
  if (type != nullptr) *type = t;
  if (size != nullptr) *size = s;
  return rc;
}

long Win32Registry::SetValue(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                             std::uint32_t size) {
  std::wstring n = Terminated(name);
  return RegSetValueExW(static_cast<HKEY>(key), n.c_str(), 0, type, data, size);
}

// Value names are ASCII, so the 8-bit name is the same text.
long Win32Registry::QueryValueNarrow(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                                     std::uint32_t* size) {
  std::string n(name.begin(), name.end());
  DWORD t = 0;
  DWORD s = size != nullptr ? *size : 0;
  LONG rc = RegQueryValueExA(static_cast<HKEY>(key), n.c_str(), nullptr, &t, data, size != nullptr ? &s : nullptr);
  if (type != nullptr) *type = t;
  if (size != nullptr) *size = s;
  return rc;
}

long Win32Registry::SetValueNarrow(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                                   std::uint32_t size) {
  std::string n(name.begin(), name.end());
  return RegSetValueExA(static_cast<HKEY>(key), n.c_str(), 0, type, data, size);
}

long Win32Registry::DeleteValue(RegKey key, std::u16string_view name) {
  std::wstring n = Terminated(name);
  return RegDeleteValueW(static_cast<HKEY>(key), n.c_str());
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(static_cast<HKEY>(key)); }

}  // namespace halvard
