#include "device/simulated_mouse.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "device/ic_tessel.h"
#include "device/memory_map.h"

namespace halvard {
namespace {

constexpr char kImageMagic[8] = {'H', 'L', 'V', 'M', 'O', 'U', 'S', 'E'};
constexpr std::uint16_t kImageFormat = 1;
constexpr std::size_t kImageFlagsOffset = 13;
constexpr std::uint8_t kImageFlagUnplugged = 0x01;

}  // namespace

SimulatedMouse::SimulatedMouse(const Clock* clock, std::uint16_t version) : clock_(clock), version_(version) {
  FactoryFill();
}

void SimulatedMouse::FactoryFill() {
  cells_.fill(0);
  for (const FactoryEntry& e : FactoryList())
    if (e.address != 0) cells_[e.address] = e.value;
  SetVersion(version_);
}

void SimulatedMouse::SetVersion(std::uint16_t version) {
  version_ = version;
  cells_[kCellIdentity1] = kIdentityByte1;
  cells_[kCellIdentity2] = version == kDeviceType2001 ? kIdentityByte2Type2001 : kIdentityByte2Type2002;
}

bool SimulatedMouse::UseFault(int& counter) {
  if (counter == 0) return false;
  if (counter > 0) --counter;
  return true;
}

// Counts one report against a scripted disappearance; false once the mouse is gone.
bool SimulatedMouse::CountReport() {
  if (!present_) return false;
  if (vanishAfter_ == 0) {
    present_ = false;
    return false;
  }
  if (vanishAfter_ > 0) --vanishAfter_;
  ++reports_;
  return true;
}

void SimulatedMouse::Record(bool set, bool ok, const std::uint8_t* bytes, std::uint32_t length) {
  if (!traceOn_) return;
  TraceEntry e;
  e.timeMs = clock_ != nullptr ? clock_->NowMs() : 0;
  e.set = set;
  e.ok = ok;
  if (bytes != nullptr) std::copy_n(bytes, std::min<std::uint32_t>(length, 9), e.bytes.begin());
  trace_.push_back(e);
}

bool SimulatedMouse::AcceptOpen() {
  if (!present_) return false;
  if (UseFault(refuseOpen_)) return false;
  ++opens_;
  return true;
}

bool SimulatedMouse::SetFeature(const std::uint8_t* report, std::uint32_t length) {
  if (failSetDelay_ == 0) failSet_ = failSetLater_;
  if (failSetDelay_ >= 0) --failSetDelay_;
  if (report == nullptr || length != 9 || !CountReport() || UseFault(failSet_)) {
    Record(true, false, report, length);
    return false;
  }
  Record(true, true, report, length);
  const int address = report[2] | (report[4] << 8);
  switch (report[1]) {
    case kReqReadCell: {
      reply_.fill(0);
      reply_[1] = report[2];
      reply_[2] = address < 0x4000 ? cells_[address] : 0;
      reply_[3] = report[4];
      if (UseFault(wrongEcho_)) reply_[1] = static_cast<std::uint8_t>(reply_[1] + 1);
      if (UseFault(garble_)) reply_[2] = static_cast<std::uint8_t>(~reply_[2]);
      break;
    }
    case kReqWriteCell:
      if (address < 0x4000) cells_[address] = report[3];
      break;
    case kReqControl:
      controls_.push_back({report[2], report[3], report[4]});
      if (report[2] == kCmdApply) ++applies_;
      if (report[2] == kCmdSelectProfile && report[3] < kProfileCount)
        cells_[kCellActiveProfile] = static_cast<std::uint8_t>((cells_[kCellActiveProfile] & 0xF8) | report[3]);
      if (report[2] == kCmdRevision) {
        reply_.fill(0);
        reply_[1] = kRevisionMarkerHead;
        reply_[2] = revision_;
        reply_[3] = kRevisionMarkerTail;
      }
      break;
    default:
      break;  // the firmware ignores what it does not know
  }
  return true;
}

bool SimulatedMouse::GetFeature(std::uint8_t* report, std::uint32_t length) {
  if (report == nullptr || length != 9 || !CountReport() || UseFault(failGet_)) {
    Record(false, false, nullptr, 0);
    return false;
  }
  std::copy(reply_.begin(), reply_.end(), report);
  Record(false, true, report, length);
  return true;
}

std::vector<std::uint8_t> SimulatedMouse::EncodeImage() const {
  std::vector<std::uint8_t> out(kMouseImageSize, 0);
  std::memcpy(out.data(), kImageMagic, 8);
  out[8] = kImageFormat & 0xFF;
  out[9] = kImageFormat >> 8;
  out[10] = version_ & 0xFF;
  out[11] = version_ >> 8;
  out[12] = revision_;
  out[kImageFlagsOffset] = present_ ? 0 : kImageFlagUnplugged;
  std::copy(cells_.begin(), cells_.end(), out.begin() + 16);
  return out;
}

bool SimulatedMouse::DecodeImage(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kMouseImageSize || std::memcmp(bytes.data(), kImageMagic, 8) != 0) return false;
  if ((bytes[8] | (bytes[9] << 8)) != kImageFormat) return false;
  version_ = static_cast<std::uint16_t>(bytes[10] | (bytes[11] << 8));
  revision_ = bytes[12];
  present_ = (bytes[kImageFlagsOffset] & kImageFlagUnplugged) == 0;
  std::copy(bytes.begin() + 16, bytes.end(), cells_.begin());
  return true;
}

bool SimulatedMouse::SaveImage(const std::string& path) const {
  std::vector<std::uint8_t> bytes = EncodeImage();
  std::string tmp = path + ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()))) return false;
  }
  // Replace in one step so a reader never sees half an image.
  std::remove(path.c_str());
  return std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool SimulatedMouse::LoadImage(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  std::vector<std::uint8_t> bytes;
  char buf[4096];
  while (f.read(buf, sizeof buf) || f.gcount() > 0) {
    bytes.insert(bytes.end(), buf, buf + f.gcount());
    if (bytes.size() > kMouseImageSize) return false;  // not an image; stop reading
  }
  return DecodeImage(bytes);
}

}  // namespace halvard
