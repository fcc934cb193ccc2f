// Where the senders read handle values: the registry accessor of each deliverable.
#pragma once

#include <cstdint>
#include <string_view>

namespace halvard {

class DwordSource {
 public:
  virtual ~DwordSource() = default;
  // The stored number; -1 when the value cannot be read; a missing key is created with the value
  // stored as 0, and 0 is returned.
  virtual std::int32_t GetDword(std::u16string_view name) = 0;
};

}  // namespace halvard
