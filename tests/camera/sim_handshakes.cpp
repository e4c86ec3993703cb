// When the engine makes the full enquiry handshake (with its 300 ms of
// waits): only where the camera's state is not known, at first contact,
// after a failed exchange, after a speed change or reset, and after 2 s
// without a good exchange. Never for reading the cached family, never nested
// inside an operation that has just made one. And a camera that went away is
// still found at once, by the first command's own enquiry.
#include <gtest/gtest.h>
#include <termios.h>

#include <algorithm>
#include <atomic>

#include "camera/qv10int.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

using camsim::Family;
using camsim::Options;
using camsim::SimulatedCamera;
using tbytes = std::vector<std::uint8_t>;

class tmanualclock : public tclock {
 public:
  std::int64_t NowMs() const override { return now; }
  void Advance(std::int64_t ms) { now += ms; }
  std::atomic<std::int64_t> now{100000};
};

class thandshakefixture {
 public:
  explicit thandshakefixture(Family family, int count = 5)
      : camera(OptionsFor(family, count)),
        engine((camera.Start(), camera.DevicePath()), 0, false, &waiter, &clock) {
    engine.RequestBlockSize(4096);
  }
  ~thandshakefixture() { camera.Stop(); }
  static Options OptionsFor(Family family, int count) {
    Options o;
    o.family = family;
    o.count = count;
    return o;
  }
  // Handshakes made since the last call: each has three 100 ms waits.
  int Handshakes() {
    const auto waits = waiter.Waits();
    waiter.Clear();
    return static_cast<int>(std::count(waits.begin(), waits.end(), 100)) / 3;
  }
  unsigned LineSpeed() {
    termios tio{};
    tcgetattr(engine.Port().Handle(), &tio);
    return cfgetospeed(&tio);
  }

  SimulatedCamera camera;
  trecordingwaiter waiter;
  tmanualclock clock;
  tqvProtocolEngine engine;
};

TEST(Handshakes, IdentificationMakesNoBackToBackHandshake) {
  thandshakefixture extended(Family::extended);
  EXPECT_EQ(extended.engine.GetCameraType(), kCameraExtended);
  EXPECT_EQ(extended.Handshakes(), 1);

  // A classic camera leaves the probe unanswered; one handshake after it.
  thandshakefixture classic(Family::classic);
  EXPECT_EQ(classic.engine.GetCameraType(), kCameraClassic);
  EXPECT_EQ(classic.Handshakes(), 2);
}

TEST(Handshakes, TheCachedFamilyIsReadWithoutAnExchange) {
  thandshakefixture f(Family::filesystem);
  ASSERT_EQ(f.engine.GetCameraType(), kCameraExtended);
  f.Handshakes();
  const auto commands = f.camera.Stats().enquiries;
  f.clock.Advance(60000);  // long after: still no exchange for the cache
  for (int i = 0; i < 5; ++i) {
    EXPECT_TRUE(f.engine.HasFileSystem());
    EXPECT_EQ(f.engine.GetCameraType(), kCameraExtended);
  }
  EXPECT_EQ(f.Handshakes(), 0);
  EXPECT_TRUE(f.waiter.Waits().empty());
  EXPECT_EQ(f.camera.Stats().enquiries, commands);
}

TEST(Handshakes, AFetchMakesOneHandshakeNoneNestedInIt) {
  thandshakefixture f(Family::classic);
  f.engine.SetKnownFamily(kCameraClassic, false);
  f.engine.SetDesiredSpeed(12);
  tbytes data;
  // Battery, selection (with its count) and mode inside the fetch: one handshake.
  EXPECT_EQ(f.engine.FetchPicture(2, data), kKindFine);
  EXPECT_EQ(f.Handshakes(), 1);
  const auto log = f.camera.CommandLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), "XC"), 0) << "a known family is not probed";
}

TEST(Handshakes, AFetchAllMakesOneHandshakeWhileTheLinkIsKnown) {
  thandshakefixture f(Family::classic);
  f.engine.SetDesiredSpeed(12);
  ASSERT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.Handshakes(), 2);  // first contact, and after the unanswered probe
  for (int n = 1; n <= 5; ++n) {
    f.clock.Advance(1500);  // the workflow's own work between two pictures
    EXPECT_FALSE(f.engine.HasFileSystem());
    tbytes data;
    EXPECT_NE(f.engine.FetchPicture(n, data), kKindUnknown);
    EXPECT_FALSE(data.empty());
  }
  EXPECT_EQ(f.Handshakes(), 0);
}

