#include "platform/registry_seam_win32.h"

#include <windows.h>

#include <string>
#include <vector>

namespace halvard {
namespace {

HKEY RootKey(RegRoot root) { return root == RegRoot::kCurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

// The platform wants terminated names; string_views are not.
std::wstring Terminated(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

bool IsText(std::uint32_t type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// The platform counts a terminator that follows the data as part of a text value it was "not
// given". Text is stored exactly as long as asked, so the copy it sees is followed by no zero.
std::vector<std::uint8_t> Unterminated(const std::uint8_t* data, std::uint32_t size) {
  std::vector<std::uint8_t> copy(data, data + size);
  copy.push_back(0xFF);
  copy.push_back(0xFF);
  return copy;
}

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
  if (data == nullptr || !IsText(type)) return RegSetValueExW(static_cast<HKEY>(key), n.c_str(), 0, type, data, size);
  std::vector<std::uint8_t> copy = Unterminated(data, size);
  return RegSetValueExW(static_cast<HKEY>(key), n.c_str(), 0, type, copy.data(), size);
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
  if (data == nullptr || !IsText(type)) return RegSetValueExA(static_cast<HKEY>(key), n.c_str(), 0, type, data, size);
  std::vector<std::uint8_t> copy = Unterminated(data, size);
  return RegSetValueExA(static_cast<HKEY>(key), n.c_str(), 0, type, copy.data(), size);
}

long Win32Registry::DeleteValue(RegKey key, std::u16string_view name) {
  std::wstring n = Terminated(name);
  return RegDeleteValueW(static_cast<HKEY>(key), n.c_str());
}

long Win32Registry::CloseKey(RegKey key) { return RegCloseKey(static_cast<HKEY>(key)); }

}  // namespace halvard
