#include "app/simulation.h"

#include <fstream>

#include "device/simulated_mouse.h"

namespace halvard {

namespace {
bool SameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}
}  // namespace

bool HasSimulateSwitch(std::span<const std::u16string> arguments) {
  for (const auto& a : arguments)
    if (a.size() > 1 && (a[0] == u'/' || a[0] == u'-') && SameIgnoringCase(std::u16string_view(a).substr(1), kSimulateSwitch))
      return true;
  return false;
}

std::string SimulatedImagePath(std::span<const std::u16string> arguments, const std::string& environment,
                               const std::string& dataFolder) {
  if (!environment.empty()) return environment;
  if (!HasSimulateSwitch(arguments)) return {};
  return dataFolder + "\\" + std::string(kDefaultImageName);
}

bool EnsureSimulatedMouse(const std::string& image) {
  if (std::ifstream(image, std::ios::binary).good()) return true;
  SimulatedMouse mouse;
  return mouse.SaveImage(image);
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace halvard
