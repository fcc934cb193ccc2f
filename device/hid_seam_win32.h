// The HID seam on Windows: "hid.dll" and "setupapi.dll" loaded by name, their entry points looked
// up once into a table; failures are values, with the system error kept for diagnosis.
#pragma once

#include "device/hid_seam.h"

namespace halvard {

class Win32Hid : public HidSeam {
 public:
  Win32Hid();
  ~Win32Hid() override;
  Win32Hid(const Win32Hid&) = delete;
  Win32Hid& operator=(const Win32Hid&) = delete;

  bool Ready() const;  // both libraries and every entry point found
  unsigned long LastError() const { return lastError_; }

  ModuleHandle LoadModule(HidModule which) override;
  void UnloadModule(ModuleHandle module) override;
  Guid GetHidGuid() override;
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
  struct Api;
  Api* api_;
  unsigned long lastError_ = 0;
};

}  // namespace halvard
