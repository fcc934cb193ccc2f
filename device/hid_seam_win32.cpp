#include "device/hid_seam_win32.h"

#include <windows.h>
#include <dbt.h>
#include <setupapi.h>

#include <cstring>

namespace halvard {
namespace {

// The library's own attribute record.
struct HiddAttributes {
  ULONG Size;
  USHORT VendorID;
  USHORT ProductID;
  USHORT VersionNumber;
};

using HidDGetHidGuidFn = void(__stdcall*)(GUID*);
using HidDGetAttributesFn = BOOLEAN(__stdcall*)(HANDLE, HiddAttributes*);
using HidDGetStringFn = BOOLEAN(__stdcall*)(HANDLE, PVOID, ULONG);
using HidDFeatureFn = BOOLEAN(__stdcall*)(HANDLE, PVOID, ULONG);
using GetClassDevsWFn = HDEVINFO(WINAPI*)(const GUID*, PCWSTR, HWND, DWORD);
using EnumInterfacesFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVINFO_DATA, const GUID*, DWORD, PSP_DEVICE_INTERFACE_DATA);
using GetDetailWFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA, PSP_DEVICE_INTERFACE_DETAIL_DATA_W, DWORD,
                                   PDWORD, PSP_DEVINFO_DATA);
using GetDetailAFn = BOOL(WINAPI*)(HDEVINFO, PSP_DEVICE_INTERFACE_DATA, PSP_DEVICE_INTERFACE_DETAIL_DATA_A, DWORD,
                                   PDWORD, PSP_DEVINFO_DATA);
using DestroyListFn = BOOL(WINAPI*)(HDEVINFO);

template <typename Fn>
Fn Lookup(HMODULE module, const char* name) {
  return module != nullptr ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

GUID ToGuid(const Guid& g) {
  GUID r;
  r.Data1 = g.data1;
  r.Data2 = g.data2;
  r.Data3 = g.data3;
  std::memcpy(r.Data4, g.data4, 8);
  return r;
}

Guid FromGuid(const GUID& g) {
  Guid r;
  r.data1 = g.Data1;
  r.data2 = g.Data2;
  r.data3 = g.Data3;
  std::memcpy(r.data4, g.Data4, 8);
  return r;
}

DWORD AccessRights(DeviceAccess access) {
  switch (access) {
    case DeviceAccess::kWrite:
      return GENERIC_WRITE;
    case DeviceAccess::kReadWrite:
      return GENERIC_READ | GENERIC_WRITE;
    default:
      return 0;
  }
}

DeviceHandle FromHandle(HANDLE h) {
  return h == INVALID_HANDLE_VALUE ? kInvalidDevice : reinterpret_cast<DeviceHandle>(h);
}

HANDLE ToHandle(DeviceHandle d) { return reinterpret_cast<HANDLE>(d); }

constexpr DWORD kDetailBufferBytes = 1024;

}  // namespace

struct Win32Hid::Api {
  HMODULE hid = nullptr;
  HMODULE setup = nullptr;
  HidDGetHidGuidFn getHidGuid = nullptr;
  HidDGetAttributesFn getAttributes = nullptr;
  HidDGetStringFn getProduct = nullptr;
  HidDGetStringFn getManufacturer = nullptr;
  HidDFeatureFn setFeature = nullptr;
  HidDFeatureFn getFeature = nullptr;
  GetClassDevsWFn getClassDevs = nullptr;
  EnumInterfacesFn enumInterfaces = nullptr;
  GetDetailWFn getDetailW = nullptr;
  GetDetailAFn getDetailA = nullptr;
  DestroyListFn destroyList = nullptr;
};

