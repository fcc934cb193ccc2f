// The mouse at its feature-report interface: 16384 cells with the factory contents, the identity
// cells, the read, write and control requests with their replies, and faults a test can script.
// Every report is traced with the (virtual) time it arrived.
//
// Image file (all numbers little-endian), 16400 bytes:
//   0  8 bytes  "HLVMOUSE"
//   8  u16      image format, 1
//  10  u16      version number the mouse reports (0x2001 or 0x2002)
//  12  u8       revision answered to the revision query
//  13  u8       flags: bit 0 set = unplugged; the other bits are 0 (a 0 byte is a plugged mouse)
//  14  2 bytes  0
//  16  16384    the cells, address 0 first
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace halvard {

inline constexpr std::size_t kMouseImageSize = 16 + 0x4000;

class SimulatedMouse {
 public:
  struct TraceEntry {
    std::uint64_t timeMs = 0;
    bool set = true;  // set-feature (host to mouse) or get-feature (reply)
    bool ok = true;
    std::array<std::uint8_t, 9> bytes{};
  };
  struct ControlRecord {
    std::uint8_t sub, first, second;
  };

  explicit SimulatedMouse(const Clock* clock = nullptr, std::uint16_t version = 0x2002);

  // Factory contents, 0 elsewhere, identity cells by version number.
  void FactoryFill();

  std::uint8_t Cell(int address) const { return cells_[address & 0x3FFF]; }
  void SetCell(int address, std::uint8_t v) { cells_[address & 0x3FFF] = v; }
  std::uint16_t Version() const { return version_; }
  void SetVersion(std::uint16_t version);  // also the second identity cell
  std::uint8_t Revision() const { return revision_; }
  void SetRevision(std::uint8_t revision) { revision_ = revision; }

  // Faults. A count of -1 means for ever; each failing call uses one up.
  void RefuseOpen(int count) { refuseOpen_ = count; }
  void FailSetFeature(int count) { failSet_ = count; }
  // After `sets` more set-feature reports, the next `count` of them fail.
  void FailSetFeatureAfter(int sets, int count) { failSetDelay_ = sets, failSetLater_ = count; }
  void FailGetFeature(int count) { failGet_ = count; }
  void EchoWrongAddress(int count) { wrongEcho_ = count; }
  // The next `count` read replies carry the cell's value with every bit inverted.
  void GarbleReads(int count) { garble_ = count; }
  // After `reports` more reports the mouse is unplugged: opens and transfers fail.
  void VanishAfter(int reports) { vanishAfter_ = reports; }
  void Unplug() { present_ = false; }
  void Plug() { present_ = true; vanishAfter_ = -1; }
  bool Present() const { return present_; }

  // The report interface the HID seam uses.
  bool AcceptOpen();
  bool SetFeature(const std::uint8_t* report, std::uint32_t length);
  bool GetFeature(std::uint8_t* report, std::uint32_t length);

  // What the mouse saw.
  const std::vector<TraceEntry>& Trace() const { return trace_; }
  void ClearTrace() { trace_.clear(); }
  void EnableTrace(bool on) { traceOn_ = on; }
  const std::vector<ControlRecord>& Controls() const { return controls_; }
  int ReportCount() const { return reports_; }
  int OpenCount() const { return opens_; }
  int ApplyCount() const { return applies_; }

  // Image of the memory; Decode leaves the mouse unchanged when the bytes are not an image.
  std::vector<std::uint8_t> EncodeImage() const;
  bool DecodeImage(std::span<const std::uint8_t> bytes);
  bool SaveImage(const std::string& path) const;
  bool LoadImage(const std::string& path);

 private:
  bool UseFault(int& counter);
  bool CountReport();
  void Record(bool set, bool ok, const std::uint8_t* bytes, std::uint32_t length);

  std::array<std::uint8_t, 0x4000> cells_{};
  std::array<std::uint8_t, 9> reply_{};
  const Clock* clock_;
  std::uint16_t version_;
  std::uint8_t revision_ = 1;
  bool present_ = true;
  int refuseOpen_ = 0, failSet_ = 0, failGet_ = 0, wrongEcho_ = 0, garble_ = 0, vanishAfter_ = -1;
  int failSetDelay_ = -1, failSetLater_ = 0;
  int reports_ = 0, opens_ = 0, applies_ = 0;
  bool traceOn_ = true;
  std::vector<TraceEntry> trace_;
  std::vector<ControlRecord> controls_;
};

}  // namespace halvard
