// Button assignment against the simulated mouse behind a loaded session: the matching of cells
// against the function table, the left-button rule on every path that changes button 0, and each
// category command's effect on the shadow, the registry and the mouse's trace.
#include "app/button_assign.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/main_page.h"
#include "app/language.h"
#include "app/messages.h"
#include "app/prompt_model.h"
#include "tests/app/session_world.h"
#include "macro/macro_file.h"
#include "device/simulated_hid.h"
#include "ipc/messages.h"
#include "platform/registry_memory.h"
#include "store/value_names.h"

namespace halvard {
namespace {

const Hwnd kSelf = reinterpret_cast<Hwnd>(0x1230);

struct Rig;

class FakeAssignView : public AssignView {
 public:
  explicit FakeAssignView(Rig& rig) : rig_(rig) {}
  void RefuseNoLeftButton() override { ++refusals; }
  std::optional<int> AskSingleFunction(int currentRow) override;
  std::optional<MacroAnswer> AskMacro(std::u16string_view path, int choice, int count) override;
  std::optional<std::u16string> AskApplication(std::u16string_view stored) override;
  void SetButtonLabel(int button, int category, std::u16string_view text, bool) override {
    labels[static_cast<std::size_t>(button)] = {std::u16string(text), category};
  }
  void ShowSelectedButton(int, int button) override { shown = button; }
  void EnableCategoryButtons(bool a, bool f, bool v) override { assign = a, factory = f, videos = v; }
  void ShowPopup() override { popup = true, ++popups; }
  void HidePopup() override { popup = false; }

  Rig& rig_;
  int refusals = 0, prompts = 0, shown = -1, popups = 0, seededRow = -2, seededChoice = -2, seededCount = -1;
  std::int32_t dialogDuringPrompt = -1;
  std::u16string seededPath, storedPath;
  std::optional<int> singleAnswer;
  std::optional<MacroAnswer> macroAnswer;
  std::optional<std::u16string> appAnswer;
  std::array<ButtonLabel, kButtonCount> labels{};
  bool assign = false, factory = false, videos = false, popup = false;
};

struct Rig : SessionWorld {
  Rig() {
    mouse = std::make_unique<SimulatedMouse>(&clock, 0x2002);
    hid.AddInterface(SimulatedHid::MouseInterface(mouse.get(), u""));
    files.documents = u"C:\\Docs";
    session->Initialise();
    Hwnd w;
    std::uint32_t id;
    while (windows.NextDue(&w, &id)) session->OnTimer(id);
    mouse->ClearTrace();
  }
  void RunTimers() {
    Hwnd w;
    std::uint32_t id;
    for (int n = 0; n < 100000 && windows.NextDue(&w, &id); ++n) {
      if (id == kTimerMacroWrite) {
        assign.OnTimer(id);
      } else {
        session->OnTimer(id);
      }
    }
  }
  void SetButton(int p, int i, int row) {
    const FunctionRow& r = kFunctionRows[static_cast<std::size_t>(row)];
    tessel->MarkLoaded(TypeCell(p, i), r.type);
    for (int k = 0; k < 4; ++k) tessel->MarkLoaded(ParameterCell(p, i, k), r.params[static_cast<std::size_t>(k)]);
  }
  int Type(int i) const { return tessel->Value(TypeCell(0, i)); }
  std::u16string Value(int i, ButtonValue which) {
    char16_t buf[300] = {};
    store.GetString(ButtonValueName(0, i, which), buf);
    return buf;
  }
  void PutMacro(std::u16string_view name, int length) {
    std::vector<std::uint8_t> bytes = {kMacroMagic0, kMacroMagic1, kMacroFormat, static_cast<std::uint8_t>(length & 0xFF),
                                       static_cast<std::uint8_t>(length >> 8), 0, 0, 0, 0};
    for (int k = 0; k < length; ++k) bytes.push_back(static_cast<std::uint8_t>(0x10 + k % 0x60));
    files.Put(u"C:\\Docs\\Halvard\\" + std::u16string(name) + u".Mac", bytes);
  }
  // Addresses written to the mouse, in order.
  std::vector<int> Writes() const {
    std::vector<int> out;
    for (auto& e : mouse->Trace())
      if (e.set && e.ok && e.bytes[1] == kReqWriteCell) out.push_back(e.bytes[2] | (e.bytes[4] << 8));
    return out;
  }
  bool HasMessage(int number) const {
    return std::any_of(messages.shown.begin(), messages.shown.end(), [&](auto& m) { return m.number == number; });
  }

