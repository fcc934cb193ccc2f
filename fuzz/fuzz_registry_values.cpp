// Stored values of any type and length, read as DWORDs and as text in both forms: the read never
// passes its buffer, always leaves it terminated, and a DWORD is only ever a 4-byte REG_DWORD.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/registry_memory.h"
#include "store/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace halvard;
  if (size < 2) return 0;
  const std::uint32_t type = data[0] % 6;
  const std::size_t cap = 1 + data[1] % 64;  // a caller's buffer, in characters
  std::vector<std::uint8_t> bytes(data + 2, data + size);

  MemoryRegistry registry;
  RegKey k = nullptr;
  registry.OpenKey(RegRoot::kCurrentUser, kHalvardKey, true, &k);
  registry.SetValue(k, u"V", type, bytes.data(), static_cast<std::uint32_t>(bytes.size()));
  registry.CloseKey(k);

  RegistryStore wide(registry);
  RegistryStoreA narrow(registry);
  std::int32_t d = wide.GetDword(u"V");
  if (type != kRegDword || bytes.size() != 4) {
    if (d != -1) std::abort();
  }
  if (narrow.GetDword(u"V") != d) std::abort();

  std::vector<char16_t> w(cap + 1, u'#');
  int ok = wide.GetString(u"V", std::span<char16_t>(w.data(), cap));
  if (w[cap] != u'#' || w[cap - 1] != u'\0') std::abort();
  if (ok && type != kRegSz && type != kRegExpandSz) std::abort();
  std::vector<char> n(cap + 1, '#');
  narrow.GetString(u"V", std::span<char>(n.data(), cap));
  if (n[cap] != '#' || n[cap - 1] != '\0') std::abort();
  if (registry.OpenKeyCount() != 0) std::abort();
  return 0;
}
