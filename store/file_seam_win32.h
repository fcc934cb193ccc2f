// The file system on Windows.
#pragma once

#include "store/file_seam.h"

namespace halvard {

class Win32Files : public FileSeam {
 public:
  bool CanOpenForReading(std::u16string_view path) override;
  std::u16string ProgramPath() override;
};

}  // namespace halvard
