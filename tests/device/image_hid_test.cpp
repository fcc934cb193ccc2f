#include "device/image_hid.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "device/hid_client.h"
#include "device/ic_tessel.h"
#include "device/memory_map.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

namespace fs = std::filesystem;

class ImageHidTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::path d = fs::temp_directory_path() / ("halvard-imagehid-" + std::to_string(std::random_device{}()));
    ASSERT_TRUE(fs::create_directory(d));
    dir = d.string();
    image = dir + "/mouse.img";
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Image(int n) const { return n == 1 ? image : dir + "/mouse-" + std::to_string(n) + ".img"; }
  void MakeImage(const std::string& path, std::uint16_t version = 0x2002, bool plugged = true) {
    SimulatedMouse m(nullptr, version);
    m.SetCell(0x1234, 0x5A);
    if (!plugged) m.Unplug();
    ASSERT_TRUE(m.SaveImage(path));
  }
  // What simmouse plug/unplug does.
  void SetPlugged(const std::string& path, bool plugged) {
    SimulatedMouse m;
    ASSERT_TRUE(m.LoadImage(path));
    plugged ? m.Plug() : m.Unplug();
    ASSERT_TRUE(m.SaveImage(path));
  }
  SimulatedMouse Stored(const std::string& path) {
    SimulatedMouse m;
    EXPECT_TRUE(m.LoadImage(path));
    return m;
  }
  void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  // A reserved header byte that every rewrite of the image clears: set, it shows the file untouched.
  void MarkFile(const std::string& path) {
    std::fstream f(path, std::ios::binary | std::ios::in | std::ios::out);
    f.seekp(15);
    f.put('\xEE');
  }
  bool Marked(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    f.seekg(15);
    return f.get() == 0xEE;
  }

  // One "process": its own seam and controller on the same image.
  struct Process {
    Process(const std::string& image, VirtualClock& clock) : hid(image, clock), tessel(hid, clock) {
      tessel.Reset();
      tessel.setDeviceType(kDeviceType2002);
      tessel.SetDevicePath(hid.InterfacePath(0));
    }
    ImageHid hid;
    CIcTessel tessel;
  };

  std::string dir, image;
  VirtualClock clock;
};

TEST_F(ImageHidTest, CellsWrittenByOneProcessAreReadByAnotherAndOnlyChangesRewriteTheImage) {
  MakeImage(image);
  Process a(image, clock), b(image, clock);
  ASSERT_EQ(a.tessel.CheckIdentity(), 1);

  MarkFile(image);
  std::uint8_t v = 0;
  ASSERT_EQ(a.tessel.ReadByte(0x1234, &v), 1);
  EXPECT_EQ(v, 0x5A);
  int present = 0, revision = -1;
  ASSERT_EQ(a.tessel.QueryRevision(&present, &revision), 1);  // the reply is kept between the reports
  EXPECT_EQ(revision, 1);
  EXPECT_TRUE(Marked(image));  // reads and queries leave the file as it is

  ASSERT_EQ(a.tessel.WriteByte(0x3B00, 0x07), 1);
  ASSERT_EQ(a.tessel.SendCommand(kCmdSelectProfile, 3, 0), 1);
  EXPECT_FALSE(Marked(image));
  ASSERT_EQ(b.tessel.ReadByte(0x3B00, &v), 1);
  EXPECT_EQ(v, 0x07);
  ASSERT_EQ(b.tessel.ReadByte(kCellActiveProfile, &v), 1);
  EXPECT_EQ(v & 0x07, 3);

  ASSERT_EQ(b.tessel.WriteByte(0x20, 0x99), 1);
  ASSERT_EQ(a.tessel.ReadByte(0x20, &v), 1);
  EXPECT_EQ(v, 0x99);
  SimulatedMouse stored = Stored(image);
  EXPECT_EQ(stored.Cell(0x20), 0x99);
  EXPECT_EQ(stored.Cell(0x1234), 0x5A);
  EXPECT_TRUE(stored.Present());
  EXPECT_FALSE(fs::exists(image + ".tmp"));
  EXPECT_EQ(clock.TotalSlept(), 0u);
}

