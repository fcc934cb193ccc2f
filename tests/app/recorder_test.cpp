#include "app/recorder.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/messages.h"
#include "ipc/messages.h"
#include "macro/listing.h"
#include "platform/registry_memory.h"

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Keystroke flags as the thread hook hands them over.
constexpr std::uint32_t Press(std::uint32_t scan, bool extended = false) {
  return 1u | (scan << 16) | (extended ? 1u << 24 : 0u);
}
constexpr std::uint32_t Release(std::uint32_t scan, bool extended = false) {
  return Press(scan, extended) | 0xC0000000u;
}

struct FakeHooks : RecordHooks {
  bool Install() override {
    if (fail) return false;
    installed = true;
    return true;
  }
  void Remove() override { installed = false; }
  bool Installed() const override { return installed; }
  bool fail = false, installed = false;
};

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetKeyboardLanguage(KeyboardLanguage::FromLanguageId(0x0409));
    list->SetCapacity(256);
    list->SetDelayUnit(25);
    list->SetExtendedKeys(true);
    list->Setup();
  }
  Bytes All() const {
    Bytes out;
    std::uint8_t row[300];
    for (int r = 0; r < list->Count(); ++r) {
      int n = list->RowBytes(r, row);
      out.insert(out.end(), row, row + n);
    }
    return out;
  }
  void Start(RecordingSettings::Mode mode = RecordingSettings::Mode::kMeasured, int defaultMs = 0) {
    rec.SetSettings({mode, defaultMs});
    ASSERT_TRUE(rec.StartRecording());
  }
  void Key(std::uint32_t vk, std::uint32_t flags, int afterMs = 0) {
    clock.Advance(afterMs);
    rec.RecordKey(vk, flags);
  }
  void Tap(std::uint32_t vk, std::uint32_t scan) {
    Key(vk, Press(scan));
    Key(vk, Release(scan));
  }
  int Flag() { return store.GetDword(kMacroRecordStart); }

  VirtualClock clock;
  MemoryRegistry registry;
  RegistryStore store{registry};
  RecordingMessages messages;
  FakeHooks hooks;
  MemoryListView view;
  std::unique_ptr<CSkinLVCmdList> list = std::make_unique<CSkinLVCmdList>(view);
  MacroRecorder rec{*list, view, clock, messages, hooks, store};
};

