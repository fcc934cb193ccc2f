// The HID seam of simulation mode: simulated mice kept in image files, so that several processes
// share one mouse. Every report opens the image, lets a SimulatedMouse answer and writes the image
// back when it changed; nothing about a mouse but the last reply lives in the process.
//
// The machine holds the mouse of the first image (e.g. "mouse.img") and those of the images beside
// it named "<stem>-2<ext>" to "<stem>-9<ext>" ("mouse-2.img"). A mouse is present while its image
// exists, decodes and is plugged. A sidecar text file "<image>.faults" scripts faults of a running
// mouse, one per line:
//   fail-read-from N    a read request of a cell at N or above fails at its reply
//   fail-write-from N   a write request of a cell at N or above fails
//   vanish-after N      after N more reports the mouse is unplugged (counted down in the file)
//   latency MS          each report takes MS milliseconds
// Paths are 8-bit and go through the standard library, so the same code serves Linux paths and
// Windows paths such as "Z:\work\mouse.img".
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "device/hid_seam.h"
#include "device/simulated_mouse.h"
#include "platform/clock.h"

namespace halvard {

struct ImageFaults {
  static constexpr std::int32_t kNone = -1;
  static constexpr std::int32_t kMaxLatencyMs = 60000;
  std::int32_t failReadFrom = kNone;
  std::int32_t failWriteFrom = kNone;
  std::int32_t vanishAfter = kNone;
  std::int32_t latencyMs = 0;

  bool Empty() const {
    return failReadFrom == kNone && failWriteFrom == kNone && vanishAfter == kNone && latencyMs == 0;
  }
  friend bool operator==(const ImageFaults&, const ImageFaults&) = default;
};

// Unknown and malformed lines are ignored; a later line of a kind replaces an earlier one.
ImageFaults ParseImageFaults(std::string_view text);
// One line per fault that is set, in a fixed order; empty text for no faults.
std::string FormatImageFaults(const ImageFaults& faults);

// Applies one line ("latency 5") to `faults`; false when the line is not a fault line.
bool ApplyImageFaultLine(std::string_view line, ImageFaults* faults);

std::string FaultsPathOf(const std::string& image);
// A missing file is no faults.
ImageFaults ReadImageFaults(const std::string& image);
// Writes "<image>.faults", or removes it when there are no faults.
bool WriteImageFaults(const std::string& image, const ImageFaults& faults);
// Replaces the file's contents through "<path>.tmp" in one step.
bool ReplaceFile(const std::string& path, std::string_view bytes);

// Vendor event reports of a running mouse: "<image>.events" holds the raw reports, appended one
// after another; a reader keeps its offset and takes only whole records that are new.
inline constexpr std::uint64_t kEventsFromNow = ~std::uint64_t{0};
std::string EventsPathOf(const std::string& image);
bool AppendImageEvent(const std::string& image, const std::uint8_t* report, std::size_t length);
// The whole records of `recordSize` bytes past `*offset`, which moves past them. An offset of
// kEventsFromNow (or one past the end of a file that shrank) starts at the current end.
std::vector<std::uint8_t> ReadNewImageEvents(const std::string& image, std::uint64_t* offset,
                                             std::size_t recordSize);

struct DeviceNotice {
  bool arrival = false;  // arrival, or removal
  std::string image;
};

class ImageHid : public HidSeam {
 public:
  static constexpr int kMaxMice = 9;
  static constexpr std::uint16_t kVendorId = 0x2E4A;
  static constexpr std::uint16_t kProductId = 0x1C07;

  ImageHid(std::string firstImage, Clock& clock);
  ~ImageHid() override;

  // The image of mouse `n` (0 = the first image); empty outside 0..kMaxMice-1.
  std::string ImagePath(int n) const;
  std::u16string InterfacePath(int n) const;
  bool Present(int n) const;

  // Changes of the present mice since the previous poll, one per mouse, in image order. The first
  // poll only takes the baseline.
  std::vector<DeviceNotice> PollNotices();
  // Windows registered for notifications, oldest registration first.
  std::vector<WindowHandle> NotifiedWindows() const;

  ModuleHandle LoadModule(HidModule which) override;
  void UnloadModule(ModuleHandle module) override;
  Guid GetHidGuid() override { return kHidInterfaceClass; }
  DeviceSet GetClassDevs(const Guid& interfaceClass) override;
  bool GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char16_t* path,
                        std::size_t cap) override;
  bool GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char* path,
                        std::size_t cap) override;
  void DestroyDeviceSet(DeviceSet set) override;
  DeviceHandle Open(const char16_t* path, DeviceAccess access) override;
  DeviceHandle Open(const char* path, DeviceAccess access) override;
  bool Close(DeviceHandle device) override;
  bool GetAttributes(DeviceHandle device, HidAttributes* attributes) override;
  bool GetProductString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) override;
  bool GetManufacturerString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) override;
  bool SetFeature(DeviceHandle device, const std::uint8_t* report, std::uint32_t length) override;
  bool GetFeature(DeviceHandle device, std::uint8_t* report, std::uint32_t length) override;
  bool ReadInput(DeviceHandle device, std::uint8_t* buffer, std::uint32_t length, std::uint32_t* read) override;
  NotifyHandle RegisterNotify(WindowHandle window, const Guid& interfaceClass) override;
  bool UnregisterNotify(NotifyHandle registration) override;

 private:
  struct Mouse {
    std::unique_ptr<SimulatedMouse> sim;  // answers reports; keeps the last reply between them
    int lastReadAddress = -1;             // cell of the last read request, -1 after any other
  };

  int MouseOfHandle(DeviceHandle device) const;
  int MouseOfPath(const std::u16string& path) const;
  bool LoadMouse(int n);
  bool SaveMouse(int n);
  bool Report(DeviceHandle device, bool set, std::uint8_t* report, std::uint32_t length);

  std::string stem_, ext_;
  Clock& clock_;
  Mouse mice_[kMaxMice];
  std::map<DeviceHandle, int> open_;
  std::map<DeviceSet, std::vector<int>> sets_;
  std::map<NotifyHandle, WindowHandle> registrations_;
  std::vector<bool> seen_;  // present mice at the last poll; empty before the first
  DeviceHandle nextHandle_ = 0x40;
  std::uintptr_t nextToken_ = 0x1000;
};

}  // namespace halvard
