#include "platform/shell_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace halvard {

namespace {
std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
}  // namespace

bool Win32Shell::StartProcess(std::u16string_view program) {
  std::wstring path = W(program);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

bool Win32Shell::OpenDocument(std::u16string_view target) {
  std::wstring t = W(target);
  HINSTANCE r = ShellExecuteW(nullptr, L"open", t.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(r) > 32;
}

}  // namespace halvard
