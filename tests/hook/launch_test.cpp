// The launch table and the start of the application assigned to a button.
#include <gtest/gtest.h>

#include <string>

#include "hook/launch_table.h"
#include "hook/os_version.h"
#include "hook_rig.h"
#include "platform/text.h"

namespace halvard {
namespace {

TEST(LaunchTable, FortyByteZeroPaddedNamesOfTheButtonApplicationValues) {
  for (int p = 0; p < kLaunchProfiles; ++p) {
    for (int b = 0; b < kLaunchButtons; ++b) {
      const LaunchName& entry = kLaunchTable[p][b];
      const std::u16string want = ButtonValueName(p, b, ButtonValue::kApplication);
      std::size_t i = 0;
      for (; i < want.size(); ++i) ASSERT_EQ(entry[i], static_cast<char>(want[i])) << p << "," << b;
      for (; i < kLaunchNameBytes; ++i) ASSERT_EQ(entry[i], '\0') << p << "," << b;
    }
  }
  EXPECT_STREQ(kLaunchTable[0][0].data(), "PF0T1 AP");
  EXPECT_STREQ(kLaunchTable[4][10].data(), "PF4T11 AP");
}

class LaunchTest : public HookRig {
 protected:
  void Store(const char* name, const std::string& path) {
    RegistryStoreA narrow(registry);
    ASSERT_EQ(narrow.SetString(Widen(name), path), 1);
  }
};

TEST_F(LaunchTest, CodeNamesProfileAndButtonWithBitSevenIgnored) {
  Store("PF1T2 AP", "C:\\Games\\one.exe");
  Store("PF4T11 AP", "C:\\Games\\last.exe");
  Store("PF0T1 AP", "C:\\Games\\first.exe");
  starter.readable = {"C:\\Games\\one.exe", "C:\\Games\\last.exe", "C:\\Games\\first.exe"};
  struct Row {
    int code;
    std::vector<std::string> started;
  };
  for (const Row& r : {Row{12, {"C:\\Games\\one.exe"}}, Row{140, {"C:\\Games\\one.exe"}},
                       Row{54, {"C:\\Games\\last.exe"}}, Row{0x80, {"C:\\Games\\first.exe"}}, Row{55, {}},
                       Row{127, {}}, Row{-1, {}}, Row{13, {}} /* nothing stored for PF1T3 */}) {
    SCOPED_TRACE(r.code);
    starter.started.clear();
    core.m_LaunchAP(r.code);
    EXPECT_EQ(starter.started, r.started);
  }
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST_F(LaunchTest, APathThatDoesNotFitTheBufferIsRefusedNeverCut) {
  struct Row {
    std::size_t length;
    bool started;
  };
  for (const Row& r : {Row{1, true}, Row{HookCore::kAppPathBytes - 1, true}, Row{HookCore::kAppPathBytes, false},
                       Row{HookCore::kAppPathBytes + 1, false}, Row{5000, false}}) {
    SCOPED_TRACE(r.length);
    std::string path(r.length, 'x');
    Store("PF2T5 AP", path);
    // A cut path would name another file: make every prefix readable so a cut would show.
    starter.readable.clear();
    for (std::size_t n = 1; n <= r.length; ++n) starter.readable.insert(path.substr(0, n));
    starter.started.clear();
    core.m_LaunchAP(2 * 11 + 4);
    EXPECT_EQ(starter.started, r.started ? std::vector<std::string>{path} : std::vector<std::string>{});
  }
}

TEST_F(LaunchTest, OnlyAReadableFileIsStartedAndAFailedStartStillCountsAsDone) {
  EXPECT_EQ(core.m_ExecApplication(nullptr), 0);
  EXPECT_EQ(core.m_ExecApplication("C:\\missing.exe"), 0);
  starter.readable = {"C:\\here.exe"};
  starter.startOk = false;
  EXPECT_EQ(core.m_ExecApplication("C:\\here.exe"), 1);
  EXPECT_EQ(starter.started, std::vector<std::string>{"C:\\here.exe"});
}

TEST_F(LaunchTest, StatusWithALaunchCodeStartsTheApplicationOnly) {
  Publish();
  Store("PF1T2 AP", "C:\\Games\\one.exe");
  starter.readable = {"C:\\Games\\one.exe"};
  device.answer = {0x01, 0x01, 140, 0x10, 0x10, 0x90};
  EXPECT_EQ(core.m_ProcessWheel(0x00780000), 1);
  EXPECT_EQ(starter.started, std::vector<std::string>{"C:\\Games\\one.exe"});
  EXPECT_TRUE(windows.posted.empty());
}

TEST(OsVersion, CodesByPlatformAndVersion) {
  struct Row {
    OsVersionInfo v;
    std::uint16_t code;
  };
  const Row rows[] = {
      {{false, true, 10, 0, 0}, 7},           {{true, false, 4, 0, 0x04000000 | 950}, 0},
      {{true, false, 4, 10, 0x040A0000}, 2},  {{true, false, 4, 90, 0x045A0000}, 3},
      {{true, false, 4, 20, 0x04140000}, 7},  {{true, true, 3, 51, 1057}, 4},
      {{true, true, 4, 0, 1381}, 5},          {{true, true, 5, 0, 2195}, 5},
      {{true, true, 5, 1, 2600}, 7},          {{true, true, 5, 2, 3790}, 7},
      {{true, true, 6, 1, 7601}, 8},          {{true, true, 10, 0, 19045}, 9},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::Message() << r.v.nt << " " << r.v.major << "." << r.v.minor);
    EXPECT_EQ(OsVersionCode(r.v), r.code);
    EXPECT_EQ(OsMayRunWow64(r.code), r.code >= 7);
  }
}

}  // namespace
}  // namespace halvard
