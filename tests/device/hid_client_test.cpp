#include "device/hid_client.h"

#include <gtest/gtest.h>

#include <memory>

#include "device/simulated_hid.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

using Iface = SimulatedHid::Interface;

Iface Device(std::u16string path, std::uint16_t vid, std::uint16_t pid, std::uint16_t ver) {
  Iface i;
  i.path = std::move(path);
  i.attributes = {vid, pid, ver};
  i.product = u"Product " + i.path.substr(i.path.size() - 1);
  i.manufacturer = u"Maker";
  return i;
}

class HidClientTest : public ::testing::Test {
 protected:
  std::unique_ptr<CHidClient> NewClient() { return std::make_unique<CHidClient>(hid, box, registry); }
  std::u16string S(const char16_t* s) { return s == nullptr ? u"(null)" : std::u16string(s); }

  SimulatedHid hid;
  RecordingMessageBox box;
  MemoryRegistry registry;
};

TEST_F(HidClientTest, EmptyMachineGivesNoRowsAndEveryQueryItsNothingValue) {
  auto c = NewClient();
  EXPECT_EQ(c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 0);
  EXPECT_EQ(c->GetRecognizedDevices(), 0);
  for (int i : {-1, 0, 126, 127}) {
    EXPECT_EQ(c->GetDevice(i), nullptr);
    EXPECT_EQ(c->GetDeviceName(i), nullptr);
    EXPECT_EQ(c->GetVendorName(i), nullptr);
    EXPECT_EQ(c->GetDeviceID(i), nullptr);
    EXPECT_EQ(c->GetDeviceVID(i), 0xFFFF);
    EXPECT_EQ(c->GetDevicePID(i), 0xFFFF);
    EXPECT_EQ(c->GetDeviceVer(i), 0xFFFF);
  }
  EXPECT_EQ(c->Open(0), kInvalidDevice);
}

