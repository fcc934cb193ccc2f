// Image files of the simulated mouse and the fault files beside them: any bytes either load exactly
// or change nothing, and any fault text reads back the same after it is written out.
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "device/image_hid.h"
#include "device/simulated_mouse.h"

namespace {

void CheckImage(const std::uint8_t* data, std::size_t size) {
  halvard::SimulatedMouse m;
  const std::vector<std::uint8_t> before = m.EncodeImage();
  if (!m.DecodeImage({data, size})) {
    if (m.EncodeImage() != before) std::abort();
    return;
  }
  // A loaded image writes back as it was read, but for the reserved bits: byte 13 keeps only its
  // unplugged bit, bytes 14 and 15 are written as 0.
  std::vector<std::uint8_t> again = m.EncodeImage();
  if (again.size() != size) std::abort();
  for (std::size_t i = 0; i < size; ++i) {
    if (i == 13) {
      if (again[i] != (data[i] & 0x01) || m.Present() != ((data[i] & 0x01) == 0)) std::abort();
    } else if (i < 13 || i > 15) {
      if (again[i] != data[i]) std::abort();
    } else if (again[i] != 0) {
      std::abort();
    }
  }
}

void CheckFaults(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const halvard::ImageFaults f = halvard::ParseImageFaults(text);
  if (f.latencyMs < 0 || f.latencyMs > halvard::ImageFaults::kMaxLatencyMs) std::abort();
  for (std::int32_t v : {f.failReadFrom, f.failWriteFrom, f.vanishAfter})
    if (v < halvard::ImageFaults::kNone) std::abort();
  if (!(halvard::ParseImageFaults(halvard::FormatImageFaults(f)) == f)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  CheckImage(data, size);
  CheckFaults(data, size);
  return 0;
}
