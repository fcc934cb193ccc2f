// The profile manager's decisions, apart from its window: the rows of the data folder's profile
// files, the names a user may type, and creating, importing, exporting, copying, renaming,
// deleting and activating profile files. Every operation ends with the rows equal to what the
// folder holds, whatever failed on the way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "device/ic_tessel.h"
#include "platform/file_seam.h"
#include "platform/message_service.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {

// Dialog template, pictures and controls.
inline constexpr int kPmTemplate = 703;
inline constexpr int kPmPicture = 143;
inline constexpr int kPmMenuPicture = 128;
inline constexpr int kPmNew = 1016;
inline constexpr int kPmImport = 1017;
inline constexpr int kPmExport = 1018;
inline constexpr int kPmDelete = 1019;
inline constexpr int kPmApply = 1020;
inline constexpr int kPmList = 1735;
inline constexpr int kPmRenameField = 1737;
// Right-click menu commands, top to bottom.
inline constexpr int kPmMenuRename = 12288;
inline constexpr int kPmMenuCopy = 12289;
inline constexpr int kPmMenuSetActive = 12290;
inline constexpr int kPmMenuRows = 3;

inline constexpr int kPmProfileColumnWidth = 124;
inline constexpr int kPmNameColumnWidth = 383;
inline constexpr int kPmSelectLast = -2;
inline constexpr std::size_t kPmRenameChars = 258;
inline constexpr int kPmCopyAttempts = 100;
inline constexpr std::u16string_view kPmFileFilter = u"Mouse Profile Files (*.pf)|*.pf|All Files (*.*)|*.*||";

// The "Profile" column of row n (1-based): 17 spaces and at least two digits.
std::u16string PmRowText(int n);
// The name of copy attempt `attempt` (0-99): name_COPY, then name_COPY0 to name_COPY98.
std::u16string PmCopyName(std::u16string_view name, int attempt);
// A typed profile name is usable as a file name in the data folder and as the mouse's profile
// name: not empty, no path separator, drive colon or "..", no character the file system refuses,
// no trailing dot or space, no device name, at most 31 characters.
bool PmNameUsable(std::u16string_view name);
// The file a typed name becomes: the name and ".PF", or the name itself when it already ends in
// ".pf" in any case.
std::u16string PmFileForTypedName(std::u16string_view name);

struct PmDeps {
  CIcTessel& tessel;
  RegistryStore& store;
  FileSeam& files;
  MessageService& messages;
  WindowServices& windows;
};

class ProfileManagerModel {
 public:
  ProfileManagerModel(PmDeps deps, int profile);

  // The rows of the folder in its order; `selectRow` or the last one (kPmSelectLast) selected.
  void Open(int selectRow = kPmSelectLast);
  int RowCount() const { return static_cast<int>(rows_.size()); }
  std::u16string RowName(int row) const;
  const std::u16string& RowFile(int row) const { return rows_[static_cast<std::size_t>(row)]; }
  int Selected() const { return selected_; }
  void Select(int row) { selected_ = row >= 0 && row < RowCount() ? row : -1; }
  std::u16string Folder() const { return folder_; }

  // "Profile Manager Handle": the page while it is open, -1 once it closes by OK or CANCEL.
  void Publish(Hwnd page);
  void Unpublish();

  // New, after the name prompt's OK: a usable name that no file has yet is held and the main
  // window asked to read the profile back (word 11 with the page). False when nothing was asked
  // (the name was refused, or no main window to ask): the buttons come back at once.
  bool RequestCreate(std::u16string_view typed, Hwnd page);
  bool AwaitingAnswer() const { return awaiting_; }
  // The main window's answer: 1 creates the file from the profile, 0 nothing. An answer that
  // nothing asked for is ignored. True when a file was created.
  bool OnCreateAnswer(std::intptr_t answer);

  // Import of a file chosen anywhere: a profile file is copied into the folder under its own
  // name (never replacing one) and listed.
  bool Import(std::u16string_view chosen);
  // The save dialog's first name for the selected row; empty without a selection.
  std::u16string ExportName() const;
  // The selected row's file to `target`, replacing what is there.
  bool Export(std::u16string_view target);
  // The selected row's file removed; the next row (or the previous one) becomes selected.
  bool Delete();
  // The selected row renamed to `typed` (a different name only); its file follows.
  bool Rename(std::u16string_view typed);
  // A copy of the selected row's file under the first free copy name.
  bool Copy();
  // The selected row's name for the main window to load into the profile; nothing when there is
  // no row or its file cannot be loaded by that name.
  std::optional<std::u16string> ActiveName();

  // Rows for files that went, new rows for files that came; word 10 when the rows changed.
  bool Reconcile();

  // Word 10 sent to the main window since the last call.
  int TakeChangeNotices() {
    int n = notices_;
    notices_ = 0;
    return n;
  }

 private:
  std::u16string PathOf(std::u16string_view file) const { return folder_ + u"\\" + std::u16string(file); }
  int RowOf(std::u16string_view file) const;
  bool Exists(std::u16string_view file) { return files_.CanOpenForReading(PathOf(file)); }
  bool InformMain(std::uint32_t code, std::intptr_t value);
  void RowsChanged();
  bool WriteNew(std::u16string_view file);
  bool MoveFile(std::u16string_view from, std::u16string_view to);
  // A failed file operation: message `number` (with `extra`), then the rows follow the folder.
  bool Fail(int number, std::u16string_view extra = {});

  CIcTessel& tessel_;
  RegistryStore& store_;
  FileSeam& files_;
  MessageService& messages_;
  WindowServices& windows_;
  int profile_;
  std::u16string folder_;
  std::vector<std::u16string> rows_;  // file names, as the folder spells them
  int selected_ = -1;
  bool awaiting_ = false;
  std::u16string pendingFile_;
  int notices_ = 0;
};

}  // namespace halvard
