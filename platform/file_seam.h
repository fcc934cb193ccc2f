// The file system as the suite uses it: probing and reading documents, the program's and the
// user's folders, and the random-access reads and writes of profile files.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace halvard {

using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

enum class FileMode {
  kRead,       // existing file, reading
  kReadWrite,  // existing file, reading and writing
  kCreate,     // create or truncate, reading and writing
};

class FileSeam {
 public:
  virtual ~FileSeam() = default;
  virtual bool CanOpenForReading(std::u16string_view path) = 0;
  virtual std::u16string ProgramPath() = 0;      // full path of the running program's file
  virtual std::u16string DocumentsFolder() = 0;  // the user's documents folder, no trailing "\"
  virtual bool CreateFolder(std::u16string_view path) = 0;  // true when it exists afterwards
  // Names (not paths) of the files in a folder; folders are not listed.
  virtual std::vector<std::u16string> ListFiles(std::u16string_view folder) = 0;
  virtual bool RemoveFile(std::u16string_view path) = 0;
  // Copies a file unchanged; fails when the target exists.
  virtual bool CopyNew(std::u16string_view from, std::u16string_view to) = 0;

  virtual FileHandle Open(std::u16string_view path, FileMode mode) = 0;
  virtual bool Seek(FileHandle file, std::uint64_t offset) = 0;
  // Bytes actually read (0 at the end or on failure).
  virtual std::size_t Read(FileHandle file, void* buffer, std::size_t bytes) = 0;
  // True only when every byte was written.
  virtual bool Write(FileHandle file, const void* buffer, std::size_t bytes) = 0;
  virtual void Close(FileHandle file) = 0;

  // Reads on until `bytes` arrived or the file ends; the count that arrived.
  std::size_t ReadFully(FileHandle file, void* buffer, std::size_t bytes);
  // A whole (small) file, at most `maxBytes` of it.
  bool ReadFile(std::u16string_view path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes);
};

// Paths compare without regard to ASCII case, as on the platform.
struct PathLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const;
};

// Files in memory, for tests and the simulated demo.
class MemoryFiles : public FileSeam {
 public:
  bool CanOpenForReading(std::u16string_view path) override;
  std::u16string ProgramPath() override { return programPath; }
  std::u16string DocumentsFolder() override { return documents; }
  bool CreateFolder(std::u16string_view path) override;
  std::vector<std::u16string> ListFiles(std::u16string_view folder) override;
  bool RemoveFile(std::u16string_view path) override { return files.erase(std::u16string(path)) != 0; }
  bool CopyNew(std::u16string_view from, std::u16string_view to) override;
  FileHandle Open(std::u16string_view path, FileMode mode) override;
  bool Seek(FileHandle file, std::uint64_t offset) override;
  std::size_t Read(FileHandle file, void* buffer, std::size_t bytes) override;
  bool Write(FileHandle file, const void* buffer, std::size_t bytes) override;
  void Close(FileHandle file) override { open_.erase(file); }

  void Put(std::u16string_view path, std::vector<std::uint8_t> bytes) { files[std::u16string(path)] = std::move(bytes); }
  const std::vector<std::uint8_t>* Get(std::u16string_view path) const;
  int OpenFiles() const { return static_cast<int>(open_.size()); }

  std::map<std::u16string, std::vector<std::uint8_t>, PathLess> files;
  std::set<std::u16string> folders;
  std::u16string programPath = u"C:\\Program Files\\Halvard\\Halvard.exe";
  std::u16string documents = u"C:\\Users\\gamer\\Documents";
  int failWritesAfter = -1;  // writes that still succeed; -1: all
  bool failCreate = false;

 private:
  struct Open_ {
    std::u16string path;
    std::uint64_t pos = 0;
  };
  std::map<FileHandle, Open_> open_;
  FileHandle next_ = 1;
};

}  // namespace halvard
