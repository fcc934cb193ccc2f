#include "platform/file_seam_win32.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

namespace halvard {
namespace {

std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
std::u16string U(const wchar_t* s) { return std::u16string(s, s + wcslen(s)); }
HANDLE H(FileHandle f) { return reinterpret_cast<HANDLE>(f); }

}  // namespace

bool Win32Files::CanOpenForReading(std::u16string_view path) {
  std::wstring p = W(path);
  HANDLE h = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

std::u16string Win32Files::ProgramPath() {
  wchar_t buf[MAX_PATH * 4] = {};
  DWORD n = GetModuleFileNameW(nullptr, buf, static_cast<DWORD>(std::size(buf)));
  if (n == 0 || n >= std::size(buf)) return {};
  return std::u16string(buf, buf + n);
}

std::u16string Win32Files::DocumentsFolder() {
  wchar_t buf[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, buf))) return {};
  return U(buf);
}

bool Win32Files::CreateFolder(std::u16string_view path) {
  std::wstring p = W(path);
  if (CreateDirectoryW(p.c_str(), nullptr)) return true;
  DWORD attrs = GetFileAttributesW(p.c_str());
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::u16string> Win32Files::ListFiles(std::u16string_view folder) {
  std::vector<std::u16string> names;
  std::wstring pattern = W(folder) + L"\\*";
  WIN32_FIND_DATAW data{};
  HANDLE h = FindFirstFileW(pattern.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(U(data.cFileName));
  } while (FindNextFileW(h, &data));
  FindClose(h);
  return names;
}

bool Win32Files::RemoveFile(std::u16string_view path) { return DeleteFileW(W(path).c_str()) != FALSE; }

bool Win32Files::CopyNew(std::u16string_view from, std::u16string_view to) {
  return CopyFileW(W(from).c_str(), W(to).c_str(), TRUE) != FALSE;
}

FileHandle Win32Files::Open(std::u16string_view path, FileMode mode) {
  DWORD access = mode == FileMode::kRead ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = mode == FileMode::kCreate ? CREATE_ALWAYS : OPEN_EXISTING;
  HANDLE h = CreateFileW(W(path).c_str(), access, FILE_SHARE_READ, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  return h == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(h);
}

bool Win32Files::Seek(FileHandle file, std::uint64_t offset) {
  LARGE_INTEGER li;
  li.QuadPart = static_cast<LONGLONG>(offset);
  return SetFilePointerEx(H(file), li, nullptr, FILE_BEGIN) != FALSE;
}

std::size_t Win32Files::Read(FileHandle file, void* buffer, std::size_t bytes) {
  DWORD n = 0;
  if (!::ReadFile(H(file), buffer, static_cast<DWORD>(bytes), &n, nullptr)) return 0;
  return n;
}

bool Win32Files::Write(FileHandle file, const void* buffer, std::size_t bytes) {
  DWORD n = 0;
  return WriteFile(H(file), buffer, static_cast<DWORD>(bytes), &n, nullptr) && n == bytes;
}

void Win32Files::Close(FileHandle file) {
  if (file != kNoFile) CloseHandle(H(file));
}

}  // namespace halvard
