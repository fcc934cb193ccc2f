#include "device/hid_client.h"

#include <algorithm>

#include "platform/text.h"

namespace halvard {
namespace {

// Vendors whose mice this client family recognises.
constexpr std::uint16_t kPellorVendors[6] = {0x2E4A, 0x3B91, 0x2E4B, 0x3B92, 0x2F17, 0x3C0D};

// The one fixed device whose description ModifyDeviceRegistry rewrites, and the texts it writes.
constexpr std::u16string_view kFixedDeviceUsbKey = u"SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_3b91&Pid_b602\\";
constexpr std::u16string_view kFixedDeviceHidKey = u"SYSTEM\\CurrentControlSet\\Enum\\HID\\Vid_3b91&Pid_b602\\";
constexpr std::u16string_view kFixedDeviceMaker = u"Kestrova";
constexpr std::u16string_view kFixedDeviceModel = u"Kestrova Halvard Gaming Mouse";

constexpr std::string_view kCollection3 = "&mi_01&col03";

template <typename CharT>
bool ContainsCollection3(const CharT* path, std::size_t cap) {
  std::size_t n = BoundedLength(path, cap);
  if (n < kCollection3.size()) return false;
  for (std::size_t i = 0; i + kCollection3.size() <= n; ++i) {
    std::size_t k = 0;
    while (k < kCollection3.size()) {
      auto c = static_cast<char16_t>(path[i + k]);
      if (AsciiLower(c) != static_cast<char16_t>(kCollection3[k])) break;
      ++k;
    }
    if (k == kCollection3.size()) return true;
  }
  return false;
}

template <typename CharT>
void PutText(CharT* dst, std::size_t cap, const std::basic_string<CharT>& s) {
  CopyText<CharT>(dst, cap, s);
}

template <typename CharT>
std::basic_string<CharT> IdText(std::uint16_t vid, std::uint16_t pid) {
  std::basic_string<CharT> s = Ascii<CharT>("VID=");
  AppendHex(s, vid, 4, true);
  s += Ascii<CharT>(", PID=");
  AppendHex(s, pid, 4, true);
  return s;
}

bool ListedId(const SUsbId* ids, int idCount, const HidAttributes& a) {
  if (ids == nullptr) return false;
  for (int i = 0; i < idCount; ++i)
    if (ids[i].vid == a.vendorId && ids[i].pid == a.productId) return true;
  return false;
}

bool ListedVersion(const std::uint16_t* versions, int versionCount, std::uint16_t v) {
  if (versions == nullptr) return false;
  for (int i = 0; i < versionCount; ++i)
    if (versions[i] == v) return true;
  return false;
}

}  // namespace

template <typename CharT>
BasicHidClient<CharT>::BasicHidClient(HidSeam& hid, MessageBoxSeam& messages, RegistrySeam& registry)
    : hid_(&hid), messages_(&messages), registry_(&registry) {
  hidModule_ = hid_->LoadModule(HidModule::kHid);
  setupModule_ = hid_->LoadModule(HidModule::kSetup);
  librariesLoaded_ = (hidModule_ != nullptr && setupModule_ != nullptr) ? 1 : 0;
}

// Copies every member; the copy takes its own references on the two libraries, so each object
// frees exactly what it loaded.
template <typename CharT>
BasicHidClient<CharT>::BasicHidClient(const BasicHidClient& other)
    : hid_(other.hid_), messages_(other.messages_), registry_(other.registry_) {
  CopyFrom(other);
}

template <typename CharT>
BasicHidClient<CharT>& BasicHidClient<CharT>::operator=(const BasicHidClient& other) {
  if (this == &other) return *this;
  UnloadModules();
  hid_ = other.hid_;
  messages_ = other.messages_;
  registry_ = other.registry_;
  CopyFrom(other);
  return *this;
}

template <typename CharT>
void BasicHidClient<CharT>::CopyFrom(const BasicHidClient& other) {
  count_ = other.count_;
  hidModule_ = other.hidModule_ != nullptr ? hid_->LoadModule(HidModule::kHid) : nullptr;
  setupModule_ = other.setupModule_ != nullptr ? hid_->LoadModule(HidModule::kSetup) : nullptr;
  interfaceClass_ = other.interfaceClass_;
  notify_ = other.notify_;
  recipient_ = other.recipient_;
  *tables_ = *other.tables_;
  std::copy(std::begin(other.versions_), std::end(other.versions_), versions_);
  std::copy(std::begin(other.vids_), std::end(other.vids_), vids_);
  std::copy(std::begin(other.pids_), std::end(other.pids_), pids_);
  librariesLoaded_ = other.librariesLoaded_;
  std::copy(std::begin(other.productScratch_), std::end(other.productScratch_), productScratch_);
  std::copy(std::begin(other.manufacturerScratch_), std::end(other.manufacturerScratch_), manufacturerScratch_);
  std::copy(std::begin(other.idScratch_), std::end(other.idScratch_), idScratch_);
}

template <typename CharT>
void BasicHidClient<CharT>::UnloadModules() {
  if (hidModule_ != nullptr) hid_->UnloadModule(hidModule_);
  if (setupModule_ != nullptr) hid_->UnloadModule(setupModule_);
  hidModule_ = setupModule_ = nullptr;
}

template <typename CharT>
BasicHidClient<CharT>::~BasicHidClient() {
  UnloadModules();
}

template <typename CharT>
int BasicHidClient<CharT>::LoadDll() {
  if (hidModule_ == nullptr) hidModule_ = hid_->LoadModule(HidModule::kHid);
  if (setupModule_ == nullptr) setupModule_ = hid_->LoadModule(HidModule::kSetup);
  return (hidModule_ != nullptr && setupModule_ != nullptr) ? 1 : 0;
}

template <typename CharT>
const CharT* BasicHidClient<CharT>::GetDevice(int index) const {
  return ValidRow(index) ? tables_->paths[index] : nullptr;
}
template <typename CharT>
const CharT* BasicHidClient<CharT>::GetDeviceName(int index) const {
  return ValidRow(index) ? tables_->products[index] : nullptr;
}
template <typename CharT>
const CharT* BasicHidClient<CharT>::GetVendorName(int index) const {
  return ValidRow(index) ? tables_->vendors[index] : nullptr;
}
template <typename CharT>
const CharT* BasicHidClient<CharT>::GetDeviceID(int index) const {
  return ValidRow(index) ? tables_->ids[index] : nullptr;
}
template <typename CharT>
std::uint16_t BasicHidClient<CharT>::GetDeviceVID(int index) const {
  return ValidRow(index) ? vids_[index] : kNoValue;
}
template <typename CharT>
std::uint16_t BasicHidClient<CharT>::GetDevicePID(int index) const {
  return ValidRow(index) ? pids_[index] : kNoValue;
}
template <typename CharT>
std::uint16_t BasicHidClient<CharT>::GetDeviceVer(int index) const {
  return ValidRow(index) ? versions_[index] : kNoValue;
}

template <typename CharT>
template <typename Filter>
int BasicHidClient<CharT>::BuildTable(ClassChoice choice, bool skipCollection3, Filter taken) {
  count_ = 0;
  if (librariesLoaded_ == 0) return 0;
  // The platform's detail record: a 4-byte size, then the path.
  constexpr std::size_t kDetailPathChars = (kDetailBufferBytes - 4) / sizeof(CharT);
  CharT detail[kDetailPathChars];
  interfaceClass_ = choice == ClassChoice::kHid ? hid_->GetHidGuid() : kMouseInterfaceClass;
  DeviceSet set = hid_->GetClassDevs(interfaceClass_);
  if (set == nullptr) return 0;
  for (std::uint32_t i = 0; i < kMaxDevices; ++i) {
    if (!hid_->GetInterfacePath(set, interfaceClass_, i, detail, kDetailPathChars)) break;
    detail[kDetailPathChars - 1] = CharT{};
    if (skipCollection3 && ContainsCollection3(detail, kDetailPathChars)) continue;
    DeviceHandle h = hid_->Open(detail, DeviceAccess::kNone);
    if (h == kInvalidDevice) continue;
    HidAttributes a;
    if (hid_->GetAttributes(h, &a) && taken(a)) AppendRow(detail, h, a);
    hid_->Close(h);
  }
  hid_->DestroyDeviceSet(set);
  return count_ > 0 ? 1 : 0;
}

template <typename CharT>
void BasicHidClient<CharT>::AppendRow(const CharT* path, DeviceHandle handle, const HidAttributes& a) {
  if (count_ >= kMaxDevices) return;
  int row = count_++;
  CopyText<CharT>(tables_->paths[row], kPathChars, std::basic_string_view<CharT>(path, BoundedLength(path, kPathChars)));
  // Names stop at their terminator and leave nothing of an earlier, longer name behind it.
  const CharT* product = Id2ProductString(handle);
  std::fill_n(tables_->products[row], kNameChars, CharT{});
  CopyText<CharT>(tables_->products[row], kNameChars,
                  std::basic_string_view<CharT>(product, BoundedLength(product, kNameChars)));
  const CharT* vendor = Id2ManufactureString(handle);
  std::fill_n(tables_->vendors[row], kNameChars, CharT{});
  CopyText<CharT>(tables_->vendors[row], kNameChars,
                  std::basic_string_view<CharT>(vendor, BoundedLength(vendor, kNameChars)));
  PutText<CharT>(tables_->ids[row], kNameChars, IdText<CharT>(a.vendorId, a.productId));
  versions_[row] = a.versionNumber;
  vids_[row] = a.vendorId;
  pids_[row] = a.productId;
}

template <typename CharT>
int BasicHidClient<CharT>::CreateDeviceTable(std::uint16_t vid, std::uint16_t pid, bool flag) {
  bool hidClass = (vid == 0 && pid == 0 && !flag) || (vid == 0x0C45 && (pid == 0x7300 || pid == 0x7500));
  return BuildTable(hidClass ? ClassChoice::kHid : ClassChoice::kMouse, false, [&](const HidAttributes& a) {
    return (vid == 0 && pid == 0) || (a.vendorId == vid && a.productId == pid);
  });
}

template <typename CharT>
int BasicHidClient<CharT>::CreateDeviceTable(const SUsbId* ids, int idCount) {
  return BuildTable(ClassChoice::kMouse, true, [&](const HidAttributes& a) { return ListedId(ids, idCount, a); });
}

template <typename CharT>
int BasicHidClient<CharT>::CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion,
                                             std::uint16_t maxVersion) {
  return BuildTable(ClassChoice::kMouse, true, [&](const HidAttributes& a) {
    return minVersion <= a.versionNumber && a.versionNumber <= maxVersion && ListedId(ids, idCount, a);
  });
}

