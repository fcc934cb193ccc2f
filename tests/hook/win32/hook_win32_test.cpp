// The hook library as the monitor uses it: loaded by name, its exports found by their exact
// names, keys sent with SendInput through its keyboard hook to a published editor window, mouse
// events through its exported procedure, and its shared section seen from a second process.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "hook_module_win32.h"
#include "ipc/messages.h"
#include "platform/registry_seam_win32.h"
#include "platform/window_services.h"
#include "store/registry_store.h"

namespace halvard {
namespace {

constexpr WORD kMarkerKey = VK_F24;  // ends every key sequence; the library leaves it alone

HMODULE g_library = nullptr;
HHOOK g_witnessKeys = nullptr, g_witnessMouse = nullptr;
std::vector<std::uint32_t> g_keysThrough;    // vk | 0x80000000 on release
std::vector<WPARAM> g_mouseThrough;          // mouse messages
std::vector<std::uint32_t> g_editorGot;      // UI_RECORDED_KEY words

// Installed before the library, so called after its hook: sees what the library passed on.
LRESULT CALLBACK WitnessKeys(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) {
    auto* k = reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam);
    g_keysThrough.push_back(PackRecordedKey(k->vkCode, (k->flags & LLKHF_UP) != 0));
    if (k->vkCode == kMarkerKey) return 1;  // nobody else needs it
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WitnessMouse(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION) g_mouseThrough.push_back(wParam);
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK EditorProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INFORM_UI && wp == UI_RECORDED_KEY) {
    g_editorGot.push_back(static_cast<std::uint32_t>(lp));
    return 1;
  }
  return DefWindowProcW(w, msg, wp, lp);
}

class LibraryEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
    HMODULE self = GetModuleHandleW(nullptr);
    g_witnessKeys = SetWindowsHookExW(WH_KEYBOARD_LL, WitnessKeys, self, 0);
    g_witnessMouse = SetWindowsHookExW(WH_MOUSE_LL, WitnessMouse, self, 0);
    g_library = LoadLibraryA("HalvardHook.dll");
  }
  void TearDown() override {
    if (g_library) FreeLibrary(g_library);
    UnhookWindowsHookEx(g_witnessKeys);
    UnhookWindowsHookEx(g_witnessMouse);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Halvard");
  }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new LibraryEnvironment);

template <typename Fn>
Fn Export(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(g_library, name)));
}

HookSharedSection* Shared() {
  const IMAGE_SECTION_HEADER* s = FindSection(g_library, ".shared");
  return s ? SectionData<HookSharedSection>(g_library, s) : nullptr;
}

// Pumps this thread's messages (the hooks are called through them) until `done` or 5 s.
template <typename Done>
bool PumpUntil(Done done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < 5000) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  }
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  return done();
}

struct Key {
  WORD vk;
  bool up;
};

// Sends the keys and the marker, and waits until the marker has passed every hook.
void Type(std::vector<Key> keys) {
  keys.push_back({kMarkerKey, false});
  keys.push_back({kMarkerKey, true});
  std::vector<INPUT> in;
  for (const Key& k : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = k.vk;
    i.ki.dwFlags = k.up ? KEYEVENTF_KEYUP : 0;
    in.push_back(i);
  }
  g_keysThrough.clear();
  g_editorGot.clear();
  ASSERT_EQ(SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT)), in.size());
  ASSERT_TRUE(PumpUntil([] {
    return !g_keysThrough.empty() && g_keysThrough.back() == PackRecordedKey(kMarkerKey, true);
  })) << "the marker key never came through";
  g_keysThrough.resize(g_keysThrough.size() - 2);
}

std::uint32_t Down(std::uint32_t vk) { return PackRecordedKey(vk, false); }
std::uint32_t Up(std::uint32_t vk) { return PackRecordedKey(vk, true); }

