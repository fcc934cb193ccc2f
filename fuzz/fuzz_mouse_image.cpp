// Image files of the simulated mouse: any bytes either load exactly or change nothing.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "device/simulated_mouse.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  halvard::SimulatedMouse m;
  const std::vector<std::uint8_t> before = m.EncodeImage();
  if (!m.DecodeImage({data, size})) {
    if (m.EncodeImage() != before) std::abort();
    return 0;
  }
  // A loaded image writes back as it was read, but for the three reserved bytes.
  std::vector<std::uint8_t> again = m.EncodeImage();
  if (again.size() != size) std::abort();
  for (std::size_t i = 0; i < size; ++i)
    if ((i < 13 || i > 15) && again[i] != data[i]) std::abort();
  return 0;
}