template <typename CharT>
int BasicHidClient<CharT>::CreateDeviceTable(const SUsbId* ids, int idCount, std::uint16_t minVersion,
                                             std::uint16_t maxVersion, std::uint16_t version) {
  return BuildTable(ClassChoice::kMouse, true, [&](const HidAttributes& a) {
    bool sameHighByte = (a.versionNumber >> 8) == (version >> 8);
    bool inBounds = minVersion <= a.versionNumber && a.versionNumber <= maxVersion;
    return (sameHighByte || inBounds) && ListedId(ids, idCount, a);
  });
}

template <typename CharT>
int BasicHidClient<CharT>::CreateDeviceTable(const SUsbId* ids, int idCount, const std::uint16_t* versions,
                                             int versionCount) {
  return BuildTable(ClassChoice::kMouse, true, [&](const HidAttributes& a) {
    return ListedVersion(versions, versionCount, a.versionNumber) && ListedId(ids, idCount, a);
  });
}

template <typename CharT>
int BasicHidClient<CharT>::CreateDeviceTable(const std::uint16_t* versions, int versionCount) {
  return BuildTable(ClassChoice::kMouse, false, [&](const HidAttributes& a) {
    return ListedVersion(versions, versionCount, a.versionNumber);
  });
}

template <typename CharT>
void BasicHidClient<CharT>::EnsureTable() {
  if (count_ <= 0) CreateDeviceTable(0, 0, false);
}