// Windows keys, Ctrl+Esc, Alt+Tab (Alt pressed on its own key), Print Screen and plain keys.
const std::vector<Key> kTyping = {
    {VK_LWIN, false}, {VK_LWIN, true},        {'A', false},      {'A', true},
    {VK_LCONTROL, false}, {VK_ESCAPE, false}, {VK_ESCAPE, true}, {VK_LCONTROL, true},
    {VK_LMENU, false}, {VK_TAB, false},       {VK_TAB, true},    {VK_LMENU, true},
    {VK_SNAPSHOT, true}, {VK_RWIN, false},    {VK_RWIN, true},   {VK_ESCAPE, false}, {VK_ESCAPE, true},
};

class HookLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_NE(g_library, nullptr) << "HalvardHook.dll did not load";
    WNDCLASSW wc{};
    wc.lpfnWndProc = EditorProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"HalvardHookTestEditor";
    RegisterClassW(&wc);
    editor_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(editor_, nullptr);
  }
  void TearDown() override { DestroyWindow(editor_); }

  Win32Registry registry_;
  RegistryStore store_{registry_};
  HWND editor_ = nullptr;
};

TEST_F(HookLibrary, EveryExportIsFoundByItsExactName) {
  for (const char* name : {"_LLMouseProc@12", "_MouseProc@12", "LinkNextHook", "UnLinkHook", kHookCountExport,
                           "_ZN5CHookC1EPv", "_ZN5CHookD1Ev", "_ZN5CHook11LLMouseProcEiyx", "_ZN5CHook9MouseProcEiyx",
                           "_ZN5CHook12LinkNextHookEP7HHOOK__S1_", "_ZN5CHook10UnLinkHookEv",
                           "_ZN5CHook17m_LLKbdFilterProcEiyx", "_ZN5CHook11m_InformOSDEil",
                           "_ZN5CHook17m_InformMainFrameEil", "_ZN5CHook14m_InformUIEditEjl",
                           "_ZN5CHook16m_ProcessXButtonEm", "_ZN5CHook14m_ProcessWheelEm", "_ZN5CHook10m_LaunchAPEi",
                           "_ZN5CHook17m_ExecApplicationEPc", "_ZN5CHook16GetReport4FilterERh",
                           "_ZN5CHook16GetStatus4FilterEPh", "_ZN5CHook12GetOsVersionEv", "_ZN5CHook7IsWow64Ev"}) {
    EXPECT_NE(reinterpret_cast<void*>(GetProcAddress(g_library, name)), nullptr) << name;
  }
  // Nothing else: the plain four and the class.
  for (const std::string& name : ExportNames(g_library)) {
    bool plain = name == "_LLMouseProc@12" || name == "_MouseProc@12" || name == "LinkNextHook" || name == "UnLinkHook";
    EXPECT_TRUE(plain || name.rfind("_ZN5CHook", 0) == 0) << name;
  }
  EXPECT_EQ(*reinterpret_cast<unsigned*>(GetProcAddress(g_library, kHookCountExport)), 1u);
  // A second load in the same process attaches nothing more.
  HMODULE again = LoadLibraryA("HalvardHook.dll");
  EXPECT_EQ(again, g_library);
  FreeLibrary(again);
}

TEST_F(HookLibrary, SharedSectionIsEightSharedBytesHoldingTheKeyboardHook) {
  const IMAGE_SECTION_HEADER* s = FindSection(g_library, ".shared");
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->Misc.VirtualSize, 8u);
  const DWORD want = IMAGE_SCN_MEM_SHARED | IMAGE_SCN_MEM_READ | IMAGE_SCN_MEM_WRITE;
  EXPECT_EQ(s->Characteristics & want, want);
  EXPECT_NE(Shared()->keyboardHook, 0u);
}

