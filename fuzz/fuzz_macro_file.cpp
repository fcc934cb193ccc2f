// Macro files of any content: a read either fails with a message or gives at most 256 bytes
// that load into the list within its capacity.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "macro/instruction_list.h"
#include "macro/macro_file.h"

namespace {

class CountingMessages : public halvard::MessageService {
 public:
  void ShowMessage(int, std::u16string_view) override { ++count; }
  int count = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace halvard;
  static MemoryListView view;
  static auto list = std::make_unique<CSkinLVCmdList>(view);
  MemoryFiles files;
  CountingMessages messages;
  files.Put(u"C:\\m.Mac", std::vector<std::uint8_t>(data, data + size));
  auto macro = ReadMacroFile(files, messages, u"C:\\m.Mac", u"m");
  if (!macro) {
    if (messages.count != 1) std::abort();
    return 0;
  }
  if (macro->length < 0 || macro->length > kMacroMaxBytes || messages.count != 0) std::abort();
  if (static_cast<std::size_t>(macro->length) + kMacroHeaderSize > size) std::abort();
  list->SetCapacity(256);
  list->SetDelayUnit(25);
  list->SetExtendedKeys(true);
  list->LoadBytes(macro->bytes.data(), macro->length);
  if (list->UsedBytes() > 256) std::abort();
  // What loads writes back within a slot.
  if (EncodeMacroFile(*list, macro->settings).size() > kMacroHeaderSize + kMacroMaxBytes) std::abort();
  std::array<std::uint8_t, kMacroMaxBytes> buffer = macro->bytes;
  if (macro->length > 0 && !ExpandCommands(buffer, macro->length)) std::abort();
  return 0;
}
