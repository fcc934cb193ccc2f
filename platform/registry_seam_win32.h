// The real registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE through the advapi32 calls.
#pragma once

#include "platform/registry_seam.h"

namespace halvard {

class Win32Registry : public RegistrySeam {
 public:
  long OpenKey(RegRoot root, std::u16string_view path, bool create, RegKey* key) override;
  long EnumSubKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t cap) override;
  long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                  std::uint32_t* size) override;
  long SetValue(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                std::uint32_t size) override;
  long QueryValueNarrow(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                        std::uint32_t* size) override;
  long SetValueNarrow(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                      std::uint32_t size) override;
  long DeleteValue(RegKey key, std::u16string_view name) override;
  long CloseKey(RegKey key) override;
};

}  // namespace halvard
