// The shell on Windows: CreateProcessW, ShellExecuteW and the common file dialogs (comdlg32,
// loaded by name on first use).
#pragma once

#include "platform/shell.h"

namespace halvard {

class Win32Shell : public ShellSeam {
 public:
  bool StartProcess(std::u16string_view program) override;
  bool OpenDocument(std::u16string_view target) override;
  std::optional<std::u16string> ChooseFileToOpen(const FileDialogRequest& request) override;
  std::optional<std::u16string> ChooseFileToSave(const FileDialogRequest& request) override;
};

}  // namespace halvard
