// The shell on Windows: CreateProcessW and ShellExecuteW.
#pragma once

#include "platform/shell.h"

namespace halvard {

class Win32Shell : public ShellSeam {
 public:
  bool StartProcess(std::u16string_view program) override;
  bool OpenDocument(std::u16string_view target) override;
};

}  // namespace halvard