TEST_F(HidClientTest, SupportedMouseFilterTakesOnlyVersion2002AndSkipsCollectionThree) {
  hid.AddInterface(Device(u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_01&col01#a", 0x2E4A, 0x1C07, 0x2002));
  hid.AddInterface(Device(u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_01&col03#b", 0x2E4A, 0x1C07, 0x2002));
  hid.AddInterface(Device(u"\\\\?\\HID#VID_2E4A&PID_1C07&MI_01&COL03#c", 0x2E4A, 0x1C07, 0x2002));
  hid.AddInterface(Device(u"\\\\?\\hid#vid_2e4a&pid_1c07#d", 0x2E4A, 0x1C07, 0x2001));
  hid.AddInterface(Device(u"\\\\?\\hid#vid_046d&pid_c077#e", 0x046D, 0xC077, 0x2002));
  hid.AddInterface(Device(u"\\\\?\\hid#vid_2e4a&pid_1c08#f", 0x2E4A, 0x1C08, 0x2002));
  auto c = NewClient();
  ASSERT_EQ(c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 1);
  ASSERT_EQ(c->GetRecognizedDevices(), 1);
  EXPECT_EQ(S(c->GetDevice(0)), u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_01&col01#a");
  EXPECT_EQ(S(c->GetDeviceName(0)), u"Product a");
  EXPECT_EQ(S(c->GetVendorName(0)), u"Maker");
  EXPECT_EQ(S(c->GetDeviceID(0)), u"VID=2E4A, PID=1C07");
  EXPECT_EQ(c->GetDeviceVer(0), 0x2002);
  EXPECT_EQ(hid.OpenHandles(), 0);
  EXPECT_TRUE(c->InterfaceClass() == kMouseInterfaceClass);
}

TEST_F(HidClientTest, EachOverloadAppliesItsOwnFilter) {
  hid.AddInterface(Device(u"p1", 0x2E4A, 0x1C07, 0x2001));
  hid.AddInterface(Device(u"p2", 0x2E4A, 0x1C07, 0x20FF));
  hid.AddInterface(Device(u"p3", 0x2E4A, 0x1C07, 0x2002));
  hid.AddInterface(Device(u"p4&mi_01&col03", 0x2E4A, 0x1C07, 0x2002));
  hid.AddInterface(Device(u"p5", 0x1234, 0x5678, 0x2002));
  auto c = NewClient();
  auto rows = [&] {
    std::u16string s;
    for (int i = 0; i < c->GetRecognizedDevices(); ++i) s += S(c->GetDevice(i)).substr(0, 2);
    return s;
  };
  c->CreateDeviceTable(&kSupportedMouse, 1);
  EXPECT_EQ(rows(), u"p1p2p3");
  // Same high byte as the version argument, or within the bounds.
  c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002, 0x2001);
  EXPECT_EQ(rows(), u"p1p2p3");
  c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002, 0x3001);
  EXPECT_EQ(rows(), u"p3");
  const std::uint16_t versions[] = {0x2001, 0x2002};
  c->CreateDeviceTable(&kSupportedMouse, 1, versions, 2);
  EXPECT_EQ(rows(), u"p1p3");
  // Versions alone: every vendor, and collection-three paths too.
  c->CreateDeviceTable(versions, 2);
  EXPECT_EQ(rows(), u"p1p3p4p5");
  // (vid, pid, flag): the ids, collection three included.
  c->CreateDeviceTable(0x2E4A, 0x1C07, false);
  EXPECT_EQ(rows(), u"p1p2p3p4");
  EXPECT_TRUE(c->InterfaceClass() == kMouseInterfaceClass);
  EXPECT_EQ(c->CreateDeviceTable(0x2E4A, 0x9999, true), 0);
  EXPECT_EQ(rows(), u"");
}

TEST_F(HidClientTest, EveryInterfaceTableEnumeratesTheHidClass) {
  Iface keyboard = Device(u"kbd", 0x045E, 0x0750, 0x0100);
  keyboard.mouseClass = false;
  hid.AddInterface(keyboard);
  hid.AddInterface(Device(u"mouse", 0x2E4A, 0x1C07, 0x2002));
  auto c = NewClient();
  EXPECT_EQ(c->CreateDeviceTable(0, 0, false), 1);
  EXPECT_EQ(c->GetRecognizedDevices(), 2);
  EXPECT_TRUE(c->InterfaceClass() == kHidInterfaceClass);
  // With the flag set, vid = pid = 0 means every device of the mouse class.
  EXPECT_EQ(c->CreateDeviceTable(0, 0, true), 1);
  EXPECT_EQ(c->GetRecognizedDevices(), 1);
  EXPECT_TRUE(c->InterfaceClass() == kMouseInterfaceClass);
  // The two special ids enumerate the HID class.
  hid.AddInterface(Device(u"special", 0x0C45, 0x7500, 0x0001));
  hid.At(2).mouseClass = false;
  EXPECT_EQ(c->CreateDeviceTable(0x0C45, 0x7500, true), 1);
  EXPECT_TRUE(c->InterfaceClass() == kHidInterfaceClass);
}

TEST_F(HidClientTest, UnreadableDevicesAreSkippedAndUnreadableStringsBecomeASpace) {
  Iface closed = Device(u"closed", 0x2E4A, 0x1C07, 0x2002);
  closed.openable = false;
  Iface noAttributes = Device(u"noattr", 0x2E4A, 0x1C07, 0x2002);
  noAttributes.attributesReadable = false;
  Iface mute = Device(u"mute", 0x2E4A, 0x1C07, 0x2002);
  mute.product.reset();
  mute.manufacturer.reset();
  Iface chatty = Device(u"chatty", 0x2E4A, 0x1C07, 0x2002);
  chatty.product = std::u16string(200, u'N');
  for (auto& i : {closed, noAttributes, mute, chatty}) hid.AddInterface(i);
  auto c = NewClient();
  ASSERT_EQ(c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 1);
  ASSERT_EQ(c->GetRecognizedDevices(), 2);
  EXPECT_EQ(S(c->GetDeviceName(0)), u" ");
  EXPECT_EQ(S(c->GetVendorName(0)), u" ");
  // A 128-byte request holds 63 characters and the terminator.
  EXPECT_EQ(S(c->GetDeviceName(1)), std::u16string(63, u'N'));
}

TEST_F(HidClientTest, OnlyTheFirst127InterfacesAreExamined) {
  for (int i = 0; i < 140; ++i) {
    std::u16string path = u"dev";
    path += static_cast<char16_t>(u'A' + i / 26);
    path += static_cast<char16_t>(u'a' + i % 26);
    hid.AddInterface(Device(path, 0x2E4A, 0x1C07, 0x2002));
  }
  auto c = NewClient();
  ASSERT_EQ(c->CreateDeviceTable(&kSupportedMouse, 1), 1);
  EXPECT_EQ(c->GetRecognizedDevices(), 127);
  EXPECT_EQ(hid.ExaminedInterfaces(), 127);
  EXPECT_NE(c->GetDevice(126), nullptr);
  EXPECT_EQ(c->GetDevice(127), nullptr);
}

TEST_F(HidClientTest, MissingLibrariesOrDeviceSetGiveAnEmptyTable) {
  hid.AddInterface(Device(u"p", 0x2E4A, 0x1C07, 0x2002));
  hid.SetModuleMissing(HidModule::kHid, true);
  auto c = NewClient();
  EXPECT_FALSE(c->LibrariesLoaded());
  EXPECT_EQ(c->CreateDeviceTable(0, 0, false), 0);
  EXPECT_EQ(c->GetRecognizedDevices(), 0);
  // LoadDll loads the missing one but leaves the flag as construction found it.
  hid.SetModuleMissing(HidModule::kHid, false);
  EXPECT_EQ(c->LoadDll(), 1);
  EXPECT_EQ(c->CreateDeviceTable(0, 0, false), 0);

  auto d = NewClient();
  hid.FailClassDevs(true);
  EXPECT_EQ(d->CreateDeviceTable(0, 0, false), 0);
  hid.FailClassDevs(false);
  EXPECT_EQ(d->CreateDeviceTable(0, 0, false), 1);
}

TEST_F(HidClientTest, TransfersByRowBuildTheTableFirstAndReportAFailedOpen) {
  SimulatedMouse mouse;
  hid.AddInterface(SimulatedHid::MouseInterface(&mouse, u"mouse-path"));
  auto c = NewClient();
  std::uint8_t request[9] = {0, 0xDF, 186, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(c->Write(0, request, 9), 1);  // builds the every-interface table on the way
  EXPECT_EQ(c->GetRecognizedDevices(), 1);
  std::uint8_t reply[9] = {};
  EXPECT_EQ(c->Read(0, reply, 9), 1);
  EXPECT_EQ(reply[2], 0x6D);
  EXPECT_EQ(hid.LastAccess(), DeviceAccess::kWrite);
  EXPECT_EQ(c->Write(1, request, 9), 0);
  EXPECT_TRUE(box.shown.empty());

  mouse.Unplug();
  EXPECT_EQ(c->Write(0, request, 9), 0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, u"mouse-path");
  EXPECT_EQ(box.shown[0].caption, u"Open failed");
  EXPECT_EQ(hid.OpenHandles(), 0);
}

TEST_F(HidClientTest, InputReportsArriveThroughReadInputReportAndOpenHandles) {
  Iface i = Device(u"input", 0x2E4A, 0x1C07, 0x2002);
  i.inputReports = {{0xA4, 2, 1, 0}, {0xA4, 0, 3}};
  hid.AddInterface(i);
  auto c = NewClient();
  std::uint8_t buf[256] = {};
  std::uint32_t len = 2;
  ASSERT_EQ(c->ReadInputReport(0, buf, &len), 1);
  EXPECT_EQ(len, 2u);
  EXPECT_EQ(buf[0], 0xA4);
  EXPECT_EQ(hid.LastAccess(), DeviceAccess::kReadWrite);

  DeviceHandle h = c->Open(0);
  ASSERT_NE(h, kInvalidDevice);
  EXPECT_EQ(c->Read(h, buf), 3u);
  EXPECT_EQ(c->Read(h, buf), 0u);  // nothing more to read
  EXPECT_EQ(c->Close(h), 1);
  EXPECT_EQ(c->Close(kInvalidDevice), 0);
  EXPECT_EQ(c->Read(kInvalidDevice, buf), 0u);
}

TEST_F(HidClientTest, NotificationRegistrationLifecycle) {
  auto c = NewClient();
  auto w1 = reinterpret_cast<WindowHandle>(0x111);
  auto w2 = reinterpret_cast<WindowHandle>(0x222);
  EXPECT_EQ(c->UnRegisterNotify(), 0);  // none yet
  EXPECT_EQ(c->RecoverRegisterNotify(), 1);  // no window: nothing to do
  EXPECT_TRUE(hid.Registrations().empty());

  ASSERT_EQ(c->RegisterNotify(w1), 1);
  EXPECT_EQ(c->NotificationRecipient(), w1);
  ASSERT_EQ(hid.Registrations().size(), 1u);
  EXPECT_TRUE(hid.Registrations().begin()->second.interfaceClass == kMouseInterfaceClass);

  // Re-registering moves the registration but not the stored window.
  ASSERT_EQ(c->ReRegisterNotify(w2), 1);
  ASSERT_EQ(hid.Registrations().size(), 1u);
  EXPECT_EQ(hid.Registrations().begin()->second.window, w2);
  EXPECT_EQ(c->NotificationRecipient(), w1);

  // Recovering registers the stored window again, for the class of the last table build.
  hid.AddInterface(Device(u"x", 1, 2, 3));
  c->CreateDeviceTable(0, 0, false);
  ASSERT_EQ(c->RecoverRegisterNotify(), 1);
  ASSERT_EQ(hid.Registrations().size(), 1u);
  EXPECT_EQ(hid.Registrations().begin()->second.window, w1);
  EXPECT_TRUE(hid.Registrations().begin()->second.interfaceClass == kHidInterfaceClass);

  ASSERT_EQ(c->UnRegisterNotify(), 1);
  EXPECT_TRUE(hid.Registrations().empty());
  EXPECT_EQ(c->NotificationRecipient(), nullptr);
  EXPECT_EQ(c->UnRegisterNotify(), 0);

  hid.FailNotifications(true);
  EXPECT_EQ(c->RegisterNotify(w1), 0);
  EXPECT_EQ(c->NotificationRecipient(), nullptr);
}

TEST_F(HidClientTest, TableTextsForEveryType) {
  Iface a = Device(u"path-a", 0x2E4A, 0x1C07, 0x2002);
  a.product = u"Mouse";
  a.manufacturer = u"Vornex";
  hid.AddInterface(a);
  hid.AddInterface(Device(u"path-b", 0x00AB, 0x0001, 0x00FE));
  auto c = NewClient();
  c->CreateDeviceTable(0, 0, false);
  EXPECT_EQ(c->CurrentTableText(1), u"All Hid Interface:\npath-a\npath-b\n");
  EXPECT_EQ(c->CurrentTableText(2), u"All Hid Device:\nMouse\nProduct b\n");
  EXPECT_EQ(c->CurrentTableText(3), u"Device: VID=2E4A, PID=1C07\nDevice: VID=00AB, PID=0001\n");
  EXPECT_EQ(c->CurrentTableText(0), c->CurrentTableText(1) + c->CurrentTableText(2) + c->CurrentTableText(3));
  EXPECT_EQ(c->CurrentTableText(4),
            u"[0] Device: VID=2E4A, PID=1C07\n      Product=Mouse\n      Manufacture=Vornex\n"
            u"      VersionNumber=2002\n"
            u"[1] Device: VID=00AB, PID=0001\n      Product=Product b\n      Manufacture=Maker\n"
            u"      VersionNumber=fe\n");
  EXPECT_EQ(c->CurrentTableText(5), u"No Slection");
  c->ShowCurrentTable(3);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, u"HID DEVICE LIST");
  EXPECT_EQ(S(c->Id2String(0xABC, 0x12)), u"VID=0ABC, PID=0012");
}

TEST_F(HidClientTest, VendorListOfTheFamily) {
  EXPECT_EQ(CHidClient::IsPellorProduct(0x2E4A, 0), 1);
  EXPECT_EQ(CHidClient::IsPellorProduct(0x3B91, 0xFFFF), 1);
  EXPECT_EQ(CHidClient::IsPellorProduct(0x046D, 0x1C07), 0);
}

TEST_F(HidClientTest, ModifyDeviceRegistryRewritesEverySubKeyOfTheChosenBranch) {
  const std::u16string usb = u"SYSTEM\\CurrentControlSet\\Enum\\USB\\Vid_3b91&Pid_b602";
  RegKey k = nullptr;
  for (auto sub : {u"\\6&1a2b&0&1", u"\\6&1a2b&0&2"}) {
    ASSERT_EQ(registry.OpenKey(RegRoot::kLocalMachine, usb + sub, true, &k), 0);
    registry.CloseKey(k);
  }
  auto c = NewClient();
  EXPECT_EQ(c->ModifyDeviceRegistry(1), 0);  // the HID branch does not exist
  ASSERT_EQ(c->ModifyDeviceRegistry(0), 1);
  for (auto sub : {u"\\6&1a2b&0&1", u"\\6&1a2b&0&2"}) {
    for (auto name : {u"Mfg", u"DeviceDesc"}) {
      auto* v = registry.Find(RegRoot::kLocalMachine, usb + sub, name);
      ASSERT_NE(v, nullptr);
      EXPECT_EQ(v->type, kRegSz);
      ASSERT_GE(v->data.size(), 4u);
      EXPECT_EQ(v->data[v->data.size() - 1], 0);
      EXPECT_EQ(v->data[v->data.size() - 2], 0);
    }
  }
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(HidClientTest, CopiesCarryTheWholeTableAndTheirOwnLibraryReferences) {
  hid.AddInterface(Device(u"one", 0x2E4A, 0x1C07, 0x2002));
  auto c = NewClient();
  c->CreateDeviceTable(0, 0, false);
  {
    auto copy = std::make_unique<CHidClient>(*c);
    EXPECT_EQ(hid.LoadedModules(), 4);
    EXPECT_EQ(S(copy->GetDevice(0)), u"one");
    EXPECT_EQ(copy->GetDeviceVer(0), 0x2002);
    auto assigned = NewClient();
    *assigned = *copy;
    EXPECT_EQ(hid.LoadedModules(), 6);
    EXPECT_EQ(S(assigned->GetDeviceName(0)), u"Product e");
  }
  EXPECT_EQ(hid.LoadedModules(), 2);
}

// A rebuilt row holds the new name and nothing of a longer one before it.
TEST_F(HidClientTest, RowNamesEndAtTheirTerminatorAndTheRestIsClear) {
  Iface i = Device(u"one", 0x2E4A, 0x1C07, 0x2002);
  i.product = u"A rather long product name of the mouse";
  i.manufacturer = u"A rather long maker name";
  hid.AddInterface(i);
  auto c = NewClient();
  ASSERT_EQ(c->CreateDeviceTable(0, 0, false), 1);
  hid.At(0).product = u"Short";
  hid.At(0).manufacturer = u"M";
  ASSERT_EQ(c->CreateDeviceTable(0, 0, false), 1);
  for (const char16_t* row : {c->GetDeviceName(0), c->GetVendorName(0)}) {
    ASSERT_NE(row, nullptr);
    const std::u16string_view text(row);
    for (int k = static_cast<int>(text.size()); k < CHidClient::kNameChars; ++k)
      ASSERT_EQ(row[k], u'\0') << std::string(text.begin(), text.end()) << " at " << k;
  }
  EXPECT_EQ(S(c->GetDeviceName(0)), u"Short");
}

// The tables live on the heap: a local client costs little stack, and copies own their tables.
TEST_F(HidClientTest, TablesAreOnTheHeapAndCopiesOwnThem) {
  EXPECT_LT(sizeof(CHidClient), 4096u);
  EXPECT_LT(sizeof(CHidClientA), 4096u);
  hid.AddInterface(Device(u"one", 0x2E4A, 0x1C07, 0x2002));
  CHidClient local(hid, box, registry);
  ASSERT_EQ(local.CreateDeviceTable(0, 0, false), 1);
  CHidClient copy(local);
  hid.At(0).product = u"Changed";
  ASSERT_EQ(local.CreateDeviceTable(0, 0, false), 1);
  EXPECT_EQ(S(local.GetDeviceName(0)), u"Changed");
  EXPECT_EQ(S(copy.GetDeviceName(0)), u"Product e");
}

TEST_F(HidClientTest, NarrowFormKeepsTheLowByteOfEachCharacter) {
  Iface i = Device(u"\\\\?\\hid#vid_2e4a&pid_1c07#n", 0x2E4A, 0x1C07, 0x2002);
  i.product = u"Caf\u00e9 \u4e2d";
  hid.AddInterface(i);
  auto c = std::make_unique<CHidClientA>(hid, box, registry);
  ASSERT_EQ(c->CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 1);
  EXPECT_STREQ(c->GetDevice(0), "\\\\?\\hid#vid_2e4a&pid_1c07#n");
  EXPECT_EQ(std::string(c->GetDeviceName(0)), std::string("Caf\xe9 \x2d"));
  EXPECT_STREQ(c->GetDeviceID(0), "VID=2E4A, PID=1C07");
  EXPECT_EQ(c->CurrentTableText(3), "Device: VID=2E4A, PID=1C07\n");
  hid.At(0).openable = false;
  std::uint8_t r[9] = {};
  EXPECT_EQ(c->Read(0, r, 9), 0);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, u"Open failed");
}

}  // namespace
}  // namespace halvard
