// Stopping a running operation from its progress listener: the operation ends
// with tqvcancelled, never as a lost camera, and camera and engine are left at
// the same speed, so the next command works.
#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <thread>

#include "camera/qv10int.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

using camsim::Family;
using camsim::Options;
using camsim::SimulatedCamera;
using tbytes = std::vector<std::uint8_t>;

class tstopfixture {
 public:
  explicit tstopfixture(Family family)
      : camera(OptionsFor(family)),
        engine((camera.Start(), camera.DevicePath()), 0, false, &waiter) {}
  ~tstopfixture() { camera.Stop(); }
  static Options OptionsFor(Family family) {
    Options o;
    o.family = family;
    return o;
  }
  // Stops at the progress call number `at`.
  void StopAt(int at) {
    calls = 0;
    engine.OnProgress = [this, at](tqvProtocolEngine&, int, const std::string&, int) {
      return ++calls == at ? tprogressanswer::stop : tprogressanswer::carryOn;
    };
  }
  unsigned LineSpeed() {
    termios tio{};
    tcgetattr(engine.Port().Handle(), &tio);
    return cfgetospeed(&tio);
  }
  // The camera takes a reset once it has the engine's last ACK.
  bool CameraAt(int baud) {
    for (int i = 0; i < 200 && camera.BaudRate() != baud; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return camera.BaudRate() == baud;
  }

  SimulatedCamera camera;
  trecordingwaiter waiter;
  tqvProtocolEngine engine;
  int calls = 0;
};

TEST(StopFromProgress, AThumbnailCutInMidTransferLeavesBothSidesAt9600) {
  tstopfixture f(Family::classic);
  ASSERT_EQ(f.engine.GetCameraType(), kCameraClassic);
  f.engine.SetDesiredSpeed(9);  // 38400
  f.StopAt(2);                  // after the second of 22 packets
  tbytes data;
  try {
    f.engine.FetchThumbnailData(1, data);
    FAIL() << "not stopped";
  } catch (const tqvnotconnected&) {
    FAIL() << "a stop reported as a lost camera";
  } catch (const tqvcancelled& e) {
    EXPECT_STREQ(e.what(), "Stopped");
  }
  EXPECT_EQ(f.calls, 2);
  EXPECT_EQ(f.engine.CurrentSpeed(), 6);
  EXPECT_EQ(f.LineSpeed(), static_cast<unsigned>(B9600));
  EXPECT_TRUE(f.CameraAt(9600));
  EXPECT_EQ(f.engine.CameraType(), kCameraClassic);  // the same camera, still known

  f.engine.OnProgress = nullptr;
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  f.engine.FetchThumbnailData(1, data);
  EXPECT_EQ(data.size(), 2808u);
}

TEST(StopFromProgress, APictureStoppedBeforeItsTransferKeepsTheSpeed) {
  tstopfixture f(Family::extended);
  ASSERT_EQ(f.engine.GetCameraType(), kCameraExtended);
  f.engine.SetDesiredSpeed(12);
  f.StopAt(1);  // the progress report before the transfer
  tbytes data;
  EXPECT_THROW(f.engine.FetchPicture(1, data), tqvcancelled);
  // Nothing was cut: both sides stay at the new speed.
  EXPECT_EQ(f.engine.CurrentSpeed(), 12);
  EXPECT_TRUE(f.CameraAt(115200));
  f.engine.OnProgress = nullptr;
  EXPECT_EQ(f.engine.FetchPicture(1, data), kKindExtended1);
  EXPECT_FALSE(data.empty());
}

TEST(StopFromProgress, AFileSystemPictureCutShortIsFollowedByAWorkingCount) {
  tstopfixture f(Family::filesystem);
  f.engine.SetDesiredSpeed(11);
  f.engine.RequestBlockSize(512);
  tbytes data;
  ASSERT_EQ(f.engine.GetPictureCount(), 5);
  f.StopAt(5);  // before the transfer, the file list's two packets, the picture's first
  EXPECT_THROW(f.engine.FetchPicture(1, data), tqvcancelled);
  EXPECT_TRUE(f.CameraAt(9600));
  f.engine.OnProgress = nullptr;
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.engine.FetchPicture(1, data), kKindJpegFile);
}

}  // namespace
}  // namespace vantlo
