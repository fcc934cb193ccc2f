// The window-services seam: posting to a window handle that another process published, asking
// whether a handle still names a window, and a window's timers.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/clock.h"

namespace halvard {

using Hwnd = void*;

class WindowServices {
 public:
  virtual ~WindowServices() = default;
  virtual bool Post(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual bool IsWindow(Hwnd window) = 0;
  // A window timer: `id` ticks every `ms` on the window's thread until killed; setting a running
  // id restarts it. A window without timers answers false.
  virtual bool SetTimer(Hwnd /*window*/, std::uint32_t /*id*/, std::uint32_t /*ms*/) { return false; }
  virtual void KillTimer(Hwnd /*window*/, std::uint32_t /*id*/) {}
};

// Handles are published as 32-bit numbers; the platform widens them with their sign.
inline Hwnd HandleFromValue(std::int32_t value) {
  return reinterpret_cast<Hwnd>(static_cast<std::intptr_t>(value));
}
inline std::uint32_t ValueFromHandle(Hwnd window) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window));
}

// Records posts and answers IsWindow from a list of live windows.
class RecordingWindowServices : public WindowServices {
 public:
  struct Posted {
    Hwnd window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  bool Post(Hwnd window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    posted.push_back({window, message, wParam, lParam});
    return true;
  }
  bool IsWindow(Hwnd window) override {
    for (Hwnd w : live)
      if (w == window) return true;
    return false;
  }
  std::vector<Posted> posted;
  std::vector<Hwnd> live;
};

// Window timers on a virtual clock: a test sets them through the seam and fires the next one due,
// which moves the clock to its due time. Posts are recorded as above.
class VirtualWindowServices : public RecordingWindowServices {
 public:
  explicit VirtualWindowServices(VirtualClock& clock) : clock_(clock) {}
  bool SetTimer(Hwnd window, std::uint32_t id, std::uint32_t ms) override {
    timers_[{window, id}] = Armed{clock_.NowMs() + ms, ms};
    ++timerStarts;
    return true;
  }
  void KillTimer(Hwnd window, std::uint32_t id) override { timers_.erase({window, id}); }

  bool Running(Hwnd window, std::uint32_t id) const { return timers_.count({window, id}) != 0; }
  bool AnyRunning() const { return !timers_.empty(); }
  // Moves the clock to the earliest due timer and returns its id (the timer keeps ticking, as a
  // window timer does, until the handler kills it); false when none runs.
  bool NextDue(Hwnd* window, std::uint32_t* id) {
    if (timers_.empty()) return false;
    auto next = timers_.begin();
    for (auto it = timers_.begin(); it != timers_.end(); ++it)
      if (it->second.due < next->second.due) next = it;
    if (next->second.due > clock_.NowMs()) clock_.Advance(next->second.due - clock_.NowMs());
    next->second.due = clock_.NowMs() + next->second.period;
    *window = next->first.first;
    *id = next->first.second;
    return true;
  }
  int timerStarts = 0;

 private:
  struct Armed {
    std::uint64_t due;
    std::uint32_t period;
  };
  VirtualClock& clock_;
  std::map<std::pair<Hwnd, std::uint32_t>, Armed> timers_;
};

}  // namespace halvard
