#include "macro/bytecode.h"

#include <algorithm>

namespace halvard {
namespace {

constexpr std::array<CommandDef, kCommandCount + 1> kCommands = {{
    {u"Page UP", 2, {0x4B, 0xCB}},
    {u"Page DN", 2, {0x4E, 0xCE}},
    {u"Copy", 4, {0x70, 0x06, 0x86, 0xF0}},
    {u"Paste", 4, {0x70, 0x19, 0x99, 0xF0}},
    {u"Close Window", 4, {0x72, 0x3D, 0xBD, 0xF2}},
    {u"Show Desktop", 4, {0x73, 0x07, 0x87, 0xF3}},
    {u"Undo", 4, {0x70, 0x1C, 0x9C, 0xF0}},
    {u"Open Window Explorer", 6, {0x03, 0x23, 0x02, 0x03, 0x00, 0x00}},
    {u"Delete", 2, {0x4C, 0xCC}},
    {u"Cut", 4, {0x70, 0x1B, 0x9B, 0xF0}},
    {u"Print Screen", 2, {0x46, 0xC6}},
    {u"Lock PC", 4, {0x73, 0x0F, 0x8F, 0xF3}},
    {u"Zoom In", 3, {0x70, 0xFE, 0xF0}},
    {u"Zoom Out", 3, {0x70, 0x7E, 0xF0}},
    {u"All", 4, {0x70, 0x04, 0x84, 0xF0}},
    {u"Find", 4, {0x70, 0x09, 0x89, 0xF0}},
    {u"Print", 4, {0x70, 0x13, 0x93, 0xF0}},
    {u"Save", 4, {0x70, 0x16, 0x96, 0xF0}},
    {u"New", 4, {0x70, 0x11, 0x91, 0xF0}},
    {u"Maxmize IE/Media Player", 6, {0x03, 0x83, 0x01, 0x03, 0x00, 0x00}},
    {u"Alt-Tab", 4, {0x72, 0x2B, 0xAB, 0xF2}},
    {u"Commands", 0, {}},
}};

}  // namespace

std::span<const CommandDef, kCommandCount + 1> CommandTable() { return kCommands; }

int InstructionSizeOf(std::uint8_t opcode, std::uint8_t byte1, bool extendedKeys) {
  switch (opcode) {
    case kOpDelay: return 2;
    case kOpLoopStart: case kOpConsumer: case kOpLoopEnd: return 3;
    case kOpMotion: return 5;
    case kOpKeyPressExt: case kOpKeyReleaseExt: return extendedKeys ? 2 : 1;
    case kOpExtended:
      switch (byte1) {
        case kSubAbsoluteMove: case kSubIfLocks: case kSubIfVariables: return 6;
        case kSubGoto: case kSubSet: case kSubCall: return 4;
        case kSubReturn: return 2;
        default: return IsCommandSub(byte1) ? kCommands[byte1 - kSubCommandFirst].count : 1;
      }
    default: return 1;
  }
}

int InstructionSize(std::span<const std::uint8_t> bytes, std::size_t pos, bool extendedKeys) {
  if (pos >= bytes.size()) return 0;
  std::uint8_t op = bytes[pos];
  if (op == kOpExtended && pos + 1 >= bytes.size()) return 1;
  return InstructionSizeOf(op, op == kOpExtended ? bytes[pos + 1] : 0, extendedKeys);
}

int EncodeDelay(int units, std::span<std::uint8_t> out) {
  std::size_t n = 0;
  auto put = [&](std::uint8_t a, std::uint8_t b) {
    if (n + 2 <= out.size()) {
      out[n] = a;
      out[n + 1] = b;
    }
    n += 2;
  };
  if (units <= 0) return 0;
  for (int i = 0; i < units / 255; ++i) put(kOpDelay, 0xFF);
  if (units % 255 != 0) put(kOpDelay, static_cast<std::uint8_t>(units % 255));
  return static_cast<int>(n);
}

bool ExpandCommands(std::span<std::uint8_t> bytes, int length, bool extendedKeys) {
  if (length <= 0 || length > kMacroMaxBytes || static_cast<std::size_t>(length) > bytes.size()) return false;
  auto str = bytes.first(static_cast<std::size_t>(length));
  std::size_t pos = 0;
  while (pos < str.size()) {
    if (str[pos] == kOpExtended && pos + 1 < str.size() && IsCommandSub(str[pos + 1])) {
      const CommandDef& c = kCommands[str[pos + 1] - kSubCommandFirst];
      std::size_t n = std::min<std::size_t>(c.count, str.size() - pos);
      std::copy_n(c.bytes, n, str.begin() + static_cast<std::ptrdiff_t>(pos));
      pos += c.count;
      continue;
    }
    pos += static_cast<std::size_t>(InstructionSize(str, pos, extendedKeys));
  }
  return true;
}

bool ReadInstructionAt(std::span<const std::uint8_t> bytes, std::size_t pos, bool extendedKeys, ReadInstruction& out) {
  out = ReadInstruction{};
  if (pos >= bytes.size()) return false;
  std::uint8_t op = bytes[pos];
  if (op == kOpExtended) {
    if (pos + 1 >= bytes.size()) return false;
    std::uint8_t sub = bytes[pos + 1];
    if (sub > kSubSet && !IsCommandSub(sub)) {
      // CALL, Return and unknown sub-operations: skipped as two bytes.
      out.size = 2;
      return true;
    }
  }
  int size = InstructionSize(bytes, pos, extendedKeys);
  if (pos + static_cast<std::size_t>(size) > bytes.size()) return false;
  out.size = size;
  out.produced = true;
  // A placeholder keeps only opcode and number; its filler is never interpreted.
  int keep = (op == kOpExtended && IsCommandSub(bytes[pos + 1])) ? 2 : std::min(size, 6);
  for (int i = 0; i < keep; ++i) out.code[i] = bytes[pos + static_cast<std::size_t>(i)];
  return true;
}

}  // namespace halvard
