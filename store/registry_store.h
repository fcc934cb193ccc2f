// The accessor of the shared key HKEY_CURRENT_USER "Software\Halvard" that every deliverable
// carries. The key is opened and closed around every single access; nothing is cached. One
// component serves the wide programs (char16_t text) and the 8-bit libraries (char text).
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "ipc/dword_source.h"
#include "platform/registry_seam.h"

namespace halvard {

inline constexpr std::u16string_view kHalvardKey = u"Software\\Halvard";
inline constexpr std::size_t kRegistryStringBytes = 4096;

template <typename CharT>
class BasicRegistryStore : public DwordSource {
 public:
  // Characters of the 4096-byte buffer that string reads fill.
  static constexpr std::size_t kStringChars = kRegistryStringBytes / sizeof(CharT);

  explicit BasicRegistryStore(RegistrySeam& registry) : registry_(registry) {}
  ~BasicRegistryStore() override { Close(); }
  BasicRegistryStore(const BasicRegistryStore&) = delete;
  BasicRegistryStore& operator=(const BasicRegistryStore&) = delete;

  // Opens the key (without creating it) and keeps it open until Close or the next operation.
  int Open();
  void Close();

  int SetDword(std::u16string_view name, std::uint32_t value);
  // The stored number; -1 when the value is missing or not a 4-byte DWORD, or when the key
  // cannot be opened for another reason than not being there; a missing key is created with
  // the value stored as 0, and 0 is returned.
  std::int32_t GetDword(std::u16string_view name) override;
  int DeleteValue(std::u16string_view name);
  // Fills `buffer` with zeros, then with as much of the stored text as leaves a terminator.
  int GetString(std::u16string_view name, std::span<CharT> buffer);
  // Stored without a terminator: exactly sizeof(CharT) bytes per character.
  int SetString(std::u16string_view name, std::basic_string_view<CharT> text);

  long LastError() const { return lastError_; }

 private:
  bool OpenKey(bool create);
  long Query(std::u16string_view name, std::uint32_t* type, std::uint8_t* data, std::uint32_t* size);

  RegistrySeam& registry_;
  RegKey key_ = nullptr;
  long lastError_ = 0;
};

using RegistryStore = BasicRegistryStore<char16_t>;
using RegistryStoreA = BasicRegistryStore<char>;

extern template class BasicRegistryStore<char16_t>;
extern template class BasicRegistryStore<char>;

}  // namespace halvard
