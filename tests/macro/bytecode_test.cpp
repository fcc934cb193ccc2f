#include "macro/bytecode.h"

#include <gtest/gtest.h>

#include <vector>

namespace halvard {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Delay(int units) {
  Bytes out(64);
  out.resize(static_cast<std::size_t>(EncodeDelay(units, out)));
  return out;
}

TEST(Delays, PairsOf255AndTheRest) {
  EXPECT_EQ(Delay(0), Bytes{});
  EXPECT_EQ(Delay(8), (Bytes{0x01, 0x08}));
  EXPECT_EQ(Delay(255), (Bytes{0x01, 0xFF}));
  EXPECT_EQ(Delay(256), (Bytes{0x01, 0xFF, 0x01, 0x01}));
  EXPECT_EQ(Delay(300), (Bytes{0x01, 0xFF, 0x01, 0x2D}));
  EXPECT_EQ(Delay(510), (Bytes{0x01, 0xFF, 0x01, 0xFF}));
  for (int u : {0, 1, 254, 255, 256, 509, 510, 511, 1000}) EXPECT_EQ(DelayLength(u), static_cast<int>(Delay(u).size()));
  std::uint8_t small[3];
  EXPECT_EQ(EncodeDelay(300, small), 4);  // the length even when the buffer is short
  EXPECT_EQ(DelayUnits(0), 0);
  EXPECT_EQ(DelayUnits(1), 1);
  EXPECT_EQ(DelayUnits(25), 1);
  EXPECT_EQ(DelayUnits(26), 2);
  EXPECT_EQ(DelayUnits(5000), 200);
}

TEST(Sizes, EveryInstructionFamily) {
  auto size = [](Bytes b, bool ext = true) { return InstructionSize(b, 0, ext); };
  EXPECT_EQ(size({0x00}), 1);
  EXPECT_EQ(size({0x01, 5}), 2);
  EXPECT_EQ(size({0x02, 3, 0}), 3);
  EXPECT_EQ(size({0x03, 0xE9, 0}), 3);
  EXPECT_EQ(size({0x6F, 0x88}), 2);
  EXPECT_EQ(size({0x6F, 0x88}, false), 1);
  EXPECT_EQ(size({0xEF, 0x88}, false), 1);
  EXPECT_EQ(size({0x80, 1, 0, 2, 0}), 5);
  EXPECT_EQ(size({0x82, 0, 0}), 3);
  const int subSizes[] = {6, 6, 4, 6, 4, 4, 2};
  for (int sub = 0; sub <= 6; ++sub) EXPECT_EQ(size({0x83, static_cast<std::uint8_t>(sub)}), subSizes[sub]);
  EXPECT_EQ(size({0x83, 0x87}), 6);  // "Open Window Explorer"
  EXPECT_EQ(size({0x83, 0x80}), 2);
  EXPECT_EQ(size({0x83, 0x07}), 1);
  EXPECT_EQ(size({0x83, 0x95}), 1);
  EXPECT_EQ(size({0x83}), 1);
  EXPECT_EQ(size({0xFF}), 1);
  EXPECT_EQ(InstructionSize(Bytes{}, 0, true), 0);
}

TEST(Commands, TableAndExpansion) {
  auto table = CommandTable();
  EXPECT_EQ(table[6].name, u"Undo");
  EXPECT_EQ(table[6].bytes[1], 0x1C);
  EXPECT_EQ(table[7].count, 6);
  EXPECT_EQ(table[21].name, u"Commands");
  EXPECT_EQ(table[21].count, 0);

  Bytes b = {0x83, 0x82, 0x00, 0x00, 0x13, 0x93};
  ASSERT_TRUE(ExpandCommands(b, 6));
  EXPECT_EQ(b, (Bytes{0x70, 0x06, 0x86, 0xF0, 0x13, 0x93}));
  // Fillers that are not 0 are overwritten all the same; instructions around are walked past.
  b = {0x80, 0x83, 0x80, 0, 0, 0x83, 0x8C, 9, 0x06};
  ASSERT_TRUE(ExpandCommands(b, 9));
  EXPECT_EQ(b, (Bytes{0x80, 0x83, 0x80, 0, 0, 0x70, 0xFE, 0xF0, 0x06}));
  b = {0x83, 0x93, 0, 0, 0, 0, 0x01, 0x04};
  ASSERT_TRUE(ExpandCommands(b, 8));
  EXPECT_EQ(b, (Bytes{0x03, 0x83, 0x01, 0x03, 0x00, 0x00, 0x01, 0x04}));
}

TEST(Commands, ExpansionRefusesBadLengthsAndStaysInside) {
  Bytes b(257, 0x83);
  Bytes before = b;
  EXPECT_FALSE(ExpandCommands(b, 0));
  EXPECT_FALSE(ExpandCommands(b, 257));
  EXPECT_EQ(b, before);
  // A placeholder cut off by the end writes only up to the end.
  Bytes cut = {0x06, 0x83, 0x87, 0x00, 0xAA};
  ASSERT_TRUE(ExpandCommands(std::span(cut).first(4), 4));
  EXPECT_EQ(cut, (Bytes{0x06, 0x03, 0x23, 0x02, 0xAA}));
  Bytes shortBuffer = {0x06};
  EXPECT_FALSE(ExpandCommands(shortBuffer, 2));
}

TEST(Storage, HeaderCellsAndSlots) {
  EXPECT_EQ(HeaderCell(0, 0, 0), 768);
  EXPECT_EQ(HeaderCell(4, 10, 3), 768 + 176 + 40 + 3);
  EXPECT_EQ(SlotCell(4, 10, 255), 15103);
  EXPECT_EQ(MacroHeader(256, kRepeatOnce, 0), (std::array<std::uint8_t, 4>{0, 2, 0, 0x15}));
  EXPECT_EQ(MacroHeader(3, kRepeatCount, 7), (std::array<std::uint8_t, 4>{3, 2, 7, 0x0C}));
}

TEST(Reading, InstructionsDelaysAndSkippedSubOperations) {
  ReadInstruction in;
  Bytes b = {0x6F, 0x88};
  ASSERT_TRUE(ReadInstructionAt(b, 0, false, in));
  EXPECT_EQ(in.size, 1);
  ASSERT_TRUE(ReadInstructionAt(b, 0, true, in));
  EXPECT_EQ(in.size, 2);
  EXPECT_EQ(in.code[1], 0x88);
  b = {0x83, 0x05, 0x10, 0x00};
  ASSERT_TRUE(ReadInstructionAt(b, 0, true, in));
  EXPECT_FALSE(in.produced);
  EXPECT_EQ(in.size, 2);
  b = {0x83, 0x82, 0x55, 0x66};
  ASSERT_TRUE(ReadInstructionAt(b, 0, true, in));
  EXPECT_TRUE(in.produced);
  EXPECT_EQ(in.code[2], 0);  // filler never kept
  b = {0x80, 0x01, 0x02};
  EXPECT_FALSE(ReadInstructionAt(b, 0, true, in));  // ends inside the instruction
  b = {0x83};
  EXPECT_FALSE(ReadInstructionAt(b, 0, true, in));
}

}  // namespace
}  // namespace halvard
