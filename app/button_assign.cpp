#include "app/button_assign.h"

#include <algorithm>

#include "app/language.h"
#include "ipc/messages.h"
#include "macro/macro_file.h"
#include "store/document_lookup.h"
#include "store/value_names.h"

namespace halvard {

namespace {

// The button a single-bit mask stands for; -1 for anything else.
int MaskButton(int mask) {
  for (int b = 0; b < 8; ++b)
    if (mask == (1 << b)) return b;
  return -1;
}

int FirstRow(int type, auto&& matches) {
  for (int r = 0; r < kFunctionRowCount; ++r)
    if (kFunctionRows[static_cast<std::size_t>(r)].type == type && matches(kFunctionRows[static_cast<std::size_t>(r)]))
      return r;
  return -1;
}

std::u16string ReadButtonValue(RegistryStore& store, int p, int i, ButtonValue which, std::size_t chars = 260) {
  std::u16string buffer(chars + 1, u'\0');
  if (store.GetString(ButtonValueName(p, i, which), std::span<char16_t>(buffer.data(), buffer.size())) != 1) return {};
  buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
  return buffer;
}

std::u16string RowName(int row) { return std::u16string(ActiveLanguage().FunctionName(row)); }

}  // namespace

ButtonMatch MatchButton(const CIcTessel& tessel, int p, int i) {
  const int t = tessel.Value(TypeCell(p, i));
  int d[4];
  for (int k = 0; k < 4; ++k) d[k] = tessel.Value(ParameterCell(p, i, k));
  ButtonMatch m;
  switch (t) {
    case kFnMouseButton:
      m.row = FirstRow(t, [&](const FunctionRow& r) { return r.params[0] == d[0]; });
      m.category = MaskButton(d[0]) == i ? kLabelFactory : kLabelSingle;
      break;
    case kFnModifier:
      m.row = FirstRow(t, [&](const FunctionRow& r) {
        const int hi = r.params[0] >> 4, lo = r.params[0] & 0x0F;
        return r.params[0] == d[0] || (hi == d[0] && (lo == 0 || lo == d[0]));
      });
      m.category = kLabelSingle;
      break;
    case kFnDoubleClick:
      m.row = FirstRow(t, [&](const FunctionRow& r) {
        return r.params[0] == d[0] && r.params[1] == d[1] && r.params[2] == d[2] && r.params[3] == d[3];
      });
      m.category = kLabelSingle;
      break;
    case kFnMacro:
      m = {kRowMacro, kLabelMacro};
      break;
    case kFnDpiUp:
      m = {kRowDpiUp, i == 6 ? kLabelFactory : kLabelSingle};
      break;
    case kFnDpiDown:
      m = {kRowDpiDown, i == 5 ? kLabelFactory : kLabelSingle};
      break;
    case kFnLaunch:
      m = {kRowLaunch, kLabelApplication};
      break;
    case kFnOff:
      m = {kRowOff, i == 7 ? kLabelFactory : kLabelSingle};
      break;
    default:
      break;
  }
  if (m.row < 0) m.category = kLabelNone;
  return m;
}

ButtonLabel DescribeButton(const CIcTessel& tessel, RegistryStore& store, int p, int i) {
  const ButtonMatch m = MatchButton(tessel, p, i);
  if (m.row < 0) return {u"", kLabelNone};
  std::u16string text;
  if (m.row == kRowMacro) text = ReadButtonValue(store, p, i, ButtonValue::kMacroName);
  if (m.row == kRowLaunch) text = ReadButtonValue(store, p, i, ButtonValue::kApplicationName);
  if (text.empty()) text = RowName(m.row);
  if (text.size() >= 40) text.resize(39);  // the plate's label buffers hold 40 characters
  return {text, m.category};
}

bool IsLeftClick(const CIcTessel& tessel, int p, int i) {
  return tessel.Value(TypeCell(p, i)) == kFnMouseButton && tessel.Value(ParameterCell(p, i, 0)) == 1;
}

bool LeftRuleAllows(const CIcTessel& tessel, int p, int i, int row) {
  if (row < 0 || row >= kFunctionRowCount) return false;
  if (!IsLeftClick(tessel, p, i) || row == kRowClick) return true;
  for (int j = 0; j < kButtonCount; ++j)
    if (j != i && IsLeftClick(tessel, p, j)) return true;
  return false;
}

int RepeatModeOfChoice(int choice) {
  constexpr int kModes[4] = {5, 12, 7, 4};
  return choice >= 0 && choice < 4 ? kModes[choice] : 1;
}

int ChoiceOfRepeatMode(int mode) {
  switch (mode) {
    case 5: return 0;
    case 12: return 1;
    case 7: return 2;
    case 4: return 3;
    default: return -1;
  }
}

std::u16string ApplicationName(std::u16string_view path) {
  const auto slash = path.find_last_of(u"\\/");
  std::u16string_view file = slash == std::u16string_view::npos ? path : path.substr(slash + 1);
  const auto dot = file.rfind(u'.');
  return std::u16string(dot == std::u16string_view::npos ? file : file.substr(0, dot));
}

// ---- the commands ------------------------------------------------------------------------------

bool ButtonAssignment::Ready() const {
  const int p = d_.session.currentProfile();
  return selected_ >= 0 && selected_ < kButtonCount && p >= 0 && p < kProfileCount && !series_.running;
}

void ButtonAssignment::Select(int i) {
  if (i < 0 || i >= kButtonCount) return;
  const int previous = selected_ < kButtonCount ? selected_ : -1;
  selected_ = i;
  d_.view.ShowSelectedButton(previous, i);
  selectedCategory_ = MatchButton(d_.tessel, d_.session.currentProfile(), i).category;
  EnableForSelection();
}

void ButtonAssignment::ClearSelection() {
  const int previous = selected_ < kButtonCount ? selected_ : -1;
  selected_ = kNoButton;
  selectedCategory_ = kLabelNone;
  d_.view.ShowSelectedButton(previous, -1);
  // The videos need no button.
  d_.view.EnableCategoryButtons(false, false, true);
}

void ButtonAssignment::EnableForSelection() {
  const bool any = selected_ < kButtonCount;
  d_.view.EnableCategoryButtons(any, any && selectedCategory_ != kLabelFactory, any);
}

bool ButtonAssignment::WriteRow(int p, int i, int row, bool commit) {
  if (row < 0 || row >= kFunctionRowCount) return false;  // refused without a message
  if (!LeftRuleAllows(d_.tessel, p, i, row)) {
    d_.view.RefuseNoLeftButton();
    return false;
  }
  if (!commit) return true;
  const FunctionRow& r = kFunctionRows[static_cast<std::size_t>(row)];
  d_.tessel.SetCell(TypeCell(p, i), r.type);
  for (int k = 0; k < 4; ++k) d_.tessel.SetCell(ParameterCell(p, i, k), r.params[static_cast<std::size_t>(k)]);
  return true;
}

void ButtonAssignment::UpdateModified(int p) {
  // Apply writes the profile part and the pending slots: the mark follows whether any is left.
  std::array<std::uint16_t, kProfilePartSize + kSlotRegionSize> list{};
  d_.session.SetModified(BuildProfileSaveList(d_.tessel, p, list) > 0);
}

void ButtonAssignment::Relabel(int p, int i, int category, std::u16string_view text) {
  if (p != d_.session.currentProfile()) return;
  d_.view.SetButtonLabel(i, category, text, false);
  if (i == selected_) {
    selectedCategory_ = category;
    EnableForSelection();
  }
}

void ButtonAssignment::RefreshLabels(int p) {
  for (int i = 0; i < kButtonCount; ++i) {
    ButtonLabel l = DescribeButton(d_.tessel, d_.store, p, i);
    d_.view.SetButtonLabel(i, l.category, l.text, false);
  }
}

void ButtonAssignment::AssignSingle() {
  if (!Ready()) return;
  const int p = d_.session.currentProfile(), i = selected_;
  if (!WriteRow(p, i, kRowOff, false)) return;
  d_.session.LockForWindow(kRoutePrompt);
  std::optional<int> row = d_.view.AskSingleFunction(MatchButton(d_.tessel, p, i).row);
  d_.session.Unlock();
  if (!row || !WriteRow(p, i, *row, true)) return;
  UpdateModified(p);
  Relabel(p, i, kLabelSingle, RowName(*row));
}

void ButtonAssignment::ResetToFactory() {
  if (!Ready()) return;
  const int p = d_.session.currentProfile(), i = selected_;
  const int row = FactoryRow(i);
  if (row < 0) {
    d_.view.RefuseNoLeftButton();
    return;
  }
  if (!WriteRow(p, i, row, true)) return;
  for (int k = 0; k < kHeaderCellsPerButton; ++k) {
    const int a = HeaderCell(p, i, k);
    if (d_.tessel.Value(a) != 0 || d_.tessel.IsDirty(a) || !d_.tessel.IsValid(a)) WriteThrough(a, 0);
  }
  d_.store.DeleteValue(ButtonValueName(p, i, ButtonValue::kMacroName));
  d_.session.macroAssigned()[static_cast<std::size_t>(i)] = false;
  UpdateModified(p);
  Relabel(p, i, kLabelFactory, RowName(row));
}

void ButtonAssignment::AssignApplication() {
  if (!Ready()) return;
  const int p = d_.session.currentProfile(), i = selected_;
  if (!WriteRow(p, i, kRowLaunch, false)) return;
  const std::u16string stored = ReadButtonValue(d_.store, p, i, ButtonValue::kApplication);
  d_.session.LockForWindow(kRoutePrompt);
  std::optional<std::u16string> path = d_.view.AskApplication(stored);
  d_.session.Unlock();
  if (!path || path->empty()) return;
  const std::u16string name = ApplicationName(*path);
  d_.store.SetString(ButtonValueName(p, i, ButtonValue::kApplication), *path);
  d_.store.SetString(ButtonValueName(p, i, ButtonValue::kApplicationName), name);
  if (!WriteRow(p, i, kRowLaunch, true)) return;
  UpdateModified(p);
  Relabel(p, i, kLabelApplication, name.empty() ? RowName(kRowLaunch) : name);
}

void ButtonAssignment::ShowVideo(std::u16string_view file) {
  char16_t path[kDocumentPathChars] = {};
  if (FindDocument(d_.store, d_.files, file, kMediaFolder, path) != 1 || !d_.shell.OpenDocument(path))
    d_.messages.ShowMessage(kMsgCantFindDocument, file);
}

bool ButtonAssignment::WriteThrough(int address, int value) {
  const bool ok = d_.tessel.WriteCell(address, value) == 1;
  d_.clock.Sleep(kCellPauseMs);
  return ok;
}

void ButtonAssignment::AssignMacro() {
  if (!Ready()) return;
  const int p = d_.session.currentProfile(), i = selected_;
  if (!WriteRow(p, i, kRowMacro, false)) return;

  // The repeat setting the prompt starts with, from the shadow or else from the mouse.
  auto header = [&](int k, int* value) {
    const int a = HeaderCell(p, i, k);
    if (!d_.tessel.IsValid(a) && !d_.tessel.IsDirty(a) && d_.tessel.LoadCell(a) != 1) return false;
    *value = d_.tessel.Value(a);
    return true;
  };
  int cell3 = 0, count = 0;
  if (!header(3, &cell3)) return;
  const int oldMode = cell3 & 0x0F;
  if (ModeHasCount(oldMode) && !header(2, &count)) return;

  const std::u16string folder = MacroFolder(d_.files);
  std::u16string path = folder + u"\\";
  const std::u16string current = ReadButtonValue(d_.store, p, i, ButtonValue::kMacroName);
  if (!current.empty()) path += current + u".MAC";
  if (path.size() >= 2048) {
    d_.messages.ShowMessage(kMsgBufferFull);
    return;
  }
  d_.session.LockForWindow(kRoutePrompt);
  std::optional<AssignView::MacroAnswer> answer = d_.view.AskMacro(path, ChoiceOfRepeatMode(oldMode), count);
  d_.session.Unlock();
  if (!answer || answer->name.empty()) return;

  // Nothing of the button changes until its macro is on the mouse: a failure keeps the old one.
  if (!d_.session.connected()) {
    d_.messages.ShowMessage(kMsgNoMouse);
    return;
  }
  std::array<std::uint8_t, kMacroMaxBytes> bytes{};
  const int length = LoadForDevice(d_.files, d_.messages, folder, answer->name, bytes);
  if (length <= 0) return;  // the load said why

  series_ = MacroSeries{};
  series_.profile = p;
  series_.button = i;
  series_.mode = RepeatModeOfChoice(answer->choice);
  series_.count = series_.mode == 12 ? std::clamp(answer->count, 0, 255) : 0;
  series_.length = std::min(length, kSlotSize);
  series_.name = answer->name;
  // The cells the shadow set rule would make pending; each enters the shadow only once it is on
  // the mouse, so a failed series leaves the shadow as it was for the cells not reached.
  for (int k = 0; k < series_.length; ++k) {
    const int a = SlotCell(p, i, k);
    const int v = bytes[static_cast<std::size_t>(k)];
    if (d_.tessel.Value(a) != v || !d_.tessel.IsValid(a) || d_.tessel.IsDirty(a)) {
      const auto n = static_cast<std::size_t>(series_.cellCount++);
      series_.cells[n] = static_cast<std::uint16_t>(a);
      series_.values[n] = static_cast<std::uint8_t>(v);
      const bool known = d_.tessel.IsValid(a) && !d_.tessel.IsDirty(a);
      series_.before[n] = static_cast<std::int16_t>(known ? d_.tessel.Value(a) : -1);
    }
  }
  d_.tessel.SendCommand(kCmdBegin, 0x00, 0x00);
  d_.clock.Sleep(kBeginPauseMs);
  if (static_cast<std::size_t>(series_.cellCount) < kTimedSeriesThreshold) {
    bool ok = true;
    int k = 0;
    for (; k < series_.cellCount && ok; ++k) ok = WriteThrough(series_.cells[static_cast<std::size_t>(k)], series_.values[static_cast<std::size_t>(k)]);
    if (!ok) RestoreSlot(k - 1);
    FinishMacro(ok);
    return;
  }
  series_.running = true;
  d_.view.ShowPopup();
  d_.session.LockForWindow(kRouteMainWindow);
  d_.windows.SetTimer(d_.window, kTimerMacroWrite, kCellTickMs);
}

void ButtonAssignment::OnTimer(std::uint32_t id) {
  if (id != kTimerMacroWrite) return;
  d_.windows.KillTimer(d_.window, id);
  if (!series_.running) return;
  const auto k = static_cast<std::size_t>(series_.cursor);
  const bool ok = d_.tessel.WriteCell(series_.cells[k], series_.values[k]) == 1;
  if (ok && ++series_.cursor < series_.cellCount) {
    d_.session.ProgressStep();
    d_.windows.SetTimer(d_.window, kTimerMacroWrite, kCellTickMs);
    return;
  }
  series_.running = false;
  if (!ok) RestoreSlot(series_.cursor);
  if (!d_.session.automationMode) d_.tessel.SendCommand(kCmdIndicator, kIndicatorState, kIndicatorEnd);
  d_.view.HidePopup();
  d_.session.Unlock();
  FinishMacro(ok);
}

void ButtonAssignment::RestoreSlot(int written) {
  // The header still names the old macro: put back the bytes the failed series already changed,
  // newest first, as far as the mouse still answers and the old bytes are known.
  for (int k = written - 1; k >= 0; --k) {
    const auto n = static_cast<std::size_t>(k);
    if (series_.before[n] < 0) continue;
    if (d_.tessel.WriteCell(series_.cells[n], series_.before[n]) != 1) return;
  }
}

void ButtonAssignment::FinishMacro(bool ok) {
  const int p = series_.profile, i = series_.button;
  // The header goes last: the mouse never sees a length that covers bytes not yet written.
  if (ok) {
    const int header[4][2] = {{series_.mode == 12 ? 2 : -1, series_.count},
                              {0, series_.length & 0xFF},
                              {1, 2},
                              {3, ((series_.length >> 8) << 4) | series_.mode}};
    std::array<std::pair<int, int>, 4> written{};
    int n = 0;
    for (const auto& h : header) {
      if (h[0] < 0) continue;
      const int a = HeaderCell(p, i, h[0]);
      const int before = d_.tessel.IsValid(a) && !d_.tessel.IsDirty(a) ? d_.tessel.Value(a) : -1;
      if (!WriteThrough(a, h[1])) {
        ok = false;
        break;
      }
      written[static_cast<std::size_t>(n++)] = {a, before};
    }
    // A header half written would describe neither macro: back to the old one, header first.
    if (!ok) {
      bool restored = true;
      for (int k = n - 1; k >= 0 && restored; --k) {
        const auto [a, before] = written[static_cast<std::size_t>(k)];
        if (before >= 0) restored = d_.tessel.WriteCell(a, before) == 1;
      }
      if (restored) RestoreSlot(series_.cellCount);
    }
  }
  if (!ok) {
    // Reported on both paths; the button keeps its function, name and header.
    d_.messages.ShowMessage(kMsgLoadScriptFailed);
    return;
  }
  d_.store.SetString(ButtonValueName(p, i, ButtonValue::kMacroName), series_.name);
  WriteRow(p, i, kRowMacro, true);
  d_.session.macroAssigned()[static_cast<std::size_t>(i)] = true;
  UpdateModified(p);
  Relabel(p, i, kLabelMacro, series_.name);
}

}  // namespace halvard
