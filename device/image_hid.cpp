#include "device/image_hid.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "device/ic_tessel.h"
#include "platform/text.h"

namespace halvard {
namespace {

constexpr std::string_view kFailReadFrom = "fail-read-from";
constexpr std::string_view kFailWriteFrom = "fail-write-from";
constexpr std::string_view kVanishAfter = "vanish-after";
constexpr std::string_view kLatency = "latency";
constexpr std::int64_t kMaxCount = 0x7FFFFFFF;
// A fault file is a handful of lines; anything past this is not read.
constexpr std::size_t kMaxFaultFileBytes = 64 * 1024;
// Replacing a file on Windows removes it first, which fails while another process has it open for
// its few microseconds of reading; a few more tries get past that.
constexpr int kReplaceAttempts = 50;
constexpr int kReadAttempts = 5;

constexpr std::u16string_view kProduct = u"Halvard Gaming Mouse";
constexpr std::u16string_view kManufacturer = u"Vornex";
constexpr std::u16string_view kPathHead = u"\\\\?\\hid#vid_2e4a&pid_1c07&mi_00#sim&";
constexpr std::u16string_view kPathTail = u"#{4d1e55b2-f16f-11cf-88cb-001111000030}";

// Decimal, or hexadecimal after "0x"; no sign, at most `max`.
bool ParseCount(std::string_view s, std::int64_t max, std::int32_t* out) {
  int base = 10;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty()) return false;
  std::int64_t v = 0;
  for (char c : s) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    if (d < 0) return false;
    v = v * base + d;
    if (v > max) return false;
  }
  *out = static_cast<std::int32_t>(v);
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Reads at most `limit` bytes of a file; false when it cannot be opened.
bool ReadFileBytes(const std::string& path, std::size_t limit, std::string* out) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return false;
  out->clear();
  char buf[4096];
  while (out->size() <= limit && (f.read(buf, sizeof buf) || f.gcount() > 0))
    out->append(buf, static_cast<std::size_t>(f.gcount()));
  return true;
}

bool FileExists(const std::string& path) { return static_cast<bool>(std::ifstream(path, std::ios::binary)); }

// The image as it stands; a writer that is just replacing it leaves its ".tmp" beside it, and then
// the image is looked for again instead of taken as gone.
bool ReadImageBytes(const std::string& image, std::string* out) {
  for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
    if (ReadFileBytes(image, kMouseImageSize, out)) return true;
    if (!FileExists(image + ".tmp")) return false;
  }
  return false;
}

