// Simulation mode's seam on Windows paths: the image is replaced over an existing file, which the
// platform only allows after removing it.
#include "device/image_hid.h"

#include <windows.h>
#undef LoadImage  // the user32 macro would rename SimulatedMouse::LoadImage

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "device/hid_client.h"
#include "device/ic_tessel.h"
#include "platform/clock_win32.h"
#include "platform/message_box.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

TEST(ImageHidWin32, ControllerReadsAndWritesAnImageInTheTempFolderAndOnTheUnixDrive) {
  char temp[MAX_PATH] = {};
  ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
  const std::string tag = "halvard-imagehid-" + std::to_string(GetCurrentProcessId());
  for (const std::string& folder : {std::string(temp) + tag, "Z:\\tmp\\" + tag}) {
    SCOPED_TRACE(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string image = folder + "\\mouse.img";
    SimulatedMouse made(nullptr, 0x2002);
    made.SetCell(0x1234, 0x5A);
    made.SetRevision(3);
    ASSERT_TRUE(made.SaveImage(image));

    Win32Clock clock;
    ImageHid hid(image, clock);
    RecordingMessageBox box;
    MemoryRegistry registry;
    auto clientPtr = std::make_unique<CHidClient>(hid, box, registry);  // too big for the stack
    CHidClient& client = *clientPtr;
    ASSERT_EQ(client.CreateDeviceTable(&kSupportedMouse, 1, 0x2002, 0x2002), 1);
    ASSERT_EQ(client.GetRecognizedDevices(), 1);
    CIcTessel tessel(hid, clock);
    tessel.Reset();
    tessel.setDeviceType(kDeviceType2002);
    ASSERT_EQ(tessel.OpenDevice(client.GetDevice(0)), 1);  // opens and checks the identity cells

    std::uint8_t v = 0;
    ASSERT_EQ(tessel.ReadByte(0x1234, &v), 1);
    EXPECT_EQ(v, 0x5A);
    int present = 0, revision = 0;
    ASSERT_EQ(tessel.QueryRevision(&present, &revision), 1);
    EXPECT_EQ(revision, 3);
    // Twice, so the second write replaces an image that the first one wrote.
    ASSERT_EQ(tessel.WriteByte(0x20, 0x99), 1);
    ASSERT_EQ(tessel.WriteByte(0x21, 0x42), 1);

    ImageHid other(image, clock);
    CIcTessel second(other, clock);
    second.SetDevicePath(other.InterfacePath(0));
    ASSERT_EQ(second.ReadByte(0x20, &v), 1);
    EXPECT_EQ(v, 0x99);
    SimulatedMouse stored;
    ASSERT_TRUE(stored.LoadImage(image));
    EXPECT_EQ(stored.Cell(0x21), 0x42);
    EXPECT_EQ(stored.Cell(0x1234), 0x5A);
    EXPECT_EQ(GetFileAttributesA((image + ".tmp").c_str()), INVALID_FILE_ATTRIBUTES);

    // A fault line written beside the image is read on the next report.
    ASSERT_TRUE(WriteImageFaults(image, ParseImageFaults("vanish-after 1\n")));
    ASSERT_EQ(second.WriteByte(0x22, 1), 1);
    EXPECT_FALSE(other.Present(0));
    EXPECT_EQ(GetFileAttributesA(FaultsPathOf(image).c_str()), INVALID_FILE_ATTRIBUTES);

    EXPECT_TRUE(DeleteFileA(image.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
  }
}

}  // namespace
}  // namespace halvard