TEST_F(ImageHidTest, DeviceTableListsOnePresentImagePerRowInBothForms) {
  MakeImage(Image(1), 0x2002);
  MakeImage(Image(2), 0x2001);
  MakeImage(Image(4), 0x2002, false);   // unplugged
  WriteText(Image(5), "not an image");  // does not decode
  MakeImage(Image(7), 0x2002);          // 3 is missing: later images still count
  MakeImage(dir + "/mouse-10.img");     // beyond the nine
  ImageHid hid(image, clock);
  RecordingMessageBox box;
  MemoryRegistry registry;
  // The clients' tables are too big for a test's stack.
  auto widePtr = std::make_unique<CHidClient>(hid, box, registry);
  auto narrowPtr = std::make_unique<CHidClientA>(hid, box, registry);
  CHidClient& wide = *widePtr;
  CHidClientA& narrow = *narrowPtr;

  ASSERT_EQ(wide.CreateDeviceTable(&kSupportedMouse, 1), 1);
  ASSERT_EQ(wide.GetRecognizedDevices(), 3);
  const std::uint16_t versions[] = {0x2002, 0x2001, 0x2002};
  const int numbers[] = {1, 2, 7};
  for (int row = 0; row < 3; ++row) {
    std::u16string path = u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_00#sim&" + std::u16string(1, static_cast<char16_t>(u'0' + numbers[row])) +
                          u"#{4d1e55b2-f16f-11cf-88cb-001111000030}";
    EXPECT_EQ(std::u16string(wide.GetDevice(row)), path);
    EXPECT_EQ(std::u16string(wide.GetDeviceName(row)), u"Halvard Gaming Mouse");
    EXPECT_EQ(std::u16string(wide.GetVendorName(row)), u"Vornex");
    EXPECT_EQ(std::u16string(wide.GetDeviceID(row)), u"VID=2E4A, PID=1C07");
    EXPECT_EQ(wide.GetDeviceVer(row), versions[row]);
  }
  ASSERT_EQ(narrow.CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 1);
  ASSERT_EQ(narrow.GetRecognizedDevices(), 2);
  EXPECT_EQ(std::string(narrow.GetDevice(1)), "\\\\?\\hid#vid_2e4a&pid_1c07&mi_00#sim&7#{4d1e55b2-f16f-11cf-88cb-001111000030}");
  EXPECT_EQ(std::string(narrow.GetDeviceName(1)), "Halvard Gaming Mouse");
  // The every-interface table enumerates the HID class and finds the same mice.
  ASSERT_EQ(wide.CreateDeviceTable(0, 0, false), 1);
  EXPECT_EQ(wide.GetRecognizedDevices(), 3);

  // Opening: paths without regard to case, present mice only; no input reports in this mode.
  DeviceHandle h = hid.Open("\\\\?\\HID#VID_2E4A&PID_1C07&MI_00#SIM&2#{4D1E55B2-F16F-11CF-88CB-001111000030}",
                            DeviceAccess::kWrite);
  ASSERT_NE(h, kInvalidDevice);
  std::uint8_t buf[16];
  std::uint32_t read = 0;
  EXPECT_FALSE(hid.ReadInput(h, buf, sizeof buf, &read));
  EXPECT_TRUE(hid.Close(h));
  EXPECT_FALSE(hid.Close(h));
  EXPECT_EQ(hid.Open(hid.InterfacePath(3).c_str(), DeviceAccess::kWrite), kInvalidDevice);  // unplugged
  EXPECT_EQ(hid.Open(hid.InterfacePath(2).c_str(), DeviceAccess::kWrite), kInvalidDevice);  // missing
  EXPECT_EQ(hid.Open(u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_00#sim&1#", DeviceAccess::kWrite), kInvalidDevice);
}

TEST_F(ImageHidTest, PlugFlagAndImagesComingAndGoingGiveNoticesInImageOrder) {
  MakeImage(image);
  Process p(image, clock);
  int token = 0;
  NotifyHandle reg = p.hid.RegisterNotify(&token, kHidInterfaceClass);
  ASSERT_NE(reg, nullptr);
  EXPECT_EQ(p.hid.NotifiedWindows(), std::vector<WindowHandle>{&token});
  EXPECT_TRUE(p.hid.PollNotices().empty());  // baseline

  SetPlugged(image, false);
  std::vector<DeviceNotice> n = p.hid.PollNotices();
  ASSERT_EQ(n.size(), 1u);
  EXPECT_FALSE(n[0].arrival);
  EXPECT_EQ(n[0].image, image);
  std::uint8_t v = 0;
  EXPECT_EQ(p.tessel.ReadByte(0x1234, &v), 0);
  EXPECT_EQ(p.tessel.lastStatus(), kStatusOpenFailed);
  EXPECT_EQ(p.tessel.WriteByte(0x1234, 1), 0);
  EXPECT_TRUE(p.hid.PollNotices().empty());

  MakeImage(Image(2));
  SetPlugged(image, true);
  n = p.hid.PollNotices();
  ASSERT_EQ(n.size(), 2u);
  EXPECT_TRUE(n[0].arrival && n[1].arrival);
  EXPECT_EQ(n[0].image, image);
  EXPECT_EQ(n[1].image, Image(2));
  ASSERT_EQ(p.tessel.ReadByte(0x1234, &v), 1);  // the flag left the cells alone
  EXPECT_EQ(v, 0x5A);

  fs::remove(Image(2));
  n = p.hid.PollNotices();
  ASSERT_EQ(n.size(), 1u);
  EXPECT_FALSE(n[0].arrival);
  EXPECT_EQ(n[0].image, Image(2));

  EXPECT_TRUE(p.hid.UnregisterNotify(reg));
  EXPECT_FALSE(p.hid.UnregisterNotify(reg));
  EXPECT_TRUE(p.hid.NotifiedWindows().empty());
  EXPECT_EQ(p.hid.RegisterNotify(nullptr, kHidInterfaceClass), nullptr);
}

TEST_F(ImageHidTest, EachFaultLineDoesWhatItSays) {
  struct Case {
    const char* faults;
    bool write;
    int address;
    bool ok;
    int status;                // lastStatus after a failure
    std::uint64_t slept;       // on the virtual clock
    const char* faultsAfter;   // contents of the fault file afterwards, null: no file
  };
  const std::uint64_t kGiveUp = kTransferAttempts * 2u * kRetryPauseMs;  // each failure pauses twice
  const Case cases[] = {
      {"fail-read-from 256\n", false, 255, true, 0, 0, "fail-read-from 256\n"},
      {"fail-read-from 256\n", false, 256, false, kStatusGetFeatureFailed, kGiveUp, "fail-read-from 256\n"},
      {"fail-read-from 256\n", true, 300, true, 0, 0, "fail-read-from 256\n"},
      {"fail-write-from 0x100\n", true, 0xFF, true, 0, 0, "fail-write-from 256\n"},
      {"fail-write-from 0x100\n", true, 0x100, false, kStatusSetFeatureFailed, kGiveUp, "fail-write-from 256\n"},
      {"fail-write-from 0x100\n", false, 0x100, true, 0, 0, "fail-write-from 256\n"},
      {"latency 7\r\n", false, 10, true, 0, 2 * 7, "latency 7\n"},
      {"latency 7\n", true, 10, true, 0, 7, "latency 7\n"},
      {"vanish-after 5\n", false, 10, true, 0, 0, "vanish-after 3\n"},
      {"vanish-after 2\n", false, 10, true, 0, 0, nullptr},  // the second report was the last
      {"vanish-after 1\nlatency 3\n", false, 10, false, kStatusOpenFailed, 3 + kTransferAttempts * kRetryPauseMs,
       "latency 3\n"},
      {"vanish-after 0\n", true, 10, false, kStatusOpenFailed, kTransferAttempts * kRetryPauseMs, nullptr},
      {"latency\nlatency -1\nlatency 99999\nfail-read-from\nbogus 5\nfail-read-from 1 2\n", false, 10, true, 0, 0,
       ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.faults) + (c.write ? " write " : " read ") + std::to_string(c.address));
    MakeImage(image);
    WriteText(FaultsPathOf(image), c.faults);
    clock.ResetCounters();
    Process p(image, clock);
    std::uint8_t v = 0;
    int ok = c.write ? p.tessel.WriteByte(c.address, 0x77) : p.tessel.ReadByte(c.address, &v);
    EXPECT_EQ(ok, c.ok ? 1 : 0);
    if (!c.ok) {
      EXPECT_EQ(p.tessel.lastStatus(), c.status);
    }
    EXPECT_EQ(clock.TotalSlept(), c.slept);
    SimulatedMouse stored = Stored(image);
    if (c.write) {
      EXPECT_EQ(stored.Cell(c.address), c.ok ? 0x77 : SimulatedMouse().Cell(c.address));
    }
    {
      std::ifstream f(FaultsPathOf(image), std::ios::binary);
      if (c.faultsAfter == nullptr) {
        EXPECT_FALSE(f.good());
      } else {
        std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        // Untouched files keep their own spelling; rewritten ones are formatted.
        EXPECT_EQ(ParseImageFaults(text), ParseImageFaults(c.faultsAfter));
      }
    }
    bool vanished = std::string(c.faults).find("vanish-after") != std::string::npos &&
                    std::string(c.faults).find("vanish-after 5") == std::string::npos;
    EXPECT_EQ(stored.Present(), !vanished);
    fs::remove(FaultsPathOf(image));
  }
}

TEST_F(ImageHidTest, VanishCountHoldsAcrossProcesses) {
  MakeImage(image);
  WriteText(FaultsPathOf(image), "vanish-after 4\nfail-write-from 0x3000\n");
  Process a(image, clock), b(image, clock);
  EXPECT_TRUE(b.hid.PollNotices().empty());
  std::uint8_t v = 0;
  ASSERT_EQ(a.tessel.ReadByte(1, &v), 1);  // two reports
  EXPECT_EQ(ReadImageFaults(image).vanishAfter, 2);
  ASSERT_EQ(b.tessel.WriteByte(2, 5), 1);
  EXPECT_EQ(ReadImageFaults(image).vanishAfter, 1);
  EXPECT_TRUE(b.hid.PollNotices().empty());
  ASSERT_EQ(a.tessel.SendCommand(kCmdApply, 0, 0), 1);  // the last one

  EXPECT_FALSE(Stored(image).Present());
  ImageFaults left = ReadImageFaults(image);
  EXPECT_EQ(left.vanishAfter, ImageFaults::kNone);
  EXPECT_EQ(left.failWriteFrom, 0x3000);  // the other lines stay
  EXPECT_EQ(Stored(image).Cell(2), 5);
  std::vector<DeviceNotice> n = b.hid.PollNotices();
  ASSERT_EQ(n.size(), 1u);
  EXPECT_FALSE(n[0].arrival);
  EXPECT_EQ(b.tessel.ReadByte(1, &v), 0);
  EXPECT_EQ(b.tessel.lastStatus(), kStatusOpenFailed);
}

TEST(ImageFaults, ParseTakesWellFormedLinesAndFormatReadsBackTheSame) {
  struct Case {
    std::string_view text;
    ImageFaults expected;
  };
  const Case cases[] = {
      {"", {}},
      {"fail-read-from 0x3f00\nfail-write-from 12\nvanish-after 3\nlatency 60000\n", {0x3F00, 12, 3, 60000}},
      {"  latency\t5  \r\nvanish-after 9\nvanish-after 2", {-1, -1, 2, 5}},  // blanks, CR LF, last wins
      {"latency 60001\nlatency 0x\nlatency +5\nLATENCY 5\nlatency 5 ms\n# latency 5\n", {}},
      {"fail-read-from 2147483647\nfail-write-from 2147483648\nvanish-after -1\n", {0x7FFFFFFF, -1, -1, 0}},
      {std::string_view("latency 4\0\nvanish-after 1", 25), {-1, -1, 1, 0}},  // a NUL spoils its line only
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text));
    ImageFaults f = ParseImageFaults(c.text);
    EXPECT_EQ(f, c.expected);
    EXPECT_EQ(ParseImageFaults(FormatImageFaults(f)), f);
  }
  EXPECT_EQ(FormatImageFaults({}), "");
  EXPECT_EQ(FormatImageFaults({1, -1, 0, 20}), "fail-read-from 1\nvanish-after 0\nlatency 20\n");
}

}  // namespace
}  // namespace halvard