template <typename CharT>
DeviceHandle BasicHidClient<CharT>::OpenRowForTransfer(int index, DeviceAccess access) {
  EnsureTable();
  if (!ValidRow(index)) return kInvalidDevice;
  DeviceHandle h = hid_->Open(tables_->paths[index], access);
  if (h == kInvalidDevice)
    messages_->Show(std::basic_string_view<CharT>(tables_->paths[index], BoundedLength(tables_->paths[index], kPathChars)),
                    std::basic_string_view<CharT>(Ascii<CharT>("Open failed")));
  return h;
}

template <typename CharT>
int BasicHidClient<CharT>::Write(int index, const std::uint8_t* buffer, std::uint32_t length) {
  DeviceHandle h = OpenRowForTransfer(index, DeviceAccess::kWrite);
  if (h == kInvalidDevice) return 0;
  bool ok = hid_->SetFeature(h, buffer, length);
  hid_->Close(h);
  return ok ? 1 : 0;
}

template <typename CharT>
int BasicHidClient<CharT>::Read(int index, std::uint8_t* buffer, std::uint32_t length) {
  DeviceHandle h = OpenRowForTransfer(index, DeviceAccess::kWrite);
  if (h == kInvalidDevice) return 0;
  bool ok = hid_->GetFeature(h, buffer, length);
  hid_->Close(h);
  return ok ? 1 : 0;
}

