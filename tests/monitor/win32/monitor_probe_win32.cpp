// The scenario's helper program. Started without arguments (as the monitor starts an assigned
// application) it writes "<its own path>.ran"; "post VALUE WPARAM" posts WM_COMMAND WPARAM to the
// window whose handle the registry value VALUE under "Software\Halvard" holds.
#include <windows.h>

#include <cwchar>
#include <string>

int wmain(int argc, wchar_t** argv) {
  if (argc == 1) {
    wchar_t self[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    const std::wstring marker = std::wstring(self) + L".ran";
    HANDLE f = CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return 1;
    SetFilePointer(f, 0, nullptr, FILE_END);
    DWORD written = 0;
    WriteFile(f, "ran\r\n", 5, &written, nullptr);
    CloseHandle(f);
    return 0;
  }
  if (argc == 4 && std::wcscmp(argv[1], L"post") == 0) {
    DWORD value = 0, size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Software\\Halvard", argv[2], RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
      return 2;
    HWND window = reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<LONG>(value)));
    return PostMessageW(window, WM_COMMAND, static_cast<WPARAM>(std::wcstoul(argv[3], nullptr, 0)), 0) ? 0 : 3;
  }
  return 2;
}
