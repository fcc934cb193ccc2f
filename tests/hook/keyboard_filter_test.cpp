// What the system-wide keyboard hook does with each key, recording or not.
#include <gtest/gtest.h>

#include "hook_rig.h"

namespace halvard {
namespace {

struct Event {
  std::uint32_t vk;
  std::uint32_t flags;
  bool ctrl;
  bool systemKey;  // goes to the editor (and is withheld) while it records
};

constexpr std::uint32_t kUp = kKeyFlagUp, kAltFlag = kKeyFlagAltDown;

struct Sequence {
  const char* name;
  std::vector<Event> events;
};

const std::vector<Sequence> kSequences = {
    {"left and right Windows keys", {{0x5B, 0, false, true}, {0x5B, kUp, false, true},
                                     {0x5C, 0, false, true}, {0x5C, kUp, false, true}}},
    {"Print Screen, reported only on release", {{0x2C, kUp, false, true}}},
    {"Ctrl+Esc: Esc while Ctrl is held, never Ctrl itself",
     {{0x11, 0, false, false}, {0x1B, 0, true, true}, {0x1B, kUp, true, true}, {0x11, kUp, true, false},
      {0x1B, 0, false, false}, {0x1B, kUp, false, false}}},
    {"Alt+Tab with the Alt-down flag",
     {{0xA4, kAltFlag, false, false}, {0x09, kAltFlag, false, true}, {0x09, kAltFlag | kUp, false, true},
      {0xA4, kUp, false, false}}},
    {"Alt+Tab without the flag: Alt followed by its own events",
     {{0xA4, 0, false, false}, {0x09, 0, false, true}, {0x09, kUp, false, true}, {0xA4, kUp, false, false},
      {0x09, 0, false, false}, {0x09, kUp, false, false}}},
    {"right Alt+Esc, left Alt released in between",
     {{0xA4, 0, false, false}, {0xA5, 0, false, false}, {0xA4, kUp, false, false}, {0x1B, 0, false, true},
      {0xA5, kUp, false, false}, {0x1B, kUp, false, false}}},
    {"ordinary keys and Ctrl+letter",
     {{0x41, 0, false, false}, {0x41, kUp, false, false}, {0x11, 0, false, false}, {0x43, 0, true, false},
      {0x09, 0, true, false}, {0x0D, 0, false, false}}},
};

class KeyboardFilterTest : public HookRig {
 protected:
  // Runs the sequence through a fresh core; returns which events were withheld.
  std::vector<bool> Run(const Sequence& s) {
    HookCore fresh{registry, windows, device, starter, shared};
    std::vector<bool> withheld;
    for (const Event& e : s.events) withheld.push_back(fresh.FilterKey({e.vk, e.flags}, e.ctrl));
    return withheld;
  }
};

TEST_F(KeyboardFilterTest, WhileRecordingSystemKeysGoToTheEditorAndAreWithheld) {
  Publish();
  store.SetDword(kMacroRecordStart, 1);
  for (const Sequence& s : kSequences) {
    SCOPED_TRACE(s.name);
    windows.posted.clear();
    std::vector<bool> want;
    std::vector<Post> posts;
    for (const Event& e : s.events) {
      want.push_back(e.systemKey);
      if (e.systemKey)
        posts.push_back({kEditorWindow, WM_INFORM_UI, UI_RECORDED_KEY,
                         static_cast<std::intptr_t>(PackRecordedKey(e.vk, (e.flags & kUp) != 0))});
    }
    EXPECT_EQ(Run(s), want);
    EXPECT_EQ(Posts(), posts);
  }
}

TEST_F(KeyboardFilterTest, WithoutARecordingEditorEveryKeyGoesThrough) {
  struct State {
    const char* name;
    std::int32_t editor;
    std::int32_t recording;
  };
  for (const State& st : {State{"not recording", kEditorWindow, 0}, State{"flag not exactly 1", kEditorWindow, 2},
                          State{"editor closed", -1, 1}, State{"no editor yet", 0, 1}}) {
    SCOPED_TRACE(st.name);
    Publish();
    store.SetDword(kMacroEditHandle, static_cast<std::uint32_t>(st.editor));
    store.SetDword(kMacroRecordStart, static_cast<std::uint32_t>(st.recording));
    for (const Sequence& s : kSequences) {
      SCOPED_TRACE(s.name);
      EXPECT_EQ(Run(s), std::vector<bool>(s.events.size(), false));
    }
    EXPECT_TRUE(windows.posted.empty());
  }
}

TEST_F(KeyboardFilterTest, NoRegistryKeyMeansNoRecordingAndTheKeyIsCreated) {
  EXPECT_FALSE(core.FilterKey({0x5B, 0}, false));
  EXPECT_TRUE(windows.posted.empty());
  EXPECT_TRUE(registry.KeyExists(RegRoot::kCurrentUser, kHalvardKey));
  EXPECT_EQ(registry.OpenKeyCount(), 0);
}

}  // namespace
}  // namespace halvard