TEST_F(HookLibrary, WhileRecordingSystemKeysReachTheEditorAndNotTheSystem) {
  store_.SetDword(kMacroEditHandle, ValueFromHandle(editor_));
  store_.SetDword(kMacroRecordStart, 1);
  Type(kTyping);
  const std::vector<std::uint32_t> recorded = {Down(VK_LWIN),   Up(VK_LWIN),   Down(VK_ESCAPE), Up(VK_ESCAPE),
                                               Down(VK_TAB),    Up(VK_TAB),    Up(VK_SNAPSHOT), Down(VK_RWIN),
                                               Up(VK_RWIN)};
  const std::vector<std::uint32_t> through = {Down('A'), Up('A'), Down(VK_LCONTROL), Up(VK_LCONTROL),
                                              Down(VK_LMENU), Up(VK_LMENU), Down(VK_ESCAPE), Up(VK_ESCAPE)};
  EXPECT_EQ(g_editorGot, recorded);
  EXPECT_EQ(g_keysThrough, through);
  store_.SetDword(kMacroRecordStart, 0);
}

TEST_F(HookLibrary, WithoutRecordingEveryKeyGoesThrough) {
  store_.SetDword(kMacroEditHandle, ValueFromHandle(editor_));
  for (std::uint32_t flag : {0u, 2u}) {
    store_.SetDword(kMacroRecordStart, flag);
    Type(kTyping);
    std::vector<std::uint32_t> all;
    for (const Key& k : kTyping) all.push_back(PackRecordedKey(k.vk, k.up));
    EXPECT_TRUE(g_editorGot.empty()) << flag;
    EXPECT_EQ(g_keysThrough, all) << flag;
  }
}

TEST_F(HookLibrary, MouseEventsPassThroughTheExportedProcedureUnchanged) {
  auto proc = Export<HOOKPROC>("_LLMouseProc@12");
  auto link = Export<void (*)(HHOOK, HHOOK)>("LinkNextHook");
  auto unlink = Export<void (*)()>("UnLinkHook");
  ASSERT_TRUE(proc && link && unlink);
  HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, proc, g_library, 0);
  ASSERT_NE(hook, nullptr);
  link(hook, nullptr);
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dx = 3;
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE;
  in[1].mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  in[1].mi.dwFlags = MOUSEEVENTF_WHEEL;
  g_mouseThrough.clear();
  ASSERT_EQ(SendInput(2, in, sizeof(INPUT)), 2u);
  EXPECT_TRUE(PumpUntil([] { return g_mouseThrough.size() >= 2; }));
  EXPECT_EQ(g_mouseThrough, (std::vector<WPARAM>{WM_MOUSEMOVE, WM_MOUSEWHEEL}));
  unlink();
  UnhookWindowsHookEx(hook);
}

// Last: the peer's exit removes the one keyboard hook, whichever process installed it.
TEST_F(HookLibrary, ASecondProcessSharesTheSectionAndInstallsNoSecondHook) {
  HookSharedSection* shared = Shared();
  ASSERT_NE(shared, nullptr);
  const std::uint32_t ours = shared->keyboardHook;
  ASSERT_NE(ours, 0u);

  wchar_t temp[MAX_PATH] = {}, exe[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  GetModuleFileNameW(nullptr, exe, MAX_PATH);
  std::wstring folder = exe;
  folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);
  const std::wstring log = std::wstring(temp) + L"halvard_hook_peer.log";
  DeleteFileW(log.c_str());
  HANDLE quit = CreateEventW(nullptr, TRUE, FALSE, L"HalvardHookPeerExit");
  std::wstring cmd = L"\"" + folder + L"hook_peer.exe\" \"" + log + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi));

  std::string line;
  for (int i = 0; i < 200 && line.find('\n') == std::string::npos; ++i) {
    Sleep(50);
    std::ifstream in(std::string(log.begin(), log.end()));
    std::stringstream text;
    text << in.rdbuf();
    line = text.str();
  }
  EXPECT_EQ(line, "hook=" + std::to_string(ours) + " count=1\n");
  EXPECT_EQ(shared->keyboardHook, ours);
  EXPECT_EQ(shared->wheelDelta, -1234);

  SetEvent(quit);
  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 10000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  CloseHandle(quit);
  EXPECT_EQ(shared->keyboardHook, 0u);
  shared->wheelDelta = 0;
}

}  // namespace
}  // namespace halvard
