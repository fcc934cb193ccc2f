// Two real processes: the peer publishes its windows, this process sends through the registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "ipc/inform.h"
#include "platform/window_services_win32.h"
#include "platform/registry_seam_win32.h"
#include "store/registry_store.h"

namespace halvard {
namespace {

std::wstring HereFolder() {
  wchar_t buf[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, buf, MAX_PATH);
  std::wstring s = buf;
  return s.substr(0, s.find_last_of(L"\\/") + 1);
}

TEST(TwoProcesses, MessagesReachThePublishedWindowsByRouting) {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
  Win32Registry registry;
  RegistryStore store(registry);
  Win32WindowServices windows;

  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  std::wstring log = std::wstring(temp) + L"halvard_ipc_peer.log";
  DeleteFileW(log.c_str());
  std::wstring cmd = L"\"" + HereFolder() + L"ipc_peer.exe\" \"" + log + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));

  for (int i = 0; i < 200 && !HandleUsable(store.GetDword(kOsdHandle)); ++i) Sleep(50);
  ASSERT_TRUE(HandleUsable(store.GetDword(kOsdHandle))) << "the peer never published its windows";

  InformSender sender(store, windows);
  InformSender monitor(store, windows, InformSender::Check::kIsWindow);
  store.SetDword(kCurrentDialog, kRouteMainWindow);
  EXPECT_EQ(sender.m_InformMainFrame(UI_POLLING_RATE, 2), 1);
  EXPECT_EQ(sender.m_InformOSD(OSD_POLLING_RATE, 2), 1);
  store.SetDword(kCurrentDialog, kRouteConfigure);
  const std::uint32_t word = DpiStateWord{1, 3, false, 32, 32}.Pack();
  EXPECT_EQ(monitor.m_InformMainFrame(UI_DPI_STATE, word), 1);
  EXPECT_EQ(monitor.m_InformOSD(OSD_DPI_STATE, word), 1);
  for (std::int32_t code : {kRoutePrompt, kRouteProfileManager}) {
    store.SetDword(kCurrentDialog, static_cast<std::uint32_t>(code));
    EXPECT_EQ(sender.m_InformMainFrame(UI_LOCK, 1), 0);
    EXPECT_EQ(sender.m_InformOSD(OSD_LOCK, static_cast<std::intptr_t>(code)), 1);
  }
  // No macro editor: recorded keys go nowhere.
  EXPECT_EQ(sender.m_InformUIEdit(0x41, false), 0);

  windows.Post(HandleFromValue(store.GetDword(kProcessHandle)), kWmClose, 0, 0);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, 0u);

  std::ifstream in(std::string(log.begin(), log.end()));
  std::stringstream got;
  got << in.rdbuf();
  std::ostringstream want;
  want << "main 37121 8 2\n"
       << "osd 37120 8 2\n"
       << "configure 37121 0 " << word << "\n"
       << "osd 37120 0 " << word << "\n"
       << "osd 37120 7 4\n"
       << "osd 37120 7 5\n";
  EXPECT_EQ(got.str(), want.str());
  // The monitor's check now finds no window behind the stale handles.
  EXPECT_EQ(store.GetDword(kOsdHandle), 0);
  store.SetDword(kCurrentDialog, kRouteMainWindow);
  EXPECT_EQ(monitor.m_InformMainFrame(UI_LOCK, 1), 0);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
}

}  // namespace
}  // namespace halvard
