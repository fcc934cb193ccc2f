// The host's own cost per cell transfer, against a mouse that answers at once on a clock whose
// pauses cost nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "platform/clock.h"
#include "device/ic_tessel.h"
#include "device/memory_map.h"
#include "device/simulated_hid.h"

namespace halvard {
namespace {

struct Rig {
  VirtualClock clock;
  SimulatedMouse mouse{&clock};
  SimulatedHid hid;
  std::unique_ptr<CIcTessel> tessel;
  Rig() {
    int row = hid.AddInterface(SimulatedHid::MouseInterface(&mouse));
    mouse.EnableTrace(false);
    tessel = std::make_unique<CIcTessel>(hid, clock);
    tessel->Reset();
    tessel->setDeviceType(0x2002);
    tessel->SetDevicePath(hid.At(row).path);
  }
};

void BM_ReadByte(benchmark::State& state) {
  Rig rig;
  int a = 0;
  std::uint8_t v = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.tessel->ReadByte(a, &v));
    a = (a + 1) & 0x3FFF;
  }
}
BENCHMARK(BM_ReadByte);

void BM_WriteByte(benchmark::State& state) {
  Rig rig;
  int a = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.tessel->WriteByte(a, static_cast<std::uint8_t>(a)));
    a = (a + 1) & 0x3FFF;
  }
}
BENCHMARK(BM_WriteByte);

void BM_SetCell(benchmark::State& state) {
  Rig rig;
  int a = 0, v = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.tessel->SetCell(a, v));
    a = (a + 1) & 0x3FFF;
    v = (v + 7) & 0xFF;
  }
}
BENCHMARK(BM_SetCell);

// The full load as the main window runs it: every address of the load list read into the shadow.
void BM_FullLoad(benchmark::State& state) {
  Rig rig;
  for (auto _ : state) {
    for (std::uint16_t a : FullLoadList()) benchmark::DoNotOptimize(rig.tessel->LoadCell(a));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<long>(kFullLoadListSize));
}
BENCHMARK(BM_FullLoad);

void BM_BuildSaveList(benchmark::State& state) {
  Rig rig;
  for (auto e : FactoryList()) rig.tessel->MarkLoaded(e.address, e.value);
  for (int i = 0; i < 40; ++i) rig.tessel->SetCell(B(2) + 14 + (i % 50), i);
  std::vector<std::uint16_t> list(16385);
  for (auto _ : state) benchmark::DoNotOptimize(BuildProfileSaveList(*rig.tessel, 2, list));
}
BENCHMARK(BM_BuildSaveList);

}  // namespace
}  // namespace halvard
