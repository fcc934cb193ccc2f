// Macro recording: keys and mouse buttons the user presses while the editor records become rows
// of the editor's instruction list, with the pauses between them as delays. The hooks and the
// registry flag sit behind small seams so every decision runs natively on a virtual clock.
#pragma once

#include <array>
#include <cstdint>

#include "macro/instruction_list.h"
#include "macro/list_view.h"
#include "macro/macro_file.h"
#include "platform/clock.h"
#include "platform/message_service.h"
#include "store/registry_store.h"

namespace halvard {

// The keyboard variant recording maps keys with.
struct RecordLayout {
  std::uint16_t primary = 9;  // primary language
  std::uint16_t subLanguage = 1;
  bool altGr = false;  // the layout has an AltGr key (Control + right Alt)
  bool ime = false;    // the mouse knows the IME keys
};

inline constexpr std::uint8_t kKeyNotRecorded = 0x7F;

// The macro key code of a virtual key with its keystroke flags (bit 31 release, 16-23 scan code,
// 24 extended, 0-15 repeat count), or 0x7F when it is not recorded.
std::uint8_t KeyCodeFromVirtualKey(std::uint32_t vk, std::uint32_t flags, const RecordLayout& layout);

// Mouse messages as the thread hook hands them over.
namespace mouse_msg {
inline constexpr std::uint32_t kLButtonDown = 0x201, kLButtonUp = 0x202, kLButtonDblClk = 0x203;
inline constexpr std::uint32_t kRButtonDown = 0x204, kRButtonUp = 0x205;
inline constexpr std::uint32_t kMButtonDown = 0x207, kMButtonUp = 0x208;
inline constexpr std::uint32_t kMouseWheel = 0x20A, kXButtonDown = 0x20B, kXButtonUp = 0x20C;
inline constexpr std::uint32_t kMouseMove = 0x200;
inline constexpr std::uint32_t kNcLButtonDown = 0xA1, kNcLButtonUp = 0xA2;
inline constexpr std::uint32_t kNcRButtonDown = 0xA4, kNcRButtonUp = 0xA5;
inline constexpr std::uint32_t kNcMButtonDown = 0xA7, kNcMButtonUp = 0xA8;
inline constexpr std::uint32_t kNcXButtonDown = 0xAB, kNcXButtonUp = 0xAC;
}  // namespace mouse_msg

struct MouseEvent {
  std::uint32_t message = 0;
  std::uint32_t mouseData = 0;  // high word: wheel delta, or the extra button (1, 2)
  bool onStopButton = false;    // the message is for the "STOP" button
};

// The instruction a mouse message records, or 0 when it is not recorded.
std::uint8_t MouseInstruction(const MouseEvent& event);

// The two thread hooks of the editor's thread.
class RecordHooks {
 public:
  virtual ~RecordHooks() = default;
  // Both hooks, or neither (one that was set is taken off again).
  virtual bool Install() = 0;
  virtual void Remove() = 0;
  virtual bool Installed() const = 0;
};

class MacroRecorder {
 public:
  // "Macro Record start" in `store` tells the hook library to hand over the system keys.
  MacroRecorder(CSkinLVCmdList& list, ListViewSeam& view, Clock& clock, MessageService& messages, RecordHooks& hooks,
                RegistryStore& store)
      : list_(list), view_(view), clock_(clock), messages_(messages), hooks_(hooks), store_(store) {}

  void SetLayout(const RecordLayout& layout) { layout_ = layout; }
  // The committed delay settings of the editor.
  void SetSettings(const RecordingSettings& settings) { settings_ = settings; }

  bool StartRecording();
  // Closes the presses still open with their releases (room for them is kept while recording),
  // then, in default-delay mode, gives the last row the default delay the list shows.
  void StopRecording();
  bool Recording() const { return recording_; }

  // True when the message was recorded (and is to be swallowed).
  bool RecordMouse(const MouseEvent& event);
  void RecordKey(std::uint32_t vk, std::uint32_t flags);
  // The word the hook library forwards (WM_INFORM_UI code 16).
  void RecordForwardedKey(std::uint32_t word) { RecordKey(word & 0x7FFFFFFFu, word & 0x80000000u); }

  // The units DelayBefore would add now (measured mode: also takes the time); -1: none.
  int DelayUnitsBefore();
  // Presses recorded and not yet released.
  int OpenPresses() const { return heldCount_; }
  bool AltGrHeld() const { return altGrHeld_; }

 private:
  struct Instr {
    int opcode = 0;
    int operand = 0;
  };
  static int SizeOf(const Instr& i) { return i.opcode == 0x6F || i.opcode == 0xEF ? 2 : 1; }
  static bool IsPress(const Instr& i);
  static Instr ReleaseOf(const Instr& press);
  int ReservedBytes() const;
  int DelayGrowth(int units) const;
  int FindHeld(const Instr& release) const;
  // Appends one event with the delay before it. `closing`: releases a held press.
  bool Record(const Instr& i);
  void AppendDelay(int units);
  void Full();
  void SelectLast(int row);

  CSkinLVCmdList& list_;
  ListViewSeam& view_;
  Clock& clock_;
  MessageService& messages_;
  RecordHooks& hooks_;
  RegistryStore& store_;
  RecordLayout layout_;
  RecordingSettings settings_;

  bool recording_ = false;
  std::uint32_t lastDownKey_ = 0;
  bool altGrHeld_ = false;
  bool havePreviousTime_ = false;
  std::uint64_t previousEventMs_ = 0;
  static constexpr int kMaxHeld = 64;
  std::array<Instr, kMaxHeld> held_{};
  int heldCount_ = 0;
};

}  // namespace halvard
