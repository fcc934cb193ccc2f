// The hook library's exported class. One instance per process that loads the library; the
// low-level keyboard hook it installs is shared by all of them.
#pragma once

#include <windows.h>

#include <memory>

#ifdef HALVARD_HOOK_BUILD
#define HALVARD_HOOK_API __declspec(dllexport)
#else
#define HALVARD_HOOK_API __declspec(dllimport)
#endif

class HALVARD_HOOK_API CHook {
 public:
  explicit CHook(void* module);
  ~CHook();
  // One instance owns the process's registry key holder and next-hook handles.
  CHook(const CHook&) = delete;
  CHook& operator=(const CHook&) = delete;

  // Hook procedures take the pointer-wide parameters: lParam carries the event's address.
  LRESULT LLMouseProc(int code, WPARAM wParam, LPARAM lParam);
  LRESULT MouseProc(int code, WPARAM wParam, LPARAM lParam);
  void LinkNextHook(HHOOK llMouse, HHOOK mouse);
  void UnLinkHook();

  LRESULT m_LLKbdFilterProc(int code, WPARAM wParam, LPARAM lParam);
  int m_InformOSD(int wParam, long lParam);
  int m_InformMainFrame(int wParam, long lParam);
  int m_InformUIEdit(unsigned vk, long released);
  int m_ProcessXButton(unsigned long mouseData);
  int m_ProcessWheel(unsigned long mouseData);
  void m_LaunchAP(int code);
  int m_ExecApplication(char* path);

  static unsigned int m_HookCnt;

 protected:
  int GetReport4Filter(unsigned char& report);
  int GetStatus4Filter(unsigned char* status);
  unsigned short GetOsVersion();
  int IsWow64();

 private:
  struct Parts;

  HMODULE module_;
  std::unique_ptr<Parts> parts_;  // registry key holder, seams and the portable core
  HHOOK nextLLMouse_ = nullptr;
  HHOOK nextMouse_ = nullptr;
  unsigned short osCode_ = 0;
  BOOL(WINAPI* isWow64Process_)(HANDLE, PBOOL) = nullptr;
};