// Input reports need read access on the platform, so this one asks for reading and writing.
template <typename CharT>
int BasicHidClient<CharT>::ReadInputReport(int index, std::uint8_t* buffer, std::uint32_t* length) {
  if (length == nullptr) return 0;
  DeviceHandle h = OpenRowForTransfer(index, DeviceAccess::kReadWrite);
  if (h == kInvalidDevice) return 0;
  std::uint32_t read = 0;
  bool ok = hid_->ReadInput(h, buffer, *length, &read);
  hid_->Close(h);
  if (ok) *length = read;
  return ok ? 1 : 0;
}

template <typename CharT>
DeviceHandle BasicHidClient<CharT>::Open(int index) {
  if (!ValidRow(index)) return kInvalidDevice;
  return hid_->Open(tables_->paths[index], DeviceAccess::kReadWrite);
}

template <typename CharT>
std::uint32_t BasicHidClient<CharT>::Read(DeviceHandle handle, std::uint8_t* buffer) {
  if (handle == kInvalidDevice || buffer == nullptr) return 0;
  std::uint32_t read = 0;
  return hid_->ReadInput(handle, buffer, kInputReadBytes, &read) ? read : 0;
}

template <typename CharT>
int BasicHidClient<CharT>::Close(DeviceHandle handle) {
  if (handle == kInvalidDevice) return 0;
  return hid_->Close(handle) ? 1 : 0;
}

template <typename CharT>
int BasicHidClient<CharT>::RegisterNotify(WindowHandle window) {
  NotifyHandle n = hid_->RegisterNotify(window, interfaceClass_);
  notify_ = n;
  if (n == nullptr) return 0;
  recipient_ = window;
  return 1;
}

template <typename CharT>
int BasicHidClient<CharT>::UnRegisterNotify() {
  if (notify_ == nullptr || !hid_->UnregisterNotify(notify_)) return 0;
  notify_ = nullptr;
  recipient_ = nullptr;
  return 1;
}

template <typename CharT>
int BasicHidClient<CharT>::ReRegisterNotify(WindowHandle window) {
  if (notify_ != nullptr) hid_->UnregisterNotify(notify_);
  notify_ = hid_->RegisterNotify(window, interfaceClass_);
  return notify_ != nullptr ? 1 : 0;
}

template <typename CharT>
int BasicHidClient<CharT>::RecoverRegisterNotify() {
  if (recipient_ == nullptr) return 1;
  if (notify_ != nullptr) hid_->UnregisterNotify(notify_);
  notify_ = hid_->RegisterNotify(recipient_, interfaceClass_);
  return notify_ != nullptr ? 1 : 0;
}

// The platform answers in 16-bit characters into a 128-byte buffer, so at most 63 characters
// arrive; the 8-bit form keeps the low byte of each.
template <typename CharT>
const CharT* BasicHidClient<CharT>::LookupString(DeviceHandle handle, bool product, CharT* scratch) {
  constexpr std::uint32_t kRequestBytes = 128;
  char16_t wide[kNameChars] = {};
  wide[0] = u' ';
  bool ok = product ? hid_->GetProductString(handle, wide, kRequestBytes)
                    : hid_->GetManufacturerString(handle, wide, kRequestBytes);
  if (!ok) {
    std::fill(wide, wide + kNameChars, u'\0');
    wide[0] = u' ';
  }
  wide[kRequestBytes / 2 - 1] = u'\0';
  std::fill(scratch, scratch + kNameChars, CharT{});
  for (int i = 0; i < kNameChars - 1 && wide[i] != u'\0'; ++i) scratch[i] = static_cast<CharT>(wide[i]);
  return scratch;
}

template <typename CharT>
const CharT* BasicHidClient<CharT>::Id2ProductString(DeviceHandle handle) {
  return LookupString(handle, true, productScratch_);
}

template <typename CharT>
const CharT* BasicHidClient<CharT>::Id2ManufactureString(DeviceHandle handle) {
  return LookupString(handle, false, manufacturerScratch_);
}

template <typename CharT>
const CharT* BasicHidClient<CharT>::Id2String(std::uint16_t vid, std::uint16_t pid) {
  PutText<CharT>(idScratch_, kNameChars, IdText<CharT>(vid, pid));
  return idScratch_;
}

