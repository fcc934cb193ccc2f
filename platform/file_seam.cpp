#include "platform/file_seam.h"

#include <algorithm>
#include <cstring>

#include "platform/text.h"

namespace halvard {

std::size_t FileSeam::ReadFully(FileHandle file, void* buffer, std::size_t bytes) {
  auto* p = static_cast<std::uint8_t*>(buffer);
  std::size_t got = 0;
  while (got < bytes) {
    std::size_t r = Read(file, p + got, bytes - got);
    if (r == 0) break;
    got += r;
  }
  return got;
}

bool FileSeam::ReadFile(std::u16string_view path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes) {
  bytes.clear();
  FileHandle f = Open(path, FileMode::kRead);
  if (f == kNoFile) return false;
  std::uint8_t chunk[8192];
  while (bytes.size() < maxBytes) {
    std::size_t n = Read(f, chunk, std::min(sizeof chunk, maxBytes - bytes.size()));
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  Close(f);
  return true;
}

bool PathLess::operator()(const std::u16string& a, const std::u16string& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](char16_t x, char16_t y) { return AsciiLower(x) < AsciiLower(y); });
}

bool MemoryFiles::CopyNew(std::u16string_view from, std::u16string_view to) {
  auto src = files.find(std::u16string(from));
  if (src == files.end() || files.count(std::u16string(to)) != 0) return false;
  files[std::u16string(to)] = src->second;
  return true;
}

bool MemoryFiles::CanOpenForReading(std::u16string_view path) { return files.count(std::u16string(path)) != 0; }

bool MemoryFiles::CreateFolder(std::u16string_view path) {
  folders.insert(std::u16string(path));
  return true;
}

std::vector<std::u16string> MemoryFiles::ListFiles(std::u16string_view folder) {
  std::u16string prefix = std::u16string(folder) + u"\\";
  std::vector<std::u16string> names;
  for (const auto& [path, bytes] : files) {
    if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
    std::u16string rest = path.substr(prefix.size());
    if (rest.find(u'\\') == std::u16string::npos) names.push_back(rest);
  }
  return names;
}

const std::vector<std::uint8_t>* MemoryFiles::Get(std::u16string_view path) const {
  auto it = files.find(std::u16string(path));
  return it == files.end() ? nullptr : &it->second;
}

FileHandle MemoryFiles::Open(std::u16string_view path, FileMode mode) {
  std::u16string p(path);
  if (mode == FileMode::kCreate) {
    if (failCreate) return kNoFile;
    files[p].clear();
  } else if (files.count(p) == 0) {
    return kNoFile;
  }
  FileHandle h = next_++;
  open_[h] = {p, 0};
  return h;
}

bool MemoryFiles::Seek(FileHandle file, std::uint64_t offset) {
  auto it = open_.find(file);
  if (it == open_.end()) return false;
  it->second.pos = offset;
  return true;
}

std::size_t MemoryFiles::Read(FileHandle file, void* buffer, std::size_t bytes) {
  auto it = open_.find(file);
  if (it == open_.end()) return 0;
  const auto& data = files[it->second.path];
  if (it->second.pos >= data.size()) return 0;
  std::size_t n = std::min<std::size_t>(bytes, data.size() - it->second.pos);
  std::memcpy(buffer, data.data() + it->second.pos, n);
  it->second.pos += n;
  return n;
}

bool MemoryFiles::Write(FileHandle file, const void* buffer, std::size_t bytes) {
  auto it = open_.find(file);
  if (it == open_.end()) return false;
  if (failWritesAfter == 0) return false;
  if (failWritesAfter > 0) --failWritesAfter;
  auto& data = files[it->second.path];
  if (data.size() < it->second.pos + bytes) data.resize(it->second.pos + bytes);
  std::memcpy(data.data() + it->second.pos, buffer, bytes);
  it->second.pos += bytes;
  return true;
}

}  // namespace halvard