Win32Hid::Win32Hid() : api_(new Api) {
  api_->hid = LoadLibraryW(L"hid.dll");
  api_->setup = LoadLibraryW(L"setupapi.dll");
  api_->getHidGuid = Lookup<HidDGetHidGuidFn>(api_->hid, "HidD_GetHidGuid");
  api_->getAttributes = Lookup<HidDGetAttributesFn>(api_->hid, "HidD_GetAttributes");
  api_->getProduct = Lookup<HidDGetStringFn>(api_->hid, "HidD_GetProductString");
  api_->getManufacturer = Lookup<HidDGetStringFn>(api_->hid, "HidD_GetManufacturerString");
  api_->setFeature = Lookup<HidDFeatureFn>(api_->hid, "HidD_SetFeature");
  api_->getFeature = Lookup<HidDFeatureFn>(api_->hid, "HidD_GetFeature");
  api_->getClassDevs = Lookup<GetClassDevsWFn>(api_->setup, "SetupDiGetClassDevsW");
  api_->enumInterfaces = Lookup<EnumInterfacesFn>(api_->setup, "SetupDiEnumDeviceInterfaces");
  api_->getDetailW = Lookup<GetDetailWFn>(api_->setup, "SetupDiGetDeviceInterfaceDetailW");
  api_->getDetailA = Lookup<GetDetailAFn>(api_->setup, "SetupDiGetDeviceInterfaceDetailA");
  api_->destroyList = Lookup<DestroyListFn>(api_->setup, "SetupDiDestroyDeviceInfoList");
}

Win32Hid::~Win32Hid() {
  if (api_->hid != nullptr) FreeLibrary(api_->hid);
  if (api_->setup != nullptr) FreeLibrary(api_->setup);
  delete api_;
}

bool Win32Hid::Ready() const {
  const Api& a = *api_;
  return a.getHidGuid && a.getAttributes && a.getProduct && a.getManufacturer && a.setFeature && a.getFeature &&
         a.getClassDevs && a.enumInterfaces && a.getDetailW && a.getDetailA && a.destroyList;
}

ModuleHandle Win32Hid::LoadModule(HidModule which) {
  HMODULE m = LoadLibraryW(which == HidModule::kHid ? L"hid.dll" : L"setupapi.dll");
  if (m == nullptr) lastError_ = GetLastError();
  return reinterpret_cast<ModuleHandle>(m);
}

void Win32Hid::UnloadModule(ModuleHandle module) {
  if (module != nullptr) FreeLibrary(reinterpret_cast<HMODULE>(module));
}

Guid Win32Hid::GetHidGuid() {
  GUID g{};
  if (api_->getHidGuid != nullptr) {
    api_->getHidGuid(&g);
    return FromGuid(g);
  }
  return kHidInterfaceClass;
}

DeviceSet Win32Hid::GetClassDevs(const Guid& interfaceClass) {
  if (api_->getClassDevs == nullptr) return nullptr;
  GUID g = ToGuid(interfaceClass);
  HDEVINFO set = api_->getClassDevs(&g, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) {
    lastError_ = GetLastError();
    return nullptr;
  }
  return reinterpret_cast<DeviceSet>(set);
}

bool Win32Hid::GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char16_t* path,
                                std::size_t cap) {
  if (api_->enumInterfaces == nullptr || api_->getDetailW == nullptr || path == nullptr || cap == 0) return false;
  GUID g = ToGuid(interfaceClass);
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof(data);
  if (!api_->enumInterfaces(reinterpret_cast<HDEVINFO>(set), nullptr, &g, index, &data)) return false;
  alignas(8) unsigned char buffer[kDetailBufferBytes] = {};
  auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_W>(buffer);
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!api_->getDetailW(reinterpret_cast<HDEVINFO>(set), &data, detail, kDetailBufferBytes, nullptr, nullptr)) {
    lastError_ = GetLastError();
    return false;
  }
  const wchar_t* src = detail->DevicePath;
  std::size_t maxChars = (kDetailBufferBytes - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / 2;
  std::size_t n = 0;
  while (n + 1 < cap && n < maxChars && src[n] != 0) {
    path[n] = static_cast<char16_t>(src[n]);
    ++n;
  }
  path[n] = u'\0';
  return true;
}

