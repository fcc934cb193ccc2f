// The registry in memory, for native tests and the simulated demo. Key and value names compare
// without regard to ASCII case, as on the platform.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry_seam.h"

namespace halvard {

class MemoryRegistry : public RegistrySeam {
 public:
  struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
  };

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

  // Inspection for tests.
  bool KeyExists(RegRoot root, std::u16string_view path) const;
  const Value* Find(RegRoot root, std::u16string_view path, std::u16string_view name) const;
  int OpenKeyCount() const { return static_cast<int>(open_.size()); }
  // Makes every following call fail with `status` (0 lets them through again).
  void FailAll(long status) { failAll_ = status; }
  // Makes plain opens of this one key (without create) fail with `status`, as a key the user may
  // not open; creating it still reaches the key. 0 lifts it.
  void RefuseOpen(RegRoot root, std::u16string_view path, long status = kRegErrorAccessDenied);

 private:
  struct Node {
    std::u16string name;  // as created, for enumeration
    std::map<std::u16string, std::unique_ptr<Node>> children;  // by lower-case name
    std::map<std::u16string, Value> values;                     // by lower-case name
  };
  Node* Walk(RegRoot root, std::u16string_view path, bool create);
  const Node* Walk(RegRoot root, std::u16string_view path) const;
  Node* Resolve(RegKey key) const;

  Node user_, machine_;
  std::map<RegKey, Node*> open_;
  std::uintptr_t nextKey_ = 0x100;
  long failAll_ = 0;
  const Node* refused_ = nullptr;
  long refusedStatus_ = 0;
};

}  // namespace halvard
