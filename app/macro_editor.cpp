#include "app/macro_editor.h"

#include <algorithm>

#include "ipc/messages.h"
#include "macro/bytecode.h"
#include "macro/listing.h"

namespace halvard {
namespace {

std::u16string Decimal(std::int64_t v) {
  std::string s = std::to_string(v);
  return std::u16string(s.begin(), s.end());
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace

std::u16string FilterDelayText(std::u16string_view in) {
  std::u16string text(in);
  for (;;) {
    const std::u16string_view head = std::u16string_view(text).substr(0, 9);
    std::int64_t v = 0;
    std::size_t digits = 0;
    while (digits < head.size() && IsDigit(head[digits])) v = v * 10 + (head[digits++] - u'0');
    if (v > kMaxDelayMs) return u"5000";
    const std::size_t n = head.size();
    if (n == 0 || head == u"0") return text;
    std::int64_t tenPower = 1;
    for (std::size_t k = 1; k < n; ++k) tenPower *= 10;
    if (v >= 1 && v >= tenPower) return text;
    text.pop_back();
  }
}

std::optional<std::int64_t> ParseEditNumber(std::u16string_view t) {
  std::size_t i = 0;
  auto skipBlanks = [&] {
    while (i < t.size() && (t[i] == u' ' || t[i] == u'\t')) ++i;
  };
  skipBlanks();
  bool negative = false;
  if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) negative = t[i++] == u'-';
  skipBlanks();
  int base = 10;
  if (i + 1 < t.size() && t[i] == u'0' && (t[i + 1] == u'x' || t[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  std::int64_t v = 0;
  bool any = false;
  for (; i < t.size(); ++i) {
    const char16_t c = t[i];
    int d = -1;
    if (IsDigit(c)) d = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F') d = c - u'A' + 10;
    if (d >= 0) {
      v = std::min<std::int64_t>(v * base + d, 0x7FFFFFFF);
      any = true;
      continue;
    }
    if ((c == u' ' || c == u',') && any) continue;  // between groups
    return std::nullopt;
  }
  if (base == 16 && !any) return std::nullopt;
  return negative ? -v : v;
}

int StepDelayUp(int v, int unit) {
  const int u = std::max(unit, kDelayUnitMs);
  const int room = std::min(kMaxDelayMs - u, v);
  return u * ((u + room - 1) / u + 1);
}

int StepDelayDown(int v, int unit) {
  const int u = std::max(unit, kDelayUnitMs);
  const int r = u * (std::min(kMaxDelayMs + u, v) / u - 1);
  return r < u ? 0 : r;
}

int ConfigureDefaultDelay(std::int64_t v) {
  if (v > kMaxDelayMs) return kMaxDelayMs;
  if (v < kDelayUnitMs) return kDelayUnitMs;
  return static_cast<int>(v / kDelayUnitMs * kDelayUnitMs);
}

MacroEditorModel::MacroEditorModel(MacroEditorDeps deps)
    : deps_(std::move(deps)),
      list_(std::make_unique<CSkinLVCmdList>(deps_.view)),
      library_(deps_.files, deps_.messages, deps_.prompts, *list_, deps_.folder),
      recorder_(*list_, deps_.view, deps_.clock, deps_.messages, deps_.hooks, deps_.store) {
  list_->SetCapacity(kMacroMaxBytes);
  list_->SetDelayUnit(kDelayUnitMs);
}

MacroEditorModel::~MacroEditorModel() {
  recorder_.StopRecording();
  deps_.store.SetDword(kMacroRecordStart, 0);
}

void MacroEditorModel::NewMacroState() {
  list_->ClearAll();
  list_->SetCapacity(kMacroMaxBytes);
  list_->SetDelayUnit(kDelayUnitMs);
  delayText_ = u"0";
  library_.Settings() = RecordingSettings{};
  withoutShown_ = defaultShown_ = false;
  defaultText_ = u"0";
  modified_ = false;
}

void MacroEditorModel::ShowSettings() {
  const RecordingSettings& s = library_.Settings();
  withoutShown_ = s.mode == RecordingSettings::Mode::kWithoutDelay;
  defaultShown_ = s.mode == RecordingSettings::Mode::kDefaultDelay;
  defaultText_ = Decimal(s.defaultDelayMs);
}

void MacroEditorModel::Open(std::uint32_t windowHandle, const RecordLayout& layout, bool extendedKeys) {
  closed_ = false;
  recorder_.SetLayout(layout);
  if (extendedKeys) list_->SetExtendedKeys(true);
  library_.Refresh();
  command_ = -1;
  list_->Setup();
  NewMacroState();
  // The macro of an earlier opening is shown again, so a save never replaces it with an empty
  // list; when its file has gone, there is no current macro.
  if (!library_.CurrentName().empty()) {
    if (library_.Selected() < 0 || !library_.OpenSelected()) {
      library_.SetCurrentName(u"");
      library_.Select(-1);
    } else {
      ShowSettings();
    }
  }
  deps_.store.SetDword(kMacroEditHandle, windowHandle);
}

bool MacroEditorModel::SaveCurrent() {
  fileBusy_ = true;
  const bool ok = library_.Save();
  fileBusy_ = false;
  if (!ok) deps_.messages.ShowMessage(kMsgSaveScriptFailed);
  return ok;
}

void MacroEditorModel::StopForClose() {
  if (recorder_.Recording()) Stop();
  deps_.store.SetDword(kMacroRecordStart, 0);
}

void MacroEditorModel::Ok() {
  StopForClose();
  if (modified_) SaveCurrent();
  modified_ = false;
  deps_.store.SetDword(kMacroEditHandle, static_cast<std::uint32_t>(-1));
  command_ = -1;
  closed_ = true;
}

void MacroEditorModel::Cancel() {
  StopForClose();
  deps_.store.SetDword(kMacroEditHandle, static_cast<std::uint32_t>(-1));
  command_ = -1;
  closed_ = true;
}

void MacroEditorModel::Apply() {
  if (Busy()) return;
  if (modified_) SaveCurrent();
  modified_ = false;
}

void MacroEditorModel::KeepPrevious(const std::u16string& name) {
  library_.SetCurrentName(name);
  const auto& names = library_.Names();
  auto it = std::find(names.begin(), names.end(), name);
  library_.Select(it == names.end() ? -1 : static_cast<int>(it - names.begin()));
}

void MacroEditorModel::ChooseMacro(int index) {
  if (Busy()) return;
  const std::u16string previous = library_.CurrentName();
  library_.Select(index);
  fileBusy_ = true;
  const bool ok = library_.OpenSelected();
  fileBusy_ = false;
  // A macro that cannot be read leaves the previous one current with its rows, so a later save
  // never stores those rows under the name that failed.
  if (!ok) {
    KeepPrevious(previous);
    return;
  }
  ShowSettings();
}

void MacroEditorModel::ChooseCommand(int index) {
  if (Busy()) return;
  command_ = index >= 0 && index < kCommandCount ? index : -1;
}

std::u16string MacroEditorModel::CommandCaption() const {
  return std::u16string(CommandName(command_ >= 0 ? command_ : kCommandCount));
}

void MacroEditorModel::CreateMacro() {
  if (Busy()) return;
  if (library_.CreateMacro()) NewMacroState();
  modified_ = true;
}

void MacroEditorModel::ImportMacro() {
  if (Busy()) return;
  const std::u16string previous = library_.CurrentName();
  if (library_.ImportMacro()) {
    ShowSettings();
  } else {
    // Nothing new was opened: the previous macro is read again as it is on the disk.
    KeepPrevious(previous);
    if (library_.Selected() >= 0 && library_.OpenSelected()) ShowSettings();
  }
  modified_ = false;
}

void MacroEditorModel::SaveAs() {
  if (Busy() || library_.Selected() < 0) return;
  fileBusy_ = true;
  library_.SaveAs();
  fileBusy_ = false;
}

void MacroEditorModel::DeleteMacroFile() {
  if (Busy()) return;
  // The rows go with the file; nothing is left to save under an empty name.
  if (library_.DeleteMacro()) modified_ = false;
}

void MacroEditorModel::Record() {
  if (Busy() || library_.CurrentName().empty()) return;
  recorder_.SetSettings(library_.Settings());
  if (recorder_.StartRecording()) wasRecording_ = true;
}

void MacroEditorModel::AfterRecording() {
  if (wasRecording_ && !recorder_.Recording()) {
    wasRecording_ = false;
    modified_ = true;
  }
}

void MacroEditorModel::Stop() {
  recorder_.StopRecording();
  wasRecording_ = false;
  modified_ = true;
}

bool MacroEditorModel::RecordMouse(const MouseEvent& event) {
  const bool taken = recorder_.RecordMouse(event);
  AfterRecording();
  return taken;
}

void MacroEditorModel::RecordKey(std::uint32_t vk, std::uint32_t flags) {
  recorder_.RecordKey(vk, flags);
  AfterRecording();
}

void MacroEditorModel::InformUi(std::uint32_t code, std::uint32_t word) {
  if (code == UI_RECORDED_KEY) {
    recorder_.RecordForwardedKey(word);
    AfterRecording();
  } else if (code == 0) {
    const DpiStateWord w = DpiStateWord::Unpack(word);
    if (w.profileChanged && w.profile < 5) notedProfile_ = w.profile;
  }
}

void MacroEditorModel::Delete() {
  if (Busy()) return;
  if (list_->SelectedCount() > 0) {
    if (list_->DeleteSelected() > 0) Edited();
  } else if (deps_.prompts.ConfirmClear()) {
    list_->ClearAll();
    Edited();
  }
}

void MacroEditorModel::MoveUp() {
  if (Busy() || !Enabled(macro_ctl::kUp)) return;
  list_->MoveRowUp();
  Edited();
}

void MacroEditorModel::MoveDown() {
  if (Busy() || !Enabled(macro_ctl::kDown)) return;
  list_->MoveRowDown();
  Edited();
}

void MacroEditorModel::AdjustDelay() {
  if (Busy()) return;
  auto v = ParseEditNumber(delayText_);
  if (!v) return;
  if (*v > kMaxDelayMs) {
    *v = kMaxDelayMs;
    delayText_ = u"5000";
  }
  if (*v < 0) *v = 0;  // a negative delay would make no sense to the list
  if (list_->SetRowDelay(static_cast<int>(*v)) == 0) {
    deps_.messages.ShowMessage(kMsgNoSelectedItem);
    return;
  }
  Edited();
}

void MacroEditorModel::StepUp() {
  auto v = ParseEditNumber(delayText_);
  if (!v || Busy()) return;
  delayText_ = Decimal(StepDelayUp(static_cast<int>(std::clamp<std::int64_t>(*v, -kMaxDelayMs, kMaxDelayMs)),
                                   list_->DelayUnit()));
}

void MacroEditorModel::StepDown() {
  auto v = ParseEditNumber(delayText_);
  if (!v || Busy()) return;
  delayText_ = Decimal(StepDelayDown(static_cast<int>(std::clamp<std::int64_t>(*v, -kMaxDelayMs, kMaxDelayMs + 100)),
                                     list_->DelayUnit()));
}

void MacroEditorModel::InsertCommand() {
  if (command_ < 0 || command_ > kCommandCount - 1) {
    deps_.messages.ShowMessage(kMsgBadSelectedMacro);
    return;
  }
  const int row = list_->SelectedCount() == 1 ? list_->InsertCommandAt(command_)
                                               : list_->AppendExtended(kSubCommandFirst + command_, 0, 0);
  if (row == CSkinLVCmdList::kBufferFull) {
    if (recorder_.Recording()) Stop();
    deps_.messages.ShowMessage(kMsgBufferFull);
    return;
  }
  if (row < 0) return;
  deps_.view.EnsureVisible(row);
  Edited();
}

void MacroEditorModel::ToggleWithoutDelay() {
  if (Busy()) return;
  withoutShown_ = !withoutShown_;
  if (withoutShown_) defaultShown_ = false;
}

void MacroEditorModel::ToggleDefaultDelay() {
  if (Busy()) return;
  defaultShown_ = !defaultShown_;
  if (defaultShown_) withoutShown_ = false;
}

void MacroEditorModel::ConfigureDelay() {
  if (Busy()) return;
  RecordingSettings& s = library_.Settings();
  s.mode = withoutShown_   ? RecordingSettings::Mode::kWithoutDelay
           : defaultShown_ ? RecordingSettings::Mode::kDefaultDelay
                           : RecordingSettings::Mode::kMeasured;
  if (s.mode == RecordingSettings::Mode::kWithoutDelay) return;
  if (s.mode == RecordingSettings::Mode::kMeasured) {
    // A stored default delay would read back as the default-delay mode.
    s.defaultDelayMs = 0;
    defaultText_ = u"0";
    return;
  }
  auto v = ParseEditNumber(defaultText_);
  if (v) s.defaultDelayMs = ConfigureDefaultDelay(*v);
  defaultText_ = Decimal(s.defaultDelayMs);
}

std::u16string MacroEditorModel::EditChanged(int id, std::u16string_view text) {
  std::u16string kept = FilterDelayText(text);
  if (id == macro_ctl::kDelayEdit) delayText_ = kept;
  if (id == macro_ctl::kDefaultEdit) defaultText_ = kept;
  return kept;
}

bool MacroEditorModel::Enabled(int id) const {
  namespace c = macro_ctl;
  const bool idle = !Busy();
  const bool chosen = idle && library_.Selected() >= 0;
  const int selected = list_->SelectedCount();
  const int rows = list_->Count();
  const int current = list_->SelectedIndex();
  switch (id) {
    case c::kRecord: return idle && !library_.CurrentName().empty();
    case c::kStop: return !idle;
    case c::kOk:
    case c::kCancel:
    case c::kCreate:
    case c::kLoad:
    case c::kStepUp:
    case c::kStepDown:
    case c::kDelayEdit:
    case c::kWithoutDelay:
    case c::kDefaultDelay:
    case c::kMacroDrop:
    case c::kCommandDrop: return idle;
    case c::kApply: return idle && modified_;
    case c::kDefaultEdit: return idle && defaultShown_;
    case c::kSaveAs:
    case c::kDeleteFile:
    case c::kConfigure: return chosen;
    case c::kInsertCommand: return chosen && command_ >= 0;
    case c::kDelete: return idle && rows > 0;  // with none selected it offers to clear all
    case c::kAdjust: return idle && selected == 1;
    case c::kUp: return idle && rows >= 2 && selected == 1 && current > 0;
    case c::kDown: return idle && rows >= 2 && selected == 1 && current < rows - 1;
    default: return idle;
  }
}

}  // namespace halvard
