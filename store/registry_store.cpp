#include "store/registry_store.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace halvard {

template <typename CharT>
void BasicRegistryStore<CharT>::Close() {
  if (key_ != nullptr) registry_.CloseKey(key_);
  key_ = nullptr;
}

template <typename CharT>
bool BasicRegistryStore<CharT>::OpenKey(bool create) {
  Close();
  long rc = registry_.OpenKey(RegRoot::kCurrentUser, kHalvardKey, create, &key_);
  if (rc != 0) {
    lastError_ = rc;
    key_ = nullptr;
    return false;
  }
  return true;
}

template <typename CharT>
long BasicRegistryStore<CharT>::Query(std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                                      std::uint32_t* size) {
  if constexpr (sizeof(CharT) == 1)
    return registry_.QueryValueNarrow(key_, name, type, data, size);
  else
    return registry_.QueryValue(key_, name, type, data, size);
}

template <typename CharT>
int BasicRegistryStore<CharT>::Open() {
  return OpenKey(false) ? 1 : 0;
}

template <typename CharT>
int BasicRegistryStore<CharT>::SetDword(std::u16string_view name, std::uint32_t value) {
  if (!OpenKey(true)) return 0;
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                 static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  long rc = registry_.SetValue(key_, name, kRegDword, bytes, 4);
  if (rc != 0) lastError_ = rc;
  Close();
  return rc == 0 ? 1 : 0;
}

template <typename CharT>
std::int32_t BasicRegistryStore<CharT>::GetDword(std::u16string_view name) {
  if (!OpenKey(false)) {
    // Only a key that is not there yet is made, with the asked value as 0; one that exists but
    // will not open (access denied) is left alone.
    if (lastError_ != kRegErrorFileNotFound) return -1;
    if (!OpenKey(true)) return -1;
    const std::uint8_t zero[4] = {};
    long rc = registry_.SetValue(key_, name, kRegDword, zero, 4);
    if (rc != 0) lastError_ = rc;
    Close();
    return rc == 0 ? 0 : -1;
  }
  std::uint8_t bytes[4] = {};
  std::uint32_t type = 0, size = sizeof bytes;
  long rc = Query(name, &type, bytes, &size);
  Close();
  if (rc != 0) {
    lastError_ = rc;
    return -1;
  }
  if (type != kRegDword || size != 4) return -1;  // unreadable, never misread
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
                                   (static_cast<std::uint32_t>(bytes[2]) << 16) |
                                   (static_cast<std::uint32_t>(bytes[3]) << 24));
}

template <typename CharT>
int BasicRegistryStore<CharT>::DeleteValue(std::u16string_view name) {
  if (!OpenKey(false)) return 0;
  long rc = registry_.DeleteValue(key_, name);
  if (rc != 0) lastError_ = rc;
  Close();
  return rc == 0 ? 1 : 0;
}

template <typename CharT>
int BasicRegistryStore<CharT>::GetString(std::u16string_view name, std::span<CharT> buffer) {
  std::fill(buffer.begin(), buffer.end(), CharT{});
  if (buffer.empty() || !OpenKey(false)) return 0;
  std::uint32_t type = 0, size = 0;
  long rc = Query(name, &type, nullptr, &size);
  std::vector<std::uint8_t> bytes;
  if (rc == 0 && (type == kRegSz || type == kRegExpandSz)) {
    // The stored length can be anything; read it whole, then keep what fits.
    bytes.resize(size);
    rc = Query(name, &type, bytes.data(), &size);
    bytes.resize(std::min<std::size_t>(size, bytes.size()));
  }
  Close();
  if (rc != 0) {
    lastError_ = rc;
    return 0;
  }
  if (type != kRegSz && type != kRegExpandSz) return 0;
  // An odd byte count loses only its half character; a stored terminator ends the text.
  std::size_t chars = std::min(bytes.size() / sizeof(CharT), buffer.size() - 1);
  for (std::size_t i = 0; i < chars; ++i) {
    CharT c{};
    std::memcpy(&c, bytes.data() + i * sizeof(CharT), sizeof(CharT));
    if (c == CharT{}) break;
    buffer[i] = c;
  }
  return 1;
}

template <typename CharT>
int BasicRegistryStore<CharT>::SetString(std::u16string_view name, std::basic_string_view<CharT> text) {
  if (!OpenKey(true)) return 0;
  const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
  auto size = static_cast<std::uint32_t>(text.size() * sizeof(CharT));
  long rc;
  if constexpr (sizeof(CharT) == 1)
    rc = registry_.SetValueNarrow(key_, name, kRegSz, data, size);
  else
    rc = registry_.SetValue(key_, name, kRegSz, data, size);
  if (rc != 0) lastError_ = rc;
  Close();
  return rc == 0 ? 1 : 0;
}

template class BasicRegistryStore<char16_t>;
template class BasicRegistryStore<char>;

}  // namespace halvard