TEST(KeyCodeFromVirtualKey, LayoutsAndModifierSides) {
  const RecordLayout us{9, 1, false, false}, uk{9, 2, false, false}, de{7, 1, true, false}, fr{12, 1, true, false},
      jp{17, 1, false, false}, jpIme{17, 1, false, true}, ko{18, 1, false, false}, koIme{18, 1, false, true},
      ptBr{22, 1, false, false}, pt{22, 2, false, false}, tr{31, 1, false, false}, sv{29, 1, false, false};
  struct Case {
    RecordLayout layout;
    std::uint32_t vk, flags;
    int code;
  } cases[] = {
      {us, 0x41, Press(0x1E), 0x04},  {us, 0x5A, Press(0x2C), 0x1D},    {us, 0x30, 0, 0x27},
      {us, 0x31, 0, 0x1E},            {us, 0x0D, 0, 0x28},              {us, 0x26, 0, 0x52},
      {us, 0x70, 0, 0x3A},            {us, 0x7B, 0, 0x45},              {us, 0x83, 0, 0x6F},
      {us, 0xDF, 0, 0x7F},            {us, 0xE2, 0, 0x64},              {us, 0xC0, 0, 0x35},
      {us, 0x10, 0x002A0001, 0x71},   {us, 0x10, 0x00360001, 0x75},     {us, 0x10, 0, 0x7F},
      {us, 0x11, 0x001D0001, 0x70},   {us, 0x11, 0x011D0001, 0x74},     {us, 0x11, 0xC01D0001, 0x70},
      {us, 0x12, 0x00380001, 0x72},   {us, 0x12, 0x21380001, 0x76},     {us, 0x12, 0x00380002, 0x7F},
      {us, 0xA3, 0, 0x74},            {us, 0x5B, 0, 0x73},              {us, 0xE5, 0, 0x7F},
      {us, 0xFF, 0, 0x7F},            {us, 0x1234, 0, 0x7F},            {us, 0x07, 0, 0x7F},
      {uk, 0xC0, 0, 0x34},            {uk, 0xDF, 0, 0x35},              {uk, 0xDC, 0, 0x64},
      {de, 0x59, 0, 0x1D},            {de, 0x5A, 0, 0x1C},              {de, 0xBA, 0, 0x2F},
      {de, 0xDB, 0, 0x2D},            {de, 0xDD, 0, 0x2E},              {de, 0x41, 0, 0x04},
      {fr, 0x41, 0, 0x14},            {fr, 0x51, 0, 0x04},              {fr, 0x5A, 0, 0x1A},
      {fr, 0x4D, 0, 0x33},            {fr, 0xBC, 0, 0x10},              {fr, 0xDF, 0, 0x38},
      {fr, 0x59, 0, 0x1C},            {sv, 0xBA, 0, 0x30},              {sv, 0xDD, 0, 0x2F},
      {jp, 0xDC, 0, 0x7F},            {jpIme, 0xDC, 0, 0x89},           {jp, 0xE2, 0, 0x87},
      {jp, 0xF3, 0, 0x35},            {jp, 0xF4, 0, 0x7F},              {jpIme, 0xF0, 0, 0x88},
      {jpIme, 0x1D, 0, 0x8B},         {ko, 0x15, 0, 0x7F},              {koIme, 0x19, 0, 0x91},
      {ptBr, 0xBB, 0, 0x2E},          {pt, 0xBB, 0, 0x2F},              {tr, 0xDF, 0, 0x2D},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeyCodeFromVirtualKey(c.vk, c.flags, c.layout), c.code)
        << "language " << c.layout.primary << "/" << c.layout.subLanguage << " vk " << std::hex << c.vk;
}