  std::unique_ptr<SimulatedMouse> mouse;
  NullSessionView sessionView;
  std::unique_ptr<DeviceSession> session = std::make_unique<DeviceSession>(Deps(sessionView, kSelf));
  FakeAssignView view{*this};
  ButtonAssignment assign{AssignDeps{*tessel, *session, store, files, messages, shell, windows, clock, view, kSelf}};
};

std::optional<int> FakeAssignView::AskSingleFunction(int currentRow) {
  ++prompts;
  seededRow = currentRow;
  dialogDuringPrompt = rig_.store.GetDword(kCurrentDialog);
  return singleAnswer;
}
std::optional<AssignView::MacroAnswer> FakeAssignView::AskMacro(std::u16string_view path, int choice, int count) {
  ++prompts;
  seededPath = std::u16string(path), seededChoice = choice, seededCount = count;
  dialogDuringPrompt = rig_.store.GetDword(kCurrentDialog);
  return macroAnswer;
}
std::optional<std::u16string> FakeAssignView::AskApplication(std::u16string_view stored) {
  ++prompts;
  storedPath = std::u16string(stored);
  dialogDuringPrompt = rig_.store.GetDword(kCurrentDialog);
  return appAnswer;
}

TEST(ButtonMatch, EveryTypeAndEdgeAgainstTheTable) {
  struct Case {
    int type, d0, d1, d2, d3, button, row, category;
  };
  const Case cases[] = {
      {1, 1, 0, 0, 0, 0, 1, 2},   {1, 1, 0, 0, 0, 3, 1, 1},    {1, 2, 0, 0, 0, 1, 3, 2},   {1, 4, 0, 0, 0, 2, 7, 2},
      {1, 4, 0, 0, 0, 0, 7, 1},   {1, 8, 9, 9, 9, 3, 5, 2},    {1, 16, 0, 0, 0, 4, 6, 2},  {1, 3, 0, 0, 0, 0, -1, 6},
      {1, 32, 0, 0, 0, 5, -1, 6}, {1, 0, 0, 0, 0, 0, -1, 6},   {2, 1, 0, 0, 0, 0, 10, 1},  {2, 2, 0, 0, 0, 0, 11, 1},
      {2, 4, 0, 0, 0, 9, 12, 1},  {2, 3, 0, 0, 0, 0, -1, 6},   {2, 0, 0, 0, 0, 0, -1, 6},  {4, 1, 2, 6, 2, 0, 4, 1},
      {4, 1, 2, 6, 3, 0, -1, 6},  {6, 5, 5, 5, 5, 7, 0, 0},    {6, 0, 0, 0, 0, 0, 0, 0},   {9, 0, 0, 0, 0, 6, 8, 2},
      {9, 0, 0, 0, 0, 5, 8, 1},   {10, 0, 0, 0, 0, 5, 9, 2},   {10, 0, 0, 0, 0, 6, 9, 1},  {15, 0, 0, 0, 0, 2, 13, 3},
      {73, 0, 0, 0, 0, 7, 2, 2},  {73, 0, 0, 0, 0, 8, 2, 1},   {0, 0, 0, 0, 0, 0, -1, 6},  {5, 1, 0, 0, 0, 0, -1, 6},
      {255, 1, 0, 0, 0, 0, -1, 6},
  };
  Rig r;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " d0 " << c.d0 << " button " << c.button);
    for (int p : {0, 4}) {
      r.tessel->MarkLoaded(TypeCell(p, c.button), c.type);
      const int d[4] = {c.d0, c.d1, c.d2, c.d3};
      for (int k = 0; k < 4; ++k) r.tessel->MarkLoaded(ParameterCell(p, c.button, k), d[k]);
      ButtonMatch m = MatchButton(*r.tessel, p, c.button);
      EXPECT_EQ(m.row, c.row);
      EXPECT_EQ(m.category, c.category);
      ButtonLabel l = DescribeButton(*r.tessel, r.store, p, c.button);
      EXPECT_EQ(l.category, c.category);
      EXPECT_EQ(l.text, c.row < 0 ? u"" : ActiveLanguage().FunctionName(c.row));
    }
  }
}

