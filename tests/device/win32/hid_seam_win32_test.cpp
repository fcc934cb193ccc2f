// The HID seam against Wine's real hid.dll and setupapi.dll.
#include "device/hid_seam_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "device/hid_client.h"
#include "device/ic_tessel.h"
#include "platform/clock_win32.h"
#include "platform/message_box.h"
#include "platform/registry_seam_win32.h"

namespace halvard {
namespace {

TEST(Win32Hid, LoadsBothLibrariesByNameAndFindsEveryEntryPoint) {
  Win32Hid hid;
  EXPECT_TRUE(hid.Ready());
  ModuleHandle a = hid.LoadModule(HidModule::kHid);
  ModuleHandle b = hid.LoadModule(HidModule::kSetup);
  EXPECT_NE(a, nullptr);
  EXPECT_NE(b, nullptr);
  hid.UnloadModule(a);
  hid.UnloadModule(b);
  EXPECT_TRUE(hid.GetHidGuid() == kHidInterfaceClass);
}

TEST(Win32Hid, EnumeratesWhateverThePlatformPresents) {
  Win32Hid hid;
  for (const Guid& g : {kHidInterfaceClass, kMouseInterfaceClass}) {
    DeviceSet set = hid.GetClassDevs(g);
    ASSERT_NE(set, nullptr);
    char16_t path[510];
    for (std::uint32_t i = 0; i < 127 && hid.GetInterfacePath(set, g, i, path, 510); ++i) {
      EXPECT_GT(std::char_traits<char16_t>::length(path), 0u);
      DeviceHandle h = hid.Open(path, DeviceAccess::kNone);
      if (h == kInvalidDevice) continue;
      HidAttributes attrs;
      hid.GetAttributes(h, &attrs);
      EXPECT_TRUE(hid.Close(h));
    }
    hid.DestroyDeviceSet(set);
  }
}

TEST(Win32Hid, ClientBuildsTheEveryInterfaceTableInBothForms) {
  Win32Hid hid;
  RecordingMessageBox box;
  Win32Registry registry;
  auto wide = std::make_unique<CHidClient>(hid, box, registry);
  auto narrow = std::make_unique<CHidClientA>(hid, box, registry);
  ASSERT_TRUE(wide->LibrariesLoaded());
  int found = wide->CreateDeviceTable(0, 0, false);
  int n = wide->GetRecognizedDevices();
  EXPECT_EQ(found, n > 0 ? 1 : 0);
  EXPECT_LE(n, 127);
  EXPECT_TRUE(wide->InterfaceClass() == kHidInterfaceClass);
  for (int i = 0; i < n; ++i) {
    std::u16string id = wide->GetDeviceID(i);
    std::u16string expect = wide->Id2String(wide->GetDeviceVID(i), wide->GetDevicePID(i));
    EXPECT_EQ(id, expect);
    EXPECT_GT(std::u16string(wide->GetDeviceName(i)).size(), 0u);  // a name or the single space
  }
  narrow->CreateDeviceTable(0, 0, false);
  EXPECT_EQ(narrow->GetRecognizedDevices(), n);
  // The supported mouse is not attached under Wine.
  EXPECT_EQ(wide->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 0);
  EXPECT_TRUE(box.shown.empty());
  std::printf("HID interfaces seen: %d\n", n);
}

TEST(Win32Hid, ControllerFailsCleanlyOnAPathThatDoesNotExist) {
  Win32Hid hid;
  Win32Clock clock;
  auto t = std::make_unique<CIcTessel>(hid, clock);
  EXPECT_EQ(t->lastStatus(), kStatusLibrariesLoaded);
  EXPECT_EQ(t->OpenDevice(u"\\\\?\\hid#vid_2e4a&pid_1c07#none#{4d1e55b2-f16f-11cf-88cb-001111000030}"), 0);
  EXPECT_EQ(t->lastStatus(), kStatusOpenFailed);
}

LRESULT CALLBACK Quiet(HWND w, UINT m, WPARAM wp, LPARAM lp) { return DefWindowProcW(w, m, wp, lp); }

TEST(Win32Hid, RegistersAWindowForDeviceNotifications) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Quiet;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"HalvardNotifyTest";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  Win32Hid hid;
  RecordingMessageBox box;
  Win32Registry registry;
  auto c = std::make_unique<CHidClient>(hid, box, registry);
  ASSERT_EQ(c->RegisterNotify(w), 1);
  EXPECT_EQ(c->RecoverRegisterNotify(), 1);
  EXPECT_EQ(c->UnRegisterNotify(), 1);
  EXPECT_EQ(c->UnRegisterNotify(), 0);
  DestroyWindow(w);
}

}  // namespace
}  // namespace halvard
