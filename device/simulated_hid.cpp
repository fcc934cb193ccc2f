#include "device/simulated_hid.h"

#include <algorithm>

#include "platform/text.h"

namespace halvard {

SimulatedHid::Interface SimulatedHid::MouseInterface(SimulatedMouse* mouse, std::u16string path) {
  Interface i;
  i.path = path.empty() ? u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_01&col02#8&1f2e3d4c&0&0001#"
                          u"{378de44c-56ef-11d1-bc8c-00a0c91405dd}"
                        : std::move(path);
  i.attributes = {0x2E4A, 0x1C07, mouse != nullptr ? mouse->Version() : std::uint16_t{0x2002}};
  i.product = u"Halvard Gaming Mouse";
  i.manufacturer = u"Vornex";
  i.mouse = mouse;
  return i;
}

int SimulatedHid::AddInterface(Interface iface) {
  interfaces_.push_back(std::move(iface));
  return static_cast<int>(interfaces_.size()) - 1;
}

ModuleHandle SimulatedHid::LoadModule(HidModule which) {
  int i = which == HidModule::kHid ? 0 : 1;
  if (missing_[i]) return nullptr;
  ++loaded_;
  return reinterpret_cast<ModuleHandle>(static_cast<std::uintptr_t>(0x10 + i));
}

void SimulatedHid::UnloadModule(ModuleHandle module) {
  if (module != nullptr) --loaded_;
}

DeviceSet SimulatedHid::GetClassDevs(const Guid& interfaceClass) {
  if (failClassDevs_) return nullptr;
  auto set = reinterpret_cast<DeviceSet>(nextToken_);
  nextToken_ += 8;
  sets_[set] = interfaceClass;
  return set;
}

const SimulatedHid::Interface* SimulatedHid::Listed(DeviceSet set, const Guid& interfaceClass, std::uint32_t index) {
  auto it = sets_.find(set);
  if (it == sets_.end() || !(it->second == interfaceClass)) return nullptr;
  ++examined_;
  std::uint32_t n = 0;
  for (const Interface& i : interfaces_) {
    bool member = interfaceClass == kHidInterfaceClass ? i.hidClass
                  : interfaceClass == kMouseInterfaceClass ? i.mouseClass
                                                           : false;
    if (member && n++ == index) return &i;
  }
  return nullptr;
}

bool SimulatedHid::GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char16_t* path,
                                    std::size_t cap) {
  const Interface* i = Listed(set, interfaceClass, index);
  if (i == nullptr || path == nullptr || i->path.size() + 1 > cap) return false;
  CopyText<char16_t>(path, cap, i->path);
  return true;
}

bool SimulatedHid::GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char* path,
                                    std::size_t cap) {
  const Interface* i = Listed(set, interfaceClass, index);
  if (i == nullptr || path == nullptr || i->path.size() + 1 > cap) return false;
  std::string narrow;
  for (char16_t c : i->path) narrow.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  CopyText<char>(path, cap, narrow);
  return true;
}

void SimulatedHid::DestroyDeviceSet(DeviceSet set) { sets_.erase(set); }

DeviceHandle SimulatedHid::OpenPath(const std::u16string& path, DeviceAccess access) {
  for (std::size_t k = 0; k < interfaces_.size(); ++k) {
    Interface& i = interfaces_[k];
    // Interface paths compare without regard to case on the platform.
    if (AsciiLower(i.path) != AsciiLower(path)) continue;
    if (!i.openable || (i.mouse != nullptr && !i.mouse->AcceptOpen())) return kInvalidDevice;
    DeviceHandle h = nextHandle_;
    nextHandle_ += 4;
    open_[h] = k;
    lastAccess_ = access;
    return h;
  }
  return kInvalidDevice;
}

DeviceHandle SimulatedHid::Open(const char16_t* path, DeviceAccess access) {
  if (path == nullptr) return kInvalidDevice;
  return OpenPath(path, access);
}

DeviceHandle SimulatedHid::Open(const char* path, DeviceAccess access) {
  if (path == nullptr) return kInvalidDevice;
  return OpenPath(Widen(path), access);
}

bool SimulatedHid::Close(DeviceHandle device) { return open_.erase(device) != 0; }

const SimulatedHid::Interface* SimulatedHid::Find(DeviceHandle device) const {
  auto it = open_.find(device);
  return it == open_.end() ? nullptr : &interfaces_[it->second];
}

bool SimulatedHid::GetAttributes(DeviceHandle device, HidAttributes* attributes) {
  const Interface* i = Find(device);
  if (i == nullptr || !i->attributesReadable || attributes == nullptr) return false;
  *attributes = i->attributes;
  return true;
}

// Like the platform: as much of the string as fits with its terminator, in 16-bit characters.
bool SimulatedHid::CopyString(const std::optional<std::u16string>& s, char16_t* buffer, std::uint32_t bytes) {
  if (!s || buffer == nullptr || bytes < 2) return false;
  CopyText<char16_t>(buffer, bytes / 2, *s);
  return true;
}

bool SimulatedHid::GetProductString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) {
  const Interface* i = Find(device);
  return i != nullptr && CopyString(i->product, buffer, bytes);
}

bool SimulatedHid::GetManufacturerString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) {
  const Interface* i = Find(device);
  return i != nullptr && CopyString(i->manufacturer, buffer, bytes);
}

bool SimulatedHid::SetFeature(DeviceHandle device, const std::uint8_t* report, std::uint32_t length) {
  const Interface* i = Find(device);
  return i != nullptr && i->mouse != nullptr && i->mouse->SetFeature(report, length);
}

bool SimulatedHid::GetFeature(DeviceHandle device, std::uint8_t* report, std::uint32_t length) {
  const Interface* i = Find(device);
  return i != nullptr && i->mouse != nullptr && i->mouse->GetFeature(report, length);
}

bool SimulatedHid::ReadInput(DeviceHandle device, std::uint8_t* buffer, std::uint32_t length, std::uint32_t* read) {
  auto it = open_.find(device);
  if (it == open_.end() || buffer == nullptr || read == nullptr) return false;
  auto& queue = interfaces_[it->second].inputReports;
  if (queue.empty()) return false;
  std::vector<std::uint8_t> report = std::move(queue.front());
  queue.erase(queue.begin());
  *read = static_cast<std::uint32_t>(std::min<std::size_t>(report.size(), length));
  std::copy_n(report.begin(), *read, buffer);
  return true;
}

NotifyHandle SimulatedHid::RegisterNotify(WindowHandle window, const Guid& interfaceClass) {
  if (failNotify_ || window == nullptr) return nullptr;
  auto token = reinterpret_cast<NotifyHandle>(nextToken_);
  nextToken_ += 8;
  registrations_[token] = {window, interfaceClass};
  return token;
}

bool SimulatedHid::UnregisterNotify(NotifyHandle registration) {
  if (failNotify_) return false;
  return registrations_.erase(registration) != 0;
}

}  // namespace halvard

