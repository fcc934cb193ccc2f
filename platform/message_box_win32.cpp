#include "platform/message_box_win32.h"

#include <windows.h>

#include <string>

namespace halvard {

void Win32MessageBox::Show(std::u16string_view text, std::u16string_view caption) {
  std::wstring t(text.begin(), text.end()), c(caption.begin(), caption.end());
  MessageBoxW(nullptr, t.c_str(), c.c_str(), MB_OK);
}

void Win32MessageBox::Show(std::string_view text, std::string_view caption) {
  std::string t(text), c(caption);
  MessageBoxA(nullptr, t.c_str(), c.c_str(), MB_OK);
}

void Win32MessageBox::ShowStop(std::u16string_view text, std::u16string_view caption) {
  std::wstring t(text.begin(), text.end()), c(caption.begin(), caption.end());
  MessageBoxW(nullptr, t.c_str(), c.c_str(), MB_OK | MB_ICONSTOP | MB_TOPMOST);
}

}  // namespace halvard
