#include "app/progress_model.h"

namespace halvard {

std::vector<int> ProgressFrames() {
  std::vector<int> f;
  for (int id = 405; id <= 416; ++id) f.push_back(id);
  f.push_back(416);
  for (int id = 417; id <= 420; ++id) f.push_back(id);
  return f;
}

bool ProgressAnimation::Show() {
  index_ = 0;
  bool start = !running_;
  running_ = true;
  return start;
}

int ProgressAnimation::Tick(std::uint32_t timerId) {
  if (timerId != kProgressTimer || frames_.empty()) return -1;
  index_ = (index_ + 1) % static_cast<int>(frames_.size());
  return frames_[static_cast<std::size_t>(index_)];
}

}  // namespace halvard
