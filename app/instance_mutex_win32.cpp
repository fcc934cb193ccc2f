#include "app/instance_mutex_win32.h"

#include <windows.h>

#include <string>

namespace halvard {

bool Win32InstanceMutex::CreateOwned(std::u16string_view name) {
  Release();
  std::wstring n(name.begin(), name.end());
  handle_ = CreateMutexW(nullptr, TRUE, n.c_str());
  return handle_ != nullptr && GetLastError() == ERROR_ALREADY_EXISTS;
}

void Win32InstanceMutex::Release() {
  if (handle_ == nullptr) return;
  ReleaseMutex(static_cast<HANDLE>(handle_));
  CloseHandle(static_cast<HANDLE>(handle_));
  handle_ = nullptr;
}

}  // namespace halvard
