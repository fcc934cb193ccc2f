// Macro files: the folder and names, the nine-byte header with the recording settings, and the
// editor's file commands with their numbered messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "macro/bytecode.h"
#include "macro/instruction_list.h"
#include "platform/file_seam.h"
#include "platform/message_service.h"

namespace halvard {

inline constexpr std::size_t kMacroHeaderSize = 9;
inline constexpr std::uint8_t kMacroMagic0 = 0x6D;
inline constexpr std::uint8_t kMacroMagic1 = 0xA5;
inline constexpr std::uint8_t kMacroFormat = 0xA1;
inline constexpr std::uint8_t kMacroFormatOld = 0x01;
inline constexpr std::size_t kMacroPathChars = 259;
inline constexpr std::size_t kMacroListMax = 50;
inline constexpr std::size_t kMacroNameMaxChars = 20;
inline constexpr std::u16string_view kMacroExtension = u".Mac";
inline constexpr std::u16string_view kMacroFilter = u"Mouse Macro Files (*.mac)|*.mac|All Files (*.*)|*.*||";
inline constexpr std::u16string_view kMacroDefaultExtension = u"MAC";

// How the editor records delays; stored in the header.
struct RecordingSettings {
  enum class Mode { kMeasured, kDefaultDelay, kWithoutDelay };
  Mode mode = Mode::kMeasured;
  int defaultDelayMs = 0;
};

struct MacroData {
  RecordingSettings settings;
  int length = 0;
  std::array<std::uint8_t, kMacroMaxBytes> bytes{};
};

// The documents folder + "\Halvard", or "." when there is no documents folder.
std::u16string MacroFolder(FileSeam& files);
// folder\name.Mac; empty when either is missing or the path would pass 259 characters.
std::u16string MacroPath(std::u16string_view folder, std::u16string_view name);
// Names ending in ".mac" (any case), longer than four characters, without the extension; at
// most 50, in the folder's order.
std::vector<std::u16string> ListMacros(FileSeam& files, std::u16string_view folder);

// `name` is what the messages of a failed open name.
std::optional<MacroData> ReadMacroFile(FileSeam& files, MessageService& messages, std::u16string_view path,
                                       std::u16string_view name);
// The rows that fit in 256 bytes, in order, behind the header.
bool WriteMacroFile(FileSeam& files, MessageService& messages, std::u16string_view path, const CSkinLVCmdList& list,
                    const RecordingSettings& settings);
// The header and data bytes WriteMacroFile writes.
std::vector<std::uint8_t> EncodeMacroFile(const CSkinLVCmdList& list, const RecordingSettings& settings);

// The macro's bytes ready for a slot: placeholders expanded. 0 on failure (messages shown).
int LoadForDevice(FileSeam& files, MessageService& messages, std::u16string_view folder, std::u16string_view name,
                  std::array<std::uint8_t, kMacroMaxBytes>& buffer);

// The prompts and file dialogs the file commands use.
class MacroFilePrompts {
 public:
  virtual ~MacroFilePrompts() = default;
  // The name-entry prompt for a new macro (at most 20 characters); nothing on Cancel.
  virtual std::optional<std::u16string> AskNewMacroName() = 0;
  // Open and save dialogs for macro files; neither changes the current directory.
  virtual std::optional<std::u16string> AskOpenPath() = 0;
  virtual std::optional<std::u16string> AskSavePath(std::u16string_view proposedName) = 0;
};

// The editor's macro files: the current name, the list of names with its selection, and the
// commands on them. The instruction list is the editor's.
class MacroLibrary {
 public:
  MacroLibrary(FileSeam& files, MessageService& messages, MacroFilePrompts& prompts, CSkinLVCmdList& list,
               std::u16string folder)
      : files_(files), messages_(messages), prompts_(prompts), list_(list), folder_(std::move(folder)) {}

  void Refresh();  // fills the names from the folder
  bool CreateMacro();
  bool ImportMacro();
  bool SaveAs();
  bool DeleteMacro();
  // Reads the selected macro into the list and takes its recording settings.
  bool OpenSelected();
  bool Save();  // to folder\current.Mac

  const std::u16string& CurrentName() const { return current_; }
  void SetCurrentName(std::u16string name) { current_ = std::move(name); }
  const std::vector<std::u16string>& Names() const { return names_; }
  int Selected() const { return selected_; }
  void Select(int index) { selected_ = index >= 0 && index < static_cast<int>(names_.size()) ? index : -1; }
  RecordingSettings& Settings() { return settings_; }
  const std::u16string& Folder() const { return folder_; }

 private:
  void AddAndSelect(const std::u16string& name);

  FileSeam& files_;
  MessageService& messages_;
  MacroFilePrompts& prompts_;
  CSkinLVCmdList& list_;
  std::u16string folder_;
  std::u16string current_;
  std::vector<std::u16string> names_;
  int selected_ = -1;
  RecordingSettings settings_;
};

}  // namespace halvard
