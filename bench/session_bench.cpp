// The session's own cost per timer tick: a whole full load and a timed save of a profile against
// a mouse that answers at once, on a clock whose pauses cost nothing.
#include <benchmark/benchmark.h>

#include <memory>

#include "tests/app/session_world.h"

namespace halvard {
namespace {

struct Rig : SessionWorld {
  SimulatedMouse mouse{&clock};
  NullSessionView view;
  std::unique_ptr<DeviceSession> session;
  int ticks = 0;
  Rig() {
    mouse.EnableTrace(false);
    hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    session = std::make_unique<DeviceSession>(Deps(view, reinterpret_cast<Hwnd>(0x10)));
  }
  void Run() {
    Hwnd w;
    std::uint32_t id;
    while (windows.NextDue(&w, &id)) {
      session->OnTimer(id);
      ++ticks;
    }
  }
};

void BM_FullLoad(benchmark::State& state) {
  int ticks = 0;
  for (auto _ : state) {
    Rig rig;
    rig.session->Initialise();
    rig.Run();
    ticks += rig.ticks;
  }
  state.counters["ticks"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FullLoad)->Unit(benchmark::kMillisecond);

void BM_TimedSave(benchmark::State& state) {
  Rig rig;
  rig.session->Initialise();
  rig.Run();
  int ticks = 0;
  for (auto _ : state) {
    for (auto e : FactoryProfilePart(0)) rig.tessel->SetCell(e.address, (rig.tessel->Value(e.address) + 1) & 0xFF);
    rig.session->ApplyChanges();
    rig.ticks = 0;
    rig.Run();
    ticks += rig.ticks;
  }
  state.counters["ticks"] = benchmark::Counter(ticks, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TimedSave)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace halvard
