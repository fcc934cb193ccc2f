#include "ipc/messages.h"

#include <gtest/gtest.h>

#include <map>

#include "ipc/inform.h"

namespace halvard {
namespace {

TEST(DpiStateWord, PacksAndUnpacksEveryField) {
  DpiStateWord w{2, 3, false, 32, 64};
  EXPECT_EQ(w.Pack(), 2u + 16u * 3 + 256u * 32 + 65536u * 64);
  EXPECT_EQ(DpiStateWord::Unpack(w.Pack()), w);
  DpiStateWord p = DpiStateWord::Unpack(ProfileChangeWord(4));
  EXPECT_EQ(ProfileChangeWord(4), 0xC4u);
  EXPECT_TRUE(p.profileChanged);
  EXPECT_EQ(p.profile, 4);
  EXPECT_FALSE(p.HasLevel());
  // Bit 3 and the top byte are ignored.
  EXPECT_EQ(DpiStateWord::Unpack(0xFF000008u | w.Pack()), w);
}

TEST(RecordedKey, ReleaseIsBit31) {
  EXPECT_EQ(PackRecordedKey(0x41, false), 0x41u);
  EXPECT_EQ(PackRecordedKey(0x41, true), 0x80000041u);
  EXPECT_EQ(RecordedKeyCode(0x80000041u), 0x41u);
  EXPECT_TRUE(RecordedKeyReleased(0x80000041u));
  EXPECT_FALSE(RecordedKeyReleased(0x41u));
}

TEST(Codes, RoutingAndDisplayCodes) {
  EXPECT_EQ(*RouteHandleName(0), u"Process Handle");
  EXPECT_EQ(*RouteHandleName(1), u"Configure Handle");
  EXPECT_EQ(*RouteHandleName(2), u"Macro Edit Handle");
  EXPECT_EQ(*RouteHandleName(3), u"LED Edit Handle");
  for (int code : {4, 5, -1, 6}) EXPECT_FALSE(RouteHandleName(code));
  for (std::uint32_t c : {0u, 1u, 5u, 6u, 7u, 8u, 9u, 12u, 15u}) EXPECT_TRUE(IsOsdCode(c));
  for (std::uint32_t c : {2u, 3u, 4u, 10u, 11u, 13u, 14u, 16u, 100u}) EXPECT_FALSE(IsOsdCode(c));
  EXPECT_EQ(WM_INFORM_OSD, 37120u);
  EXPECT_EQ(WM_INFORM_UI, 37121u);
  EXPECT_EQ(WM_KEY_STATUS, 37122u);
  EXPECT_EQ(ID_SHOW_MAIN, 0x8006u);
}

// Handle values as a plain table.
class Values : public DwordSource {
 public:
  std::int32_t GetDword(std::u16string_view name) override {
    ++reads;
    auto it = table.find(std::u16string(name));
    return it == table.end() ? -1 : it->second;
  }
  std::map<std::u16string, std::int32_t> table;
  int reads = 0;
};

class InformTest : public ::testing::Test {
 protected:
  Values values;
  RecordingWindowServices windows;
  InformSender sender{values, windows};
  Hwnd H(std::int32_t v) { return HandleFromValue(v); }
};

TEST_F(InformTest, DisplayMessagesGoToTheOsdHandleWhenThereIsOne) {
  EXPECT_EQ(sender.m_InformOSD(OSD_SET_PROFILE, 2), 0);  // no value
  values.table[u"OSD Handle"] = 0;
  EXPECT_EQ(sender.m_InformOSD(OSD_SET_PROFILE, 2), 0);
  EXPECT_TRUE(windows.posted.empty());
  values.table[u"OSD Handle"] = 0x1234;
  EXPECT_EQ(sender.m_InformOSD(OSD_SET_PROFILE, 2), 1);
  ASSERT_EQ(windows.posted.size(), 1u);
  EXPECT_EQ(windows.posted[0].window, H(0x1234));
  EXPECT_EQ(windows.posted[0].message, WM_INFORM_OSD);
  EXPECT_EQ(windows.posted[0].wParam, 5u);
  EXPECT_EQ(windows.posted[0].lParam, 2);
}

TEST_F(InformTest, DeviceEventsFollowCurrentDialogAndPromptsDropThem) {
  values.table = {{u"Process Handle", 0x10}, {u"Configure Handle", 0x20}, {u"Macro Edit Handle", 0x30},
                  {u"LED Edit Handle", -1}, {u"OSD Handle", 0x40}};
  const std::pair<int, std::int32_t> routes[] = {{0, 0x10}, {1, 0x20}, {2, 0x30}};
  for (auto [code, handle] : routes) {
    values.table[u"Current Dialog"] = code;
    windows.posted.clear();
    EXPECT_EQ(sender.m_InformMainFrame(UI_POLLING_RATE, 1), 1);
    ASSERT_EQ(windows.posted.size(), 1u);
    EXPECT_EQ(windows.posted[0].window, H(handle));
    EXPECT_EQ(windows.posted[0].message, WM_INFORM_UI);
  }
  for (int code : {3, 4, 5, 9}) {  // 3: the LED page handle is -1
    values.table[u"Current Dialog"] = code;
    windows.posted.clear();
    EXPECT_EQ(sender.m_InformMainFrame(UI_DPI_STATE, 0x84), 0);
    EXPECT_EQ(sender.m_InformOSD(OSD_DPI_STATE, 0x84), 1);  // the display still hears it
    ASSERT_EQ(windows.posted.size(), 1u);
    EXPECT_EQ(windows.posted[0].message, WM_INFORM_OSD);
  }
}

TEST_F(InformTest, RecordedKeysReachTheEditorOnlyWhileItRecords) {
  values.table[u"Macro Edit Handle"] = 0x77;
  values.table[u"Macro Record start"] = 0;
  EXPECT_EQ(sender.m_InformUIEdit(0x41, false), 0);
  values.table[u"Macro Record start"] = 2;
  EXPECT_EQ(sender.m_InformUIEdit(0x41, false), 0);
  values.table[u"Macro Record start"] = 1;
  EXPECT_EQ(sender.m_InformUIEdit(0x41, true), 1);
  ASSERT_EQ(windows.posted.size(), 1u);
  EXPECT_EQ(windows.posted[0].wParam, UI_RECORDED_KEY);
  EXPECT_EQ(static_cast<std::uint32_t>(windows.posted[0].lParam), 0x80000041u);
  values.table[u"Macro Edit Handle"] = -1;
  int before = values.reads;
  EXPECT_EQ(sender.m_InformUIEdit(0x41, false), 0);
  EXPECT_EQ(values.reads, before + 1);  // the flag is not even read
}

TEST_F(InformTest, TheMonitorSkipsHandlesThatNoLongerNameAWindow) {
  InformSender monitor(values, windows, InformSender::Check::kIsWindow);
  values.table[u"OSD Handle"] = 0x55;
  EXPECT_EQ(monitor.m_InformOSD(OSD_LOCK, 1), 0);
  windows.live.push_back(H(0x55));
  EXPECT_EQ(monitor.m_InformOSD(OSD_LOCK, 1), 1);
  EXPECT_EQ(sender.m_InformOSD(OSD_LOCK, 1), 1);
}

TEST(Handles, PublishedAsThirtyTwoBitsAndWidenedWithTheirSign) {
  EXPECT_EQ(ValueFromHandle(HandleFromValue(0x00ABCDEF)), 0x00ABCDEFu);
  EXPECT_EQ(HandleFromValue(-2), reinterpret_cast<Hwnd>(static_cast<std::intptr_t>(-2)));
  EXPECT_FALSE(HandleUsable(0));
  EXPECT_FALSE(HandleUsable(-1));
  EXPECT_TRUE(HandleUsable(0x10));
}

}  // namespace
}  // namespace halvard
