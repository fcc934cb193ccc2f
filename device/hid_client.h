// Finds HID interfaces and keeps a table of those that pass a filter; registers a window for
// device arrival and removal; simple feature and input transfers by table row. One generic
// implementation serves the wide form (the programs) and the 8-bit form (the display library).
// The big tables are on the heap: a client object itself is small and safe as a local variable.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "device/hid_seam.h"
#include "platform/message_box.h"
#include "platform/registry_seam.h"

namespace halvard {

struct SUsbId {
  std::uint16_t vid;
  std::uint16_t pid;
};

// The supported mouse.
inline constexpr SUsbId kSupportedMouse{0x2E4A, 0x1C07};
inline constexpr std::uint16_t kSupportedVersion = 0x2002;

template <typename CharT>
class BasicHidClient {
 public:
  static constexpr int kMaxDevices = 127;
  static constexpr int kPathChars = 1024;
  static constexpr int kNameChars = 128;
  static constexpr std::uint32_t kDetailBufferBytes = 1024;
  static constexpr std::uint32_t kInputReadBytes = 256;
  static constexpr std::uint16_t kNoValue = 0xFFFF;

  BasicHidClient(HidSeam& hid, MessageBoxSeam& messages, RegistrySeam& registry);
  BasicHidClient(const BasicHidClient& other);
  BasicHidClient& operator=(const BasicHidClient& other);
  virtual ~BasicHidClient();

  int LoadDll();

  // Table queries; a row outside 0..count-1 gives null or 0xFFFF.
  const CharT* GetDevice(int index) const;
  const CharT* GetDeviceName(int index) const;
  const CharT* GetVendorName(int index) const;
  const CharT* GetDeviceID(int index) const;
  std::uint16_t GetDeviceVID(int index) const;
  std::uint16_t GetDevicePID(int index) const;
  std::uint16_t GetDeviceVer(int index) const;
  int GetRecognizedDevices() const { return count_; }

  // Table builds; 1 when at least one row was found.
  int CreateDeviceTable(std::uint16_t vid, std::uint16_t pid, bool flag);
  int CreateDeviceTable(const SUsbId* ids, int idCount);
  int CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion, std::uint16_t maxVersion);
  int CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion, std::uint16_t maxVersion,
                        std::uint16_t version);
  int CreateDeviceTable(const SUsbId* ids, int idCount, const std::uint16_t* versions, int versionCount);
  int CreateDeviceTable(const std::uint16_t* versions, int versionCount);

  // Transfers by row.
  int Write(int index, const std::uint8_t* buffer, std::uint32_t length);
  int Read(int index, std::uint8_t* buffer, std::uint32_t length);
  int ReadInputReport(int index, std::uint8_t* buffer, std::uint32_t* length);
  DeviceHandle Open(int index);
  std::uint32_t Read(DeviceHandle handle, std::uint8_t* buffer);
  int Close(DeviceHandle handle);

  // Notifications.
  int RegisterNotify(WindowHandle window);
  int UnRegisterNotify();
  int ReRegisterNotify(WindowHandle window);
  int RecoverRegisterNotify();

  const CharT* Id2ProductString(DeviceHandle handle);
  const CharT* Id2ManufactureString(DeviceHandle handle);
  const CharT* Id2String(std::uint16_t vid, std::uint16_t pid);
  static int IsPellorProduct(std::uint16_t vid, std::uint16_t pid);
  std::basic_string<CharT> CurrentTableText(int type) const;
  void ShowCurrentTable(int type);
  int ModifyDeviceRegistry(int flag);

  const Guid& InterfaceClass() const { return interfaceClass_; }
  WindowHandle NotificationRecipient() const { return recipient_; }
  NotifyHandle NotificationHandle() const { return notify_; }
  bool LibrariesLoaded() const { return librariesLoaded_ != 0; }

 private:
  enum class ClassChoice { kHid, kMouse };
  template <typename Filter>
  int BuildTable(ClassChoice choice, bool skipCollection3, Filter taken);
  void AppendRow(const CharT* path, DeviceHandle handle, const HidAttributes& a);
  bool ValidRow(int index) const { return index >= 0 && index < count_; }
  void EnsureTable();
  DeviceHandle OpenRowForTransfer(int index, DeviceAccess access);
  const CharT* LookupString(DeviceHandle handle, bool product, CharT* scratch);
  void CopyFrom(const BasicHidClient& other);
  void UnloadModules();

  int count_ = 0;
  ModuleHandle hidModule_ = nullptr;
  ModuleHandle setupModule_ = nullptr;
  Guid interfaceClass_ = kMouseInterfaceClass;
  NotifyHandle notify_ = nullptr;
  WindowHandle recipient_ = nullptr;
  // The string tables (about 390 KB in the wide form) live on the heap, allocated once with
  // the client, so that a client can be a local variable of any thread.
  struct Tables {
    CharT paths[kMaxDevices][kPathChars] = {};
    CharT products[kMaxDevices][kNameChars] = {};
    CharT vendors[kMaxDevices][kNameChars] = {};
    CharT ids[kMaxDevices][kNameChars] = {};
    CharT keyNames[kMaxDevices][kNameChars] = {};
  };
  std::unique_ptr<Tables> tables_ = std::make_unique<Tables>();
  std::uint16_t versions_[kMaxDevices] = {};
  std::uint16_t vids_[kMaxDevices] = {};
  std::uint16_t pids_[kMaxDevices] = {};
  std::int32_t librariesLoaded_ = 0;

  CharT productScratch_[kNameChars] = {};
  CharT manufacturerScratch_[kNameChars] = {};
  CharT idScratch_[kNameChars] = {};

  HidSeam* hid_;
  MessageBoxSeam* messages_;
  RegistrySeam* registry_;
};

// The programs' form and the display library's form.
using CHidClient = BasicHidClient<char16_t>;
using CHidClientA = BasicHidClient<char>;

extern template class BasicHidClient<char16_t>;
extern template class BasicHidClient<char>;

}  // namespace halvard
