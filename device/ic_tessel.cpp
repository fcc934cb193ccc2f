#include "device/ic_tessel.h"

#include <algorithm>

#include "platform/text.h"

namespace halvard {

CIcTessel::CIcTessel(HidSeam& hid, Clock& clock) : hid_(hid), clock_(clock) {
  hidModule_ = hid_.LoadModule(HidModule::kHid);
  setupModule_ = hid_.LoadModule(HidModule::kSetup);
  lastStatus_ = (hidModule_ != nullptr && setupModule_ != nullptr) ? kStatusLibrariesLoaded : 0;
}

CIcTessel::~CIcTessel() {
  if (hidModule_ != nullptr) hid_.UnloadModule(hidModule_);
  if (setupModule_ != nullptr) hid_.UnloadModule(setupModule_);
}

// The bytes a request does not name are zero, so every request on the wire is fully determined
// by its arguments and never carries a previous reply.
void CIcTessel::PrepareRequest(std::uint8_t request, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4) {
  std::fill(std::begin(report_), std::end(report_), 0);
  report_[1] = request;
  report_[2] = b2;
  report_[3] = b3;
  report_[4] = b4;
}

int CIcTessel::Transfer(bool set) {
  if (devicePath_[0] == u'\0') {
    lastStatus_ = kStatusNoPath;
    return 0;
  }
  DeviceHandle h = hid_.Open(devicePath_, DeviceAccess::kWrite);
  if (h == kInvalidDevice) {
    lastStatus_ = kStatusOpenFailed;
    return 0;
  }
  bool ok = set ? hid_.SetFeature(h, report_, kReportSize) : hid_.GetFeature(h, report_, kReportSize);
  if (!ok) {
    lastStatus_ = set ? kStatusSetFeatureFailed : kStatusGetFeatureFailed;
    clock_.Sleep(kRetryPauseMs);
  }
  hid_.Close(h);
  return ok ? 1 : 0;
}

int CIcTessel::SendReport() { return Transfer(true); }

int CIcTessel::ReceiveReport() {
  std::fill(std::begin(report_), std::end(report_), 0);
  return Transfer(false);
}

int CIcTessel::ReadByte(int address, std::uint8_t* value) {
  if (!InRange(address)) return 0;
  const auto lo = static_cast<std::uint8_t>(address & 0xFF);
  const auto hi = static_cast<std::uint8_t>((address >> 8) & 0xFF);
  for (int attempt = 0; attempt < kTransferAttempts; ++attempt) {
    PrepareRequest(kReqReadCell, lo, 0x00, hi);
    if (SendReport() && ReceiveReport() && report_[1] == lo && report_[3] == hi) {
      if (value != nullptr) *value = report_[2];
      return 1;
    }
    clock_.Sleep(kRetryPauseMs);
  }
  return 0;
}

int CIcTessel::WriteByte(int address, std::uint8_t value) {
  if (!InRange(address)) return 0;
  const auto lo = static_cast<std::uint8_t>(address & 0xFF);
  const auto hi = static_cast<std::uint8_t>((address >> 8) & 0xFF);
  for (int attempt = 0; attempt < kTransferAttempts; ++attempt) {
    PrepareRequest(kReqWriteCell, lo, value, hi);
    if (SendReport()) return 1;
    clock_.Sleep(kRetryPauseMs);
  }
  return 0;
}

int CIcTessel::SendCommand(std::uint8_t sub, std::uint8_t first, std::uint8_t second) {
  for (int attempt = 0; attempt < kTransferAttempts; ++attempt) {
    PrepareRequest(kReqControl, sub, first, second);
    if (SendReport()) return 1;
    clock_.Sleep(kRetryPauseMs);
  }
  return 0;
}

int CIcTessel::ReadByteVerified(int address, std::uint8_t* value) {
  for (int pass = 0; pass < kTransferAttempts; ++pass) {
    std::uint8_t a = 0, b = 0;
    const int first = ReadByte(address, &a);
    const int second = ReadByte(address, &b);
    if (first && second && a == b) {
      if (value != nullptr) *value = a;
      return 1;
    }
  }
  return 0;
}

int CIcTessel::QueryRevision(int* present, int* revision) {
  if (deviceType_ < kDeviceType2001) return 0;
  for (int attempt = 0; attempt < kTransferAttempts; ++attempt) {
    PrepareRequest(kReqControl, kCmdRevision, 0x00, 0x00);
    if (SendReport() && ReceiveReport() && report_[1] == kRevisionMarkerHead && report_[3] == kRevisionMarkerTail) {
      std::uint8_t r = report_[2];
      if (r >= 128) return 0;  // not a revision: no retry
      if (present != nullptr) *present = 1;
      if (revision != nullptr) *revision = r;
      return 1;
    }
    clock_.Sleep(kRetryPauseMs);
  }
  return 0;
}

int CIcTessel::Apply() {
  int result = 0;
  for (int pass = 0; pass < kApplyPasses && result == 0; ++pass) {
    for (int attempt = 0; attempt < kTransferAttempts; ++attempt) {
      PrepareRequest(kReqControl, kCmdApply, 0x00, 0x00);
      result = SendReport();
      if (result) break;
      clock_.Sleep(kRetryPauseMs);
    }
    clock_.Sleep(kApplyPassPauseMs);
  }
  return result;
}

void CIcTessel::Reset() {
  devicePath_[0] = u'\0';
  lastStatus_ = kStatusReset;
  EepromShadow.fill(MemoryCell{});
  deviceType_ = kDeviceType2001;
  memorySize_ = kEepromSize;
}

// A path that does not fit the 128-character buffer could only be stored cut, which names
// another device or none; it is refused like an empty one.
bool CIcTessel::StorePath(std::u16string_view path) {
  if (path.empty() || path.size() >= kDevicePathChars || path.find(u'\0') != std::u16string_view::npos) {
    lastStatus_ = kStatusEmptyPath;
    devicePath_[0] = u'\0';
    return false;
  }
  CopyText(devicePath_, kDevicePathChars, path);
  return true;
}

int CIcTessel::SetDevicePath(std::u16string_view path) { return StorePath(path) ? 1 : 0; }

int CIcTessel::OpenDevice(std::u16string_view path) {
  if (!StorePath(path)) return 0;
  DeviceHandle h = hid_.Open(devicePath_, DeviceAccess::kWrite);
  if (h == kInvalidDevice) {
    lastStatus_ = kStatusOpenFailed;
    devicePath_[0] = u'\0';
    return 0;
  }
  hid_.Close(h);
  return CheckIdentity();
}

int CIcTessel::CheckIdentity() {
  std::uint8_t b = 0;
  if (!ReadByteVerified(186, &b) || b != kIdentityByte1) return 0;
  std::uint8_t expected = 0;
  if (deviceType_ == kDeviceType2001)
    expected = kIdentityByte2Type2001;
  else if (deviceType_ == kDeviceType2002)
    expected = kIdentityByte2Type2002;
  else
    return 0;
  return (ReadByteVerified(187, &b) && b == expected) ? 1 : 0;
}

int CIcTessel::SetCell(int address, int value) {
  if (!InRange(address)) return 0;
  MemoryCell& c = EepromShadow[address];
  value &= 0xFF;  // only a byte travels; anything else would be pending for ever
  if (c.value != value) {
    c.value = value;
    c.dirty = 1;
    return 1;
  }
  if (c.valid == 1) return c.dirty == 1 ? 1 : 0;
  c.valid = 0;
  c.dirty = 1;
  return 1;
}

void CIcTessel::MarkLoaded(int address, int value) {
  if (!InRange(address)) return;
  EepromShadow[address] = MemoryCell{1, 0, value & 0xFF};
}

void CIcTessel::MarkWritten(int address) {
  if (!InRange(address)) return;
  EepromShadow[address].valid = 1;
  EepromShadow[address].dirty = 0;
}

int CIcTessel::LoadCell(int address) {
  std::uint8_t v = 0;
  if (!ReadByte(address, &v)) return 0;
  MarkLoaded(address, v);
  return 1;
}

int CIcTessel::WriteCell(int address, int value) {
  if (!InRange(address)) return 0;
  MemoryCell& c = EepromShadow[address];
  value &= 0xFF;
  if (c.dirty == 0 && c.valid == 1 && c.value == value) return 1;
  if (!WriteByte(address, static_cast<std::uint8_t>(value))) return 0;
  c = MemoryCell{1, 0, value};
  return 1;
}

int CIcTessel::FlushCell(int address) {
  if (address < 0 || static_cast<std::uint32_t>(address) >= memorySize_ || !InRange(address)) return 0;
  MemoryCell& c = EepromShadow[address];
  if (c.dirty == 0) return 1;
  if (!WriteByte(address, static_cast<std::uint8_t>(c.value))) return 0;
  c.valid = 1;
  c.dirty = 0;
  return 1;
}

}  // namespace halvard