TEST(ButtonMatch, FactoryProfileAndRegistryLabels) {
  Rig r;
  // The factory buttons 0-6 are at their factory rows; 7 to 10 are off, which counts as the
  // factory function for button 7 only.
  for (int i = 0; i < kButtonCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(MatchButton(*r.tessel, 0, i).row, i < 7 ? FactoryRow(i) : kRowOff);
    EXPECT_EQ(MatchButton(*r.tessel, 0, i).category, i <= 7 ? kLabelFactory : kLabelSingle);
  }
  r.SetButton(4, 10, kRowMacro);
  r.SetButton(4, 9, kRowLaunch);
  EXPECT_EQ(DescribeButton(*r.tessel, r.store, 4, 10).text, u"MACRO KEY");
  EXPECT_EQ(DescribeButton(*r.tessel, r.store, 4, 9).text, u"LAUNCH");
  r.store.SetString(u"PF4T11 Macro Name", u"Combo");
  r.store.SetString(u"PF4T10 AP Name", u"Editor");
  r.store.SetString(u"PF4T11 AP Name", u"Wrong");
  EXPECT_EQ(DescribeButton(*r.tessel, r.store, 4, 10).text, u"Combo");
  EXPECT_EQ(DescribeButton(*r.tessel, r.store, 4, 10).category, kLabelMacro);
  EXPECT_EQ(DescribeButton(*r.tessel, r.store, 4, 9).text, u"Editor");
  EXPECT_EQ(DescribeButton(*r.tessel, r.store, 4, 9).category, kLabelApplication);
  r.assign.RefreshLabels(0);
  EXPECT_EQ(r.view.labels[0].text, u"CLICK");
  EXPECT_EQ(r.view.labels[0].category, kLabelFactory);
  EXPECT_EQ(r.view.labels[8].text, u"BUTTON OFF");
  r.tessel->MarkLoaded(TypeCell(0, 8), 0);
  r.assign.RefreshLabels(0);
  EXPECT_EQ(r.view.labels[8].text, u"");
  EXPECT_EQ(r.view.labels[8].category, kLabelNone);
}

TEST(ButtonMatch, RepeatModesAndApplicationNames) {
  for (int c = -1; c < 4; ++c) EXPECT_EQ(ChoiceOfRepeatMode(RepeatModeOfChoice(c)), c);
  EXPECT_EQ(ChoiceOfRepeatMode(8), -1);
  EXPECT_EQ(RepeatModeOfChoice(7), 1);
  EXPECT_EQ(ApplicationName(u"C:\\Games\\Big.Game.exe"), u"Big.Game");
  EXPECT_EQ(ApplicationName(u"C:\\Tools.d\\run"), u"run");
}

