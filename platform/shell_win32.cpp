#include "platform/shell_win32.h"

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <algorithm>
#include <cwchar>
#include <string>

namespace halvard {

namespace {
std::wstring W(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }

using FileDialogFn = BOOL(WINAPI*)(OPENFILENAMEW*);

// GetOpenFileNameW or GetSaveFileNameW from comdlg32, looked up once.
FileDialogFn DialogEntry(bool save) {
  static HMODULE library = LoadLibraryW(L"comdlg32.dll");
  static auto open = reinterpret_cast<FileDialogFn>(
      reinterpret_cast<void*>(library != nullptr ? GetProcAddress(library, "GetOpenFileNameW") : nullptr));
  static auto saveFn = reinterpret_cast<FileDialogFn>(
      reinterpret_cast<void*>(library != nullptr ? GetProcAddress(library, "GetSaveFileNameW") : nullptr));
  return save ? saveFn : open;
}

std::optional<std::u16string> RunFileDialog(const FileDialogRequest& r, bool save) {
  FileDialogFn run = DialogEntry(save);
  if (run == nullptr) return std::nullopt;
  std::wstring filter = W(r.filter);  // the dialogs want the pairs separated by zeros
  for (auto& c : filter)
    if (c == L'|') c = L'\0';
  filter.push_back(L'\0');
  std::wstring name(32768, L'\0');
  r.fileName.copy(reinterpret_cast<char16_t*>(name.data()), std::min<std::size_t>(r.fileName.size(), 1023));
  const std::wstring ext = W(r.defaultExtension), folder = W(r.folder);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = static_cast<HWND>(r.owner);
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name.data();
  ofn.nMaxFile = static_cast<DWORD>(name.size());
  ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR | OFN_EXPLORER |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!run(&ofn)) return std::nullopt;
  return std::u16string(name.c_str(), name.c_str() + wcslen(name.c_str()));
}
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

std::optional<std::u16string> Win32Shell::ChooseFileToOpen(const FileDialogRequest& request) {
  return RunFileDialog(request, false);
}

std::optional<std::u16string> Win32Shell::ChooseFileToSave(const FileDialogRequest& request) {
  return RunFileDialog(request, true);
}

}  // namespace halvard