TEST(MouseInstruction, EveryMessage) {
  namespace m = mouse_msg;
  struct Case {
    std::uint32_t message, data;
    bool onStop;
    int code;
  } cases[] = {
      {m::kLButtonDown, 0, false, 0x78}, {m::kLButtonUp, 0, false, 0xF8},   {m::kLButtonDown, 0, true, 0},
      {m::kLButtonUp, 0, true, 0},       {m::kNcLButtonDown, 0, false, 0xF8}, {m::kNcLButtonUp, 0, false, 0xF8},
      {m::kRButtonDown, 0, false, 0x79}, {m::kNcRButtonUp, 0, false, 0xF9}, {m::kMButtonDown, 0, true, 0x7A},
      {m::kNcMButtonUp, 0, false, 0xFA}, {m::kXButtonDown, 1u << 16, false, 0x7B},
      {m::kXButtonDown, 2u << 16, false, 0x7C}, {m::kXButtonDown, 3u << 16, false, 0},
      {m::kNcXButtonUp, 1u << 16, false, 0xFB}, {m::kXButtonUp, 2u << 16, false, 0xFC},
      {m::kMouseWheel, 0xFF880000u, false, 0x7E}, {m::kMouseWheel, 0x00780000u, false, 0xFE},
      {m::kMouseMove, 0, false, 0},      {m::kLButtonDblClk, 0, false, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MouseInstruction({c.message, c.data, c.onStop}), c.code) << std::hex << c.message;
}

TEST_F(RecorderTest, MeasuredDelaysAreHalfTheTimeOnTheMonotonicClock) {
  clock.Advance(1'000'000);
  Start();
  EXPECT_EQ(Flag(), 1);
  EXPECT_TRUE(hooks.installed);
  Key(0x41, Press(0x1E));
  Key(0x41, Release(0x1E), 300);
  Key(0x42, Press(0x30), 1000);
  Key(0x42, Release(0x30), 30'000);  // capped at 10 s: 200 units
  Key(0x43, Press(0x2E), 10);        // below one unit after halving
  Key(0x43, Release(0x2E));
  rec.StopRecording();
  EXPECT_EQ(All(), (Bytes{0x04, 0x01, 6, 0x84, 0x01, 20, 0x05, 0x01, 200, 0x85, 0x06, 0x86}));
  EXPECT_EQ(list->RowText(0), u"A");
  EXPECT_FALSE(hooks.installed);
  EXPECT_EQ(Flag(), 0);
}

TEST_F(RecorderTest, DefaultAndNoDelayModes) {
  // The last row gets the default delay too, so the stored macro is what the list shows.
  Start(RecordingSettings::Mode::kDefaultDelay, 100);
  Tap(0x41, 0x1E);
  Key(0x42, Press(0x30), 5000);
  rec.StopRecording();  // closes the open B
  EXPECT_EQ(All(), (Bytes{0x04, 0x01, 4, 0x84, 0x01, 4, 0x05, 0x01, 4, 0x85, 0x01, 4}));
  EXPECT_EQ(view.items.back().text[2], u"100ms");

  list->ClearAll();
  Start(RecordingSettings::Mode::kDefaultDelay, 20000);  // from a file: split into full pairs
  Tap(0x41, 0x1E);
  rec.StopRecording();
  EXPECT_EQ(list->DelayTicks(0) - 1, 800);
  EXPECT_EQ(list->RowSize(0), 1 + 8);

  list->ClearAll();
  Start(RecordingSettings::Mode::kWithoutDelay, 100);
  Tap(0x41, 0x1E);
  Key(0x42, Press(0x30), 400);
  Key(0x42, Release(0x30), 400);
  rec.StopRecording();
  EXPECT_EQ(All(), (Bytes{0x04, 0x84, 0x05, 0x85}));
}

TEST_F(RecorderTest, KeySequences) {
  struct Step {
    std::uint32_t vk, flags;
  };
  struct Case {
    const char* what;
    RecordLayout layout;
    std::vector<Step> steps;
    Bytes bytes;
  } cases[] = {
      {"auto-repeat", {9, 1, false, false},
       {{0x41, Press(0x1E)}, {0x41, Press(0x1E) | 0x40000000}, {0x41, Press(0x1E)}, {0x41, Release(0x1E)}},
       {0x04, 0x84}},
      {"print screen on release only", {9, 1, false, false}, {{0x2C, Release(0x37, true)}}, {0x46, 0xC6}},
      {"F20 is two bytes", {9, 1, false, false}, {{0x83, Press(0x6B)}, {0x83, Release(0x6B)}},
       {0x6F, 0x6F, 0xEF, 0x6F}},
      {"German AltGr+Q", {7, 1, true, false},
       {{0x11, 0x001D0001}, {0x12, 0x21380001}, {0x11, 0x001D0001 | 0x40000000}, {0x12, 0x21380001 | 0x40000000},
        {0x51, Press(0x10)}, {0x51, Release(0x10)}, {0x11, 0xC01D0001}, {0x12, 0xC1380001}},
       {0x76, 0x14, 0x94, 0xF6}},
      {"French A is Q", {12, 1, true, false}, {{0x41, Press(0x10)}, {0x41, Release(0x10)}}, {0x14, 0x94}},
      {"lone right Alt release", {7, 1, true, false}, {{0x12, 0xC1380001}}, {0x76, 0xF6}},
      {"lone Control release", {7, 1, true, false}, {{0x11, 0xC01D0001}}, {0xF0}},
      {"Shift without scan code, unknown keys", {9, 1, false, false},
       {{0x10, 0x80000000}, {0x07, Press(0)}, {0xFF, Press(0)}, {0x10, 0x002A0001}, {0x10, 0xC02A0001}},
       {0x71, 0xF1}},
      {"Japanese IME key by scan code", {17, 1, false, true}, {{0xE5, Press(0x70)}, {0xE5, Release(0x70)}},
       {0x6F, 0x88, 0xEF, 0x88}},
      {"IME key elsewhere", {9, 1, false, true}, {{0xE5, Press(0x70)}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    list->ClearAll();
    rec.SetLayout(c.layout);
    Start(RecordingSettings::Mode::kWithoutDelay);
    for (const Step& s : c.steps) Key(s.vk, s.flags, 50);
    EXPECT_EQ(rec.OpenPresses(), 0);
    rec.StopRecording();
    EXPECT_EQ(All(), c.bytes);
  }
  EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RecorderTest, MouseRecordingSwallowsAndSkipsStop) {
  namespace m = mouse_msg;
  EXPECT_FALSE(rec.RecordMouse({m::kLButtonDown, 0, false}));  // not recording: passed on
  Start(RecordingSettings::Mode::kWithoutDelay);
  EXPECT_TRUE(rec.RecordMouse({m::kRButtonDown, 0, false}));
  EXPECT_TRUE(rec.RecordMouse({m::kRButtonUp, 0, false}));
  EXPECT_TRUE(rec.RecordMouse({m::kMouseWheel, 0xFF880000u, false}));
  EXPECT_FALSE(rec.RecordMouse({m::kMouseMove, 0, false}));
  EXPECT_FALSE(rec.RecordMouse({m::kLButtonDown, 0, true}));
  EXPECT_FALSE(rec.RecordMouse({m::kLButtonUp, 0, true}));
  EXPECT_TRUE(rec.RecordMouse({m::kXButtonDown, 2u << 16, false}));
  EXPECT_EQ(list->CurrentRow(), 3);
  EXPECT_EQ(view.SelectedCount(), 1);
  rec.StopRecording();  // the second extra button is still down
  EXPECT_EQ(All(), (Bytes{0x79, 0xF9, 0x7E, 0x7C, 0xFC}));
}

TEST_F(RecorderTest, HooksRefusedAndStopTwiceAndLateForwardedKeys) {
  hooks.fail = true;
  rec.SetSettings({});
  EXPECT_FALSE(rec.StartRecording());
  ASSERT_EQ(messages.shown.size(), 1u);
  EXPECT_EQ(messages.shown[0].number, kMsgRecordFailed);
  EXPECT_FALSE(rec.Recording());
  EXPECT_NE(Flag(), 1);
  hooks.fail = false;
  Start(RecordingSettings::Mode::kWithoutDelay);
  EXPECT_FALSE(rec.StartRecording());
  rec.RecordForwardedKey(PackRecordedKey(0x5B, false));  // the Windows key, handed over
  rec.RecordForwardedKey(PackRecordedKey(0x5B, true));
  rec.StopRecording();
  rec.StopRecording();
  rec.RecordForwardedKey(PackRecordedKey(0x41, false));  // arrives after STOP
  EXPECT_EQ(All(), (Bytes{0x73, 0xF3}));
  EXPECT_EQ(Flag(), 0);
}

// Whatever the fill level when the buffer runs full, recording stops once with one message,
// the macro fits, and no key or button is left down in it.
TEST_F(RecorderTest, FullBufferAtEveryPositionLeavesNothingDown) {
  for (int fill = 236; fill <= 256; ++fill) {
    SCOPED_TRACE(fill);
    list->ClearAll();
    messages.shown.clear();
    for (int i = 0; i < fill; ++i) list->AppendInstruction(0x7F, 0, 0);
    Start(RecordingSettings::Mode::kDefaultDelay, 50);
    Key(0x10, 0x002A0001);  // Shift held through the rest
    for (int k = 0; k < 6 && rec.Recording(); ++k) {
      rec.RecordMouse({mouse_msg::kLButtonDown, 0, false});
      Tap(0x41 + static_cast<std::uint32_t>(k), 0x1E);
      rec.RecordMouse({mouse_msg::kLButtonUp, 0, false});
    }
    if (rec.Recording()) rec.StopRecording();
    EXPECT_FALSE(hooks.installed);
    EXPECT_EQ(Flag(), 0);
    EXPECT_LE(list->UsedBytes(), 256);
    EXPECT_EQ(messages.shown.size(), 1u);
    int down[256] = {};
    for (std::uint8_t b : All()) {
      if (b >= 0x04 && b <= 0x7D && b != 0x7F && b != 0x01) ++down[b];
      if (b >= 0x84 && b <= 0xFD && b != 0xEF && down[b & 0x7F] > 0) --down[b & 0x7F];
    }
    // Delay operands may look like presses; only the ones recorded here matter.
    for (int code : {0x71, 0x78, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09}) EXPECT_EQ(down[code], 0) << code;
  }
}

}  // namespace
}  // namespace halvard
