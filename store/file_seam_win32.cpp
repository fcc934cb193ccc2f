#include "store/file_seam_win32.h"

#include <windows.h>

#include <string>

namespace halvard {

bool Win32Files::CanOpenForReading(std::u16string_view path) {
  std::wstring p(path.begin(), path.end());
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

}  // namespace halvard
