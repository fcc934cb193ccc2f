// The shell seam: starting a program, opening a document or web address with its handler, and
// the system's dialogs that choose a file to open or to save.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_services.h"

namespace halvard {

// What a file dialog starts with.
struct FileDialogRequest {
  Hwnd owner = nullptr;
  std::u16string filter;            // "Text|patterns|...||", pairs separated by '|'
  std::u16string fileName;          // first text of the name field
  std::u16string defaultExtension;  // empty: none
  std::u16string folder;            // empty: the dialog's own choice
};

class ShellSeam {
 public:
  virtual ~ShellSeam() = default;
  // A new process of the program file, without command line, in the default environment.
  virtual bool StartProcess(std::u16string_view program) = 0;
  // The "open" verb; false when the handler refused (a result of 32 or less).
  virtual bool OpenDocument(std::u16string_view target) = 0;
  // The file the user chose (full path), nothing when cancelled. The current folder of the
  // process stays as it was; saving asks before it names an existing file.
  virtual std::optional<std::u16string> ChooseFileToOpen(const FileDialogRequest&) { return std::nullopt; }
  virtual std::optional<std::u16string> ChooseFileToSave(const FileDialogRequest&) { return std::nullopt; }
};

// Keeps what it was asked to start or open; for tests.
class RecordingShell : public ShellSeam {
 public:
  bool StartProcess(std::u16string_view program) override {
    started.emplace_back(program);
    return startSucceeds;
  }
  bool OpenDocument(std::u16string_view target) override {
    opened.emplace_back(target);
    return openSucceeds;
  }
  // File dialogs take their answers in order from `choices` (cancelled when it runs out).
  std::optional<std::u16string> ChooseFileToOpen(const FileDialogRequest& r) override { return Choose(r); }
  std::optional<std::u16string> ChooseFileToSave(const FileDialogRequest& r) override { return Choose(r); }
  std::vector<std::u16string> started, opened;
  bool startSucceeds = true, openSucceeds = true;
  std::vector<FileDialogRequest> dialogs;
  std::deque<std::optional<std::u16string>> choices;

 private:
  std::optional<std::u16string> Choose(const FileDialogRequest& r) {
    dialogs.push_back(r);
    if (choices.empty()) return std::nullopt;
    auto c = choices.front();
    choices.pop_front();
    return c;
  }
};

}  // namespace halvard
