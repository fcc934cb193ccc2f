#include "device/ic_tessel.h"

#include <gtest/gtest.h>

#include "test_rig.h"

namespace halvard {
namespace {

using testing::MouseRig;
using Bytes = std::array<std::uint8_t, 9>;

class TesselTest : public ::testing::Test, public MouseRig {
 protected:
  void SetUp() override { Connect(); }
};

// --- Requests on the wire -------------------------------------------------------------------

TEST_F(TesselTest, ReadByteSendsTheReadRequestAndTakesTheEchoedValue) {
  mouse.SetCell(0x1234, 0x5A);
  std::uint8_t v = 0;
  ASSERT_EQ(tessel->ReadByte(0x1234, &v), 1);
  EXPECT_EQ(v, 0x5A);
  ASSERT_EQ(mouse.Trace().size(), 2u);
  EXPECT_EQ(mouse.Trace()[0].bytes, (Bytes{0x00, 0xDF, 0x34, 0x00, 0x12, 0, 0, 0, 0}));
  EXPECT_FALSE(mouse.Trace()[1].set);
  // The reply carries address and value one byte further left than the write request.
  EXPECT_EQ(mouse.Trace()[1].bytes, (Bytes{0x00, 0x34, 0x5A, 0x12, 0, 0, 0, 0, 0}));
  EXPECT_EQ(clock.TotalSlept(), 0u);
  EXPECT_EQ(hid.OpenHandles(), 0);
  EXPECT_EQ(mouse.OpenCount(), 2);  // opened and closed around each report
}

TEST_F(TesselTest, WriteAndControlRequestsCarryTheirBytesAndZeroTheRest) {
  ASSERT_EQ(tessel->WriteByte(0x3B00, 0x07), 1);
  ASSERT_EQ(tessel->SendCommand(kCmdSelectProfile, 3, 0), 1);
  ASSERT_EQ(mouse.Trace().size(), 2u);
  EXPECT_EQ(mouse.Trace()[0].bytes, (Bytes{0x00, 0xDE, 0x00, 0x07, 0x3B, 0, 0, 0, 0}));
  EXPECT_EQ(mouse.Trace()[1].bytes, (Bytes{0x00, 0xC4, 0x07, 0x03, 0x00, 0x00, 0, 0, 0}));
  EXPECT_EQ(mouse.Cell(0x3B00), 0x07);
  EXPECT_EQ(mouse.Cell(140) & 0x07, 3);  // select profile reached the active-profile cell
}

TEST_F(TesselTest, AddressesFromTheEndOfMemoryOnAreRefusedWithoutATransfer) {
  std::uint8_t v = 0x11;
  EXPECT_EQ(tessel->WriteByte(0x4000, 1), 0);
  EXPECT_EQ(tessel->ReadByte(0x4000, &v), 0);
  EXPECT_EQ(tessel->ReadByte(-1, &v), 0);
  EXPECT_EQ(tessel->FlushCell(0x4000), 0);
  EXPECT_EQ(tessel->SetCell(0x4000, 1), 0);
  EXPECT_EQ(tessel->WriteCell(0x4000, 1), 0);
  EXPECT_EQ(v, 0x11);
  EXPECT_TRUE(mouse.Trace().empty());
  EXPECT_EQ(clock.TotalSlept(), 0u);
}

// --- Retries, pauses and status codes --------------------------------------------------------

TEST_F(TesselTest, ReadAgainstAVanishedMouseFailsAfterTwentyAttemptsAndTwoPointFourSeconds) {
  mouse.Unplug();
  std::uint8_t v = 0x99;
  EXPECT_EQ(tessel->ReadByte(10, &v), 0);
  EXPECT_EQ(v, 0x99);
  EXPECT_EQ(tessel->lastStatus(), kStatusOpenFailed);
  EXPECT_EQ(clock.TotalSlept(), 20u * 120u);
  EXPECT_EQ(clock.SleepCount(), 20u);
  EXPECT_TRUE(mouse.Trace().empty());
}

TEST_F(TesselTest, ReplyWithWrongEchoIsNeverUsed) {
  mouse.SetCell(300, 0x42);
  mouse.EchoWrongAddress(-1);
  std::uint8_t v = 0x77;
  EXPECT_EQ(tessel->ReadByte(300, &v), 0);
  EXPECT_EQ(v, 0x77);
  EXPECT_EQ(mouse.Trace().size(), 40u);  // 20 requests, 20 replies
  EXPECT_EQ(clock.TotalSlept(), 20u * 120u);

  mouse.EchoWrongAddress(3);
  clock.ResetCounters();
  EXPECT_EQ(tessel->ReadByte(300, &v), 1);
  EXPECT_EQ(v, 0x42);
  EXPECT_EQ(clock.TotalSlept(), 3u * 120u);
}

TEST_F(TesselTest, FailedFeatureTransfersSetTheirStatusAndPauseTwice) {
  mouse.FailGetFeature(2);
  std::uint8_t v = 0;
  EXPECT_EQ(tessel->ReadByte(129, &v), 1);
  EXPECT_EQ(v, 0x50);
  EXPECT_EQ(tessel->lastStatus(), kStatusGetFeatureFailed);  // success leaves the last failure
  EXPECT_EQ(clock.TotalSlept(), 2u * 240u);

  clock.ResetCounters();
  mouse.ClearTrace();
  mouse.FailSetFeature(-1);
  EXPECT_EQ(tessel->WriteByte(129, 1), 0);
  EXPECT_EQ(tessel->lastStatus(), kStatusSetFeatureFailed);
  EXPECT_EQ(SetReports(), 20);
  EXPECT_EQ(clock.TotalSlept(), 20u * 240u);
  EXPECT_EQ(mouse.Cell(129), 0x50);
}

TEST_F(TesselTest, WithoutAPathEveryTransferFailsWithItsFullNumberOfAttempts) {
  tessel->Reset();
  std::uint8_t v = 0;
  EXPECT_EQ(tessel->ReadByte(1, &v), 0);
  EXPECT_EQ(tessel->lastStatus(), kStatusNoPath);
  EXPECT_EQ(clock.SleepCount(), 20u);
  EXPECT_EQ(tessel->WriteByte(1, 1), 0);
  EXPECT_EQ(tessel->SendCommand(kCmdBegin, 0, 0), 0);
  EXPECT_EQ(clock.SleepCount(), 60u);
  EXPECT_EQ(clock.TotalSlept(), 60u * 120u);
  EXPECT_EQ(tessel->lastStatus(), kStatusNoPath);
  EXPECT_TRUE(mouse.Trace().empty());
}

TEST_F(TesselTest, ApplyRetriesInTenPassesOfTwentyWithItsOwnPause) {
  ASSERT_EQ(tessel->Apply(), 1);
  EXPECT_EQ(mouse.ApplyCount(), 1);
  EXPECT_EQ(mouse.Trace()[0].bytes, (Bytes{0x00, 0xC4, 0x00, 0x00, 0x00, 0x00, 0, 0, 0}));
  EXPECT_EQ(clock.TotalSlept(), 100u);  // the pass pause follows a successful pass too

  clock.ResetCounters();
  mouse.ClearTrace();
  mouse.FailSetFeature(-1);
  EXPECT_EQ(tessel->Apply(), 0);
  EXPECT_EQ(SetReports(), 200);
  EXPECT_EQ(clock.TotalSlept(), 200u * 240u + 10u * 100u);

  // Success in the third pass stops there.
  clock.ResetCounters();
  mouse.ClearTrace();
  mouse.FailSetFeature(45);
  EXPECT_EQ(tessel->Apply(), 1);
  EXPECT_EQ(SetReports(), 46);
  EXPECT_EQ(clock.TotalSlept(), 45u * 240u + 3u * 100u);
}

TEST_F(TesselTest, ReadByteVerifiedNeedsTwoAgreeingReads) {
  mouse.SetCell(186, 0x6D);
  mouse.GarbleReads(1);
  std::uint8_t v = 0;
  ASSERT_EQ(tessel->ReadByteVerified(186, &v), 1);
  EXPECT_EQ(v, 0x6D);
  EXPECT_EQ(SetReports(), 4);  // one disagreeing pass, one agreeing

  mouse.Unplug();
  clock.ResetCounters();
  v = 1;
  EXPECT_EQ(tessel->ReadByteVerified(186, &v), 0);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(clock.SleepCount(), 40u * 20u);  // 40 reads of 20 attempts
}

// --- Identity and revision -------------------------------------------------------------------

TEST_F(TesselTest, IdentityDependsOnTheDeviceType) {
  EXPECT_EQ(tessel->CheckIdentity(), 1);  // 0x2002 with 0xA5
  mouse.SetCell(187, 0x20);
  EXPECT_EQ(tessel->CheckIdentity(), 0);  // the 0x2001 identity on a 0x2002 controller
  tessel->setDeviceType(0x2001);
  EXPECT_EQ(tessel->CheckIdentity(), 1);
  tessel->setDeviceType(0x2003);
  EXPECT_EQ(tessel->CheckIdentity(), 0);
  tessel->setDeviceType(0x2001);
  mouse.SetCell(186, 0x6C);
  mouse.ClearTrace();
  EXPECT_EQ(tessel->CheckIdentity(), 0);
  EXPECT_EQ(SetReports(), 2);  // 187 is not asked once 186 is wrong
}

TEST_F(TesselTest, OpenDeviceStoresTestOpensAndChecksIdentity) {
  tessel->Reset();
  tessel->setDeviceType(0x2002);
  EXPECT_EQ(tessel->OpenDevice(u""), 0);
  EXPECT_EQ(tessel->lastStatus(), kStatusEmptyPath);

  mouse.RefuseOpen(1);
  EXPECT_EQ(tessel->OpenDevice(path), 0);
  EXPECT_EQ(tessel->lastStatus(), kStatusOpenFailed);
  EXPECT_EQ(tessel->devicePath()[0], u'\0');

  EXPECT_EQ(tessel->OpenDevice(path), 1);
  EXPECT_EQ(std::u16string(tessel->devicePath()), path);
  EXPECT_EQ(hid.OpenHandles(), 0);

  // A failed identity keeps the path; later transfers still go to it.
  mouse.SetCell(186, 0);
  EXPECT_EQ(tessel->OpenDevice(path), 0);
  EXPECT_EQ(std::u16string(tessel->devicePath()), path);
  EXPECT_EQ(tessel->WriteByte(186, 0x6D), 1);
  EXPECT_EQ(mouse.Cell(186), 0x6D);
}

TEST_F(TesselTest, PathsThatDoNotFitTheBufferAreRefused) {
  std::u16string longPath(kDevicePathChars, u'x');
  EXPECT_EQ(tessel->SetDevicePath(longPath), 0);
  EXPECT_EQ(tessel->lastStatus(), kStatusEmptyPath);
  EXPECT_EQ(tessel->devicePath()[0], u'\0');
  EXPECT_EQ(tessel->SetDevicePath(std::u16string(kDevicePathChars - 1, u'x')), 1);
}

TEST_F(TesselTest, RevisionQueryRules) {
  int present = 0, revision = -1;
  mouse.SetRevision(0);
  ASSERT_EQ(tessel->QueryRevision(&present, &revision), 1);
  EXPECT_EQ(present, 1);
  EXPECT_EQ(revision, 0);
  EXPECT_EQ(mouse.Trace()[0].bytes, (Bytes{0x00, 0xC4, 0x08, 0x00, 0, 0, 0, 0, 0}));

  mouse.SetRevision(127);
  ASSERT_EQ(tessel->QueryRevision(&present, &revision), 1);
  EXPECT_EQ(revision, 127);

  // 128 and more: a failed query after one exchange, no retry.
  mouse.ClearTrace();
  clock.ResetCounters();
  mouse.SetRevision(200);
  present = revision = -1;
  EXPECT_EQ(tessel->QueryRevision(&present, &revision), 0);
  EXPECT_EQ(mouse.Trace().size(), 2u);
  EXPECT_EQ(clock.TotalSlept(), 0u);
  EXPECT_EQ(present, -1);

  // Replies without the markers are retried.
  mouse.ClearTrace();
  mouse.SetRevision(5);
  mouse.FailGetFeature(1);
  EXPECT_EQ(tessel->QueryRevision(&present, &revision), 1);
  EXPECT_EQ(revision, 5);

  tessel->setDeviceType(0x2000);
  mouse.ClearTrace();
  EXPECT_EQ(tessel->QueryRevision(&present, &revision), 0);
  EXPECT_TRUE(mouse.Trace().empty());
}

// --- Construction, reset and the shadow -------------------------------------------------------

TEST(TesselLifecycle, ConstructionStatusTellsWhetherBothLibrariesLoaded) {
  VirtualClock clock;
  SimulatedHid hid;
  {
    auto t = std::make_unique<CIcTessel>(hid, clock);
    EXPECT_EQ(t->lastStatus(), kStatusLibrariesLoaded);
    EXPECT_EQ(t->deviceType(), 0x2001u);
    EXPECT_EQ(t->memorySize(), 0x4000u);
    EXPECT_EQ(hid.LoadedModules(), 2);
  }
  EXPECT_EQ(hid.LoadedModules(), 0);
  hid.SetModuleMissing(HidModule::kSetup, true);
  auto t = std::make_unique<CIcTessel>(hid, clock);
  EXPECT_EQ(t->lastStatus(), 0);
}

TEST_F(TesselTest, ResetClearsEveryCellAndTheDevice) {
  tessel->MarkLoaded(5, 9);
  tessel->SetCell(6, 3);
  tessel->setDeviceType(0x2002);
  tessel->Reset();
  for (int a : {5, 6})
    EXPECT_TRUE(!tessel->IsValid(a) && !tessel->IsDirty(a) && tessel->Value(a) == 0);
  EXPECT_EQ(tessel->deviceType(), 0x2001u);
  EXPECT_EQ(tessel->lastStatus(), 0);
  EXPECT_EQ(tessel->devicePath()[0], u'\0');
}

TEST_F(TesselTest, SetCellMarksOnlyWhatNeedsWriting) {
  // A clean, valid cell with the same value stays clean.
  tessel->MarkLoaded(400, 17);
  EXPECT_EQ(tessel->SetCell(400, 17), 0);
  EXPECT_FALSE(tessel->IsDirty(400));
  // A different value becomes pending and keeps validity.
  EXPECT_EQ(tessel->SetCell(400, 18), 1);
  EXPECT_TRUE(tessel->IsDirty(400));
  EXPECT_TRUE(tessel->IsValid(400));
  // Setting it back to the same (pending) value still reports pending.
  EXPECT_EQ(tessel->SetCell(400, 18), 1);
  // A never-loaded cell whose shadow happens to equal the value is marked for writing.
  EXPECT_EQ(tessel->Value(401), 0);
  EXPECT_EQ(tessel->SetCell(401, 0), 1);
  EXPECT_TRUE(tessel->IsDirty(401));
  EXPECT_FALSE(tessel->IsValid(401));
  // Only a byte is kept.
  tessel->MarkLoaded(402, 0);
  EXPECT_EQ(tessel->SetCell(402, 256), 0);
}

TEST_F(TesselTest, WriteCellAndFlushCellWriteOnlyWhenNeeded) {
  tessel->MarkLoaded(500, 33);
  EXPECT_EQ(tessel->WriteCell(500, 33), 1);
  EXPECT_EQ(tessel->FlushCell(500), 1);
  EXPECT_TRUE(mouse.Trace().empty());

  EXPECT_EQ(tessel->WriteCell(500, 34), 1);
  EXPECT_EQ(mouse.Cell(500), 34);
  EXPECT_TRUE(tessel->IsValid(500) && !tessel->IsDirty(500));

  tessel->SetCell(501, 77);
  EXPECT_EQ(tessel->FlushCell(501), 1);
  EXPECT_EQ(mouse.Cell(501), 77);
  EXPECT_TRUE(tessel->IsValid(501) && !tessel->IsDirty(501));
}

TEST_F(TesselTest, FailedTransfersNeverChangeTheShadow) {
  tessel->SetCell(600, 5);
  mouse.Unplug();
  EXPECT_EQ(tessel->FlushCell(600), 0);
  EXPECT_TRUE(tessel->IsDirty(600));
  EXPECT_EQ(tessel->Value(600), 5);

  tessel->MarkLoaded(601, 1);
  EXPECT_EQ(tessel->WriteCell(601, 2), 0);
  EXPECT_EQ(tessel->Value(601), 1);
  EXPECT_TRUE(tessel->IsValid(601) && !tessel->IsDirty(601));

  EXPECT_EQ(tessel->LoadCell(602), 0);
  EXPECT_FALSE(tessel->IsValid(602));

  mouse.Plug();
  mouse.SetCell(602, 0xEE);
  EXPECT_EQ(tessel->LoadCell(602), 1);
  EXPECT_EQ(tessel->Value(602), 0xEE);
  EXPECT_TRUE(tessel->IsValid(602) && !tessel->IsDirty(602));
}

TEST_F(TesselTest, MarkOperationsRecordWhatIsOnTheDevice) {
  tessel->SetCell(700, 3);
  tessel->MarkWritten(700);
  EXPECT_TRUE(tessel->IsValid(700) && !tessel->IsDirty(700));
  EXPECT_EQ(tessel->Value(700), 3);
  tessel->SetCell(700, 4);
  tessel->MarkLoaded(700, 9);
  EXPECT_TRUE(tessel->IsValid(700) && !tessel->IsDirty(700));
  EXPECT_EQ(tessel->Value(700), 9);
}

TEST_F(TesselTest, AMouseThatVanishesMidWayFailsAtTheOpen) {
  mouse.VanishAfter(3);
  EXPECT_EQ(tessel->WriteByte(1, 1), 1);
  EXPECT_EQ(tessel->WriteByte(2, 1), 1);
  std::uint8_t v = 0;
  EXPECT_EQ(tessel->ReadByte(3, &v), 0);  // request goes out, reply never comes
  EXPECT_EQ(tessel->lastStatus(), kStatusOpenFailed);
}

}  // namespace
}  // namespace halvard
