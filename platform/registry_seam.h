// The registry seam: keys and values of the per-user key and of the machine's device keys.
// Results are platform status codes (0 = success), as the system calls return them, so callers
// can keep the last system error.
#pragma once

#include <cstdint>
#include <string_view>

namespace halvard {

enum class RegRoot { kCurrentUser, kLocalMachine };

// Value types as the platform numbers them.
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

// Status codes the seam reports besides 0.
constexpr long kRegErrorFileNotFound = 2;
constexpr long kRegErrorAccessDenied = 5;
constexpr long kRegErrorInvalidParameter = 87;
constexpr long kRegErrorMoreData = 234;
constexpr long kRegErrorNoMoreItems = 259;

using RegKey = void*;

class RegistrySeam {
 public:
  virtual ~RegistrySeam() = default;
  // Opens `path` under `root` with full access; creates it (and its parents) when `create`.
  virtual long OpenKey(RegRoot root, std::u16string_view path, bool create, RegKey* key) = 0;
  // Name of the sub-key with the given index; at most `cap` - 1 characters plus terminator.
  virtual long EnumSubKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t cap) = 0;
  // Reads a value; `*size` is the buffer size in, the stored size out (also when too small).
  virtual long QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                          std::uint32_t* size) = 0;
  virtual long SetValue(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                        std::uint32_t size) = 0;
  // The 8-bit forms, as the libraries call them: text values travel in the system code page,
  // one byte per character, while the registry keeps them in 16-bit characters.
  virtual long QueryValueNarrow(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) = 0;
  virtual long SetValueNarrow(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) = 0;
  virtual long DeleteValue(RegKey key, std::u16string_view name) = 0;
  virtual long CloseKey(RegKey key) = 0;
};

}  // namespace halvard
