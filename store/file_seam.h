// What the document lookup asks of the file system: can a path be opened for reading, and where
// does the running program live.
#pragma once

#include <set>
#include <string>
#include <string_view>

namespace halvard {

class FileSeam {
 public:
  virtual ~FileSeam() = default;
  virtual bool CanOpenForReading(std::u16string_view path) = 0;
  virtual std::u16string ProgramPath() = 0;  // full path of the running program's file
};

// Files that exist by name, for tests and the simulated demo.
class MemoryFiles : public FileSeam {
 public:
  bool CanOpenForReading(std::u16string_view path) override { return files.count(std::u16string(path)) != 0; }
  std::u16string ProgramPath() override { return programPath; }
  std::set<std::u16string> files;
  std::u16string programPath = u"C:\\Program Files\\Halvard\\Halvard.exe";
};

}  // namespace halvard