template <typename CharT>
int BasicHidClient<CharT>::IsPellorProduct(std::uint16_t vid, std::uint16_t /*pid*/) {
  return std::find(std::begin(kPellorVendors), std::end(kPellorVendors), vid) != std::end(kPellorVendors) ? 1 : 0;
}

template <typename CharT>
std::basic_string<CharT> BasicHidClient<CharT>::CurrentTableText(int type) const {
  using S = std::basic_string<CharT>;
  auto row = [&](const CharT(&table)[kMaxDevices][kNameChars], int i) {
    return S(table[i], BoundedLength(table[i], kNameChars));
  };
  auto interfaces = [&] {
    S s = Ascii<CharT>("All Hid Interface:\n");
    for (int i = 0; i < count_; ++i) s += S(tables_->paths[i], BoundedLength(tables_->paths[i], kPathChars)) + CharT('\n');
    return s;
  };
  auto devices = [&] {
    S s = Ascii<CharT>("All Hid Device:\n");
    for (int i = 0; i < count_; ++i) s += row(tables_->products, i) + CharT('\n');
    return s;
  };
  auto ids = [&] {
    S s;
    for (int i = 0; i < count_; ++i) s += Ascii<CharT>("Device: ") + row(tables_->ids, i) + CharT('\n');
    return s;
  };
  switch (type) {
    case 0:
      return interfaces() + devices() + ids();
    case 1:
      return interfaces();
    case 2:
      return devices();
    case 3:
      return ids();
    case 4: {
      S s;
      for (int i = 0; i < count_; ++i) {
        s += CharT('[');
        AppendDecimal(s, i);
        s += Ascii<CharT>("] Device: ") + row(tables_->ids, i) + Ascii<CharT>("\n      Product=") + row(tables_->products, i) +
             Ascii<CharT>("\n      Manufacture=") + row(tables_->vendors, i) + Ascii<CharT>("\n      VersionNumber=");
        AppendHex(s, versions_[i], 1, false);
        s += CharT('\n');
      }
      return s;
    }
    default:
      return Ascii<CharT>("No Slection");
  }
}

template <typename CharT>
void BasicHidClient<CharT>::ShowCurrentTable(int type) {
  messages_->Show(std::basic_string_view<CharT>(CurrentTableText(type)),
                  std::basic_string_view<CharT>(Ascii<CharT>("HID DEVICE LIST")));
}

// Device-description strings are the platform's own REG_SZ values, so they keep their terminator.
template <typename CharT>
int BasicHidClient<CharT>::ModifyDeviceRegistry(int flag) {
  std::u16string base(flag == 0 ? kFixedDeviceUsbKey : kFixedDeviceHidKey);
  RegKey key = nullptr;
  if (registry_->OpenKey(RegRoot::kLocalMachine, base, false, &key) != 0) return 0;
  int found = 0;
  char16_t name[kNameChars];
  for (std::uint32_t i = 0; i < kMaxDevices; ++i) {
    if (registry_->EnumSubKey(key, i, name, kNameChars) != 0) break;
    name[kNameChars - 1] = u'\0';
    for (int c = 0; c < kNameChars; ++c) tables_->keyNames[found][c] = static_cast<CharT>(name[c]);
    ++found;
  }
  registry_->CloseKey(key);
  auto setString = [&](RegKey k, std::u16string_view value, std::u16string_view text) {
    std::u16string data(text);
    data.push_back(u'\0');
    registry_->SetValue(k, value, kRegSz, reinterpret_cast<const std::uint8_t*>(data.data()),
                        static_cast<std::uint32_t>(data.size() * 2));
  };
  for (int i = 0; i < found; ++i) {
    std::u16string sub = base;
    for (int c = 0; c < kNameChars && tables_->keyNames[i][c] != CharT{}; ++c)
      sub.push_back(static_cast<char16_t>(static_cast<std::make_unsigned_t<CharT>>(tables_->keyNames[i][c])));
    RegKey k = nullptr;
    if (registry_->OpenKey(RegRoot::kLocalMachine, sub, false, &k) != 0) continue;
    setString(k, u"Mfg", kFixedDeviceMaker);
    setString(k, u"DeviceDesc", kFixedDeviceModel);
    registry_->CloseKey(k);
  }
  return found > 0 ? 1 : 0;
}

template class BasicHidClient<char16_t>;
template class BasicHidClient<char>;

}  // namespace halvard
