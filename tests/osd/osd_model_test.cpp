#include "osd/osd_model.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "osd_test_port.h"
#include "platform/registry_memory.h"
#include "store/registry_store.h"
#include "store/value_names.h"

namespace halvard::osd {
namespace {

constexpr std::uint32_t kNoTile = 0;

class OsdModelTest : public ::testing::Test {
 protected:
  void SetXy(int profile, std::uint32_t value) { ASSERT_EQ(store.SetDword(XyFlagName(profile), value), 1); }
  int Inform(std::uintptr_t code, std::intptr_t lParam) { return model.OnInformOsd(code, lParam); }
  // The tile colour found at each of the four tile places of a row.
  std::array<std::uint32_t, 4> RowColours(DigitRowPlace place, int step) {
    std::array<std::uint32_t, 4> c{};
    for (int i = 0; i < 4; ++i) c[i] = model.picture().At(place.x + i * step + 1, place.y + 1);
    return c;
  }
  static std::array<std::uint32_t, 4> Colours(std::array<int, 4> ids) {
    std::array<std::uint32_t, 4> c{};
    for (int i = 0; i < 4; ++i) c[i] = ids[i] == 0 ? kNoTile : TileColour(ids[i]);
    return c;
  }

  MemoryRegistry registry;
  RegistryStoreA store{registry};
  OsdSharedSection table{};
  TestPort port;
  COsdModel model{port, store, table};
};

// Each command's picture, or none shown, from a fresh window.
struct CommandCase {
  const char* what;
  std::uintptr_t code;
  std::intptr_t lParam;
  int result;
  int picture;  // -1: nothing prepared or shown
};

void PrintTo(const CommandCase& c, std::ostream* os) { *os << c.what; }
class OsdCommandTest : public OsdModelTest, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(OsdCommandTest, ChoosesThePictureAndShowsIt) {
  const CommandCase& c = GetParam();
  EXPECT_EQ(Inform(c.code, c.lParam), c.result);
  if (c.picture < 0) {
    EXPECT_EQ(port.pictures, 0);
    EXPECT_FALSE(port.shown);
    EXPECT_FALSE(port.Running(TIMER_HIDE));
    return;
  }
  EXPECT_EQ(model.pictureId(), c.picture);
  auto size = OsdPictureSize(c.picture);
  ASSERT_TRUE(size);
  EXPECT_EQ(port.lastSize, *size);
  EXPECT_TRUE(port.shown);
  EXPECT_TRUE(model.visible());
  EXPECT_TRUE(port.Running(TIMER_HIDE));
}

const std::uint32_t kDpiWord = DpiStateWord{1, 0, false, 32, 32}.Pack();

INSTANTIATE_TEST_SUITE_P(
    Commands, OsdCommandTest,
    ::testing::Values(
        CommandCase{"profile change word shows P3", OSD_DPI_STATE, 0x84 + 16 * 2, 1, 302},
        CommandCase{"profile word with a level shows P1", OSD_DPI_STATE, 0x81 + (20 << 8), 1, 300},
        CommandCase{"profile 6 in a profile word", OSD_DPI_STATE, 0x84 + 16 * 6, 1, -1},
        CommandCase{"level 2 of profile 1", OSD_DPI_STATE, kDpiWord, 1, 317},
        CommandCase{"level 4 of profile 1", OSD_DPI_STATE, DpiStateWord{3, 1, false, 8, 8}.Pack(), 1, 319},
        CommandCase{"level field 4 without bit 7", OSD_DPI_STATE, 0x04 + (32 << 8), 1, -1},
        CommandCase{"level field 7 without bit 7", OSD_DPI_STATE, 0x07, 1, -1},
        CommandCase{"left arrow", OSD_ARROW, 3, 1, 320}, CommandCase{"right arrow", OSD_ARROW, 4, 1, 321},
        CommandCase{"arrow 5", OSD_ARROW, 5, 1, -1}, CommandCase{"arrow 0", OSD_ARROW, 0, 1, -1},
        CommandCase{"locked", OSD_LOCK, 1, 1, 324}, CommandCase{"locked by any non-zero", OSD_LOCK, -7, 1, 324},
        CommandCase{"unlocked", OSD_LOCK, 0, 1, 325},
        CommandCase{"1000 Hz", OSD_POLLING_RATE, 0, 1, 329}, CommandCase{"500 Hz", OSD_POLLING_RATE, 1, 1, 328},
        CommandCase{"250 Hz", OSD_POLLING_RATE, 2, 1, 327}, CommandCase{"125 Hz", OSD_POLLING_RATE, 3, 1, 326},
        CommandCase{"rate code 7", OSD_POLLING_RATE, 7, 1, -1},
        CommandCase{"rate code -1", OSD_POLLING_RATE, -1, 1, -1},
        CommandCase{"normal", OSD_MODE, 0, 1, 322}, CommandCase{"battle", OSD_MODE, 1, 1, 323},
        CommandCase{"set profile", OSD_SET_PROFILE, 2, 1, -1},
        CommandCase{"device found", OSD_DEVICE_FOUND, 0x2002, 1, -1},
        CommandCase{"enable", OSD_ENABLE, 1, 1, -1}, CommandCase{"x first", OSD_X_FIRST, 1, 1, -1},
        CommandCase{"code 2", 2, 1, 0, -1}, CommandCase{"code 3", 3, 3, 0, -1}, CommandCase{"code 4", 4, 1, 0, -1},
        CommandCase{"code 10", 10, 1, 0, -1}, CommandCase{"code 11", 11, 1, 0, -1},
        CommandCase{"code 13", 13, 1, 0, -1}, CommandCase{"code 14", 14, 1, 0, -1},
        CommandCase{"code 16", 16, 1, 0, -1}, CommandCase{"code 0x10000", 0x10000, 0, 0, -1}),
    [](const auto& info) {
      std::string s = info.param.what;
      for (char& ch : s)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return s;
    });

TEST_F(OsdModelTest, DpiWordsFillTheTableOnlyForARealLevel) {
  Inform(OSD_DPI_STATE, DpiStateWord{2, 1, false, 20, 30}.Pack());
  EXPECT_EQ(table.xCodes[2], 20);
  EXPECT_EQ(table.yCodes[2], 30);
  EXPECT_EQ(model.profile(), 1);
  EXPECT_EQ(model.level(), 2);

  // The main window's profile word: shows the profile, keeps the table.
  const OsdSharedSection before = table;
  Inform(OSD_DPI_STATE, ProfileChangeWord(3));
  EXPECT_EQ(model.view(), OsdView::kProfile);
  EXPECT_EQ(model.profile(), 3);
  EXPECT_EQ(std::memcmp(&before, &table, sizeof table), 0);

  // Bit 7 with a level: the profile is shown and the level's codes are kept.
  Inform(OSD_DPI_STATE, 0x80 | 0x10 | 3 | (40 << 8) | (41 << 16));
  EXPECT_EQ(model.pictureId(), 301);
  EXPECT_EQ(table.xCodes[3], 40);
  EXPECT_EQ(table.yCodes[3], 41);
  EXPECT_EQ(model.level(), 3);

  // Bit 3 and the top byte are ignored.
  Inform(OSD_DPI_STATE, static_cast<std::intptr_t>(0xFF000008u | 0x01 | (6 << 8) | (7 << 16)));
  EXPECT_EQ(model.level(), 1);
  EXPECT_EQ(table.xCodes[1], 6);
  EXPECT_EQ(table.yCodes[1], 7);

  // No level: the profile is taken, nothing else.
  const int pictures = port.pictures;
  Inform(OSD_DPI_STATE, 0x04 | 0x40);
  EXPECT_EQ(model.profile(), 4);
  EXPECT_EQ(model.level(), 1);
  EXPECT_EQ(port.pictures, pictures);
}

TEST_F(OsdModelTest, ProfilesOutsideTheMouseAreNeverTaken) {
  Inform(OSD_SET_PROFILE, 2);
  EXPECT_EQ(model.profile(), 2);
  for (std::intptr_t bad : {std::intptr_t{5}, std::intptr_t{-1}, std::intptr_t{0x100000002LL}}) {
    Inform(OSD_SET_PROFILE, bad);
    EXPECT_EQ(model.profile(), 2);
  }
  Inform(OSD_DPI_STATE, DpiStateWord{0, 7, false, 10, 10}.Pack());  // profile field 7, a real level
  EXPECT_EQ(model.profile(), 2);
  EXPECT_EQ(model.pictureId(), 316);  // the level is still shown, for the profile it had
  Inform(OSD_DPI_STATE, 0x80 | 0x50);
  EXPECT_EQ(model.profile(), 2);
  EXPECT_EQ(model.pictureId(), 316);
}

// The digits of one row, left to right (0 = blank), for a sensitivity code.
struct DigitCase {
  std::int64_t code;
  std::array<int, 4> digits;  // -1 blank
};
void PrintTo(const DigitCase& c, std::ostream* os) { *os << "code " << c.code; }
class DigitRowTest : public ::testing::TestWithParam<DigitCase> {};

TEST_P(DigitRowTest, WalksFromTheRightWithLeadingBlanks) {
  const DigitCase& c = GetParam();
  std::array<int, 4> big{}, small{};
  for (int i = 0; i < 4; ++i) {
    big[i] = c.digits[i] < 0 ? kBigBlank : kBigDigitBase + c.digits[i];
    small[i] = c.digits[i] < 0 ? kSmallBlank : kSmallDigitBase + c.digits[i];
  }
  EXPECT_EQ(DigitRowTiles(c.code, kBigDigitBase, kBigBlank), big);
  EXPECT_EQ(DigitRowTiles(c.code, kSmallDigitBase, kSmallBlank), small);
}

INSTANTIATE_TEST_SUITE_P(Codes, DigitRowTest,
                         ::testing::Values(DigitCase{0, {-1, -1, -1, -1}}, DigitCase{1, {-1, -1, 5, 0}},
                                           DigitCase{2, {-1, 1, 0, 0}}, DigitCase{16, {-1, 8, 0, 0}},
                                           DigitCase{20, {1, 0, 0, 0}}, DigitCase{24, {1, 2, 0, 0}},
                                           DigitCase{32, {1, 6, 0, 0}}, DigitCase{101, {5, 0, 5, 0}},
                                           DigitCase{164, {8, 2, 0, 0}}, DigitCase{165, {-1, -1, -1, -1}},
                                           DigitCase{255, {-1, -1, -1, -1}}, DigitCase{-3, {-1, -1, -1, -1}},
                                           DigitCase{1LL << 40, {-1, -1, -1, -1}}),
                         [](const auto& info) {
                           const auto c = info.param.code;
                           return "code" + (c < 0 ? "Minus" + std::to_string(-c) : std::to_string(c));
                         });

TEST_F(OsdModelTest, SingleRowPlateCarriesTheLargeDigits) {
  SetXy(0, 0);
  Inform(OSD_X_FIRST, 1);
  Inform(OSD_DPI_STATE, kDpiWord);
  EXPECT_FALSE(model.separateXy());
  EXPECT_EQ(model.pictureId(), 317);
  EXPECT_EQ(RowColours(kSingleRow, 32), Colours({306, 311, 305, 305}));
  // Right of the fourth tile the plate shows through.
  EXPECT_EQ(model.picture().At(kSingleRow.x + 4 * 32 + 1, kSingleRow.y + 1), kPlateRed);
}

// The X-Y flag as the registry holds it: only exactly 1 separates the axes.
struct XyCase {
  const char* what;
  std::optional<std::uint32_t> flag;  // nothing: value missing
  bool separate;
};
void PrintTo(const XyCase& c, std::ostream* os) { *os << c.what; }
class XyFlagTest : public OsdModelTest, public ::testing::WithParamInterface<XyCase> {};

TEST_P(XyFlagTest, ChoosesThePlate) {
  if (GetParam().flag) SetXy(2, *GetParam().flag);
  SetXy(0, 1);  // another profile's flag does not count
  Inform(OSD_DPI_STATE, DpiStateWord{3, 2, false, 16, 24}.Pack());
  EXPECT_EQ(model.separateXy(), GetParam().separate);
  EXPECT_EQ(model.pictureId(), GetParam().separate ? 344 : 319);
}

INSTANTIATE_TEST_SUITE_P(Flags, XyFlagTest,
                         ::testing::Values(XyCase{"one", 1, true}, XyCase{"zero", 0, false},
                                           XyCase{"two", 2, false}, XyCase{"minus_one", 0xFFFFFFFFu, false},
                                           XyCase{"missing", std::nullopt, false}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST_F(OsdModelTest, XyPlateOrdersItsRowsByXFirst) {
  SetXy(0, 1);
  const std::uint32_t word = DpiStateWord{1, 0, false, 16, 24}.Pack();
  const std::array<int, 4> x800 = {kSmallBlank, 338, 330, 330}, y1200 = {331, 332, 330, 330};

  Inform(OSD_X_FIRST, 1);
  Inform(OSD_DPI_STATE, word);
  EXPECT_EQ(model.pictureId(), 342);
  EXPECT_EQ(RowColours(kXyRows[0], 24), Colours(x800));
  EXPECT_EQ(RowColours(kXyRows[1], 24), Colours(y1200));

  Inform(OSD_X_FIRST, 0);
  Inform(OSD_DPI_STATE, word);
  EXPECT_EQ(RowColours(kXyRows[0], 24), Colours(y1200));
  EXPECT_EQ(RowColours(kXyRows[1], 24), Colours(x800));

  // A code above 164 leaves its row blank.
  Inform(OSD_X_FIRST, 1);
  Inform(OSD_DPI_STATE, DpiStateWord{1, 0, false, 165, 24}.Pack());
  EXPECT_EQ(RowColours(kXyRows[0], 24), Colours({kSmallBlank, kSmallBlank, kSmallBlank, kSmallBlank}));
  EXPECT_EQ(RowColours(kXyRows[1], 24), Colours(y1200));
}

TEST_F(OsdModelTest, TheRegistryKeyIsMadeWhenMissingAndTheAxesStayTogether) {
  Inform(OSD_DPI_STATE, kDpiWord);
  EXPECT_FALSE(model.separateXy());
  auto* v = registry.Find(RegRoot::kCurrentUser, kHalvardKey, u"PF0 X-Y DPI Enabled");
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->data, (std::vector<std::uint8_t>{0, 0, 0, 0}));
  // A registry that fails throughout only costs the X-Y choice.
  registry.FailAll(kRegErrorAccessDenied);
  Inform(OSD_DPI_STATE, DpiStateWord{2, 0, false, 10, 10}.Pack());
  EXPECT_EQ(model.pictureId(), 318);
  EXPECT_TRUE(port.shown);
}

TEST_F(OsdModelTest, EveryPictureIsCentredFiftyPixelsAboveTheBottom) {
  struct Case {
    std::uintptr_t code;
    std::intptr_t lParam;
  };
  for (PictureSize screen : {PictureSize{1280, 1024}, PictureSize{1023, 767}}) {
    port.screen = screen;
    for (Case c : {Case{OSD_DPI_STATE, 0x84}, Case{OSD_ARROW, 3}, Case{OSD_DPI_STATE, kDpiWord}, Case{OSD_MODE, 0},
                   Case{OSD_MODE, 1}, Case{OSD_POLLING_RATE, 0}, Case{OSD_LOCK, 1}, Case{OSD_LOCK, 0}}) {
      Inform(c.code, c.lParam);
      const PictureSize s = *OsdPictureSize(model.pictureId());
      ASSERT_TRUE(port.placed);
      EXPECT_EQ(*port.placed, (OsdRect{(screen.width - s.width) / 2, screen.height - s.height - 50, s.width, s.height}))
          << model.pictureId();
    }
  }
  EXPECT_EQ(PlaceOnScreen({259, 56}, {1280, 1024}), (OsdRect{510, 918, 259, 56}));
}

TEST_F(OsdModelTest, HidesThreeSecondsAfterTheLatestEvent) {
  Inform(OSD_LOCK, 1);
  port.RunFor(model, 1000);
  EXPECT_TRUE(port.shown);

  // A second event while showing: repaint, then show again 10 ms later with a fresh 3 s.
  const int invalidations = port.invalidations;
  Inform(OSD_LOCK, 0);
  EXPECT_EQ(port.invalidations, invalidations + 1);
  EXPECT_FALSE(model.visible());
  EXPECT_FALSE(port.Running(TIMER_HIDE));
  EXPECT_TRUE(port.Running(TIMER_RESHOW));
  port.RunFor(model, kReshowMs);
  EXPECT_TRUE(model.visible());
  EXPECT_FALSE(port.Running(TIMER_RESHOW));  // it fired once and stopped

  port.RunFor(model, 2999);
  EXPECT_TRUE(port.shown);
  EXPECT_EQ(port.now, 4009u);
  port.RunFor(model, 1);
  EXPECT_FALSE(port.shown);
  EXPECT_FALSE(model.visible());
  EXPECT_TRUE(port.timers.empty());
}

TEST_F(OsdModelTest, SwitchedOffItPreparesButStaysHidden) {
  Inform(OSD_ENABLE, 0);
  EXPECT_EQ(Inform(OSD_POLLING_RATE, 1), 1);
  EXPECT_EQ(port.pictures, 1);  // reshaped and moved
  ASSERT_TRUE(port.placed);
  EXPECT_EQ(port.placed->width, 209);
  EXPECT_FALSE(port.shown);
  EXPECT_EQ(port.shows, 0);
  EXPECT_TRUE(port.timers.empty());

  // Switched off while showing: the next event hides it.
  Inform(OSD_ENABLE, 1);
  Inform(OSD_MODE, 1);
  EXPECT_TRUE(port.shown);
  Inform(OSD_ENABLE, 0);
  EXPECT_TRUE(port.shown);  // switching itself shows and hides nothing
  Inform(OSD_MODE, 0);
  EXPECT_FALSE(port.shown);
  EXPECT_TRUE(port.timers.empty());
}

// Where the pointer is when the OSD comes up, against the rectangle it occupies.
struct PointerCase {
  int dx, dy;  // from the placed rectangle's top-left corner; w/h added when marked
  bool fromRight, fromBottom;
  bool inside;
};
void PrintTo(const PointerCase& c, std::ostream* os) { *os << c.dx << "," << c.dy; }
class PointerRuleTest : public OsdModelTest, public ::testing::WithParamInterface<PointerCase> {};

TEST_P(PointerRuleTest, OnlyAPointerAlreadyThereKeepsItUp) {
  const PointerCase& c = GetParam();
  const OsdRect r = PlaceOnScreen({142, 36}, port.screen);  // the LOCK picture
  port.pointer = {r.left + c.dx + (c.fromRight ? r.width : 0), r.top + c.dy + (c.fromBottom ? r.height : 0)};
  Inform(OSD_LOCK, 1);
  EXPECT_EQ(model.placement(), r);
  EXPECT_EQ(model.pointerWasInside(), c.inside);
  model.OnNcHitTest();
  EXPECT_EQ(port.shown, c.inside);
  EXPECT_EQ(port.Running(TIMER_HIDE), c.inside);
}

INSTANTIATE_TEST_SUITE_P(Points, PointerRuleTest,
                         ::testing::Values(PointerCase{1, 1, false, false, true},
                                           PointerCase{0, 5, false, false, false},
                                           PointerCase{5, 0, false, false, false},
                                           PointerCase{-1, -1, true, true, true},
                                           PointerCase{0, -5, true, false, false},
                                           PointerCase{-5, 0, false, true, false},
                                           PointerCase{-400, -400, false, false, false}),
                         [](const auto& info) { return "point" + std::to_string(info.index); });

TEST_F(OsdModelTest, AMissingPictureShowsThePreviousOneAgain) {
  Inform(OSD_MODE, 1);
  ASSERT_EQ(port.pictures, 1);
  port.RunFor(model, 3000);
  ASSERT_FALSE(port.shown);

  port.missing = {kLockPicture};
  Inform(OSD_LOCK, 1);
  EXPECT_EQ(port.pictures, 1);
  EXPECT_EQ(model.pictureId(), kBattlePicture);
  EXPECT_TRUE(port.shown);
  EXPECT_EQ(port.placed->width, 235);
}

TEST_F(OsdModelTest, NothingToShowWithoutAnyPictureOrModule) {
  port.missing = {kLockPicture};
  Inform(OSD_LOCK, 1);
  EXPECT_FALSE(port.shown);
  EXPECT_FALSE(port.placed);

  port.hasPictures = false;
  Inform(OSD_MODE, 1);
  EXPECT_FALSE(port.shown);
  EXPECT_TRUE(port.loads.size() == 1);  // only the missing LOCK was tried
}

TEST_F(OsdModelTest, AMissingDigitTileLeavesThePlateShowing) {
  port.missing = {311};  // the 6
  Inform(OSD_DPI_STATE, kDpiWord);
  EXPECT_EQ(RowColours(kSingleRow, 32), (std::array<std::uint32_t, 4>{TileColour(306), kPlateRed, TileColour(305),
                                                                      TileColour(305)}));
  EXPECT_TRUE(port.shown);
}

TEST_F(OsdModelTest, ArbitraryPostedWordsStayInsideEveryTable) {
  // Whatever another process posts, the model picks only its own pictures and tiles.
  std::mt19937_64 rng(7);
  const std::intptr_t edges[] = {0, 1, 3, 4, 5, 7, -1, 0x7F, 0x80, 0xFF, 0xFFFF, 0x7FFFFFFF,
                                 static_cast<std::intptr_t>(0xFFFFFFFFu), INTPTR_MAX, INTPTR_MIN};
  SetXy(1, 1);
  for (int i = 0; i < 20000; ++i) {
    const std::uintptr_t code = rng() % 18;
    const std::intptr_t lParam = (i % 3 == 0) ? edges[rng() % std::size(edges)] : static_cast<std::intptr_t>(rng());
    const int r = Inform(code, lParam);
    EXPECT_EQ(r, IsOsdCode(static_cast<std::uint32_t>(code)) ? 1 : 0);
    ASSERT_GE(model.profile(), 0);
    ASSERT_LE(model.profile(), 4);
    ASSERT_GE(model.level(), 0);
    ASSERT_LE(model.level(), 3);
    ASSERT_GE(model.pollingIndex(), 0);
    ASSERT_LE(model.pollingIndex(), 3);
    if (model.pictureId() != -1) {
      ASSERT_TRUE(OsdPictureSize(model.pictureId())) << model.pictureId();
    }
    if (i % 50 == 0) port.RunFor(model, 1500);
  }
  for (int id : port.loads) ASSERT_TRUE(OsdPictureSize(id)) << id;
}

}  // namespace
}  // namespace halvard::osd
