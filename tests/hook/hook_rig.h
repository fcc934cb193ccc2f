// A hook core on the in-memory registry, with recorded posts, a scripted filter device and an
// application starter that only records.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "hook/hook_core.h"
#include "platform/registry_memory.h"

namespace halvard {

class FakeFilterDevice : public FilterDevice {
 public:
  bool Open() override {
    ++opens;
    if (!present) return false;
    isOpen = true;
    return true;
  }
  bool Read(std::uint8_t* buffer, std::uint32_t length) override {
    EXPECT_TRUE(isOpen);
    requests.push_back(buffer[0]);
    lengths.push_back(length);
    if (!readOk) return false;
    std::copy_n(answer.begin(), std::min<std::size_t>(length, answer.size()), buffer);
    return answer.size() >= length;
  }
  void Close() override {
    EXPECT_TRUE(isOpen);
    isOpen = false;
  }

  bool present = true;
  bool readOk = true;
  bool isOpen = false;
  int opens = 0;
  std::vector<std::uint8_t> answer;
  std::vector<std::uint8_t> requests;  // the first byte of every read: the request
  std::vector<std::uint32_t> lengths;
};

class FakeAppStarter : public AppStarter {
 public:
  bool OpenForReading(const char* path) override { return readable.count(path) != 0; }
  bool Start(const char* path) override {
    started.emplace_back(path);
    return startOk;
  }
  std::set<std::string> readable;
  std::vector<std::string> started;
  bool startOk = true;
};

// Published windows, as the main program and the display library would write them.
inline constexpr std::int32_t kOsdWindow = 0x100, kMainWindow = 0x200, kConfigureWindow = 0x300,
                              kEditorWindow = 0x400, kLedWindow = 0x500;

class HookRig : public ::testing::Test {
 protected:
  void Publish() {
    store.SetDword(kOsdHandle, kOsdWindow);
    store.SetDword(kProcessHandle, kMainWindow);
    store.SetDword(kConfigureHandle, kConfigureWindow);
    store.SetDword(kMacroEditHandle, kEditorWindow);
    store.SetDword(kLedEditHandle, kLedWindow);
    store.SetDword(kCurrentDialog, kRouteMainWindow);
    store.SetDword(kMacroRecordStart, 0);
  }
  // (window, message, wParam, lParam) of every post, in order.
  struct Post {
    std::int32_t window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    friend bool operator==(const Post&, const Post&) = default;
    friend std::ostream& operator<<(std::ostream& os, const Post& p) {
      return os << "{0x" << std::hex << p.window << ", 0x" << p.message << ", " << std::dec << p.wParam << ", 0x"
                << std::hex << p.lParam << std::dec << "}";
    }
  };
  std::vector<Post> Posts() const {
    std::vector<Post> r;
    for (const auto& p : windows.posted)
      r.push_back({static_cast<std::int32_t>(ValueFromHandle(p.window)), p.message, p.wParam, p.lParam});
    return r;
  }

  MemoryRegistry registry;
  RegistryStore store{registry};
  RecordingWindowServices windows;
  FakeFilterDevice device;
  FakeAppStarter starter;
  HookSharedSection shared{};
  HookCore core{registry, windows, device, starter, shared};
};

}  // namespace halvard