TEST(LeftButtonRule, EveryPathThatChangesButtonZero) {
  Rig r;
  // The factory profile has one left click: button 0.
  EXPECT_FALSE(LeftRuleAllows(*r.tessel, 0, 0, kRowRight));
  EXPECT_TRUE(LeftRuleAllows(*r.tessel, 0, 0, kRowClick));
  EXPECT_TRUE(LeftRuleAllows(*r.tessel, 0, 3, kRowRight));
  EXPECT_FALSE(LeftRuleAllows(*r.tessel, 0, 3, 14));
  const int before = r.Type(0);

  r.assign.Select(0);
  r.view.singleAnswer = kRowRight;
  r.view.macroAnswer = AssignView::MacroAnswer{u"M", 0, 0};
  r.view.appAnswer = u"C:\\x.exe";
  r.PutMacro(u"M", 4);
  r.assign.AssignSingle();
  r.assign.AssignMacro();
  r.assign.AssignApplication();
  EXPECT_EQ(r.view.refusals, 3);
  EXPECT_EQ(r.view.prompts, 0);  // refused before any prompt
  EXPECT_EQ(r.Type(0), before);
  EXPECT_TRUE(r.Writes().empty());
  EXPECT_TRUE(r.Value(0, ButtonValue::kApplication).empty());
  // Its factory function is a left click: resetting it is allowed.
  r.assign.ResetToFactory();
  EXPECT_EQ(r.view.refusals, 3);

  // A second left click frees button 0.
  r.assign.Select(3);
  r.view.singleAnswer = kRowClick;
  r.assign.AssignSingle();
  EXPECT_EQ(r.tessel->Value(ParameterCell(0, 3, 0)), 1);
  r.assign.Select(0);
  r.view.singleAnswer = kRowRight;
  r.assign.AssignSingle();
  EXPECT_EQ(r.tessel->Value(ParameterCell(0, 0, 0)), 2);
  EXPECT_EQ(r.view.refusals, 3);
  // Now button 3 is the only one: its reset to BACKWARD is refused.
  r.assign.Select(3);
  r.assign.ResetToFactory();
  EXPECT_EQ(r.view.refusals, 4);
  EXPECT_EQ(r.tessel->Value(ParameterCell(0, 3, 0)), 1);
}

TEST(AssignSingle, WritesTheShadowOnlyLabelsAndFollowsPending) {
  Rig r;
  r.assign.Select(4);
  EXPECT_TRUE(r.view.assign);
  EXPECT_FALSE(r.view.factory);  // FORWARD is its factory function
  r.view.singleAnswer = kRowCtrl;
  r.assign.AssignSingle();
  EXPECT_EQ(r.view.seededRow, kRowForward);
  EXPECT_EQ(r.view.dialogDuringPrompt, kRoutePrompt);
  EXPECT_EQ(r.store.GetDword(kCurrentDialog), kRouteMainWindow);
  EXPECT_FALSE(r.session->busy());
  EXPECT_EQ(r.Type(4), kFnModifier);
  EXPECT_TRUE(r.tessel->IsDirty(TypeCell(0, 4)));
  EXPECT_TRUE(r.Writes().empty());  // nothing reaches the mouse before Apply
  EXPECT_TRUE(r.session->modified());
  EXPECT_EQ(r.view.labels[4].text, u"CTRL");
  EXPECT_EQ(r.view.labels[4].category, kLabelSingle);
  EXPECT_TRUE(r.view.factory);

  // The mark follows the profile's pending cells, not the last assignment.
  r.assign.Select(1);
  r.view.singleAnswer = kRowRight;
  r.assign.AssignSingle();
  EXPECT_TRUE(r.session->modified());
  {
    Rig fresh;
    fresh.assign.Select(1);
    fresh.view.singleAnswer = kRowRight;
    fresh.assign.AssignSingle();
    EXPECT_FALSE(fresh.tessel->IsDirty(TypeCell(0, 1)));
    EXPECT_FALSE(fresh.session->modified());
  }
  r.assign.Select(4);
  r.view.singleAnswer = kRowForward;
  r.assign.AssignSingle();

  // Cancel changes nothing.
  r.view.singleAnswer.reset();
  r.assign.AssignSingle();
  EXPECT_EQ(r.Type(4), kFnMouseButton);

  r.assign.ClearSelection();
  EXPECT_FALSE(r.view.assign);
  EXPECT_TRUE(r.view.videos);
  const int prompts = r.view.prompts;
  r.assign.AssignSingle();  // no button selected
  EXPECT_EQ(r.view.prompts, prompts);
}

