// Simulation mode of the programs: which image file serves as the mouse.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace halvard {

inline constexpr std::u16string_view kSimulateSwitch = u"Simulate";
inline constexpr std::string_view kDefaultImageName = "Simulated mouse.img";

// "/Simulate" or "-Simulate" in any letter case.
bool HasSimulateSwitch(std::span<const std::u16string> arguments);

// The first simulated mouse's image: the HALVARD_SIMULATE value when set, else with the switch
// the default image in the data folder; empty for the real mouse.
std::string SimulatedImagePath(std::span<const std::u16string> arguments, const std::string& environment,
                               const std::string& dataFolder);

// A factory-fresh mouse image where none is yet; false when it cannot be written.
bool EnsureSimulatedMouse(const std::string& image);

// Paths in the simulation are ASCII; anything else becomes '?'.
std::string Narrow(std::u16string_view text);

}  // namespace halvard