bool DecodeInto(SimulatedMouse& mouse, const std::string& image) {
  std::string bytes;
  if (!ReadImageBytes(image, &bytes)) return false;
  return mouse.DecodeImage({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

bool CopyString(std::u16string_view s, char16_t* buffer, std::uint32_t bytes) {
  if (buffer == nullptr || bytes < 2) return false;
  CopyText<char16_t>(buffer, bytes / 2, s);
  return true;
}

}  // namespace

bool ApplyImageFaultLine(std::string_view line, ImageFaults* faults) {
  std::vector<std::string_view> w = Words(line);
  if (w.size() != 2 || faults == nullptr) return false;
  std::int32_t v = 0;
  if (w[0] == kLatency) {
    if (!ParseCount(w[1], ImageFaults::kMaxLatencyMs, &v)) return false;
    faults->latencyMs = v;
    return true;
  }
  std::int32_t* target = w[0] == kFailReadFrom    ? &faults->failReadFrom
                         : w[0] == kFailWriteFrom ? &faults->failWriteFrom
                         : w[0] == kVanishAfter   ? &faults->vanishAfter
                                                  : nullptr;
  if (target == nullptr || !ParseCount(w[1], kMaxCount, &v)) return false;
  *target = v;
  return true;
}

ImageFaults ParseImageFaults(std::string_view text) {
  ImageFaults faults;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    ApplyImageFaultLine(text.substr(0, end), &faults);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  }
  return faults;
}

std::string FormatImageFaults(const ImageFaults& faults) {
  std::string out;
  auto line = [&out](std::string_view name, std::int32_t v) {
    out.append(name);
    out.push_back(' ');
    AppendDecimal(out, v);
    out.push_back('\n');
  };
  if (faults.failReadFrom != ImageFaults::kNone) line(kFailReadFrom, faults.failReadFrom);
  if (faults.failWriteFrom != ImageFaults::kNone) line(kFailWriteFrom, faults.failWriteFrom);
  if (faults.vanishAfter != ImageFaults::kNone) line(kVanishAfter, faults.vanishAfter);
  if (faults.latencyMs != 0) line(kLatency, faults.latencyMs);
  return out;
}

std::string FaultsPathOf(const std::string& image) { return image + ".faults"; }

ImageFaults ReadImageFaults(const std::string& image) {
  std::string text;
  if (!ReadFileBytes(FaultsPathOf(image), kMaxFaultFileBytes, &text)) return {};
  if (text.size() > kMaxFaultFileBytes) text.resize(kMaxFaultFileBytes);
  return ParseImageFaults(text);
}

bool WriteImageFaults(const std::string& image, const ImageFaults& faults) {
  const std::string path = FaultsPathOf(image);
  if (faults.Empty()) return std::remove(path.c_str()) == 0 || !FileExists(path);
  return ReplaceFile(path, FormatImageFaults(faults));
}

std::string EventsPathOf(const std::string& image) { return image + ".events"; }

bool AppendImageEvent(const std::string& image, const std::uint8_t* report, std::size_t length) {
  std::ofstream f(EventsPathOf(image), std::ios::binary | std::ios::app);
  return f.write(reinterpret_cast<const char*>(report), static_cast<std::streamsize>(length)) && f.flush();
}

std::vector<std::uint8_t> ReadNewImageEvents(const std::string& image, std::uint64_t* offset,
                                             std::size_t recordSize) {
  std::vector<std::uint8_t> bytes;
  std::ifstream f(EventsPathOf(image), std::ios::binary | std::ios::ate);
  const std::uint64_t size = f ? static_cast<std::uint64_t>(f.tellg()) : 0;
  if (recordSize == 0) return bytes;
  if (*offset == kEventsFromNow || *offset > size) {
    *offset = size - size % recordSize;
    return bytes;
  }
  const std::uint64_t whole = (size - *offset) / recordSize * recordSize;
  if (whole == 0) return bytes;
  bytes.resize(static_cast<std::size_t>(whole));
  f.seekg(static_cast<std::streamoff>(*offset));
  if (!f.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(whole))) return {};
  *offset += whole;
  return bytes;
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
  const std::string tmp = path + ".tmp";
  {
    std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
    if (!f.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !f.flush()) {
      f.close();
      std::remove(tmp.c_str());
      return false;
    }
  }
  // Renaming over the old file is one step where the platform allows it (POSIX); Windows refuses
  // an existing target, so the old file is removed first there.
  for (int attempt = 0; attempt < kReplaceAttempts; ++attempt) {
    if (std::rename(tmp.c_str(), path.c_str()) == 0) return true;
    std::remove(path.c_str());
    if (std::rename(tmp.c_str(), path.c_str()) == 0) return true;
  }
  std::remove(tmp.c_str());
  return false;
}

ImageHid::ImageHid(std::string firstImage, Clock& clock) : clock_(clock) {
  std::size_t name = firstImage.find_last_of("/\\");
  name = name == std::string::npos ? 0 : name + 1;
  std::size_t dot = firstImage.find_last_of('.');
  if (dot != std::string::npos && dot > name) {
    stem_ = firstImage.substr(0, dot);
    ext_ = firstImage.substr(dot);
  } else {
    stem_ = std::move(firstImage);
  }
  for (Mouse& m : mice_) {
    m.sim = std::make_unique<SimulatedMouse>(&clock_);
    m.sim->EnableTrace(false);
  }
}

ImageHid::~ImageHid() = default;

std::string ImageHid::ImagePath(int n) const {
  if (n < 0 || n >= kMaxMice) return {};
  if (n == 0) return stem_ + ext_;
  return stem_ + "-" + std::to_string(n + 1) + ext_;
}

std::u16string ImageHid::InterfacePath(int n) const {
  if (n < 0 || n >= kMaxMice) return {};
  std::u16string p(kPathHead);
  AppendDecimal(p, n + 1);
  p += kPathTail;
  return p;
}

