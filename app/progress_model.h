// The loading popup's animation: 17 frames on a repeating 100 ms timer, restarted at frame 0 on
// every show.
#pragma once

#include <cstdint>
#include <vector>

namespace halvard {

inline constexpr std::uint32_t kProgressTimer = 0x3000;
inline constexpr std::uint32_t kProgressIntervalMs = 100;
inline constexpr std::uint8_t kProgressAlpha = 220;
inline constexpr int kProgressFrameWidth = 146;
inline constexpr int kProgressFrameHeight = 81;

// The frames the main window passes: 405 to 416, 416 again, 417 to 420.
std::vector<int> ProgressFrames();

class ProgressAnimation {
 public:
  explicit ProgressAnimation(std::vector<int> frames) : frames_(std::move(frames)) {}
  // Frame 0; true when the timer must be started (it is not running yet).
  bool Show();
  void Hide() { running_ = false; }
  // The picture to show next on this timer, or -1 for another timer (or no frames).
  int Tick(std::uint32_t timerId);
  int Index() const { return index_; }
  int Picture() const { return frames_.empty() ? -1 : frames_[static_cast<std::size_t>(index_)]; }
  bool Running() const { return running_; }

 private:
  std::vector<int> frames_;
  int index_ = 0;
  bool running_ = false;
};

}  // namespace halvard
