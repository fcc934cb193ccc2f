// The macro editor's decisions, apart from its window: the macro and command lists, the file
// commands, the instruction edits, the delay fields and toggles, recording, and which control
// is enabled when. The window (macro_editor_win32.cpp) hands every command here and then shows
// the state.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/recorder.h"
#include "macro/instruction_list.h"
#include "macro/macro_file.h"
#include "platform/clock.h"
#include "platform/file_seam.h"
#include "platform/message_service.h"
#include "store/registry_store.h"

namespace halvard {

// Controls of dialog 702.
namespace macro_ctl {
inline constexpr int kOk = 1, kCancel = 2, kApply = 1728;
inline constexpr int kList = 1089;
inline constexpr int kMacroDrop = 1810, kMacroList = 1811, kCommandDrop = 1812, kCommandList = 1813;
inline constexpr int kInsertCommand = 1074, kCreate = 1081, kLoad = 1082, kSaveAs = 1083, kDeleteFile = 1090;
inline constexpr int kRecord = 1113, kStop = 1114, kDelete = 1080, kUp = 1078, kDown = 1079;
inline constexpr int kDelayEdit = 1088, kStepUp = 1076, kStepDown = 1077, kAdjust = 1075;
inline constexpr int kWithoutDelay = 1091, kDefaultDelay = 1092, kDefaultEdit = 1093, kConfigure = 1073;
}  // namespace macro_ctl

inline constexpr int kDelayEditChars = 5;
inline constexpr int kDefaultEditChars = 4;

// What an edit of 1088 or 1093 keeps of a typed text: decimal numbers 0-5000 without leading
// zeros (a bad text loses its last character until it is valid).
std::u16string FilterDelayText(std::u16string_view text);
// An optional sign and a decimal number (blanks and commas between groups allowed) or "0x" and
// a hexadecimal one; an empty text is 0; anything else is no number.
std::optional<std::int64_t> ParseEditNumber(std::u16string_view text);
// Steps of 1076 / 1077 from v in units of u.
int StepDelayUp(int v, int unit);
int StepDelayDown(int v, int unit);
// "Configure the delay timing": the default delay that a typed value becomes.
int ConfigureDefaultDelay(std::int64_t v);

// The confirmation the editor asks for besides the file prompts.
class EditorPrompts : public MacroFilePrompts {
 public:
  // Kind 287 with "Clear macro definitions?"; true on OK.
  virtual bool ConfirmClear() = 0;
};

struct MacroEditorDeps {
  FileSeam& files;
  MessageService& messages;
  EditorPrompts& prompts;
  RegistryStore& store;
  Clock& clock;
  RecordHooks& hooks;
  ListViewSeam& view;
  std::u16string folder;
};

class MacroEditorModel {
 public:
  explicit MacroEditorModel(MacroEditorDeps deps);
  ~MacroEditorModel();

  // The window is up: lists filled, new macro state, the current macro of an earlier opening
  // read again, "Macro Edit Handle" written.
  void Open(std::uint32_t windowHandle, const RecordLayout& layout, bool extendedKeys);
  // OK (saves when modified), Cancel, and the end by the session (as Cancel). Recording stops.
  void Ok();
  void Cancel();
  void Apply();

  void ChooseMacro(int index);
  void ChooseCommand(int index);
  void CreateMacro();
  void ImportMacro();
  void SaveAs();
  void DeleteMacroFile();

  void Record();
  void Stop();
  void Delete();
  void MoveUp();
  void MoveDown();
  void AdjustDelay();
  void StepUp();
  void StepDown();
  void InsertCommand();

  void ToggleWithoutDelay();
  void ToggleDefaultDelay();
  void ConfigureDelay();

  // A changed edit text; returns the text the edit is to show.
  std::u16string EditChanged(int id, std::u16string_view text);

  // Recording input. True when the mouse message is to be swallowed.
  bool RecordMouse(const MouseEvent& event);
  void RecordKey(std::uint32_t vk, std::uint32_t flags);
  // WM_INFORM_UI.
  void InformUi(std::uint32_t code, std::uint32_t word);

  // State the window shows.
  bool Enabled(int id) const;
  bool Busy() const { return recorder_.Recording() || fileBusy_; }
  bool Modified() const { return modified_; }
  const std::u16string& CurrentName() const { return library_.CurrentName(); }
  const std::vector<std::u16string>& Names() const { return library_.Names(); }
  int SelectedName() const { return library_.Selected(); }
  int SelectedCommand() const { return command_; }
  std::u16string CommandCaption() const;
  const std::u16string& DelayText() const { return delayText_; }
  const std::u16string& DefaultText() const { return defaultText_; }
  bool WithoutShown() const { return withoutShown_; }
  bool DefaultShown() const { return defaultShown_; }
  const RecordingSettings& Committed() { return library_.Settings(); }
  int NotedProfile() const { return notedProfile_; }
  CSkinLVCmdList& List() { return *list_; }
  MacroRecorder& Recorder() { return recorder_; }
  bool Closed() const { return closed_; }

  void SetDelayText(std::u16string text) { delayText_ = FilterDelayText(text); }
  void SetDefaultText(std::u16string text) { defaultText_ = FilterDelayText(text); }

 private:
  void NewMacroState();
  void ShowSettings();
  void Edited() { modified_ = true; }
  bool SaveCurrent();
  void StopForClose();
  void AfterRecording();
  void KeepPrevious(const std::u16string& name);

  MacroEditorDeps deps_;
  std::unique_ptr<CSkinLVCmdList> list_;
  MacroLibrary library_;
  MacroRecorder recorder_;
  bool modified_ = false;
  bool fileBusy_ = false;
  bool wasRecording_ = false;
  bool withoutShown_ = false, defaultShown_ = false;
  bool closed_ = false;
  int command_ = -1;
  int notedProfile_ = -1;
  std::u16string delayText_ = u"0", defaultText_ = u"0";
};

}  // namespace halvard
