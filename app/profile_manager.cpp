#include "app/profile_manager.h"

#include <algorithm>
#include <array>

#include "device/memory_map.h"
#include "ipc/messages.h"
#include "platform/text.h"
#include "store/profile_file.h"

namespace halvard {

namespace {

// Name used for the file while it is written; it does not end in "pf", so it is never a row.
constexpr std::u16string_view kPartSuffix = u".part";

bool SameFile(std::u16string_view a, std::u16string_view b) { return AsciiLower(a) == AsciiLower(b); }

bool EndsWithDotPf(std::u16string_view name) {
  return name.size() > 3 && AsciiLower(name.substr(name.size() - 3)) == u".pf";
}

// The last part of a path typed or chosen with either separator.
std::u16string_view LastPart(std::u16string_view path) {
  std::size_t cut = path.find_last_of(u"\\/");
  return cut == std::u16string_view::npos ? path : path.substr(cut + 1);
}

class QuietMessages : public MessageService {
 public:
  void ShowMessage(int, std::u16string_view) override {}
};

}  // namespace

std::u16string PmRowText(int n) {
  std::u16string text(17, u' ');
  if (n >= 0 && n < 10) text.push_back(u'0');
  AppendDecimal(text, n);
  return text;
}

std::u16string PmCopyName(std::u16string_view name, int attempt) {
  std::u16string copy = std::u16string(name) + u"_COPY";
  if (attempt > 0) AppendDecimal(copy, attempt - 1);
  return copy;
}

bool PmNameUsable(std::u16string_view name) {
  if (name.empty() || name.size() > static_cast<std::size_t>(kNameMaxChars)) return false;
  if (name.find(u"..") != std::u16string_view::npos) return false;
  for (char16_t c : name)
    if (c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos) return false;
  // The file system drops a trailing dot or space, so the file would not carry the name.
  if (name.back() == u'.' || name.back() == u' ') return false;
  // Device names open a device rather than a file, with any extension.
  std::u16string stem = AsciiLower(name.substr(0, name.find(u'.')));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  static constexpr std::array<std::u16string_view, 4> kDevices = {u"con", u"prn", u"aux", u"nul"};
  if (std::find(kDevices.begin(), kDevices.end(), stem) != kDevices.end()) return false;
  if (stem.size() == 4 && (stem.starts_with(u"com") || stem.starts_with(u"lpt")) && stem[3] >= u'1' && stem[3] <= u'9')
    return false;
  return true;
}

std::u16string PmFileForTypedName(std::u16string_view name) {
  return EndsWithDotPf(name) ? std::u16string(name) : std::u16string(name) + std::u16string(kProfileExtension);
}

ProfileManagerModel::ProfileManagerModel(PmDeps d, int profile)
    : tessel_(d.tessel),
      store_(d.store),
      files_(d.files),
      messages_(d.messages),
      windows_(d.windows),
      profile_(profile),
      folder_(DataFolder(d.files)) {}

std::u16string ProfileManagerModel::RowName(int row) const { return ProfileNameFromFile(RowFile(row)); }

int ProfileManagerModel::RowOf(std::u16string_view file) const {
  for (int i = 0; i < RowCount(); ++i)
    if (SameFile(rows_[static_cast<std::size_t>(i)], file)) return i;
  return -1;
}

void ProfileManagerModel::Open(int selectRow) {
  rows_.clear();
  for (auto& f : files_.ListFiles(folder_))
    if (IsProfileFileName(f) && RowOf(f) < 0) rows_.push_back(std::move(f));
  Select(selectRow == kPmSelectLast ? RowCount() - 1 : selectRow);
}

bool ProfileManagerModel::Reconcile() {
  const std::u16string selectedFile = selected_ >= 0 ? rows_[static_cast<std::size_t>(selected_)] : u"";
  const int selectedAt = selected_;
  std::vector<std::u16string> present;
  for (auto& f : files_.ListFiles(folder_))
    if (IsProfileFileName(f)) present.push_back(std::move(f));
  auto inFolder = [&](const std::u16string& file) {
    return std::any_of(present.begin(), present.end(), [&](const auto& p) { return SameFile(p, file); });
  };
  std::vector<std::u16string> kept;
  for (const auto& r : rows_)
    if (inFolder(r)) kept.push_back(r);
  bool changed = kept.size() != rows_.size();
  rows_ = std::move(kept);
  for (auto& p : present) {
    if (RowOf(p) >= 0) continue;
    rows_.push_back(std::move(p));
    changed = true;
  }
  if (!changed) return false;
  const int again = selectedFile.empty() ? -1 : RowOf(selectedFile);
  if (again >= 0) {
    selected_ = again;
  } else if (selectedAt >= 0 && RowCount() > 0) {
    selected_ = std::min(selectedAt, RowCount() - 1);
  } else {
    selected_ = -1;
  }
  RowsChanged();
  return true;
}

void ProfileManagerModel::Publish(Hwnd page) {
  store_.SetDword(kProfileManagerHandle, ValueFromHandle(page));
}

void ProfileManagerModel::Unpublish() { store_.SetDword(kProfileManagerHandle, 0xFFFFFFFFu); }

bool ProfileManagerModel::InformMain(std::uint32_t code, std::intptr_t value) {
  const std::int32_t handle = store_.GetDword(kProcessHandle);
  if (!HandleUsable(handle)) return false;
  return windows_.Post(HandleFromValue(handle), WM_INFORM_UI, code, value);
}

void ProfileManagerModel::RowsChanged() {
  InformMain(UI_PROFILE_FILES_CHANGED, 0);
  ++notices_;
}

bool ProfileManagerModel::Fail(int number, std::u16string_view extra) {
  messages_.ShowMessage(number, extra);
  Reconcile();
  return false;
}

// ---- New ---------------------------------------------------------------------------------------

bool ProfileManagerModel::RequestCreate(std::u16string_view typed, Hwnd page) {
  awaiting_ = false;
  std::u16string_view name = EndsWithDotPf(typed) ? typed.substr(0, typed.size() - 3) : typed;
  if (!PmNameUsable(name)) {
    messages_.ShowMessage(kMsgCantFindPath, typed);
    return false;
  }
  const std::u16string file = PmFileForTypedName(typed);
  if (Exists(file)) return Fail(kMsgMacroExists);
  // Without a main window no answer would ever come.
  if (!InformMain(UI_READ_PROFILE, static_cast<std::intptr_t>(reinterpret_cast<std::uintptr_t>(page)))) return false;
  pendingFile_ = file;
  awaiting_ = true;
  return true;
}

bool ProfileManagerModel::OnCreateAnswer(std::intptr_t answer) {
  if (!awaiting_) return false;
  awaiting_ = false;
  if (answer != 1) return false;
  if (!WriteNew(pendingFile_)) return false;
  if (RowOf(pendingFile_) < 0) rows_.push_back(pendingFile_);
  selected_ = RowOf(pendingFile_);
  RowsChanged();
  Reconcile();
  return true;
}

// The whole file is made first and written under a name that is never a row; only a complete
// file takes the profile's name, and only when no file has it.
bool ProfileManagerModel::WriteNew(std::u16string_view file) {
  const std::u16string path = PathOf(file);
  if (Exists(file)) return Fail(kMsgMacroExists);

  // The one writer of profile files renders the bytes into a scratch folder in memory.
  MemoryFiles scratch;
  QuietMessages quiet;
  ProfileFiles writer(tessel_, store_, scratch, quiet);
  const std::u16string scratchName = u"profile";
  const std::vector<std::uint8_t>* bytes =
      writer.CreateFile(profile_, scratchName) == 1 ? scratch.Get(ProfileFilePath(scratch, scratchName)) : nullptr;
  if (bytes == nullptr) return Fail(kMsgWriteFailed);

  const std::u16string part = path + std::u16string(kPartSuffix);
  FileHandle h = files_.Open(part, FileMode::kCreate);
  if (h == kNoFile) return Fail(kMsgCantFindPath, path);
  const bool written = files_.Write(h, bytes->data(), bytes->size());
  files_.Close(h);
  if (!written) {
    files_.RemoveFile(part);
    return Fail(kMsgWriteFailed);
  }
  const bool placed = files_.CopyNew(part, path);
  files_.RemoveFile(part);
  if (!placed) return Exists(file) ? Fail(kMsgMacroExists) : Fail(kMsgCantFindPath, path);
  return true;
}

// ---- Import and Export -------------------------------------------------------------------------

bool ProfileManagerModel::Import(std::u16string_view chosen) {
  const std::u16string file(LastPart(chosen));
  if (!IsProfileFileName(file)) return false;
  // Only a file the main window can load joins the folder.
  if (files_.CanOpenForReading(chosen) && !IsLoadableProfileFile(files_, chosen)) return Fail(kMsgBadFileFormat);
  if (!files_.CopyNew(chosen, PathOf(file)))
    return Exists(file) ? Fail(kMsgMacroExists) : Fail(kMsgCantFindPath, chosen);
  if (RowOf(file) < 0) rows_.push_back(file);
  RowsChanged();
  Reconcile();
  return true;
}

std::u16string ProfileManagerModel::ExportName() const {
  return selected_ < 0 ? std::u16string() : RowName(selected_) + std::u16string(kProfileExtension);
}

bool ProfileManagerModel::Export(std::u16string_view target) {
  if (selected_ < 0) return false;
  const std::u16string from = PathOf(RowFile(selected_));
  if (!files_.CanOpenForReading(from)) return Fail(kMsgCantFindPath, from);
  if (SameFile(from, target) || files_.CopyNew(from, target)) {  // SameFile: already there
    Reconcile();
    return true;
  }
  if (!files_.CanOpenForReading(target)) return Fail(kMsgCantFindPath, target);
  // Replacing: the new content is complete beside the old file before the old one goes.
  const std::u16string part = std::u16string(target) + std::u16string(kPartSuffix);
  files_.RemoveFile(part);
  if (!files_.CopyNew(from, part)) return Fail(kMsgWriteFailed);
  if (!files_.RemoveFile(target)) {
    files_.RemoveFile(part);
    return Fail(kMsgWriteFailed);
  }
  if (!files_.CopyNew(part, target)) return Fail(kMsgWriteFailed, part);  // the copy stays under `part`
  files_.RemoveFile(part);
  Reconcile();
  return true;
}

// ---- Delete, Rename, Copy ----------------------------------------------------------------------

bool ProfileManagerModel::Delete() {
  if (selected_ < 0) return false;
  const std::u16string file = RowFile(selected_);
  if (!files_.RemoveFile(PathOf(file))) {
    return Exists(file) ? Fail(kMsgWriteFailed) : Fail(kMsgCantFindPath, PathOf(file));
  }
  const int at = selected_;
  rows_.erase(rows_.begin() + at);
  selected_ = RowCount() == 0 ? -1 : std::min(at, RowCount() - 1);
  RowsChanged();
  Reconcile();
  return true;
}

// A file under another name, never replacing one. A change of case only goes through a third
// name, since the file system takes both names for the same file.
bool ProfileManagerModel::MoveFile(std::u16string_view from, std::u16string_view to) {
  const std::u16string a = PathOf(from), b = PathOf(to);
  if (!SameFile(from, to)) {
    if (!files_.CopyNew(a, b)) return false;
    if (files_.RemoveFile(a)) return true;
    files_.RemoveFile(b);
    return false;
  }
  const std::u16string part = a + std::u16string(kPartSuffix);
  files_.RemoveFile(part);
  if (!files_.CopyNew(a, part)) return false;
  if (!files_.RemoveFile(a)) {
    files_.RemoveFile(part);
    return false;
  }
  const bool moved = files_.CopyNew(part, b) || !files_.CopyNew(part, a);
  files_.RemoveFile(part);
  return moved && files_.CanOpenForReading(b);
}

bool ProfileManagerModel::Rename(std::u16string_view typed) {
  if (selected_ < 0) return false;
  const std::u16string old = RowFile(selected_);
  const std::u16string oldName = RowName(selected_);
  if (typed == oldName) return false;  // the same name touches nothing
  if (!PmNameUsable(typed)) {
    messages_.ShowMessage(kMsgCantFindPath, typed);
    return false;
  }
  const std::u16string renamed = std::u16string(typed) + std::u16string(kProfileExtension);
  if (!Exists(old)) return Fail(kMsgCantFindPath, PathOf(old));
  if (!SameFile(old, renamed) && Exists(renamed)) return Fail(kMsgMacroExists);
  if (!MoveFile(old, renamed)) return Fail(kMsgWriteFailed);
  rows_[static_cast<std::size_t>(selected_)] = renamed;
  RowsChanged();
  Reconcile();
  return true;
}

bool ProfileManagerModel::Copy() {
  if (selected_ < 0) return false;
  const std::u16string from = PathOf(RowFile(selected_));
  if (!files_.CanOpenForReading(from)) return Fail(kMsgCantFindPath, from);
  const std::u16string name = RowName(selected_);
  for (int attempt = 0; attempt < kPmCopyAttempts; ++attempt) {
    const std::u16string file = PmCopyName(name, attempt) + std::u16string(kProfileExtension);
    if (files_.CopyNew(from, PathOf(file))) {
      if (RowOf(file) < 0) rows_.push_back(file);
      RowsChanged();
      Reconcile();
      return true;
    }
    // Only a name that is taken moves on to the next one.
    if (!Exists(file)) return Fail(kMsgWriteFailed);
  }
  return Fail(kMsgMacroExists);
}

// ---- Set Active --------------------------------------------------------------------------------

std::optional<std::u16string> ProfileManagerModel::ActiveName() {
  if (selected_ < 0) return std::nullopt;
  const std::u16string file = RowFile(selected_);
  const std::u16string name = RowName(selected_);
  // The main window loads name + ".PF" after storing the name in the mouse (31 characters).
  if (!Exists(file)) {
    Fail(kMsgCantFindPath, PathOf(file));
    return std::nullopt;
  }
  if (name.empty() || name.size() > static_cast<std::size_t>(kNameMaxChars) || !EndsWithDotPf(file)) {
    messages_.ShowMessage(kMsgCantFindPath, PathOf(file));
    return std::nullopt;
  }
  Reconcile();
  return name;
}

}  // namespace halvard
