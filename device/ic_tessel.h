// The device controller: the only component that talks to the mouse's memory. It moves single
// cells between the mouse and the host's shadow copy over 9-byte feature reports, with the fixed
// retries and pauses of the protocol, and checks that an opened device is the supported mouse.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/clock.h"
#include "device/hid_seam.h"

namespace halvard {

struct MemoryCell {
  std::uint8_t valid = 0;  // 1: known to match the device when last read or written
  std::uint8_t dirty = 0;  // 1: changed on the host, not written yet
  std::int32_t value = 0;  // 0-255
};

inline constexpr int kEepromSize = 0x4000;
inline constexpr int kReportSize = 9;
inline constexpr int kDevicePathChars = 128;

// lastStatus codes.
inline constexpr int kStatusLibrariesLoaded = -2;
inline constexpr int kStatusReset = 0;
inline constexpr int kStatusEmptyPath = -3;
inline constexpr int kStatusOpenFailed = -4;
inline constexpr int kStatusNoPath = -5;
inline constexpr int kStatusGetFeatureFailed = -6;
inline constexpr int kStatusSetFeatureFailed = -7;

// Requests (byte 1 of the report).
inline constexpr std::uint8_t kReqReadCell = 0xDF;
inline constexpr std::uint8_t kReqWriteCell = 0xDE;
inline constexpr std::uint8_t kReqControl = 0xC4;

// Control sub-commands.
inline constexpr std::uint8_t kCmdApply = 0x00;
inline constexpr std::uint8_t kCmdBegin = 0x02;
inline constexpr std::uint8_t kCmdIndicator = 0x03;
inline constexpr std::uint8_t kCmdSelectProfile = 0x07;
inline constexpr std::uint8_t kCmdRevision = 0x08;
// First parameters of the indicator command.
inline constexpr std::uint8_t kIndicatorProgressFirstHalf = 0x00;
inline constexpr std::uint8_t kIndicatorProgressSecondHalf = 0x01;
inline constexpr std::uint8_t kIndicatorState = 0x03;
// Second parameters with kIndicatorState.
inline constexpr std::uint8_t kIndicatorStart = 0x00;
inline constexpr std::uint8_t kIndicatorTick = 0x02;
inline constexpr std::uint8_t kIndicatorEnd = 0x03;

// Revision reply markers.
inline constexpr std::uint8_t kRevisionMarkerHead = 0x55;
inline constexpr std::uint8_t kRevisionMarkerTail = 0xAA;

// Identity.
inline constexpr std::uint8_t kIdentityByte1 = 0x6D;
inline constexpr std::uint8_t kIdentityByte2Type2001 = 0x20;
inline constexpr std::uint8_t kIdentityByte2Type2002 = 0xA5;
inline constexpr std::uint32_t kDeviceType2001 = 0x2001;
inline constexpr std::uint32_t kDeviceType2002 = 0x2002;

// Protocol timing.
inline constexpr int kTransferAttempts = 20;
inline constexpr int kApplyPasses = 10;
inline constexpr std::uint32_t kRetryPauseMs = 120;
inline constexpr std::uint32_t kApplyPassPauseMs = 100;

class CIcTessel {
 public:
  CIcTessel(HidSeam& hid, Clock& clock);
  virtual ~CIcTessel();
  CIcTessel(const CIcTessel&) = delete;
  CIcTessel& operator=(const CIcTessel&) = delete;

  // Transfers; 1 on success, 0 on failure with the reason in lastStatus.
  int ReadByte(int address, std::uint8_t* value);
  int WriteByte(int address, std::uint8_t value);
  int SendCommand(std::uint8_t sub, std::uint8_t first, std::uint8_t second);
  int ReadByteVerified(int address, std::uint8_t* value);
  int QueryRevision(int* present, int* revision);
  int Apply();

  // Device.
  void Reset();
  int SetDevicePath(std::u16string_view path);
  int OpenDevice(std::u16string_view path);
  int CheckIdentity();

  // Shadow.
  int SetCell(int address, int value);
  void MarkLoaded(int address, int value);
  void MarkWritten(int address);
  int LoadCell(int address);
  int WriteCell(int address, int value);
  int FlushCell(int address);

  // Plain read access; addresses outside the memory read as an invalid, clean 0.
  int Value(int address) const { return InRange(address) ? EepromShadow[address].value : 0; }
  bool IsValid(int address) const { return InRange(address) && EepromShadow[address].valid == 1; }
  bool IsDirty(int address) const { return InRange(address) && EepromShadow[address].dirty == 1; }
  const std::array<MemoryCell, kEepromSize>& Shadow() const { return EepromShadow; }

  int lastStatus() const { return lastStatus_; }
  std::uint32_t deviceType() const { return deviceType_; }
  void setDeviceType(std::uint32_t type) { deviceType_ = type; }
  std::uint32_t memorySize() const { return memorySize_; }
  const char16_t* devicePath() const { return devicePath_; }
  const std::uint8_t* reportBuffer() const { return report_; }

 private:
  static bool InRange(int address) { return address >= 0 && address < kEepromSize; }
  bool StorePath(std::u16string_view path);
  void PrepareRequest(std::uint8_t request, std::uint8_t b2, std::uint8_t b3, std::uint8_t b4);
  int SendReport();
  int ReceiveReport();
  int Transfer(bool set);

  std::array<MemoryCell, kEepromSize> EepromShadow{};
  std::uint8_t report_[kReportSize] = {};
  char16_t devicePath_[kDevicePathChars] = {};
  std::int32_t lastStatus_ = 0;
  std::uint32_t deviceType_ = kDeviceType2001;
  std::uint32_t memorySize_ = kEepromSize;

  HidSeam& hid_;
  Clock& clock_;
  ModuleHandle hidModule_ = nullptr;
  ModuleHandle setupModule_ = nullptr;
};

static_assert(sizeof(std::uint8_t[kReportSize]) == 9, "one feature report is 9 bytes");

}  // namespace halvard
