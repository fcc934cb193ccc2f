#include "device/memory_map.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <vector>

#include "test_rig.h"

namespace halvard {
namespace {

TEST(MemoryMap, BasesOfTheFiveProfiles) {
  const int b[] = {256, 336, 416, 512, 592};
  const int h[] = {768, 812, 856, 900, 944};
  const int m[] = {1024, 3840, 6656, 9472, 12288};
  const int n[] = {15104, 15168, 15232, 15296, 15360};
  for (int p = 0; p < 5; ++p) {
    EXPECT_EQ(B(p), b[p]);
    EXPECT_EQ(H(p), h[p]);
    EXPECT_EQ(M(p), m[p]);
    EXPECT_EQ(N(p), n[p]);
  }
  for (int p : {-1, 5, 1000}) {
    EXPECT_EQ(B(p), 256);
    EXPECT_EQ(H(p), 768);
    EXPECT_EQ(M(p), 1024);
    EXPECT_EQ(N(p), 15104);
  }
  // The regions meet exactly.
  EXPECT_EQ(M(4) + 2815, 15103);
  EXPECT_EQ(N(0), 15104);
  EXPECT_EQ(N(4) + 63, 15423);
  EXPECT_LE(B(4) + 68, 660);
}

TEST(FactoryList, PartsHaveTheirSizesAndOrder) {
  auto list = FactoryList();
  ASSERT_EQ(list.size(), 888u);
  auto global = FactoryGlobalPart();
  ASSERT_EQ(global.size(), 3u);
  EXPECT_EQ(global[0].address, 129);
  EXPECT_EQ(global[0].value, 0x50);
  EXPECT_EQ(global[1].address, 140);
  EXPECT_EQ(global[1].value, 0x50);
  EXPECT_EQ(global[2].address, 142);
  EXPECT_EQ(global[2].value, 0x2B);
  EXPECT_TRUE(FactoryProfilePart(5).empty());
  EXPECT_TRUE(FactoryHeaderPart(-1).empty());

  for (int p = 0; p < 5; ++p) {
    auto part = FactoryProfilePart(p);
    ASSERT_EQ(part.size(), 133u);
    // Settings offsets 0-4, 6-9, 11-68 in increasing order.
    std::vector<int> offsets;
    for (int i = 0; i < 67; ++i) offsets.push_back(part[i].address - B(p));
    std::vector<int> want;
    for (int o = 0; o < 69; ++o)
      if (o != 5 && o != 10) want.push_back(o);
    EXPECT_EQ(offsets, want);
    for (int i = 0; i < 64; ++i) EXPECT_EQ(part[67 + i].address, N(p) + i);
    EXPECT_EQ(part[131].address, 0);
    EXPECT_EQ(part[132].address, 0);
    EXPECT_EQ(part[132].value, 0);

    auto header = FactoryHeaderPart(p);
    ASSERT_EQ(header.size(), 44u);
    for (int i = 0; i < 44; ++i) {
      EXPECT_EQ(header[i].address, H(p) + i);
      EXPECT_EQ(header[i].value, 0);
    }
  }
}

TEST(FactoryList, FactoryValuesOfSettingsAndNames) {
  const std::uint8_t led[5][3] = {{0x21, 0x11, 0x11}, {0x25, 0x15, 0x15}, {0x26, 0x16, 0x16},
                                  {0x23, 0x13, 0x13}, {0x27, 0x17, 0x17}};
  for (int p = 0; p < 5; ++p) {
    std::map<int, int> v;
    for (auto e : FactoryProfilePart(p)) v[e.address] = e.value;
    int b = B(p);
    EXPECT_EQ(v[b + 0], 0x80);
    EXPECT_EQ((std::vector<int>{v[b + 1], v[b + 2], v[b + 3], v[b + 4]}), (std::vector<int>{16, 32, 64, 100}));
    EXPECT_EQ((std::vector<int>{v[b + 6], v[b + 7], v[b + 8], v[b + 9]}), (std::vector<int>{16, 32, 64, 100}));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(v[b + 11 + i], led[p][i]) << "profile " << p;
    const int types[11] = {1, 1, 1, 1, 1, 10, 9, 73, 73, 73, 73};
    for (int i = 0; i < 11; ++i) EXPECT_EQ(v[b + 14 + i], types[i]);
    const int first[11] = {1, 2, 4, 8, 16, 0, 0, 0, 0, 0, 0};
    for (int i = 0; i < 11; ++i) {
      EXPECT_EQ(v[b + 25 + 4 * i], first[i]);
      for (int k = 1; k < 4; ++k) EXPECT_EQ(v[b + 25 + 4 * i + k], 0);
    }
    // "Default" as (code, 0) pairs, 0 everywhere after.
    const char* name = "Default";
    EXPECT_EQ(v[N(p)], 7);
    for (int k = 0; k < 7; ++k) {
      EXPECT_EQ(v[N(p) + 1 + 2 * k], name[k]);
      EXPECT_EQ(v[N(p) + 2 + 2 * k], 0);
    }
    for (int c = 15; c < 64; ++c) EXPECT_EQ(v[N(p) + c], 0);
  }
}

TEST(FactoryList, OffsetsFiveAndTenAreNeverListed) {
  for (auto e : FactoryList())
    for (int p = 0; p < 5; ++p) {
      EXPECT_NE(e.address, B(p) + 5);
      EXPECT_NE(e.address, B(p) + 10);
    }
}

TEST(FactoryList, FullLoadListIsGlobalThenProfileParts) {
  const auto& list = FullLoadList();
  ASSERT_EQ(list.size(), 668u);
  EXPECT_EQ(list[0], 129);
  EXPECT_EQ(list[2], 142);
  EXPECT_EQ(list[3], B(0));
  EXPECT_EQ(list[3 + 133], B(1));
  EXPECT_EQ(list[667], 0);
  int zeros = 0;
  for (auto a : list) zeros += a == 0 ? 1 : 0;
  EXPECT_EQ(zeros, 10);  // two per profile part
  for (auto a : list) EXPECT_TRUE(a < H(0) || a >= N(0) || a == 0);  // no header or slot cells
}

class ProfileCellsTest : public ::testing::Test, public testing::MouseRig {
 protected:
  void SetUp() override {
    Connect();
    // A fully loaded shadow: every listed cell agrees with the mouse.
    for (auto e : FactoryList()) tessel->MarkLoaded(e.address, e.value);
  }
  std::vector<std::uint16_t> out = std::vector<std::uint16_t>(16385);
};

TEST_F(ProfileCellsTest, ResetListsOnlyCellsThatDiffer) {
  EXPECT_EQ(ResetProfileToFactory(*tessel, 2, out), 0u);

  tessel->MarkLoaded(B(2) + 1, 40);    // changed on the mouse
  tessel->MarkLoaded(H(2) + 7, 9);     // a header cell
  tessel->MarkLoaded(kCellActiveProfile, 0x53);
  tessel->MarkLoaded(N(2) + 20, 1);
  std::size_t n = ResetProfileToFactory(*tessel, 2, out);
  ASSERT_EQ(n, 3u);
  EXPECT_EQ(out[0], B(2) + 1);
  EXPECT_EQ(out[1], N(2) + 20);
  EXPECT_EQ(out[2], H(2) + 7);
  EXPECT_EQ(tessel->Value(B(2) + 1), 16);
  // The global cells are not a profile's.
  EXPECT_EQ(tessel->Value(kCellActiveProfile), 0x53);
  EXPECT_FALSE(tessel->IsDirty(kCellActiveProfile));
}

TEST_F(ProfileCellsTest, ResetOfANeverLoadedProfileWritesEverything) {
  tessel->Reset();
  std::size_t n = ResetProfileToFactory(*tessel, 4, out);
  // 133 + 44 entries, but cell 0 appears twice.
  EXPECT_EQ(n, 177u);
  EXPECT_EQ(BuildResetList(4, out), 177u);
  EXPECT_EQ(out[0], B(4));
  EXPECT_EQ(out[176], H(4) + 43);
  EXPECT_EQ(BuildResetList(7, out), 0u);
}

TEST_F(ProfileCellsTest, SaveListHasPendingProfileCellsThenPendingSlotCells) {
  EXPECT_EQ(BuildProfileSaveList(*tessel, 1, out), 0u);
  tessel->SetCell(N(1) + 3, 0x41);
  tessel->SetCell(B(1) + 14, 6);
  tessel->SetCell(B(0) + 14, 6);        // another profile
  tessel->SetCell(M(1) + 256 * 3 + 0, 0x11);  // slot 3, first cell pending
  tessel->SetCell(M(1) + 256 * 3 + 200, 0x12);
  tessel->SetCell(M(1) + 256 * 5 + 1, 0x13);  // slot 5: first cell clean, not looked at
  std::size_t n = BuildProfileSaveList(*tessel, 1, out);
  ASSERT_EQ(n, 4u);
  EXPECT_EQ(out[0], B(1) + 14);
  EXPECT_EQ(out[1], N(1) + 3);
  EXPECT_EQ(out[2], M(1) + 768);
  EXPECT_EQ(out[3], M(1) + 968);
  // Never more than the list holds.
  std::vector<std::uint16_t> small(2);
  EXPECT_EQ(BuildProfileSaveList(*tessel, 1, small), 2u);
}

TEST_F(ProfileCellsTest, NamesReadAndWriteThroughTheShadow) {
  char16_t name[32];
  ASSERT_TRUE(ReadProfileName(*tessel, 3, name));
  EXPECT_EQ(std::u16string(name), u"Default");

  WriteProfileName(*tessel, 3, u"Sniper\u00e9\u4e2d");
  ASSERT_TRUE(ReadProfileName(*tessel, 3, name));
  EXPECT_EQ(std::u16string(name), u"Sniper\u00e9\u4e2d");
  EXPECT_EQ(tessel->Value(N(3) + 2 + 2 * 7), 0x4E);
  // Only changed cells became pending: 'D' vs 'S' differs, the high bytes of ASCII do not.
  EXPECT_FALSE(tessel->IsDirty(N(3) + 2));
  EXPECT_TRUE(tessel->IsDirty(N(3) + 1));

  // Longer names are cut to 31 characters; cells beyond keep their contents.
  WriteProfileName(*tessel, 0, std::u16string(40, u'x'));
  ASSERT_TRUE(ReadProfileName(*tessel, 0, name));
  EXPECT_EQ(std::u16string(name).size(), 31u);
  EXPECT_EQ(tessel->Value(N(0) + 63), 0);

  tessel->MarkLoaded(N(2), 0);
  EXPECT_FALSE(ReadProfileName(*tessel, 2, name));
  EXPECT_EQ(name[0], u'\0');
  tessel->MarkLoaded(N(2), 32);
  EXPECT_FALSE(ReadProfileName(*tessel, 2, name));
  EXPECT_FALSE(ReadProfileName(*tessel, 5, name));

  // A profile that does not exist names nobody.
  tessel->MarkLoaded(N(0), 7);
  WriteProfileName(*tessel, 9, u"Oops");
  EXPECT_FALSE(tessel->IsDirty(N(0)));
}

}  // namespace
}  // namespace halvard