TEST(ResetToFactory, ButtonSevenAndButtonsWithoutFactoryRow) {
  Rig r;
  r.SetButton(0, 7, kRowOff);
  for (int k = 0; k < 4; ++k) {
    r.mouse->SetCell(HeaderCell(0, 7, k), 9);
    r.tessel->MarkLoaded(HeaderCell(0, 7, k), 9);
  }
  r.store.SetString(ButtonValueName(0, 7, ButtonValue::kMacroName), u"Old");
  r.assign.Select(7);
  EXPECT_FALSE(r.view.factory);  // BUTTON OFF on button 7 counts as its factory function
  r.assign.ResetToFactory();
  EXPECT_EQ(r.Type(7), kFnMacro);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(r.tessel->Value(ParameterCell(0, 7, k)), 0);
    EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 7, k)), 0);  // through to the mouse
  }
  EXPECT_TRUE(r.Value(7, ButtonValue::kMacroName).empty());
  EXPECT_EQ(r.view.labels[7].text, u"MACRO KEY");
  EXPECT_EQ(r.view.labels[7].category, kLabelFactory);
  EXPECT_FALSE(r.view.factory);
  EXPECT_TRUE(r.session->modified());

  r.assign.Select(9);
  r.assign.ResetToFactory();
  EXPECT_EQ(r.view.refusals, 1);
}

TEST(AssignApplication, StoresPathAndNameAndWritesLaunch) {
  Rig r;
  r.assign.Select(9);
  r.view.appAnswer.reset();
  r.assign.AssignApplication();
  EXPECT_EQ(r.Type(9), kFnOff);
  EXPECT_FALSE(r.session->modified());
  r.store.SetString(ButtonValueName(0, 9, ButtonValue::kApplication), u"C:\\Old\\old.exe");
  r.view.appAnswer = u"C:\\Games\\Big.Game.exe";
  r.assign.AssignApplication();
  EXPECT_EQ(r.view.storedPath, u"C:\\Old\\old.exe");
  EXPECT_EQ(r.view.dialogDuringPrompt, kRoutePrompt);
  EXPECT_EQ(r.Value(9, ButtonValue::kApplication), u"C:\\Games\\Big.Game.exe");
  EXPECT_EQ(r.Value(9, ButtonValue::kApplicationName), u"Big.Game");
  EXPECT_EQ(r.Type(9), kFnLaunch);
  EXPECT_EQ(r.view.labels[9].text, u"Big.Game");
  EXPECT_EQ(r.view.labels[9].category, kLabelApplication);
  EXPECT_TRUE(r.session->modified());
}

TEST(AssignMacro, ShortMacroGoesOutAtOnceSlotBeforeHeader) {
  Rig r;
  r.PutMacro(u"Combo", 10);
  r.assign.Select(5);
  r.view.macroAnswer = AssignView::MacroAnswer{u"Combo", kChoiceMultiple, 7};
  r.assign.AssignMacro();
  EXPECT_EQ(r.view.seededPath, u"C:\\Docs\\Halvard\\");
  EXPECT_EQ(r.view.dialogDuringPrompt, kRoutePrompt);
  const std::vector<int> w = r.Writes();
  ASSERT_EQ(w.size(), 14u);
  for (int k = 0; k < 10; ++k) EXPECT_EQ(w[static_cast<std::size_t>(k)], SlotCell(0, 5, k));
  EXPECT_EQ(w[10], HeaderCell(0, 5, 2));
  for (int k = 0; k < 10; ++k) EXPECT_EQ(r.mouse->Cell(SlotCell(0, 5, k)), 0x10 + k);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 5, 0)), 10);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 5, 1)), 2);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 5, 2)), 7);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 5, 3)), 12);
  EXPECT_EQ(r.Type(5), kFnMacro);
  EXPECT_TRUE(r.tessel->IsDirty(TypeCell(0, 5)));  // the function itself waits for Apply
  EXPECT_EQ(r.Value(5, ButtonValue::kMacroName), u"Combo");
  EXPECT_TRUE(r.session->macroAssigned()[5]);
  EXPECT_TRUE(r.session->modified());
  EXPECT_EQ(r.view.labels[5].text, u"Combo");
  EXPECT_EQ(r.view.labels[5].category, kLabelMacro);

  // The next prompt starts from what was stored.
  r.assign.AssignMacro();
  EXPECT_EQ(r.view.seededPath, u"C:\\Docs\\Halvard\\Combo.MAC");
  EXPECT_EQ(r.view.seededChoice, kChoiceMultiple);
  EXPECT_EQ(r.view.seededCount, 7);
}

