#include "macro/macro_file.h"

#include <algorithm>

#include "platform/text.h"

namespace halvard {
namespace {

std::u16string FileNameOf(std::u16string_view path) {
  std::size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

bool EndsWithMac(std::u16string_view name) {
  return name.size() >= 4 && AsciiLower(name.substr(name.size() - 4)) == u".mac";
}

}  // namespace

std::u16string MacroFolder(FileSeam& files) {
  std::u16string docs = files.DocumentsFolder();
  return docs.empty() ? std::u16string(u".") : docs + u"\\Halvard";
}

std::u16string MacroPath(std::u16string_view folder, std::u16string_view name) {
  if (folder.empty() || name.empty()) return {};
  std::u16string path = std::u16string(folder) + u"\\" + std::u16string(name) + std::u16string(kMacroExtension);
  return path.size() <= kMacroPathChars ? path : std::u16string();
}

std::vector<std::u16string> ListMacros(FileSeam& files, std::u16string_view folder) {
  std::vector<std::u16string> names;
  for (const auto& f : files.ListFiles(folder)) {
    if (names.size() >= kMacroListMax) break;
    if (f.size() > 4 && EndsWithMac(f)) names.push_back(f.substr(0, f.size() - 4));
  }
  return names;
}

std::optional<MacroData> ReadMacroFile(FileSeam& files, MessageService& messages, std::u16string_view path,
                                       std::u16string_view name) {
  if (path.empty()) {
    messages.ShowMessage(kMsgCantFindPath, name);
    return std::nullopt;
  }
  FileHandle f = files.Open(path, FileMode::kRead);
  if (f == kNoFile) {
    messages.ShowMessage(kMsgCantFindPath, name);
    return std::nullopt;
  }
  auto readFully = [&](std::uint8_t* p, std::size_t n) { return files.ReadFully(f, p, n); };
  std::uint8_t h[kMacroHeaderSize] = {};
  auto bad = [&] {
    files.Close(f);
    messages.ShowMessage(kMsgBadFileFormat);
    return std::nullopt;
  };
  // A short file is refused before any header byte is looked at.
  if (readFully(h, kMacroHeaderSize) < kMacroHeaderSize) return bad();
  const int length = h[3] | (h[4] << 8);
  if (h[0] != kMacroMagic0 || h[1] != kMacroMagic1 || (h[2] != kMacroFormat && h[2] != kMacroFormatOld) ||
      length > kMacroMaxBytes)
    return bad();
  MacroData data;
  const int defaultDelay = h[7] | (h[8] << 8);
  data.settings.defaultDelayMs = defaultDelay;
  data.settings.mode = h[6] == 0             ? RecordingSettings::Mode::kWithoutDelay
                       : defaultDelay != 0   ? RecordingSettings::Mode::kDefaultDelay
                                             : RecordingSettings::Mode::kMeasured;
  if (length > 0 && readFully(data.bytes.data(), static_cast<std::size_t>(length)) < static_cast<std::size_t>(length)) {
    files.Close(f);
    messages.ShowMessage(kMsgLoadEepromFailed);
    return std::nullopt;
  }
  files.Close(f);
  data.length = length;
  return data;
}

std::vector<std::uint8_t> EncodeMacroFile(const CSkinLVCmdList& list, const RecordingSettings& settings) {
  std::vector<std::uint8_t> out(kMacroHeaderSize, 0);
  out[0] = kMacroMagic0;
  out[1] = kMacroMagic1;
  out[2] = kMacroFormat;
  out[5] = static_cast<std::uint8_t>(list.DelayUnit());
  out[6] = settings.mode == RecordingSettings::Mode::kWithoutDelay ? 0 : 1;
  out[7] = static_cast<std::uint8_t>(settings.defaultDelayMs & 0xFF);
  out[8] = static_cast<std::uint8_t>((settings.defaultDelayMs >> 8) & 0xFF);
  std::uint8_t row[kMacroMaxBytes + 8];
  int length = 0;
  for (int r = 0; r < list.Count(); ++r) {
    int n = list.RowBytes(r, row);
    if (length + n > kMacroMaxBytes) break;  // this row and all later ones stay out
    out.insert(out.end(), row, row + n);
    length += n;
  }
  out[3] = static_cast<std::uint8_t>(length & 0xFF);
  out[4] = static_cast<std::uint8_t>(length >> 8);
  return out;
}

bool WriteMacroFile(FileSeam& files, MessageService& messages, std::u16string_view path, const CSkinLVCmdList& list,
                    const RecordingSettings& settings) {
  if (path.empty()) {
    messages.ShowMessage(kMsgCantFindPath, path);
    return false;
  }
  FileHandle f = files.Open(path, FileMode::kCreate);
  if (f == kNoFile) {
    messages.ShowMessage(kMsgCantFindPath, path);
    return false;
  }
  std::vector<std::uint8_t> bytes = EncodeMacroFile(list, settings);
  bool ok = files.Write(f, bytes.data(), bytes.size());
  files.Close(f);
  if (!ok) messages.ShowMessage(kMsgWriteFailed);
  return ok;
}

int LoadForDevice(FileSeam& files, MessageService& messages, std::u16string_view folder, std::u16string_view name,
                  std::array<std::uint8_t, kMacroMaxBytes>& buffer) {
  auto data = ReadMacroFile(files, messages, MacroPath(folder, name), name);
  if (!data) return 0;
  buffer = data->bytes;
  if (data->length > 0 && !ExpandCommands(buffer, data->length)) return 0;
  return data->length;
}

void MacroLibrary::Refresh() {
  names_ = ListMacros(files_, folder_);
  std::sort(names_.begin(), names_.end());
  selected_ = -1;
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (names_[i] == current_) selected_ = static_cast<int>(i);
}

void MacroLibrary::AddAndSelect(const std::u16string& name) {
  if (std::find(names_.begin(), names_.end(), name) == names_.end() && names_.size() < kMacroListMax) {
    names_.push_back(name);
    std::sort(names_.begin(), names_.end());
  }
  auto it = std::find(names_.begin(), names_.end(), name);
  selected_ = it == names_.end() ? -1 : static_cast<int>(it - names_.begin());
}

bool MacroLibrary::CreateMacro() {
  auto name = prompts_.AskNewMacroName();
  if (!name || name->empty()) return false;
  if (name->size() > kMacroNameMaxChars) name->resize(kMacroNameMaxChars);
  const std::u16string path = MacroPath(folder_, *name);
  if (!path.empty() && files_.CanOpenForReading(path)) {
    messages_.ShowMessage(kMsgMacroExists, *name);
    return false;
  }
  FileHandle f = path.empty() ? kNoFile : files_.Open(path, FileMode::kCreate);
  if (f == kNoFile) {
    messages_.ShowMessage(kMsgCantFindPath, path);
    return false;
  }
  const std::uint8_t header[kMacroHeaderSize] = {kMacroMagic0, kMacroMagic1, kMacroFormat, 0, 0,
                                                 static_cast<std::uint8_t>(list_.DelayUnit()), 1, 0, 0};
  bool ok = files_.Write(f, header, sizeof header);
  files_.Close(f);
  if (!ok) {
    messages_.ShowMessage(kMsgWriteFailed);
    return false;
  }
  current_ = *name;
  list_.ClearAll();
  AddAndSelect(*name);
  return true;
}

bool MacroLibrary::ImportMacro() {
  auto source = prompts_.AskOpenPath();
  if (!source) return false;
  std::u16string name = FileNameOf(*source);
  if (EndsWithMac(name)) name.resize(name.size() - 4);
  current_ = name;
  const std::u16string target = MacroPath(folder_, name);
  if (target.empty() || !files_.CopyNew(*source, target)) {
    messages_.ShowMessage(kMsgMacroExists, name);
    return false;
  }
  AddAndSelect(name);
  return OpenSelected();
}

bool MacroLibrary::OpenSelected() {
  if (selected_ < 0 || selected_ >= static_cast<int>(names_.size())) return false;
  const std::u16string& name = names_[static_cast<std::size_t>(selected_)];
  auto data = ReadMacroFile(files_, messages_, MacroPath(folder_, name), name);
  if (!data) return false;
  current_ = name;
  settings_ = data->settings;
  list_.LoadBytes(data->bytes.data(), data->length);
  return true;
}

bool MacroLibrary::Save() {
  return WriteMacroFile(files_, messages_, MacroPath(folder_, current_), list_, settings_);
}

bool MacroLibrary::SaveAs() {
  auto path = prompts_.AskSavePath(current_);
  if (!path) return false;
  if (!WriteMacroFile(files_, messages_, *path, list_, settings_)) {
    messages_.ShowMessage(kMsgSaveScriptFailed);
    return false;
  }
  return true;
}

bool MacroLibrary::DeleteMacro() {
  if (current_.empty() || selected_ < 0 || selected_ >= static_cast<int>(names_.size()) ||
      names_[static_cast<std::size_t>(selected_)] != current_) {
    messages_.ShowMessage(kMsgNoSelectedItem);
    return false;
  }
  files_.RemoveFile(MacroPath(folder_, current_));
  names_.erase(names_.begin() + selected_);
  current_.clear();
  selected_ = -1;
  list_.ClearAll();
  return true;
}

}  // namespace halvard
