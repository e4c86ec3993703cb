// A camera that misbehaves: every operation ends, either with data that are
// exactly what the camera format says or with tqvnotconnected; never with a
// short, long or empty thumbnail or picture reported as success.
#include <gtest/gtest.h>

#include "camera/qv10int.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

using camsim::Family;
using camsim::Faults;
using camsim::Options;
using camsim::SimulatedCamera;
using tbytes = std::vector<std::uint8_t>;
using TransferFault = Faults::TransferFault;

class thostilefixture {
 public:
  thostilefixture(Family family, Faults faults)
      : camera(OptionsFor(family, faults)),
        engine((camera.Start(), camera.DevicePath()), 0, false, &waiter) {
    engine.Port().SetReadTimeout(300);
    engine.RequestBlockSize(4096);
  }
  ~thostilefixture() { camera.Stop(); }
  static Options OptionsFor(Family family, Faults faults) {
    Options o;
    o.family = family;
    o.faults = faults;
    return o;
  }
  SimulatedCamera camera;
  trecordingwaiter waiter;
  tqvProtocolEngine engine;
};

Faults WithTransferFault(TransferFault fault) {
  Faults f;
  f.transferFault = fault;
  return f;
}

TEST(HostileCamera, AThumbnailIsExactlyItsSizeOrAFailure) {
  for (const TransferFault fault :
       {TransferFault::packetMissing, TransferFault::lastPacketLonger, TransferFault::endsAtOnce}) {
    for (const Family family : {Family::classic, Family::extended}) {
      thostilefixture f(family, WithTransferFault(fault));
      ASSERT_NE(f.engine.GetCameraType(), kCameraUnknown);
      tbytes data;
      // One 4096-byte block holds the whole thumbnail: a missing packet leaves
      // nothing, a longer one 2857 bytes.
      EXPECT_THROW(f.engine.FetchThumbnailData(1, data), tqvnotconnected)
          << static_cast<int>(fault) << " " << data.size();
    }
  }
}

TEST(HostileCamera, APictureHasAllItsData) {
  for (const TransferFault fault : {TransferFault::packetMissing, TransferFault::endsAtOnce}) {
    for (const Family family : {Family::classic, Family::extended, Family::filesystem}) {
      if (family == Family::filesystem && fault == TransferFault::packetMissing) continue;
      thostilefixture f(family, WithTransferFault(fault));
      tbytes data;
      if (family == Family::filesystem) {
        // The file list is one packet: with the transfer cut, no file is listed.
        EXPECT_THROW(f.engine.FetchPicture(2, data), tqvbadpicnum);
        continue;
      }
      ASSERT_NE(f.engine.GetCameraType(), kCameraUnknown);
      EXPECT_THROW(f.engine.FetchPicture(2, data), tqvnotconnected)
          << static_cast<int>(fault) << " " << data.size();
    }
  }
}

TEST(HostileCamera, AFailedTransferLeavesBothSidesAt9600WhenTheCameraStillListens) {
  thostilefixture f(Family::classic, WithTransferFault(TransferFault::lastPacketLonger));
  ASSERT_EQ(f.engine.GetCameraType(), kCameraClassic);
  f.engine.SetDesiredSpeed(12);
  tbytes data;
  EXPECT_THROW(f.engine.FetchThumbnailData(1, data), tqvnotconnected);
  EXPECT_EQ(f.engine.CurrentSpeed(), tqvProtocolEngine::kDefaultSpeed);
  // The camera was reset too: the next operation finds it at 9600 baud.
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
}

TEST(HostileCamera, GarbageAndAnEndlessStreamEndTheOperation) {
  Faults garbage;
  garbage.garbageAnswers = true;
  Faults endless;
  endless.endlessStream = true;
  for (const Faults& faults : {garbage, endless}) {
    thostilefixture f(Family::classic, faults);
    tbytes data;
    try {
      f.engine.FetchThumbnailData(1, data);
      ADD_FAILURE() << "a thumbnail from a broken camera";
    } catch (const tqvnotconnected&) {
    } catch (const tqvbadpicnum&) {  // a garbage count
    }
  }
}

}  // namespace
}  // namespace vantlo
