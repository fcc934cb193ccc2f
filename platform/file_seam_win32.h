// The file system on Windows.
#pragma once

#include "platform/file_seam.h"

namespace halvard {

class Win32Files : public FileSeam {
 public:
  bool CanOpenForReading(std::u16string_view path) override;
  std::u16string ProgramPath() override;
  std::u16string DocumentsFolder() override;
  bool CreateFolder(std::u16string_view path) override;
  std::vector<std::u16string> ListFiles(std::u16string_view folder) override;
  bool RemoveFile(std::u16string_view path) override;
  bool CopyNew(std::u16string_view from, std::u16string_view to) override;
  FileHandle Open(std::u16string_view path, FileMode mode) override;
  bool Seek(FileHandle file, std::uint64_t offset) override;
  std::size_t Read(FileHandle file, void* buffer, std::size_t bytes) override;
  bool Write(FileHandle file, const void* buffer, std::size_t bytes) override;
  void Close(FileHandle file) override;
};

}  // namespace halvard
