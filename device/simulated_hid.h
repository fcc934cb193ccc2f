// The HID seam served by simulated interfaces: the supported mouse and whatever else a test puts
// on the "machine" (other vendors, other version numbers, collection paths, unreadable strings).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "device/hid_seam.h"
#include "device/simulated_mouse.h"

namespace halvard {

class SimulatedHid : public HidSeam {
 public:
  struct Interface {
    std::u16string path;
    HidAttributes attributes;
    std::optional<std::u16string> product;       // nullopt: the string cannot be read
    std::optional<std::u16string> manufacturer;  // nullopt: the string cannot be read
    bool mouseClass = true;   // listed under the mouse interface class
    bool hidClass = true;     // listed under the HID interface class
    bool openable = true;
    bool attributesReadable = true;
    SimulatedMouse* mouse = nullptr;  // answers feature reports; null: every transfer fails
    std::vector<std::vector<std::uint8_t>> inputReports;  // handed out one per read, oldest first
  };

  // The supported mouse (vendor 0x2E4A, product 0x1C07) on a typical interface path.
  static Interface MouseInterface(SimulatedMouse* mouse, std::u16string path = u"");

  int AddInterface(Interface iface);
  Interface& At(int index) { return interfaces_[index]; }
  void RemoveAll() { interfaces_.clear(); }

  // Scripted platform failures.
  void SetModuleMissing(HidModule which, bool missing) { missing_[which == HidModule::kHid ? 0 : 1] = missing; }
  void FailClassDevs(bool fail) { failClassDevs_ = fail; }
  void FailNotifications(bool fail) { failNotify_ = fail; }

  // Inspection.
  int OpenHandles() const { return static_cast<int>(open_.size()); }
  int LoadedModules() const { return loaded_; }
  int ExaminedInterfaces() const { return examined_; }
  DeviceAccess LastAccess() const { return lastAccess_; }
  struct Registration {
    WindowHandle window;
    Guid interfaceClass;
  };
  const std::map<NotifyHandle, Registration>& Registrations() const { return registrations_; }

  ModuleHandle LoadModule(HidModule which) override;
  void UnloadModule(ModuleHandle module) override;
  Guid GetHidGuid() override { return kHidInterfaceClass; }
  DeviceSet GetClassDevs(const Guid& interfaceClass) override;
  bool GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char16_t* path,
                        std::size_t cap) override;
  bool GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char* path,
                        std::size_t cap) override;
  void DestroyDeviceSet(DeviceSet set) override;
  DeviceHandle Open(const char16_t* path, DeviceAccess access) override;
  DeviceHandle Open(const char* path, DeviceAccess access) override;
  bool Close(DeviceHandle device) override;
  bool GetAttributes(DeviceHandle device, HidAttributes* attributes) override;
  bool GetProductString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) override;
  bool GetManufacturerString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) override;
  bool SetFeature(DeviceHandle device, const std::uint8_t* report, std::uint32_t length) override;
  bool GetFeature(DeviceHandle device, std::uint8_t* report, std::uint32_t length) override;
  bool ReadInput(DeviceHandle device, std::uint8_t* buffer, std::uint32_t length, std::uint32_t* read) override;
  NotifyHandle RegisterNotify(WindowHandle window, const Guid& interfaceClass) override;
  bool UnregisterNotify(NotifyHandle registration) override;

 private:
  const Interface* Find(DeviceHandle device) const;
  const Interface* Listed(DeviceSet set, const Guid& interfaceClass, std::uint32_t index);
  DeviceHandle OpenPath(const std::u16string& path, DeviceAccess access);
  static bool CopyString(const std::optional<std::u16string>& s, char16_t* buffer, std::uint32_t bytes);

  std::vector<Interface> interfaces_;
  std::map<DeviceHandle, std::size_t> open_;
  std::map<NotifyHandle, Registration> registrations_;
  std::map<DeviceSet, Guid> sets_;
  bool missing_[2] = {false, false};
  bool failClassDevs_ = false, failNotify_ = false;
  int loaded_ = 0, examined_ = 0;
  DeviceHandle nextHandle_ = 0x40;
  std::uintptr_t nextToken_ = 0x1000;
  DeviceAccess lastAccess_ = DeviceAccess::kNone;
};

}  // namespace halvard