TEST(AssignMacro, FullSlotRunsOnTheTimerWithPopupAndBusy) {
  Rig r;
  r.PutMacro(u"Long", 256);
  r.assign.Select(8);
  r.view.macroAnswer = AssignView::MacroAnswer{u"Long", kChoiceOnce, 99};
  r.assign.AssignMacro();
  EXPECT_TRUE(r.assign.seriesRunning());
  EXPECT_TRUE(r.session->busy());
  EXPECT_TRUE(r.view.popup);
  EXPECT_EQ(r.Type(8), kFnOff);  // nothing of the button before the bytes are there
  r.RunTimers();
  EXPECT_FALSE(r.assign.seriesRunning());
  EXPECT_FALSE(r.session->busy());
  EXPECT_FALSE(r.view.popup);
  for (int k = 0; k < 256; ++k) ASSERT_EQ(r.mouse->Cell(SlotCell(0, 8, k)), 0x10 + k % 0x60);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 8, 0)), 0);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 8, 3)), 0x15);
  EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 8, 2)), 0);  // once: no count
  EXPECT_EQ(r.Type(8), kFnMacro);
  const std::vector<int> w = r.Writes();
  EXPECT_EQ(w.back(), HeaderCell(0, 8, 3));
  const auto& c = r.mouse->Controls();
  EXPECT_TRUE(std::any_of(c.begin(), c.end(), [](auto& x) { return x.sub == kCmdIndicator && x.second == kIndicatorEnd; }));
}

TEST(AssignMacro, FailedWriteIsReportedAndKeepsThePreviousFunction) {
  for (int length : {8, 200}) {
    SCOPED_TRACE(length);
    Rig r;
    r.PutMacro(u"Long", length);
    r.store.SetString(ButtonValueName(0, 6, ButtonValue::kMacroName), u"Before");
    r.assign.Select(6);
    r.view.macroAnswer = AssignView::MacroAnswer{u"Long", kChoiceOnce, 0};
    r.mouse->VanishAfter(length / 2);
    r.assign.AssignMacro();
    r.RunTimers();
    EXPECT_TRUE(r.HasMessage(kMsgLoadScriptFailed));
    EXPECT_EQ(r.Type(6), kFnDpiUp);
    EXPECT_FALSE(r.tessel->IsDirty(TypeCell(0, 6)));
    EXPECT_EQ(r.Value(6, ButtonValue::kMacroName), u"Before");
    EXPECT_FALSE(r.session->macroAssigned()[6]);
    EXPECT_FALSE(r.session->busy());
    for (int k = 0; k < 4; ++k) EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 6, k)), 0);
    // No slot cell is left pending for a later Apply to push out.
    for (int k = 0; k < length; ++k) ASSERT_FALSE(r.tessel->IsDirty(SlotCell(0, 6, k)));
  }
}

