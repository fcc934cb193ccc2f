#include "app/recorder.h"

#include <algorithm>

#include "ipc/messages.h"
#include "macro/bytecode.h"

namespace halvard {
namespace {

constexpr std::uint32_t kReleaseFlag = 0x80000000u;
constexpr std::uint32_t kLow28 = 0x0FFFFFFFu;
// Keystroke flags (low 28 bits) of the keys whose side only the scan code tells.
constexpr std::uint32_t kLeftShiftFlags = 0x002A0001, kRightShiftFlags = 0x00360001;
constexpr std::uint32_t kLeftCtrlFlags = 0x001D0001, kRightCtrlFlags = 0x011D0001;
constexpr std::uint32_t kLeftAltFlags = 0x00380001, kRightAltFlags = 0x01380001;
constexpr std::uint32_t kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkProcessKey = 0xE5;

constexpr std::uint16_t kLangCzech = 5, kLangDanish = 6, kLangGerman = 7, kLangEnglish = 9, kLangSpanish = 10,
                        kLangFinnish = 11, kLangFrench = 12, kLangItalian = 16, kLangJapanese = 17, kLangKorean = 18,
                        kLangPortuguese = 22, kLangSwedish = 29, kLangTurkish = 31;

using KeyTable = std::array<std::uint8_t, 256>;

constexpr KeyTable DefaultTable() {
  KeyTable t{};
  for (auto& c : t) c = kKeyNotRecorded;
  t[0x08] = 0x2A;
  t[0x09] = 0x2B;
  t[0x0D] = 0x28;
  t[0x13] = 0x48;
  t[0x14] = 0x39;
  t[0x1B] = 0x29;
  t[0x20] = 0x2C;
  const std::uint8_t nav[8] = {0x4B, 0x4E, 0x4D, 0x4A, 0x50, 0x52, 0x4F, 0x51};
  for (int i = 0; i < 8; ++i) t[0x21 + i] = nav[i];
  t[0x2C] = 0x46;
  t[0x2D] = 0x49;
  t[0x2E] = 0x4C;
  t[0x30] = 0x27;
  for (int i = 0; i < 9; ++i) t[0x31 + i] = static_cast<std::uint8_t>(0x1E + i);
  for (int i = 0; i < 26; ++i) t[0x41 + i] = static_cast<std::uint8_t>(0x04 + i);
  t[0x5B] = 0x73;
  t[0x5C] = 0x77;
  t[0x5D] = 0x65;
  t[0x60] = 0x62;
  for (int i = 0; i < 9; ++i) t[0x61 + i] = static_cast<std::uint8_t>(0x59 + i);
  t[0x6A] = 0x55;
  t[0x6B] = 0x57;
  t[0x6D] = 0x56;
  t[0x6E] = 0x63;
  t[0x6F] = 0x54;
  for (int i = 0; i < 12; ++i) t[0x70 + i] = static_cast<std::uint8_t>(0x3A + i);
  for (int i = 0; i < 8; ++i) t[0x7C + i] = static_cast<std::uint8_t>(0x68 + i);
  t[0x90] = 0x53;
  t[0x91] = 0x47;
  const std::uint8_t mods[6] = {0x71, 0x75, 0x70, 0x74, 0x72, 0x76};
  for (int i = 0; i < 6; ++i) t[0xA0 + i] = mods[i];
  const std::uint8_t oem1[7] = {0x33, 0x2E, 0x36, 0x2D, 0x37, 0x38, 0x35};
  for (int i = 0; i < 7; ++i) t[0xBA + i] = oem1[i];
  const std::uint8_t oem2[5] = {0x2F, 0x31, 0x30, 0x34, 0x7F};
  for (int i = 0; i < 5; ++i) t[0xDB + i] = oem2[i];
  t[0xE2] = 0x64;
  return t;
}
constexpr KeyTable kDefaultKeys = DefaultTable();

struct Change {
  std::uint8_t vk, code;
  bool imeOnly;
};

constexpr Change kUk[] = {{0xC0, 0x34, false}, {0xDC, 0x64, false}, {0xDE, 0x32, false}, {0xDF, 0x35, false}};
constexpr Change kCzech[] = {{0x59, 0x1D, false}, {0x5A, 0x1C, false}, {0xBB, 0x2D, false}, {0xBD, 0x38, false},
                             {0xBF, 0x2E, false}};
constexpr Change kNordic[] = {{0xBA, 0x30, false}, {0xBB, 0x2D, false}, {0xBD, 0x38, false}, {0xBF, 0x31, false},
                              {0xC0, 0x33, false}, {0xDB, 0x2E, false}, {0xDC, 0x35, false}, {0xDD, 0x2F, false}};
constexpr Change kGerman[] = {{0x59, 0x1D, false}, {0x5A, 0x1C, false}, {0xBA, 0x2F, false}, {0xBB, 0x30, false},
                              {0xBD, 0x38, false}, {0xBF, 0x31, false}, {0xC0, 0x33, false}, {0xDB, 0x2D, false},
                              {0xDC, 0x35, false}, {0xDD, 0x2E, false}};
constexpr Change kSouthern[] = {{0xBA, 0x2F, false}, {0xBB, 0x30, false}, {0xBD, 0x38, false}, {0xBF, 0x31, false},
                                {0xC0, 0x33, false}, {0xDB, 0x2D, false}, {0xDC, 0x35, false}, {0xDD, 0x2E, false}};
constexpr Change kPortuguese[] = {{0xBA, 0x30, false}, {0xBB, 0x2F, false}, {0xBD, 0x38, false}, {0xBF, 0x31, false},
                                  {0xC0, 0x33, false}, {0xDB, 0x2D, false}, {0xDC, 0x35, false}, {0xDD, 0x2E, false}};
constexpr Change kFrench[] = {{0x41, 0x14, false}, {0x4D, 0x33, false}, {0x51, 0x04, false}, {0x57, 0x1D, false},
                              {0x5A, 0x1A, false}, {0xBA, 0x30, false}, {0xBC, 0x10, false}, {0xBE, 0x36, false},
                              {0xBF, 0x37, false}, {0xC0, 0x34, false}, {0xDB, 0x2D, false}, {0xDD, 0x2F, false},
                              {0xDE, 0x35, false}, {0xDF, 0x38, false}};
constexpr Change kJapanese[] = {{0xBA, 0x34, false}, {0xBB, 0x33, false}, {0xC0, 0x2F, false}, {0xDB, 0x30, false},
                                {0xDC, 0x89, true},  {0xDD, 0x32, false}, {0xDE, 0x2E, false}, {0xE2, 0x87, false},
                                {0xF3, 0x35, false}, {0xF4, 0x35, true},  {0xF0, 0x88, true},  {0x1C, 0x8A, true},
                                {0x1D, 0x8B, true}};
constexpr Change kKorean[] = {{0x15, 0x90, true}, {0x19, 0x91, true}};
constexpr Change kTurkish[] = {{0xBC, 0x31, false}, {0xBD, 0x2E, false}, {0xBE, 0x38, false}, {0xBF, 0x36, false},
                               {0xDC, 0x37, false}, {0xDF, 0x2D, false}};

std::span<const Change> ChangesFor(const RecordLayout& l) {
  switch (l.primary) {
    case kLangEnglish: return l.subLanguage == 2 ? std::span<const Change>(kUk) : std::span<const Change>();
    case kLangCzech: return kCzech;
    case kLangDanish:
    case kLangFinnish:
    case kLangSwedish: return kNordic;
    case kLangGerman: return kGerman;
    case kLangSpanish:
    case kLangItalian: return kSouthern;
    case kLangPortuguese: return l.subLanguage == 2 ? std::span<const Change>(kPortuguese) : std::span<const Change>();
    case kLangFrench: return kFrench;
    case kLangJapanese: return kJapanese;
    case kLangKorean: return kKorean;
    case kLangTurkish: return kTurkish;
    default: return {};
  }
}

}  // namespace

std::uint8_t KeyCodeFromVirtualKey(std::uint32_t vk, std::uint32_t flags, const RecordLayout& layout) {
  if (vk > 0xFF) return kKeyNotRecorded;
  const std::uint32_t low = flags & kLow28;
  switch (vk) {
    case kVkShift: return low == kLeftShiftFlags ? 0x71 : low == kRightShiftFlags ? 0x75 : kKeyNotRecorded;
    case kVkControl: return low == kLeftCtrlFlags ? 0x70 : low == kRightCtrlFlags ? 0x74 : kKeyNotRecorded;
    case kVkMenu: return low == kLeftAltFlags ? 0x72 : low == kRightAltFlags ? 0x76 : kKeyNotRecorded;
    default: break;
  }
  for (const Change& c : ChangesFor(layout))
    if (c.vk == vk) return c.imeOnly && !layout.ime ? kKeyNotRecorded : c.code;
  return kDefaultKeys[vk];
}

std::uint8_t MouseInstruction(const MouseEvent& e) {
  namespace m = mouse_msg;
  const std::uint16_t high = static_cast<std::uint16_t>(e.mouseData >> 16);
  switch (e.message) {
    case m::kLButtonDown: return e.onStopButton ? 0 : 0x78;
    case m::kLButtonUp: return e.onStopButton ? 0 : 0xF8;
    case m::kNcLButtonDown:
    case m::kNcLButtonUp: return 0xF8;
    case m::kRButtonDown:
    case m::kNcRButtonDown: return 0x79;
    case m::kRButtonUp:
    case m::kNcRButtonUp: return 0xF9;
    case m::kMButtonDown:
    case m::kNcMButtonDown: return 0x7A;
    case m::kMButtonUp:
    case m::kNcMButtonUp: return 0xFA;
    case m::kXButtonDown:
    case m::kNcXButtonDown: return high == 1 ? 0x7B : high == 2 ? 0x7C : 0;
    case m::kXButtonUp:
    case m::kNcXButtonUp: return high == 1 ? 0xFB : high == 2 ? 0xFC : 0;
    case m::kMouseWheel: return static_cast<std::int16_t>(high) < 0 ? kOpWheelBack : kOpWheelForward;
    default: return 0;
  }
}

bool MacroRecorder::IsPress(const Instr& i) {
  return i.opcode >= 0x04 && i.opcode <= 0x7D;
}

MacroRecorder::Instr MacroRecorder::ReleaseOf(const Instr& press) {
  if (press.opcode == kOpKeyPressExt) return {kOpKeyReleaseExt, press.operand};
  return {press.opcode | kReleaseBit, 0};
}

int MacroRecorder::ReservedBytes() const {
  int n = 0;
  for (int k = 0; k < heldCount_; ++k) n += SizeOf(ReleaseOf(held_[static_cast<std::size_t>(k)]));
  return n;
}

// What the capacity check of the list asks for: two bytes per pair.
int MacroRecorder::DelayGrowth(int units) const {
  if (units <= 0 || list_.Count() == 0) return 0;
  return 2 * ((units + 254) / 255);
}

int MacroRecorder::FindHeld(const Instr& release) const {
  for (int k = heldCount_ - 1; k >= 0; --k) {
    const Instr r = ReleaseOf(held_[static_cast<std::size_t>(k)]);
    if (r.opcode == release.opcode && r.operand == release.operand) return k;
  }
  return -1;
}

bool MacroRecorder::StartRecording() {
  if (recording_) return false;
  if (!hooks_.Install()) {
    messages_.ShowMessage(kMsgRecordFailed);
    return false;
  }
  havePreviousTime_ = false;
  altGrHeld_ = false;
  lastDownKey_ = 0;
  heldCount_ = 0;
  recording_ = true;
  store_.SetDword(kMacroRecordStart, 1);
  return true;
}

void MacroRecorder::StopRecording() {
  if (!recording_) return;
  hooks_.Remove();
  recording_ = false;
  store_.SetDword(kMacroRecordStart, 0);
  // Keys and buttons still down would stay down on the mouse: release them, last pressed first.
  while (heldCount_ > 0) {
    const Instr release = ReleaseOf(held_[static_cast<std::size_t>(heldCount_ - 1)]);
    if (!Record(release)) break;
  }
  heldCount_ = 0;
  // The list shows the default delay after the last row too: store it there as well.
  if (settings_.mode == RecordingSettings::Mode::kDefaultDelay && list_.Count() > 0) {
    const int units = DelayUnitsBefore();
    if (units > 0 && list_.UsedBytes() + DelayGrowth(units) <= list_.Capacity()) AppendDelay(units);
  }
}

int MacroRecorder::DelayUnitsBefore() {
  if (list_.DelayUnit() < kDelayUnitMs || settings_.mode == RecordingSettings::Mode::kWithoutDelay) return 0;
  if (settings_.mode == RecordingSettings::Mode::kDefaultDelay)
    return std::max(0, (settings_.defaultDelayMs + kDelayUnitMs) / kDelayUnitMs - 1);
  // Measured on the monotonic clock: a change of the system time or a month end cannot make
  // the interval negative or huge.
  const std::uint64_t now = clock_.NowMs();
  if (!havePreviousTime_) {
    previousEventMs_ = now;
    havePreviousTime_ = true;
    return 0;
  }
  std::uint64_t interval = now >= previousEventMs_ ? now - previousEventMs_ : 0;
  previousEventMs_ = now;
  interval = std::min<std::uint64_t>(interval, 10000);
  return static_cast<int>(interval / kDelayUnitMs / 2);
}

void MacroRecorder::AppendDelay(int units) {
  while (units > 0) {
    const int n = std::min(units, 255);
    if (list_.AppendInstruction(kOpDelay, n, 0) < 0) return;
    units -= n;
  }
}

void MacroRecorder::SelectLast(int row) {
  for (int s = view_.NextSelected(-1); s >= 0; s = view_.NextSelected(s)) view_.SetSelected(s, false);
  list_.SelectRow(row);
}

void MacroRecorder::Full() {
  StopRecording();
  messages_.ShowMessage(kMsgBufferFull);
}

bool MacroRecorder::Record(const Instr& i) {
  const bool press = IsPress(i);
  const int closes = press ? -1 : FindHeld(i);
  if (press && heldCount_ >= kMaxHeld) return false;
  const int units = DelayUnitsBefore();
  // Room is kept for the release of every press still open, so a full buffer never leaves a
  // key down; a release of an open press uses its own kept room.
  const int room = list_.Capacity() - list_.UsedBytes() - ReservedBytes();
  const int event = closes >= 0 ? 0 : SizeOf(i) + (press ? SizeOf(ReleaseOf(i)) : 0);
  const bool withDelay = DelayGrowth(units) + event <= room;
  if (!withDelay && event > room) {
    if (recording_) Full();
    return false;
  }
  if (withDelay) AppendDelay(units);
  const int row = list_.AppendInstruction(i.opcode, i.operand, 0);
  if (row < 0) {
    if (recording_) Full();
    return false;
  }
  if (press) {
    held_[static_cast<std::size_t>(heldCount_++)] = i;
  } else if (closes >= 0) {
    std::copy(held_.begin() + closes + 1, held_.begin() + heldCount_, held_.begin() + closes);
    --heldCount_;
  }
  SelectLast(row);
  // The delay did not fit: recording ends here, the event itself is kept.
  if (!withDelay && recording_) Full();
  return true;
}

bool MacroRecorder::RecordMouse(const MouseEvent& event) {
  if (!recording_) return false;
  const std::uint8_t code = MouseInstruction(event);
  if (code == 0) return false;
  Record({code, 0});
  return true;
}

void MacroRecorder::RecordKey(std::uint32_t vk, std::uint32_t flags) {
  // A forwarded key that arrives after STOP is not recorded.
  if (!recording_) return;
  if (vk == kVkProcessKey) {
    if (layout_.primary != kLangJapanese) return;
    switch ((flags >> 16) & 0xFFF) {
      case 0x70: vk = 0xF0; break;
      case 0x79: vk = 0x1C; break;
      case 0x7B: vk = 0x1D; break;
      default: return;
    }
  }
  const std::uint32_t low = flags & kLow28;
  const bool release = (flags & kReleaseFlag) != 0;
  bool replacing = false;
  if (release) {
    lastDownKey_ = 0;
    if (altGrHeld_ && vk == kVkMenu && low == kRightAltFlags) {
      altGrHeld_ = false;
      replacing = true;
    }
  } else {
    if (vk == lastDownKey_) return;  // auto-repeat
    if (layout_.altGr) {
      if (altGrHeld_ && ((vk == kVkMenu && low == kRightAltFlags) || (vk == kVkControl && low == kLeftCtrlFlags)))
        return;
      if (!altGrHeld_ && lastDownKey_ == kVkControl && vk == kVkMenu && low == kRightAltFlags) {
        altGrHeld_ = true;
        replacing = true;
      }
    }
    lastDownKey_ = vk;
  }
  const std::uint8_t c = KeyCodeFromVirtualKey(vk, flags, layout_);
  if (c == kKeyNotRecorded || c == 0xFF) return;
  Instr i;
  if (c == kOpKeyPressExt || c >= 0x78) {
    i = {release ? kOpKeyReleaseExt : kOpKeyPressExt, c};
  } else {
    i = {release ? c + kReleaseBit : c, 0};
    if (release && c != 0x70 && !replacing) {
      const bool needPress = c == 0x46 ? (((flags >> 16) & 0xFFF) != 0 || !list_.HasOpenPress(c)) : !list_.HasOpenPress(c);
      if (needPress && !Record({c, 0})) return;
    }
  }
  if (replacing) {
    if (list_.Count() == 0) return;
    const int row = std::min(list_.CurrentRow(), list_.Count() - 1);
    const Instr old{list_.Row(row).code[0], list_.Row(row).code[1]};
    if (list_.ReplaceRow(row, i.opcode, i.operand, 0) != 1) return;
    // Keep the open presses in step with the row's new meaning.
    auto drop = [&](int k) {
      std::copy(held_.begin() + k + 1, held_.begin() + heldCount_, held_.begin() + k);
      --heldCount_;
    };
    if (IsPress(old)) {
      for (int k = heldCount_ - 1; k >= 0; --k) {
        const Instr& h = held_[static_cast<std::size_t>(k)];
        if (h.opcode == old.opcode && h.operand == old.operand) {
          drop(k);
          break;
        }
      }
    }
    if (!release && heldCount_ < kMaxHeld) held_[static_cast<std::size_t>(heldCount_++)] = i;
    if (release && FindHeld(i) >= 0) drop(FindHeld(i));
    return;
  }
  Record(i);
}

}  // namespace halvard
