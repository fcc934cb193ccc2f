// simmouse: makes and inspects image files of the simulated mouse.
//   simmouse create FILE [--version 0x2001|0x2002] [--revision N]
//   simmouse peek FILE ADDRESS
//   simmouse poke FILE ADDRESS VALUE
//   simmouse dump FILE [FROM [COUNT]]
//   simmouse plug FILE | simmouse unplug FILE
//   simmouse fault FILE fail-read-from N | fail-write-from N | vanish-after N | latency MS | clear
//   simmouse status FILE
//   simmouse event FILE profile P | dpi L | lock 0|1 | polling R | launch P B | raw BYTE...
//     changes the mouse as its own buttons would and appends the vendor event report that it
//     sends to "<FILE>.events", where a monitor in simulation mode picks it up
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "device/image_hid.h"
#include "device/memory_map.h"
#include "device/simulated_mouse.h"

namespace {

bool Number(const char* s, long min, long max, long* out) {
  char* end = nullptr;
  long v = std::strtol(s, &end, 0);
  if (end == s || *end != '\0' || v < min || v > max) return false;
  *out = v;
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: simmouse create FILE [--version 0x2001|0x2002] [--revision N]\n"
               "       simmouse peek FILE ADDRESS\n"
               "       simmouse poke FILE ADDRESS VALUE\n"
               "       simmouse dump FILE [FROM [COUNT]]\n"
               "       simmouse plug FILE\n"
               "       simmouse unplug FILE\n"
               "       simmouse fault FILE fail-read-from N | fail-write-from N | vanish-after N | latency MS\n"
               "       simmouse fault FILE clear\n"
               "       simmouse status FILE\n"
               "       simmouse event FILE profile P | dpi L | lock 0|1 | polling R | launch P B | raw BYTE...\n");
  return 2;
}

int Load(halvard::SimulatedMouse& m, const std::string& file) {
  if (m.LoadImage(file)) return 0;
  std::fprintf(stderr, "simmouse: %s is not a mouse image\n", file.c_str());
  return 1;
}

