// Profile files of any content loaded into profile 2: nothing outside the profile's own cells
// changes, no listed address lies outside them, and the list never passes its bound.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "device/simulated_hid.h"
#include "store/profile_file.h"
#include "platform/registry_memory.h"

namespace {

using namespace halvard;

class NoMessages : public MessageService {
 public:
  void ShowMessage(int, std::u16string_view) override {}
};

bool ProfileTwoCell(int a) {
  const int p = 2;
  return (a >= B(p) && a <= B(p) + 70) || (a >= H(p) && a < H(p) + kHeaderBlockSize) ||
         (a >= M(p) && a < M(p) + kSlotRegionSize) || (a >= N(p) && a < N(p) + kNameSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static VirtualClock clock;
  static SimulatedHid hid;
  static auto tessel = std::make_unique<CIcTessel>(hid, clock);
  tessel->Reset();
  for (auto e : FactoryList()) tessel->MarkLoaded(e.address, e.value);
  const auto before = tessel->Shadow();

  MemoryRegistry registry;
  RegistryStore store(registry);
  MemoryFiles files;
  NoMessages messages;
  ProfileFiles profiles(*tessel, store, files, messages);
  files.Put(ProfileFilePath(files, u"Fuzz"), std::vector<std::uint8_t>(data, data + size));
  std::vector<std::uint16_t> list(kLoadListMax);
  bool withName = size > 0 && (data[size - 1] & 1);
  auto n = profiles.LoadIntoProfile(2, u"Fuzz", withName, list);
  if (n && *n > list.size()) std::abort();
  if (n)
    for (std::size_t i = 0; i < *n; ++i)
      if (!ProfileTwoCell(list[i])) std::abort();
  const auto& after = tessel->Shadow();
  for (int a = 0; a < kEepromSize; ++a) {
    bool same = after[a].value == before[a].value && after[a].dirty == before[a].dirty &&
                after[a].valid == before[a].valid;
    if (!same && (!n || !ProfileTwoCell(a))) std::abort();
  }
  if (files.OpenFiles() != 0) std::abort();
  return 0;
}