TEST(Handshakes, StateNotKnownMeansAFullHandshake) {
  thandshakefixture f(Family::extended);
  f.engine.Port().SetReadTimeout(300);
  ASSERT_EQ(f.engine.GetPictureCount(), 5);
  f.Handshakes();

  f.clock.Advance(tqvProtocolEngine::kFreshLinkMs);  // still within the window
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.Handshakes(), 0);

  f.clock.Advance(tqvProtocolEngine::kFreshLinkMs + 1);  // more than 2 s without an exchange
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.Handshakes(), 1);

  f.engine.ApplySpeed(11);  // a speed change
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.Handshakes(), 1);

  tbytes reply;  // a failed exchange: "XT" for a picture the camera does not have
  EXPECT_NE(f.engine.SendCommand({'X', 'T', 0, 99}, 2, reply), kCommandOk);
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.Handshakes(), 1);

  f.engine.ResetCamera();  // a reset ends the connection
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.Handshakes(), 1);
}

TEST(Handshakes, ACameraSwitchedOffBetweenTwoPicturesIsStillReported) {
  for (const Family family : {Family::classic, Family::extended, Family::filesystem}) {
    thandshakefixture f(family);
    f.engine.Port().SetReadTimeout(300);
    f.engine.SetDesiredSpeed(12);
    ASSERT_EQ(f.engine.GetPictureCount(), 5);
    tbytes data;
    ASSERT_NE(f.engine.FetchPicture(1, data), kKindUnknown);
    ASSERT_NE(f.engine.FetchPicture(2, data), kKindUnknown);
    // Switched off at once: the link is as fresh as it can be, the handshake
    // is skipped, and the next picture's first command finds the camera gone.
    f.camera.SwitchOff();
    // The family still comes from the cache; the loss shows at the next exchange.
    EXPECT_EQ(f.engine.HasFileSystem(), family == Family::filesystem);
    try {
      f.engine.FetchPicture(3, data);
      ADD_FAILURE() << "a picture from a camera that is off";
    } catch (const tqvnotconnected& e) {
      EXPECT_STREQ(e.what(), kNotConnectedMessage);
    }
    EXPECT_EQ(f.engine.CurrentSpeed(), tqvProtocolEngine::kDefaultSpeed);
    EXPECT_EQ(f.engine.CameraType(), kCameraUnknown);
    // Nothing is answered from the state the camera had before.
    EXPECT_THROW(f.engine.HasFileSystem(), tqvnotconnected);
    EXPECT_THROW(f.engine.GetPictureCount(), tqvnotconnected);
    f.camera.SwitchOn();
    EXPECT_EQ(f.engine.GetPictureCount(), 5);
  }
}

TEST(Handshakes, ASpeedChangeFollowedByASilentCameraFallsBackTo9600) {
  thandshakefixture f(Family::classic);
  f.engine.Port().SetReadTimeout(300);
  f.engine.SetKnownFamily(kCameraClassic, false);
  f.engine.SetDesiredSpeed(12);
  tbytes data;
  ASSERT_EQ(f.engine.FetchPicture(1, data), kKindNormal);
  ASSERT_EQ(f.LineSpeed(), static_cast<unsigned>(B115200));
  // The camera falls back to 9600 on its own (switched off and on): at
  // 115200 baud it is silent.
  f.camera.SwitchOff();
  f.camera.SwitchOn();
  EXPECT_THROW(f.engine.FetchPicture(2, data), tqvnotconnected);
  EXPECT_EQ(f.engine.CurrentSpeed(), tqvProtocolEngine::kDefaultSpeed);
  EXPECT_EQ(f.LineSpeed(), static_cast<unsigned>(B9600));
  // The next attempt starts at 9600 and switches again.
  EXPECT_EQ(f.engine.FetchPicture(2, data), kKindFine);
  EXPECT_EQ(f.camera.BaudRate(), 115200);
}

}  // namespace
}  // namespace vantlo
