// The HID seam: the platform's HID and device-setup calls, one operation per call the device
// link makes. The Win32 side loads "hid.dll" and "setupapi.dll" by name; the simulated side
// serves simulated interfaces.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace halvard {

struct Guid {
  std::uint32_t data1 = 0;
  std::uint16_t data2 = 0, data3 = 0;
  std::uint8_t data4[8] = {};
  friend bool operator==(const Guid& a, const Guid& b) {
    return a.data1 == b.data1 && a.data2 == b.data2 && a.data3 == b.data3 &&
           std::memcmp(a.data4, b.data4, 8) == 0;
  }
};

// The mouse interface class {378DE44C-56EF-11D1-BC8C-00A0C91405DD}.
inline constexpr Guid kMouseInterfaceClass{0x378DE44C, 0x56EF, 0x11D1, {0xBC, 0x8C, 0x00, 0xA0, 0xC9, 0x14, 0x05, 0xDD}};
// The HID interface class {4D1E55B2-F16F-11CF-88CB-001111000030}, as HidD_GetHidGuid answers.
inline constexpr Guid kHidInterfaceClass{0x4D1E55B2, 0xF16F, 0x11CF, {0x88, 0xCB, 0x00, 0x11, 0x11, 0x00, 0x00, 0x30}};

struct HidAttributes {
  std::uint16_t vendorId = 0, productId = 0, versionNumber = 0;
};

using ModuleHandle = void*;
using DeviceSet = void*;        // null = the invalid set
using DeviceHandle = std::intptr_t;
inline constexpr DeviceHandle kInvalidDevice = -1;
using WindowHandle = void*;
using NotifyHandle = void*;

enum class HidModule { kHid, kSetup };

// Access requested when opening an interface path; sharing is always read and write, and only an
// existing device is opened.
enum class DeviceAccess { kNone, kWrite, kReadWrite };

class HidSeam {
 public:
  virtual ~HidSeam() = default;

  // LoadLibraryW / FreeLibrary of "hid.dll" or "setupapi.dll"; null when it cannot be loaded.
  virtual ModuleHandle LoadModule(HidModule which) = 0;
  virtual void UnloadModule(ModuleHandle module) = 0;

  virtual Guid GetHidGuid() = 0;
  // Present devices exposing the class, as device interfaces; null on failure.
  virtual DeviceSet GetClassDevs(const Guid& interfaceClass) = 0;
  // Enumerates interface `index` of the set and gets its path (detail) into `path[cap]`, always
  // terminated. False when there are no more interfaces or the detail cannot be had.
  virtual bool GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char16_t* path,
                                std::size_t cap) = 0;
  virtual bool GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char* path,
                                std::size_t cap) = 0;
  virtual void DestroyDeviceSet(DeviceSet set) = 0;

  virtual DeviceHandle Open(const char16_t* path, DeviceAccess access) = 0;
  virtual DeviceHandle Open(const char* path, DeviceAccess access) = 0;
  virtual bool Close(DeviceHandle device) = 0;

  virtual bool GetAttributes(DeviceHandle device, HidAttributes* attributes) = 0;
  // The device's strings in 16-bit characters; `bytes` is the buffer length in bytes.
  virtual bool GetProductString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) = 0;
  virtual bool GetManufacturerString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) = 0;
  virtual bool SetFeature(DeviceHandle device, const std::uint8_t* report, std::uint32_t length) = 0;
  virtual bool GetFeature(DeviceHandle device, std::uint8_t* report, std::uint32_t length) = 0;
  // One input report; false on failure, else `*read` bytes arrived.
  virtual bool ReadInput(DeviceHandle device, std::uint8_t* buffer, std::uint32_t length, std::uint32_t* read) = 0;

  // Device-interface arrival and removal notifications of the class for a window.
  virtual NotifyHandle RegisterNotify(WindowHandle window, const Guid& interfaceClass) = 0;
  virtual bool UnregisterNotify(NotifyHandle registration) = 0;
};

}  // namespace halvard
