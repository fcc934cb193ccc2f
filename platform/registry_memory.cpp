#include "platform/registry_memory.h"

#include <cstring>

#include "platform/text.h"

namespace halvard {
namespace {

// Splits a backslash-separated key path; empty parts (leading, doubled or trailing
// backslashes) are skipped as the platform does.
template <typename Fn>
bool ForEachPart(std::u16string_view path, Fn fn) {
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start && !fn(path.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

MemoryRegistry::Node* MemoryRegistry::Walk(RegRoot root, std::u16string_view path, bool create) {
  Node* node = root == RegRoot::kCurrentUser ? &user_ : &machine_;
  bool ok = ForEachPart(path, [&](std::u16string_view part) {
    auto lower = AsciiLower(part);
    auto it = node->children.find(lower);
    if (it == node->children.end()) {
      if (!create) return false;
      auto child = std::make_unique<Node>();
      child->name = std::u16string(part);
      it = node->children.emplace(lower, std::move(child)).first;
    }
    node = it->second.get();
    return true;
  });
  return ok ? node : nullptr;
}

const MemoryRegistry::Node* MemoryRegistry::Walk(RegRoot root, std::u16string_view path) const {
  return const_cast<MemoryRegistry*>(this)->Walk(root, path, false);
}

MemoryRegistry::Node* MemoryRegistry::Resolve(RegKey key) const {
  auto it = open_.find(key);
  return it == open_.end() ? nullptr : it->second;
}

long MemoryRegistry::OpenKey(RegRoot root, std::u16string_view path, bool create, RegKey* key) {
  if (failAll_ != 0) return failAll_;
  if (key == nullptr) return kRegErrorInvalidParameter;
  if (!create && refused_ != nullptr && Walk(root, path) == refused_) return refusedStatus_;
  Node* node = Walk(root, path, create);
  if (node == nullptr) return kRegErrorFileNotFound;
  RegKey handle = reinterpret_cast<RegKey>(nextKey_);
  nextKey_ += 4;
  open_[handle] = node;
  *key = handle;
  return 0;
}

long MemoryRegistry::EnumSubKey(RegKey key, std::uint32_t index, char16_t* name, std::uint32_t cap) {
  if (failAll_ != 0) return failAll_;
  Node* node = Resolve(key);
  if (node == nullptr || name == nullptr) return kRegErrorInvalidParameter;
  if (index >= node->children.size()) return kRegErrorNoMoreItems;
  auto it = node->children.begin();
  std::advance(it, index);
  const std::u16string& n = it->second->name;
  if (n.size() + 1 > cap) return kRegErrorMoreData;
  CopyText<char16_t>(name, cap, n);
  return 0;
}

long MemoryRegistry::QueryValue(RegKey key, std::u16string_view name, std::uint32_t* type, std::uint8_t* data,
                                std::uint32_t* size) {
  if (failAll_ != 0) return failAll_;
  Node* node = Resolve(key);
  if (node == nullptr) return kRegErrorInvalidParameter;
  auto it = node->values.find(AsciiLower(name));
  if (it == node->values.end()) return kRegErrorFileNotFound;
  const Value& v = it->second;
  if (type != nullptr) *type = v.type;
  if (size == nullptr) return data == nullptr ? 0 : kRegErrorInvalidParameter;
  auto stored = static_cast<std::uint32_t>(v.data.size());
  if (data == nullptr) {
    *size = stored;
    return 0;
  }
  if (*size < stored) {
    *size = stored;
    return kRegErrorMoreData;
  }
  if (stored != 0) std::memcpy(data, v.data.data(), stored);
  *size = stored;
  return 0;
}

long MemoryRegistry::SetValue(RegKey key, std::u16string_view name, std::uint32_t type, const std::uint8_t* data,
                              std::uint32_t size) {
  if (failAll_ != 0) return failAll_;
  Node* node = Resolve(key);
  if (node == nullptr || (data == nullptr && size != 0)) return kRegErrorInvalidParameter;
  Value v;
  v.type = type;
  v.data.assign(data, data + size);
  node->values[AsciiLower(name)] = std::move(v);
  return 0;
}

namespace {

bool IsText(std::uint32_t type) { return type == kRegSz || type == kRegExpandSz; }

}  // namespace

// The in-memory code page is Latin-1: bytes widen to the same code unit, and code units above
// 0xFF come back as '?', as an 8-bit reader of the platform sees characters outside its page.
long MemoryRegistry::QueryValueNarrow(RegKey key, std::u16string_view name, std::uint32_t* type,
                                      std::uint8_t* data, std::uint32_t* size) {
  if (failAll_ != 0) return failAll_;
  Node* node = Resolve(key);
  if (node == nullptr) return kRegErrorInvalidParameter;
  auto it = node->values.find(AsciiLower(name));
  if (it == node->values.end()) return kRegErrorFileNotFound;
  if (!IsText(it->second.type)) return QueryValue(key, name, type, data, size);
  const auto& wide = it->second.data;
  std::vector<std::uint8_t> narrow;
  for (std::size_t i = 0; i + 1 < wide.size(); i += 2) {
    unsigned unit = wide[i] | (wide[i + 1] << 8);
    narrow.push_back(unit <= 0xFF ? static_cast<std::uint8_t>(unit) : '?');
  }
  if (type != nullptr) *type = it->second.type;
  if (size == nullptr) return data == nullptr ? 0 : kRegErrorInvalidParameter;
  auto stored = static_cast<std::uint32_t>(narrow.size());
  if (data == nullptr) {
    *size = stored;
    return 0;
  }
  if (*size < stored) {
    *size = stored;
    return kRegErrorMoreData;
  }
  if (stored != 0) std::memcpy(data, narrow.data(), stored);
  *size = stored;
  return 0;
}

long MemoryRegistry::SetValueNarrow(RegKey key, std::u16string_view name, std::uint32_t type,
                                    const std::uint8_t* data, std::uint32_t size) {
  if (!IsText(type) || data == nullptr) return SetValue(key, name, type, data, size);
  std::vector<std::uint8_t> wide;
  for (std::uint32_t i = 0; i < size; ++i) {
    wide.push_back(data[i]);
    wide.push_back(0);
  }
  return SetValue(key, name, type, wide.data(), static_cast<std::uint32_t>(wide.size()));
}

long MemoryRegistry::DeleteValue(RegKey key, std::u16string_view name) {
  if (failAll_ != 0) return failAll_;
  Node* node = Resolve(key);
  if (node == nullptr) return kRegErrorInvalidParameter;
  return node->values.erase(AsciiLower(name)) != 0 ? 0 : kRegErrorFileNotFound;
}

long MemoryRegistry::CloseKey(RegKey key) {
  return open_.erase(key) != 0 ? 0 : kRegErrorInvalidParameter;
}

void MemoryRegistry::RefuseOpen(RegRoot root, std::u16string_view path, long status) {
  refused_ = status != 0 ? Walk(root, path, true) : nullptr;
  refusedStatus_ = status;
}

bool MemoryRegistry::KeyExists(RegRoot root, std::u16string_view path) const { return Walk(root, path) != nullptr; }

const MemoryRegistry::Value* MemoryRegistry::Find(RegRoot root, std::u16string_view path,
                                                  std::u16string_view name) const {
  const Node* node = Walk(root, path);
  if (node == nullptr) return nullptr;
  auto it = node->values.find(AsciiLower(name));
  return it == node->values.end() ? nullptr : &it->second;
}

}  // namespace halvard
