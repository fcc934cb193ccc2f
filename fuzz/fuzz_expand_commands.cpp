// Command expansion on any bytes: never writes outside the given length, and a string without
// placeholders comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "macro/bytecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace halvard;
  std::vector<std::uint8_t> buffer(data, data + size);
  const std::size_t length = size / 2;
  buffer.push_back(0xA5);  // guard right after the string
  bool ok = ExpandCommands(std::span(buffer).first(length), static_cast<int>(length), size & 1);
  if (ok != (length > 0 && length <= 256)) std::abort();
  for (std::size_t i = length; i < size; ++i)
    if (buffer[i] != data[i]) std::abort();
  if (buffer.back() != 0xA5) std::abort();
  bool placeholder = false;
  for (std::size_t i = 0; i + 1 < length; ++i)
    if (data[i] == 0x83 && IsCommandSub(data[i + 1])) placeholder = true;
  if (!placeholder)
    for (std::size_t i = 0; i < length; ++i)
      if (buffer[i] != data[i]) std::abort();
  return 0;
}