bool Win32Hid::GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char* path,
                                std::size_t cap) {
  if (api_->enumInterfaces == nullptr || api_->getDetailA == nullptr || path == nullptr || cap == 0) return false;
  GUID g = ToGuid(interfaceClass);
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof(data);
  if (!api_->enumInterfaces(reinterpret_cast<HDEVINFO>(set), nullptr, &g, index, &data)) return false;
  alignas(8) unsigned char buffer[kDetailBufferBytes] = {};
  auto* detail = reinterpret_cast<PSP_DEVICE_INTERFACE_DETAIL_DATA_A>(buffer);
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  if (!api_->getDetailA(reinterpret_cast<HDEVINFO>(set), &data, detail, kDetailBufferBytes, nullptr, nullptr)) {
    lastError_ = GetLastError();
    return false;
  }
  const char* src = detail->DevicePath;
  std::size_t maxChars = kDetailBufferBytes - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  std::size_t n = 0;
  while (n + 1 < cap && n < maxChars && src[n] != 0) {
    path[n] = src[n];
    ++n;
  }
  path[n] = '\0';
  return true;
}

void Win32Hid::DestroyDeviceSet(DeviceSet set) {
  if (set != nullptr && api_->destroyList != nullptr) api_->destroyList(reinterpret_cast<HDEVINFO>(set));
}

DeviceHandle Win32Hid::Open(const char16_t* path, DeviceAccess access) {
  if (path == nullptr) return kInvalidDevice;
  HANDLE h = CreateFileW(reinterpret_cast<const wchar_t*>(path), AccessRights(access),
                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) lastError_ = GetLastError();
  return FromHandle(h);
}

DeviceHandle Win32Hid::Open(const char* path, DeviceAccess access) {
  if (path == nullptr) return kInvalidDevice;
  HANDLE h = CreateFileA(path, AccessRights(access), FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) lastError_ = GetLastError();
  return FromHandle(h);
}

bool Win32Hid::Close(DeviceHandle device) {
  if (device == kInvalidDevice) return false;
  return CloseHandle(ToHandle(device)) != FALSE;
}

bool Win32Hid::GetAttributes(DeviceHandle device, HidAttributes* attributes) {
  if (api_->getAttributes == nullptr || attributes == nullptr) return false;
  HiddAttributes a{};
  a.Size = sizeof(a);
  if (!api_->getAttributes(ToHandle(device), &a)) return false;
  *attributes = {a.VendorID, a.ProductID, a.VersionNumber};
  return true;
}

bool Win32Hid::GetProductString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) {
  return api_->getProduct != nullptr && api_->getProduct(ToHandle(device), buffer, bytes);
}

bool Win32Hid::GetManufacturerString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) {
  return api_->getManufacturer != nullptr && api_->getManufacturer(ToHandle(device), buffer, bytes);
}

bool Win32Hid::SetFeature(DeviceHandle device, const std::uint8_t* report, std::uint32_t length) {
  if (api_->setFeature == nullptr) return false;
  // The call takes a writable buffer although it only reads it.
  std::uint8_t copy[64];
  if (length > sizeof copy) return false;
  std::memcpy(copy, report, length);
  bool ok = api_->setFeature(ToHandle(device), copy, length);
  if (!ok) lastError_ = GetLastError();
  return ok;
}

bool Win32Hid::GetFeature(DeviceHandle device, std::uint8_t* report, std::uint32_t length) {
  if (api_->getFeature == nullptr) return false;
  bool ok = api_->getFeature(ToHandle(device), report, length);
  if (!ok) lastError_ = GetLastError();
  return ok;
}

bool Win32Hid::ReadInput(DeviceHandle device, std::uint8_t* buffer, std::uint32_t length, std::uint32_t* read) {
  DWORD n = 0;
  if (!ReadFile(ToHandle(device), buffer, length, &n, nullptr)) {
    lastError_ = GetLastError();
    return false;
  }
  if (read != nullptr) *read = n;
  return true;
}

NotifyHandle Win32Hid::RegisterNotify(WindowHandle window, const Guid& interfaceClass) {
  DEV_BROADCAST_DEVICEINTERFACE_W filter{};
  filter.dbcc_size = 32;  // the fixed part; the name is not used for a filter
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = ToGuid(interfaceClass);
  HDEVNOTIFY n = RegisterDeviceNotificationW(static_cast<HWND>(window), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
  if (n == nullptr) lastError_ = GetLastError();
  return n;
}

bool Win32Hid::UnregisterNotify(NotifyHandle registration) {
  return registration != nullptr && UnregisterDeviceNotification(static_cast<HDEVNOTIFY>(registration)) != FALSE;
}

}  // namespace halvard