// The vendor event report (id 0xA4): type, level and profile, the level's X and Y codes, the
// launch code, lock bit and polling-rate code.
int Event(halvard::SimulatedMouse& m, const std::string& file, int argc, char** argv) {
  using halvard::B;
  const std::string kind = argv[0];
  std::uint8_t report[7] = {0xA4, 0, 0, 0, 0, 0, 0};
  std::vector<std::uint8_t> raw;
  long a = 0, b = 0;
  int profile = m.Cell(halvard::kCellActiveProfile) & 0x07;
  if (profile > 4) profile = 0;
  int settings = m.Cell(B(profile));
  bool changed = false;
  if (kind == "profile" && argc == 2 && Number(argv[1], 0, 4, &a)) {
    profile = static_cast<int>(a);
    m.SetCell(halvard::kCellActiveProfile,
              static_cast<std::uint8_t>((m.Cell(halvard::kCellActiveProfile) & 0xF8) | profile));
    settings = m.Cell(B(profile));
    report[1] = 1;
    changed = true;
  } else if (kind == "dpi" && argc == 2 && Number(argv[1], 0, 3, &a)) {
    settings = (settings & 0xF8) | static_cast<int>(a);
    report[1] = 2;
  } else if (kind == "lock" && argc == 2 && Number(argv[1], 0, 1, &a)) {
    report[1] = 3;
    report[6] = static_cast<std::uint8_t>(a != 0 ? 0x10 : 0);
  } else if (kind == "polling" && argc == 2 && Number(argv[1], 0, 3, &a)) {
    settings = (settings & ~0x18) | static_cast<int>(a << 3);
    report[1] = 4;
  } else if (kind == "launch" && argc == 3 && Number(argv[1], 0, 4, &a) && Number(argv[2], 0, 10, &b)) {
    report[1] = 0;
    report[5] = static_cast<std::uint8_t>(a * 11 + b);
  } else if (kind == "raw" && argc >= 2) {
    for (int i = 1; i < argc; ++i) {
      if (!Number(argv[i], 0, 255, &a)) return Usage();
      raw.push_back(static_cast<std::uint8_t>(a));
    }
  } else {
    return Usage();
  }
  if (raw.empty()) {
    if (settings != m.Cell(B(profile))) {
      m.SetCell(B(profile), static_cast<std::uint8_t>(settings));
      changed = true;
    }
    const int level = settings & 0x07;
    report[2] = static_cast<std::uint8_t>((profile << 4) | level);
    report[3] = m.Cell(B(profile) + halvard::kOffGroup1 + (level & 3));
    report[4] = m.Cell(B(profile) + halvard::kOffGroup2 + (level & 3));
    if (report[1] != 3) report[6] |= static_cast<std::uint8_t>((settings >> 3) & 3);
    raw.assign(report, report + 7);
  }
  if (changed && !m.SaveImage(file)) {
    std::fprintf(stderr, "simmouse: cannot write %s\n", file.c_str());
    return 1;
  }
  if (!halvard::AppendImageEvent(file, raw.data(), raw.size())) {
    std::fprintf(stderr, "simmouse: cannot write %s\n", halvard::EventsPathOf(file).c_str());
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  std::string cmd = argv[1], file = argv[2];
  halvard::SimulatedMouse m;
  if (cmd == "create") {
    for (int i = 3; i < argc; ++i) {
      std::string opt = argv[i];
      long v = 0;
      if (i + 1 >= argc) return Usage();
      if (opt == "--version" && Number(argv[i + 1], 0, 0xFFFF, &v)) {
        m.SetVersion(static_cast<std::uint16_t>(v));
      } else if (opt == "--revision" && Number(argv[i + 1], 0, 255, &v)) {
        m.SetRevision(static_cast<std::uint8_t>(v));
      } else {
        return Usage();
      }
      ++i;
    }
    if (!m.SaveImage(file)) {
      std::fprintf(stderr, "simmouse: cannot write %s\n", file.c_str());
      return 1;
    }
    return 0;
  }
  if (cmd == "fault") {
    // The faults of a running mouse live beside its image; the image itself is not touched.
    halvard::ImageFaults faults = halvard::ReadImageFaults(file);
    if (argc == 4 && std::string(argv[3]) == "clear") {
      faults = {};
    } else if (argc != 5 || !halvard::ApplyImageFaultLine(std::string(argv[3]) + " " + argv[4], &faults)) {
      return Usage();
    }
    if (!halvard::WriteImageFaults(file, faults)) {
      std::fprintf(stderr, "simmouse: cannot write %s\n", halvard::FaultsPathOf(file).c_str());
      return 1;
    }
    return 0;
  }
  if (int rc = Load(m, file)) return rc;
  if (cmd == "event" && argc >= 4) return Event(m, file, argc - 3, argv + 3);
  if ((cmd == "plug" || cmd == "unplug") && argc == 3) {
    cmd == "plug" ? m.Plug() : m.Unplug();
    if (m.SaveImage(file)) return 0;
    std::fprintf(stderr, "simmouse: cannot write %s\n", file.c_str());
    return 1;
  }
  if (cmd == "status" && argc == 3) {
    const int active = m.Cell(halvard::kCellActiveProfile);
    std::printf("version %04X revision %d %s\n", m.Version(), m.Revision(), m.Present() ? "plugged" : "unplugged");
    std::printf("active profile %d (cell 140 = 0x%02X)\n", active & 0x07, active);
    std::string faults = halvard::FormatImageFaults(halvard::ReadImageFaults(file));
    std::printf("faults:%s", faults.empty() ? " none\n" : "\n");
    for (std::size_t start = 0; start < faults.size();) {
      std::size_t end = faults.find('\n', start);
      std::printf("  %s\n", faults.substr(start, end - start).c_str());
      start = end + 1;
    }
    return 0;
  }
  long address = 0, value = 0, count = 256;
  if (cmd == "peek" && argc == 4 && Number(argv[3], 0, 0x3FFF, &address)) {
    std::printf("%ld\n", static_cast<long>(m.Cell(static_cast<int>(address))));
    return 0;
  }
  if (cmd == "poke" && argc == 5 && Number(argv[3], 0, 0x3FFF, &address) && Number(argv[4], 0, 255, &value)) {
    m.SetCell(static_cast<int>(address), static_cast<std::uint8_t>(value));
    return m.SaveImage(file) ? 0 : 1;
  }
  if (cmd == "dump" && argc <= 5 && (argc < 4 || Number(argv[3], 0, 0x3FFF, &address)) &&
      (argc < 5 || Number(argv[4], 1, 0x4000, &count))) {
    std::printf("version %04X revision %d\n", m.Version(), m.Revision());
    long end = address + count < 0x4000 ? address + count : 0x4000;
    for (long a = address; a < end; ++a) {
      if (a == address || a % 16 == 0) std::printf("%04lX:", a);
      std::printf(" %02X", m.Cell(static_cast<int>(a)));
      if (a % 16 == 15 || a + 1 == end) std::printf("\n");
    }
    return 0;
  }
  return Usage();
}
