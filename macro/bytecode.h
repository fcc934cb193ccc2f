// The mouse's macro byte code: instruction sizes, delay pairs, the predefined commands and their
// expansion, and where a button's macro lives in the device memory.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace halvard {

inline constexpr int kMacroMaxBytes = 256;

// Opcodes with a meaning of their own.
inline constexpr std::uint8_t kOpAllKeysUp = 0x00;
inline constexpr std::uint8_t kOpDelay = 0x01;
inline constexpr std::uint8_t kOpLoopStart = 0x02;
inline constexpr std::uint8_t kOpConsumer = 0x03;
inline constexpr std::uint8_t kOpKeyPressExt = 0x6F;
inline constexpr std::uint8_t kOpWheelBack = 0x7E;
inline constexpr std::uint8_t kOpNop = 0x7F;
inline constexpr std::uint8_t kOpMotion = 0x80;
inline constexpr std::uint8_t kOpPause = 0x81;
inline constexpr std::uint8_t kOpLoopEnd = 0x82;
inline constexpr std::uint8_t kOpExtended = 0x83;
inline constexpr std::uint8_t kOpKeyReleaseExt = 0xEF;
inline constexpr std::uint8_t kOpWheelForward = 0xFE;
inline constexpr std::uint8_t kOpScriptStop = 0xFF;
inline constexpr std::uint8_t kReleaseBit = 0x80;

// Sub-operations of 0x83.
inline constexpr std::uint8_t kSubAbsoluteMove = 0;
inline constexpr std::uint8_t kSubIfLocks = 1;
inline constexpr std::uint8_t kSubGoto = 2;
inline constexpr std::uint8_t kSubIfVariables = 3;
inline constexpr std::uint8_t kSubSet = 4;
inline constexpr std::uint8_t kSubCall = 5;
inline constexpr std::uint8_t kSubReturn = 6;
inline constexpr std::uint8_t kSubCommandFirst = 0x80;
inline constexpr std::uint8_t kSubCommandLast = 0x94;

inline constexpr int kCommandCount = 21;
inline constexpr int kDelayUnitMs = 25;
inline constexpr int kMaxDelayMs = 5000;

struct CommandDef {
  std::u16string_view name;  // English default; the language tables may give another
  std::uint8_t count;
  std::uint8_t bytes[20];
};

// The 21 commands and, as entry 21, the "Commands" heading with count 0.
std::span<const CommandDef, kCommandCount + 1> CommandTable();

constexpr bool IsCommandSub(int sub) { return sub >= kSubCommandFirst && sub <= kSubCommandLast; }

// Size of the instruction starting at `pos`; a 0x83 with an unknown (or missing) sub-operation
// counts as its single byte.
int InstructionSize(std::span<const std::uint8_t> bytes, std::size_t pos, bool extendedKeys);
// The same for an instruction given as its opcode and sub-operation (byte 1).
int InstructionSizeOf(std::uint8_t opcode, std::uint8_t byte1, bool extendedKeys);

// u delay units as pairs: 01 FF for every full 255, then 01 (u mod 255) when not 0.
inline constexpr int DelayLength(int units) { return units <= 0 ? 0 : 2 * ((units + 254) / 255); }
// Writes the pairs into `out` (as many as fit) and returns DelayLength(units).
int EncodeDelay(int units, std::span<std::uint8_t> out);
// Milliseconds (0-5000) to units of `unitMs`, rounded up; 0 ms is no delay.
inline constexpr int DelayUnits(int ms, int unitMs = kDelayUnitMs) { return ms <= 0 ? 0 : (ms + unitMs - 1) / unitMs; }

// Replaces every command placeholder in place by the command's bytes. Fails, changing nothing,
// for a length of 0 or above 256. A placeholder cut off by the end is filled only up to it.
bool ExpandCommands(std::span<std::uint8_t> bytes, int length, bool extendedKeys = true);

// Device cells of button i (0-10) of profile p (0-4).
constexpr int HeaderCell(int p, int i, int k) { return 768 + 44 * p + 4 * i + k; }
constexpr int SlotCell(int p, int i, int k) { return 1024 + 2816 * p + 256 * i + k; }

// Repeat modes (low nibble of header cell 3).
enum RepeatMode : std::uint8_t {
  kRepeatNone = 1,
  kRepeatUntilNextKey = 4,
  kRepeatOnce = 5,
  kRepeatWhileHeld = 7,
  kRepeatCountLegacy = 8,
  kRepeatCount = 12,
};

// The four header cells of a macro of `length` bytes.
constexpr std::array<std::uint8_t, 4> MacroHeader(int length, std::uint8_t repeatMode, std::uint8_t repeatCount) {
  return {static_cast<std::uint8_t>(length & 0xFF), 2, repeatCount,
          static_cast<std::uint8_t>((repeatMode & 0x0F) | (((length >> 8) & 0x0F) << 4))};
}

// One instruction as read from a byte string.
struct ReadInstruction {
  std::uint8_t code[6] = {};  // opcode and operands as in the string
  int size = 0;               // bytes consumed
  bool produced = false;      // false: skipped (sub-operations 5, 6 and unknown ones)
};

// Reads the instruction at `pos`: the reading rule of the instruction list. Returns false when the
// string ends inside the instruction (nothing more can be read).
bool ReadInstructionAt(std::span<const std::uint8_t> bytes, std::size_t pos, bool extendedKeys, ReadInstruction& out);

}  // namespace halvard
