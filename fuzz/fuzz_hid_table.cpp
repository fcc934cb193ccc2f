// Table builds over interfaces whose paths, ids, versions and strings come from the input. The
// table never overflows, names never pass 63 characters, and the collection-three rule holds.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "device/hid_client.h"
#include "device/simulated_hid.h"
#include "platform/registry_memory.h"
#include "platform/text.h"

namespace {

using namespace halvard;

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;
  std::uint8_t Next() { return pos < size ? data[pos++] : 0; }
  std::uint16_t Next16() { return static_cast<std::uint16_t>(Next() | (Next() << 8)); }
  std::u16string Text(std::size_t max) {
    std::size_t n = Next() % (max + 1);
    std::u16string s;
    for (std::size_t i = 0; i < n; ++i) s.push_back(static_cast<char16_t>(Next16() | 1));
    return s;
  }
};

bool HasCollection3(std::u16string s) {
  for (auto& c : s) c = AsciiLower(c);
  return s.find(u"&mi_01&col03") != std::u16string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  SimulatedHid hid;
  int count = in.Next() % 140;
  for (int i = 0; i < count; ++i) {
    SimulatedHid::Interface f;
    f.path = u"p" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)) + in.Text(20);
    if (in.Next() & 1) f.path += u"&MI_01&COL03";
    f.attributes = {static_cast<std::uint16_t>((in.Next() & 1) ? 0x2E4A : in.Next16()), 0x1C07, in.Next16()};
    if (in.Next() & 1) f.product = in.Text(200);
    if (in.Next() & 1) f.manufacturer = in.Text(200);
    f.mouseClass = in.Next() & 1;
    f.openable = (in.Next() & 7) != 0;
    hid.AddInterface(f);
  }
  RecordingMessageBox box;
  MemoryRegistry registry;
  auto c = std::make_unique<CHidClient>(hid, box, registry);
  const std::uint16_t versions[] = {in.Next16(), 0x2002};
  for (int overload = 0; overload < 6; ++overload) {
    switch (overload) {
      case 0: c->CreateDeviceTable(in.Next16(), in.Next16(), in.Next() & 1); break;
      case 1: c->CreateDeviceTable(&kSupportedMouse, 1); break;
      case 2: c->CreateDeviceTable(&kSupportedMouse, 1, in.Next16(), in.Next16()); break;
      case 3: c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002, in.Next16()); break;
      case 4: c->CreateDeviceTable(&kSupportedMouse, 1, versions, 2); break;
      default: c->CreateDeviceTable(versions, 2); break;
    }
    int n = c->GetRecognizedDevices();
    if (n < 0 || n > 127) std::abort();
    bool excludes = overload >= 1 && overload <= 4;
    for (int i = 0; i < n; ++i) {
      if (std::u16string(c->GetDeviceName(i)).size() > 63) std::abort();
      if (std::u16string(c->GetVendorName(i)).size() > 63) std::abort();
      if (excludes && HasCollection3(c->GetDevice(i))) std::abort();
    }
    if (hid.OpenHandles() != 0) std::abort();
    c->CurrentTableText(in.Next() % 6);
  }
  return 0;
}