TEST(AssignMacro, AWriteFailingAnywhereLeavesTheOldMacroWholeOnTheMouse) {
  // The button had macro bytes on the mouse; one cell of the new series fails for good (every
  // retry), the mouse answers again afterwards: it holds either all the new bytes with their
  // header, or the old bytes and header untouched.
  for (int length : {8, 120}) {
    for (int sets = 1; sets < length + 20; sets += 3) {
      SCOPED_TRACE(testing::Message() << length << " bytes, failing after " << sets << " reports");
      Rig r;
      r.PutMacro(u"New", length);
      for (int k = 0; k < length; ++k) {
        r.mouse->SetCell(SlotCell(0, 4, k), static_cast<std::uint8_t>(0xA0 + k % 0x20));
        r.tessel->MarkLoaded(SlotCell(0, 4, k), 0xA0 + k % 0x20);
      }
      r.assign.Select(4);
      r.view.macroAnswer = AssignView::MacroAnswer{u"New", kChoiceOnce, 0};
      r.mouse->FailSetFeatureAfter(sets, kTransferAttempts);
      r.assign.AssignMacro();
      r.RunTimers();
      const bool failed = r.HasMessage(kMsgLoadScriptFailed);
      for (int k = 0; k < length; ++k) {
        const int want = failed ? 0xA0 + k % 0x20 : 0x10 + k % 0x60;
        ASSERT_EQ(r.mouse->Cell(SlotCell(0, 4, k)), want) << "cell " << k;
        ASSERT_EQ(r.tessel->Value(SlotCell(0, 4, k)), want) << "shadow " << k;
      }
      EXPECT_EQ(r.mouse->Cell(HeaderCell(0, 4, 0)), failed ? 0 : length);
      EXPECT_EQ(r.session->macroAssigned()[4], !failed);
    }
  }
}

TEST(AssignMacro, MissingMacroFileChangesNothing) {
  Rig r;
  r.assign.Select(6);
  r.view.macroAnswer = AssignView::MacroAnswer{u"Gone", kChoiceOnce, 0};
  r.assign.AssignMacro();
  EXPECT_FALSE(r.messages.shown.empty());
  EXPECT_EQ(r.Type(6), kFnDpiUp);
  EXPECT_TRUE(r.Writes().empty());
}

TEST(ShowVideo, OpensTheMediaDocumentOrSaysWhichIsMissing) {
  Rig r;
  r.assign.ShowVideo(kVideoAirThrough);
  ASSERT_EQ(r.messages.shown.size(), 1u);
  EXPECT_EQ(r.messages.shown[0].number, kMsgCantFindDocument);
  EXPECT_NE(r.messages.shown[0].text.find(u"M_mouse_Air_through.MP4"), std::u16string::npos);
  r.store.SetString(kValuePath, u"C:\\Prog");
  r.files.Put(u"C:\\Prog\\MEDIA\\M_mouse_3D_steering.MP4", {1});
  r.assign.ShowVideo(kVideo3dSteering);
  EXPECT_EQ(r.messages.shown.size(), 1u);
  ASSERT_EQ(r.shell.opened.size(), 1u);
  EXPECT_EQ(r.shell.opened[0], u"C:\\Prog\\MEDIA\\M_mouse_3D_steering.MP4");
  r.shell.openSucceeds = false;
  r.assign.ShowVideo(kVideo3dSteering);
  EXPECT_EQ(r.messages.shown.size(), 2u);
}

TEST(ProfileListChoice, DefaultNamesAndResetsTheCurrentProfile) {
  Rig r;
  const std::vector<std::u16string> entries = {u"Default", u"Game"};
  EXPECT_FALSE(ChooseProfileEntry(*r.session, entries, 2));
  EXPECT_FALSE(ChooseProfileEntry(*r.session, entries, -1));
  EXPECT_FALSE(ChooseProfileEntry(*r.session, {u"Default", u""}, 1));
  r.SetButton(0, 3, kRowCtrl);
  r.mouse->SetCell(TypeCell(0, 3), kFnModifier);
  ASSERT_TRUE(ChooseProfileEntry(*r.session, entries, 0));
  r.RunTimers();
  EXPECT_EQ(r.sessionView.name, u"Default");
  EXPECT_EQ(r.mouse->Cell(TypeCell(0, 3)), kFnMouseButton);  // back to its factory BACKWARD
}

}  // namespace
}  // namespace halvard