bool ImageHid::Present(int n) const {
  if (n < 0 || n >= kMaxMice) return false;
  SimulatedMouse probe;
  return DecodeInto(probe, ImagePath(n)) && probe.Present();
}

bool ImageHid::LoadMouse(int n) { return DecodeInto(*mice_[n].sim, ImagePath(n)); }

bool ImageHid::SaveMouse(int n) {
  std::vector<std::uint8_t> bytes = mice_[n].sim->EncodeImage();
  return ReplaceFile(ImagePath(n), {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

std::vector<DeviceNotice> ImageHid::PollNotices() {
  std::vector<bool> now(kMaxMice);
  for (int n = 0; n < kMaxMice; ++n) now[n] = Present(n);
  std::vector<DeviceNotice> notices;
  if (!seen_.empty()) {
    for (int n = 0; n < kMaxMice; ++n)
      if (now[n] != seen_[n]) notices.push_back({now[n], ImagePath(n)});
  }
  seen_ = std::move(now);
  return notices;
}

std::vector<WindowHandle> ImageHid::NotifiedWindows() const {
  std::vector<WindowHandle> windows;
  for (const auto& [token, window] : registrations_) windows.push_back(window);
  return windows;
}

ModuleHandle ImageHid::LoadModule(HidModule which) {
  return reinterpret_cast<ModuleHandle>(static_cast<std::uintptr_t>(which == HidModule::kHid ? 0x10 : 0x11));
}

void ImageHid::UnloadModule(ModuleHandle) {}

DeviceSet ImageHid::GetClassDevs(const Guid& interfaceClass) {
  auto set = reinterpret_cast<DeviceSet>(nextToken_);
  nextToken_ += 8;
  std::vector<int>& listed = sets_[set];
  // Every simulated mouse is one interface of both classes; a set holds the mice present now.
  if (interfaceClass == kHidInterfaceClass || interfaceClass == kMouseInterfaceClass)
    for (int n = 0; n < kMaxMice; ++n)
      if (Present(n)) listed.push_back(n);
  return set;
}

bool ImageHid::GetInterfacePath(DeviceSet set, const Guid&, std::uint32_t index, char16_t* path, std::size_t cap) {
  auto it = sets_.find(set);
  if (it == sets_.end() || index >= it->second.size() || path == nullptr) return false;
  std::u16string p = InterfacePath(it->second[index]);
  if (p.size() + 1 > cap) return false;
  CopyText<char16_t>(path, cap, p);
  return true;
}

bool ImageHid::GetInterfacePath(DeviceSet set, const Guid& interfaceClass, std::uint32_t index, char* path,
                                std::size_t cap) {
  char16_t wide[128];
  if (path == nullptr || !GetInterfacePath(set, interfaceClass, index, wide, 128)) return false;
  std::u16string_view w(wide);
  if (w.size() + 1 > cap) return false;
  std::string narrow(w.begin(), w.end());  // the paths are ASCII
  CopyText<char>(path, cap, narrow);
  return true;
}

void ImageHid::DestroyDeviceSet(DeviceSet set) { sets_.erase(set); }

int ImageHid::MouseOfPath(const std::u16string& path) const {
  const std::u16string lower = AsciiLower(path);
  for (int n = 0; n < kMaxMice; ++n)
    if (lower == InterfacePath(n)) return n;  // the generated paths are lower case
  return -1;
}

int ImageHid::MouseOfHandle(DeviceHandle device) const {
  auto it = open_.find(device);
  return it == open_.end() ? -1 : it->second;
}

DeviceHandle ImageHid::Open(const char16_t* path, DeviceAccess) {
  if (path == nullptr) return kInvalidDevice;
  const int n = MouseOfPath(path);
  if (n < 0 || !LoadMouse(n) || !mice_[n].sim->Present()) return kInvalidDevice;
  // "vanish-after 0" written by hand takes the mouse away before any further report.
  ImageFaults faults = ReadImageFaults(ImagePath(n));
  if (faults.vanishAfter == 0) {
    mice_[n].sim->Unplug();
    SaveMouse(n);
    faults.vanishAfter = ImageFaults::kNone;
    WriteImageFaults(ImagePath(n), faults);
    return kInvalidDevice;
  }
  DeviceHandle h = nextHandle_;
  nextHandle_ += 4;
  open_[h] = n;
  return h;
}

DeviceHandle ImageHid::Open(const char* path, DeviceAccess access) {
  if (path == nullptr) return kInvalidDevice;
  const std::u16string wide = Widen(path);
  return Open(wide.c_str(), access);
}

bool ImageHid::Close(DeviceHandle device) { return open_.erase(device) != 0; }

bool ImageHid::GetAttributes(DeviceHandle device, HidAttributes* attributes) {
  const int n = MouseOfHandle(device);
  if (n < 0 || attributes == nullptr || !LoadMouse(n) || !mice_[n].sim->Present()) return false;
  *attributes = {kVendorId, kProductId, mice_[n].sim->Version()};
  return true;
}

bool ImageHid::GetProductString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) {
  return MouseOfHandle(device) >= 0 && CopyString(kProduct, buffer, bytes);
}

bool ImageHid::GetManufacturerString(DeviceHandle device, char16_t* buffer, std::uint32_t bytes) {
  return MouseOfHandle(device) >= 0 && CopyString(kManufacturer, buffer, bytes);
}

bool ImageHid::Report(DeviceHandle device, bool set, std::uint8_t* report, std::uint32_t length) {
  const int n = MouseOfHandle(device);
  if (n < 0 || report == nullptr || length != kReportSize) return false;
  const std::string image = ImagePath(n);
  const ImageFaults faultsBefore = ReadImageFaults(image);
  ImageFaults faults = faultsBefore;
  if (faults.latencyMs > 0) clock_.Sleep(static_cast<std::uint32_t>(faults.latencyMs));

  Mouse& m = mice_[n];
  if (!LoadMouse(n) || !m.sim->Present()) return false;
  const std::vector<std::uint8_t> before = m.sim->EncodeImage();

  bool ok = true;
  bool vanish = false;
  if (faults.vanishAfter == 0) {
    vanish = true;
    ok = false;
  } else if (faults.vanishAfter > 0) {
    vanish = --faults.vanishAfter == 0;  // this report is the last one
  }
  if (ok && set) {
    const int address = report[2] | (report[4] << 8);
    if (report[1] == kReqWriteCell && faults.failWriteFrom >= 0 && address >= faults.failWriteFrom) {
      ok = false;
    } else {
      ok = m.sim->SetFeature(report, length);
      if (ok) m.lastReadAddress = report[1] == kReqReadCell ? address : -1;
    }
  } else if (ok) {
    if (m.lastReadAddress >= 0 && faults.failReadFrom >= 0 && m.lastReadAddress >= faults.failReadFrom)
      ok = false;
    else
      ok = m.sim->GetFeature(report, length);
  }

  if (vanish) {
    m.sim->Unplug();
    faults.vanishAfter = ImageFaults::kNone;
  }
  // A change that cannot be kept is a failed transfer, not a silent loss.
  if (m.sim->EncodeImage() != before && !SaveMouse(n)) ok = false;
  if (!(faults == faultsBefore)) WriteImageFaults(image, faults);
  return ok;
}

bool ImageHid::SetFeature(DeviceHandle device, const std::uint8_t* report, std::uint32_t length) {
  if (report == nullptr || length != kReportSize) return false;
  std::uint8_t copy[kReportSize];
  std::copy_n(report, kReportSize, copy);
  return Report(device, true, copy, length);
}

bool ImageHid::GetFeature(DeviceHandle device, std::uint8_t* report, std::uint32_t length) {
  return Report(device, false, report, length);
}

// The mouse's event reports do not come through here in simulation mode.
bool ImageHid::ReadInput(DeviceHandle, std::uint8_t*, std::uint32_t, std::uint32_t*) { return false; }

NotifyHandle ImageHid::RegisterNotify(WindowHandle window, const Guid&) {
  if (window == nullptr) return nullptr;
  auto token = reinterpret_cast<NotifyHandle>(nextToken_);
  nextToken_ += 8;
  registrations_[token] = window;
  return token;
}

bool ImageHid::UnregisterNotify(NotifyHandle registration) { return registrations_.erase(registration) != 0; }

}  // namespace halvard
