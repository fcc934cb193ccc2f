// The controller against a mouse that answers anything: replies, failures and missing devices
// come from the input. A failed transfer must never change a shadow cell, a read must only ever
// take a value whose reply echoed the address, and a revision is 0-127.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/clock.h"
#include "device/ic_tessel.h"
#include "device/simulated_hid.h"

namespace {

using namespace halvard;

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;
  std::uint8_t Next() { return pos < size ? data[pos++] : 0; }
  bool Done() const { return pos >= size; }
};

// Every answer of the device comes from the fuzzer.
class ChaoticHid : public SimulatedHid {
 public:
  explicit ChaoticHid(Input& in) : in_(in) {
    Interface i;
    i.path = u"chaos";
    i.attributes = {0x2E4A, 0x1C07, 0x2002};
    AddInterface(i);
  }
  DeviceHandle Open(const char16_t* path, DeviceAccess access) override {
    if ((in_.Next() & 0x0F) == 0) return kInvalidDevice;
    return SimulatedHid::Open(path, access);
  }
  bool SetFeature(DeviceHandle, const std::uint8_t* report, std::uint32_t length) override {
    if (length != 9) std::abort();
    std::memcpy(lastRequest, report, 9);
    return (in_.Next() & 0x07) != 0;
  }
  bool GetFeature(DeviceHandle, std::uint8_t* report, std::uint32_t length) override {
    if (length != 9) std::abort();
    if ((in_.Next() & 0x07) == 0) return false;
    for (int i = 0; i < 9; ++i) report[i] = in_.Next();
    // Often echo the request, so successful paths are reached too.
    if (in_.Next() & 1) {
      report[1] = lastRequest[1] == kReqReadCell ? lastRequest[2] : kRevisionMarkerHead;
      report[3] = lastRequest[1] == kReqReadCell ? lastRequest[4] : kRevisionMarkerTail;
    }
    lastReply = {};
    std::memcpy(lastReply.data(), report, 9);
    return true;
  }
  std::uint8_t lastRequest[9] = {};
  std::array<std::uint8_t, 9> lastReply{};

 private:
  Input& in_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  VirtualClock clock;
  ChaoticHid hid(in);
  auto t = std::make_unique<CIcTessel>(hid, clock);
  t->Reset();
  t->setDeviceType(0x2002);
  t->SetDevicePath(u"chaos");
  for (int step = 0; step < 64 && !in.Done(); ++step) {
    int op = in.Next() % 6;
    int address = (in.Next() | (in.Next() << 8)) & 0x7FFF;  // half of them out of range
    std::uint8_t value = in.Next();
    MemoryCell before = address < kEepromSize ? t->Shadow()[address] : MemoryCell{};
    int ok = 0;
    switch (op) {
      case 0:
        ok = t->LoadCell(address);
        if (ok && (hid.lastReply[1] != (address & 0xFF) || hid.lastReply[3] != (address >> 8) ||
                   t->Value(address) != hid.lastReply[2]))
          std::abort();
        break;
      case 1:
        ok = t->WriteCell(address, value);
        break;
      case 2:
        t->SetCell(address, value);
        ok = t->FlushCell(address);
        before = address < kEepromSize ? t->Shadow()[address] : MemoryCell{};
        break;
      case 3: {
        int present = -1, revision = -1;
        ok = t->QueryRevision(&present, &revision);
        if (ok && (present != 1 || revision < 0 || revision > 127)) std::abort();
        if (!ok && (present != -1 || revision != -1)) std::abort();
        continue;
      }
      case 4: {
        std::uint8_t v = 0x5A;
        ok = t->ReadByteVerified(address, &v);
        if (!ok && v != 0x5A) std::abort();
        continue;
      }
      default:
        t->CheckIdentity();
        continue;
    }
    if (address >= kEepromSize && ok) std::abort();  // never a transfer outside the memory
    if (!ok && address < kEepromSize) {
      const MemoryCell& after = t->Shadow()[address];
      if (after.value != before.value || after.valid != before.valid || after.dirty != before.dirty) std::abort();
    }
    if (hid.OpenHandles() != 0) std::abort();
  }
  return 0;
}
