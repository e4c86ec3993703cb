// Camera operations of the three families against the simulated camera over
// a real pseudo-terminal: identification, count, battery, thumbnails and
// pictures with their kind codes, lists, delete and take, speed and block
// size as the camera sees them, and injected faults.
#include <gtest/gtest.h>
#include <termios.h>

#include <chrono>
#include <thread>

#include "camera/qv10int.h"
#include "picture/camformats.h"
#include "picture/jpegimage.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

using camsim::Family;
using camsim::Faults;
using camsim::Options;
using camsim::SimulatedCamera;
using tbytes = std::vector<std::uint8_t>;

// A simulated camera and an engine on its device; waits are recorded, not slept.
class tsimfixture {
 public:
  explicit tsimfixture(Options options)
      : camera(std::move(options)),
        engine((camera.Start(), camera.DevicePath()), 0, false, &waiter) {}
  ~tsimfixture() { camera.Stop(); }
  unsigned LineSpeed() {
    termios tio{};
    tcgetattr(engine.Port().Handle(), &tio);
    return cfgetospeed(&tio);
  }
  // The camera logs a command and changes its state once it has our final
  // ACK, which may be a moment after the engine has moved on.
  bool Logged(const std::string& command) {
    return Eventually([&] {
      const auto log = camera.CommandLog();
      return std::find(log.begin(), log.end(), command) != log.end();
    });
  }
  template <typename P>
  static bool Eventually(P predicate) {
    for (int i = 0; i < 200; ++i) {
      if (predicate()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return predicate();
  }

  SimulatedCamera camera;
  trecordingwaiter waiter;
  tqvProtocolEngine engine;
};

Options With(Family family, Faults faults = {}, int count = 5) {
  Options o;
  o.family = family;
  o.count = count;
  o.faults = faults;
  return o;
}

// ---- classic ----

TEST(SimClassic, IdentifiesAndCounts) {
  tsimfixture f(With(Family::classic));
  EXPECT_EQ(f.engine.GetCameraType(), 1);
  EXPECT_FALSE(f.engine.HasFileSystem());
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.engine.Port().Params().ReadTimeout, 3000);  // back after the 7000 ms count
  EXPECT_TRUE(f.Logged("MP"));
  // Folder commands belong to file-system cameras only.
  std::vector<std::string> folders = {"stale"};
  f.engine.ListFolders(folders);
  EXPECT_TRUE(folders.empty());
  const auto log = f.camera.CommandLog();
  EXPECT_EQ(std::find(log.begin(), log.end(), "ZD"), log.end());
}

TEST(SimClassic, FetchesAPictureAtTheDesiredSpeedAndBlockSize) {
  tsimfixture f(With(Family::classic));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  f.engine.SetDesiredSpeed(12);
  f.engine.RequestBlockSize(4096);
  int progressCalls = 0;
  f.engine.OnProgress = [&](tqvProtocolEngine&, int position, const std::string&, int) {
    EXPECT_LT(position, 0);
    ++progressCalls;
    return tprogressanswer::carryOn;
  };
  tbytes data;
  const std::uint8_t kind = f.engine.FetchPicture(2, data);
  EXPECT_TRUE(kind == kKindNormal || kind == kKindFine);
  EXPECT_GT(data.size(), 1000u);
  EXPECT_GT(progressCalls, 2);
  // The switch happened on both sides of the line.
  EXPECT_EQ(f.camera.BaudRate(), 115200);
  EXPECT_EQ(f.LineSpeed(), static_cast<unsigned>(B115200));
  EXPECT_EQ(f.camera.BlockSize(), 4096);
  EXPECT_EQ(f.engine.CurrentPicture(), 2);
  EXPECT_TRUE(f.Logged("DL"));

  // The camera keeps its speed between operations; reset brings both back.
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  f.engine.ResetCamera();
  EXPECT_TRUE(f.Eventually([&] { return f.camera.BaudRate() == 9600; }));
  EXPECT_EQ(f.camera.BlockSize(), 128);
  EXPECT_EQ(f.LineSpeed(), static_cast<unsigned>(B9600));
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
}

TEST(SimClassic, FineAndProtectedPicturesAreReadByTheirModeBits) {
  Options o = With(Family::classic);
  o.protectedPictures = {1, 2};  // 1 normal and 2 fine, both protected
  tsimfixture f(o);
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  EXPECT_FALSE(f.engine.IsFinePicture(1));
  EXPECT_TRUE(f.engine.IsFinePicture(2));
  EXPECT_FALSE(f.engine.IsFinePicture(3));
  EXPECT_TRUE(f.engine.IsFinePicture(5));

  // A fine picture comes in the fine layout (640 x 480, one interleaved
  // scan), a normal one in the normal layout (480 x 240, three scans).
  struct tcase {
    int n;
    std::uint8_t kind, flavour;
    int width, height;
  };
  for (const tcase c : {tcase{1, kKindNormal, 0, 480, 240}, tcase{2, kKindFine, 1, 640, 480},
                        tcase{3, kKindNormal, 0, 480, 240}}) {
    tbytes data;
    EXPECT_EQ(f.engine.FetchPicture(c.n, data), c.kind) << c.n;
    ASSERT_GT(data.size(), 136u);
    EXPECT_EQ(data[0], c.flavour) << c.n;
    tbytes jfif;
    RawToJfif(data, jfif);
    TJPEGImage image;
    image.LoadFromStream(jfif);
    EXPECT_EQ(image.Width(), c.width) << c.n;
    EXPECT_EQ(image.Height(), c.height) << c.n;
  }
  EXPECT_TRUE(f.Logged("Mg"));
  EXPECT_TRUE(f.Logged("MG"));
}

TEST(SimClassic, ThumbnailData) {
  tsimfixture f(With(Family::classic));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  tbytes raw;
  f.engine.FetchThumbnailData(1, raw);
  EXPECT_GE(raw.size(), 2808u);
  EXPECT_TRUE(f.Logged("DH 01"));
  EXPECT_TRUE(f.Logged("MK"));
  tbitmap bitmap;
  bool movie = true, fine = true;
  f.engine.FetchThumbnail(1, bitmap, movie, fine);
  EXPECT_FALSE(movie);
  EXPECT_EQ(bitmap.Width(), 52);
  EXPECT_EQ(bitmap.Height(), 36);
}

TEST(SimClassic, IllegalPictureNumbers) {
  tsimfixture f(With(Family::classic));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  EXPECT_THROW(f.engine.SelectPicture(0), tqvbadpicnum);
  EXPECT_THROW(f.engine.SelectPicture(6), tqvbadpicnum);
  tbytes data;
  try {
    f.engine.FetchPicture(999, data);
    FAIL();
  } catch (const tqvbadpicnum& e) {
    EXPECT_STREQ(e.what(), "Illegal Picture Number");
  }
  EXPECT_THROW(f.engine.SelectThumbnail(301), tqvbadpicnum);
  EXPECT_THROW(f.engine.DeletePicture(301), tqvbadpicnum);
}

TEST(SimClassic, EmptyCameraHasNoPictureOne) {
  tsimfixture f(With(Family::classic, {}, 0));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  EXPECT_EQ(f.engine.GetPictureCount(), 0);
  EXPECT_THROW(f.engine.SelectPicture(1), tqvbadpicnum);
}

TEST(SimClassic, DeleteAndTake) {
  tsimfixture f(With(Family::classic));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  f.engine.DeletePicture(2);
  EXPECT_TRUE(f.Logged("DF 02 FF"));
  EXPECT_TRUE(f.Eventually([&] { return f.camera.PictureCount() == 4; }));
  EXPECT_EQ(f.engine.GetPictureCount(), 4);
  f.engine.TakePicture();
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.engine.Port().Params().ReadTimeout, 3000);
  f.engine.DeleteAllPictures();
  EXPECT_TRUE(f.Logged("DD"));
  EXPECT_EQ(f.engine.GetPictureCount(), 0);
}

TEST(SimClassic, TakeInPlayModeNeedsRecMode) {
  Faults faults;
  faults.playMode = true;
  tsimfixture f(With(Family::classic, faults));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  try {
    f.engine.TakePicture();
    FAIL();
  } catch (const tqvplaypos& e) {
    EXPECT_STREQ(e.what(), "Camera must be in REC mode");
  }
  EXPECT_EQ(f.camera.PictureCount(), 5);
}

struct BatteryCase {
  int byte;
  double volts;
  bool low;
};

class SimClassicBattery : public ::testing::TestWithParam<BatteryCase> {};

TEST_P(SimClassicBattery, VoltsClampedAndChecked) {
  Faults faults;
  faults.batteryByte = GetParam().byte;
  tsimfixture f(With(Family::classic, faults));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  EXPECT_DOUBLE_EQ(f.engine.GetBatteryVoltage(), GetParam().volts);
  EXPECT_TRUE(f.Logged("RB 05 FF FE E6"));
  int warned = 0;
  f.engine.OnLowVoltage = [&](tqvProtocolEngine&) { ++warned; };
  if (GetParam().low) {
    EXPECT_THROW(f.engine.CheckBattery(), tqvlowvoltage);
    EXPECT_EQ(warned, 1);
    tbytes data;
    EXPECT_THROW(f.engine.FetchPicture(1, data), tqvlowvoltage);
  } else {
    EXPECT_NO_THROW(f.engine.CheckBattery());
    EXPECT_EQ(warned, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Bytes, SimClassicBattery,
                         ::testing::Values(BatteryCase{0x60, 5.5, false},  // 6.0 V clamped
                                           BatteryCase{0x30, 3.6, true},   // 3.0 V clamped
                                           BatteryCase{0x48, 4.5, false},
                                           BatteryCase{0x40, 4.0, true}),  // equal is low
                         [](const ::testing::TestParamInfo<BatteryCase>& info) {
                           return "byte" + std::to_string(info.param.byte);
                         });

TEST(SimClassic, ThresholdSetting) {
  Faults faults;
  faults.batteryByte = 0x48;  // 4.5 V
  tsimfixture f(With(Family::classic, faults));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  f.engine.SetLowVoltageThreshold(4.6);
  EXPECT_THROW(f.engine.CheckBattery(), tqvlowvoltage);
  f.engine.SetLowVoltageThreshold(0);
  EXPECT_DOUBLE_EQ(f.engine.LowVoltageThreshold(), 4.0);
  EXPECT_NO_THROW(f.engine.CheckBattery());
}

TEST(SimExtended, CountAbove300IsNotCommunicating) {
  // (A classic camera's count is one byte; only the two-byte "XP" count can say 301.)
  Faults faults;
  faults.countOverride = 301;
  tsimfixture f(With(Family::extended, faults));
  ASSERT_EQ(f.engine.GetCameraType(), 2);
  try {
    f.engine.GetPictureCount();
    FAIL();
  } catch (const tqvnotconnected& e) {
    EXPECT_STREQ(e.what(), "Camera is not communicating properly;  check and reset");
  }
  EXPECT_EQ(f.engine.CameraType(), 0);
}

// ---- faults on the link ----

TEST(SimLink, EnquiriesAnsweredWithNak) {
  Faults faults;
  faults.nakEnquiries = 5;
  tsimfixture f(With(Family::classic, faults));
  EXPECT_TRUE(f.engine.CheckCamera());
  Faults all;
  all.nakEnquiries = -1;
  tsimfixture g(With(Family::classic, all));
  EXPECT_FALSE(g.engine.CheckCamera());
  tbytes reply;
  EXPECT_EQ(g.engine.SendCommand({'M', 'P'}, 3, reply), 12);
}

TEST(SimLink, WrongCommandChecksumGivesFour) {
  Faults faults;
  faults.badCommandChecksum = true;
  tsimfixture f(With(Family::classic, faults));
  tbytes reply;
  EXPECT_EQ(f.engine.SendCommand({'M', 'P'}, 3, reply), 4);
  ASSERT_EQ(reply.size(), 3u);
  EXPECT_EQ(reply[2], 5);  // the count arrived all the same
  EXPECT_THROW(f.engine.GetPictureCount(), tqvnotconnected);
}

class SimBadPackets : public ::testing::TestWithParam<Faults::PacketFault> {};

TEST_P(SimBadPackets, TwiceBadIsRepairedThreeTimesRaises) {
  Faults twice;
  twice.badPackets = 2;
  twice.packetFault = GetParam();
  tsimfixture f(With(Family::classic, twice));
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  f.engine.Port().SetReadTimeout(400);  // a short packet costs one read time-out
  tbytes clean, repaired;
  f.engine.FetchThumbnailData(1, repaired);
  f.engine.FetchThumbnailData(1, clean);
  EXPECT_EQ(repaired, clean);

  Faults thrice = twice;
  thrice.badPackets = 3;
  tsimfixture g(With(Family::classic, thrice));
  ASSERT_EQ(g.engine.GetCameraType(), 1);
  g.engine.Port().SetReadTimeout(400);
  g.engine.SetDesiredSpeed(9);
  tbytes data;
  EXPECT_THROW(g.engine.FetchThumbnailData(1, data), tqvnotconnected);
  EXPECT_EQ(g.engine.CurrentSpeed(), 6);
  EXPECT_EQ(g.engine.CameraType(), 0);
}

INSTANTIATE_TEST_SUITE_P(Faults, SimBadPackets,
                         ::testing::Values(Faults::PacketFault::checksum,
                                           Faults::PacketFault::shortPacket,
                                           Faults::PacketFault::overlong),
                         [](const ::testing::TestParamInfo<Faults::PacketFault>& info) {
                           switch (info.param) {
                             case Faults::PacketFault::checksum:
                               return std::string("checksum");
                             case Faults::PacketFault::shortPacket:
                               return std::string("short");
                             default:
                               return std::string("overlong");
                           }
                         });

TEST(SimLink, SilentCameraEndsTheTransferAndReturnsTo9600) {
  Faults faults;
  faults.silenceAfterBytes = 400;
  tsimfixture f(With(Family::classic, faults));
  f.engine.Port().SetReadTimeout(300);
  ASSERT_EQ(f.engine.GetCameraType(), 1);
  f.engine.SetDesiredSpeed(11);
  tbytes data;
  EXPECT_THROW(f.engine.FetchThumbnailData(1, data), tqvnotconnected);
  EXPECT_EQ(f.engine.CurrentSpeed(), 6);
  EXPECT_EQ(f.LineSpeed(), static_cast<unsigned>(B9600));
}

TEST(SimLink, IrdaModeNeverSwitchesSpeed) {
  Options o = With(Family::classic);
  SimulatedCamera camera(o);
  camera.Start();
  trecordingwaiter waiter;
  tqvProtocolEngine engine(camera.DevicePath(), 0, true, &waiter);
  ASSERT_TRUE(engine.Port().IsOpen());
  EXPECT_TRUE(engine.Port().IrdaMode());
  ASSERT_EQ(engine.GetCameraType(), 1);
  engine.SetDesiredSpeed(12);
  tbytes raw;
  engine.FetchThumbnailData(1, raw);
  EXPECT_FALSE(raw.empty());
  EXPECT_EQ(camera.BaudRate(), 9600);
  const auto log = camera.CommandLog();
  EXPECT_EQ(std::count_if(log.begin(), log.end(),
                          [](const std::string& c) { return c.rfind("CB", 0) == 0; }),
            0);
  camera.Stop();
}

TEST(SimLink, PowerOffAndTestLink) {
  tsimfixture f(With(Family::classic));
  std::string first;
  int code = -1;
  EXPECT_EQ(f.engine.TestLink(first, code), 1);
  EXPECT_EQ(code, 0);
  f.engine.SetDesiredSpeed(8);
  tbytes raw;
  f.engine.FetchThumbnailData(1, raw);
  EXPECT_EQ(f.camera.BaudRate(), 19200);
  f.engine.PowerOff();
  EXPECT_TRUE(f.Logged("QX"));
  EXPECT_EQ(f.engine.CurrentSpeed(), 6);
}

// ---- extended ----

TEST(SimExtended, IdentifiesCountsAndBattery) {
  tsimfixture f(With(Family::extended));
  EXPECT_EQ(f.engine.GetCameraType(), 2);
  EXPECT_FALSE(f.engine.HasFileSystem());
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_TRUE(f.Logged("XP"));
  EXPECT_DOUBLE_EQ(f.engine.GetBatteryVoltage(), 5.5);
  EXPECT_NO_THROW(f.engine.CheckBattery());
  EXPECT_FALSE(f.engine.IsFinePicture(1));
}

TEST(SimExtended, LowBatteryAlwaysFails) {
  Faults faults;
  faults.batteryByte = 1;
  tsimfixture f(With(Family::extended, faults));
  ASSERT_EQ(f.engine.GetCameraType(), 2);
  EXPECT_DOUBLE_EQ(f.engine.GetBatteryVoltage(), 3.6);
  EXPECT_THROW(f.engine.CheckBattery(), tqvlowvoltage);
}

TEST(SimExtended, PictureKindsThumbnailAndDelete) {
  tsimfixture f(With(Family::extended));
  ASSERT_EQ(f.engine.GetCameraType(), 2);
  f.engine.SetDesiredSpeed(11);
  f.engine.RequestBlockSize(4096);
  tbytes one, two;
  // The simulated camera alternates its two picture formats.
  EXPECT_EQ(f.engine.FetchPicture(1, one), kKindExtended1);
  EXPECT_EQ(f.engine.FetchPicture(2, two), kKindExtended2);
  EXPECT_FALSE(one.empty());
  EXPECT_FALSE(two.empty());
  EXPECT_TRUE(f.Logged("XG 00 02"));
  EXPECT_EQ(f.camera.BaudRate(), 57600);
  EXPECT_EQ(f.engine.Port().Params().ReadTimeout, 3000);
  tbytes thumb;
  f.engine.FetchThumbnailData(3, thumb);
  EXPECT_GE(thumb.size(), 2808u);
  EXPECT_TRUE(f.Logged("XT 00 03"));
  f.engine.SelectPicture(4);
  EXPECT_TRUE(f.Logged("XA 00 04"));
  f.engine.DeletePicture(1);
  EXPECT_TRUE(f.Logged("XF 00 01 00 01"));
  EXPECT_TRUE(f.Eventually([&] { return f.camera.PictureCount() == 4; }));
  EXPECT_EQ(f.engine.GetPictureCount(), 4);
  EXPECT_THROW(f.engine.DeletePicture(0), tqvbadpicnum);
}

TEST(SimExtended, CannotTakeAPicture) {
  tsimfixture f(With(Family::extended));
  ASSERT_EQ(f.engine.GetCameraType(), 2);
  try {
    f.engine.TakePicture();
    FAIL();
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "This type of camera cannot take a picture under program control");
  }
}

// ---- file system ----

TEST(SimFileSystem, FoldersFilesAndFetches) {
  tsimfixture f(With(Family::filesystem));
  EXPECT_EQ(f.engine.GetCameraType(), 2);
  EXPECT_TRUE(f.engine.KnownFileSystem());
  std::vector<std::string> folders;
  f.engine.ListFolders(folders);
  ASSERT_EQ(folders, std::vector<std::string>{"100CASIO"});
  f.engine.ChangeFolder(folders[0]);
  EXPECT_EQ(f.engine.CurrentFolder(), "100CASIO");
  std::vector<std::string> files;
  f.engine.ListFiles(files);
  ASSERT_EQ(files.size(), 5u);
  EXPECT_EQ(f.engine.GetPictureCount(), 5);

  f.engine.SetDesiredSpeed(12);
  f.engine.RequestBlockSize(4096);
  tbytes picture;
  EXPECT_EQ(f.engine.FetchPicture(1, picture), kKindJpegFile);
  ASSERT_GE(picture.size(), 2u);
  EXPECT_EQ(picture[0], 0xFF);
  EXPECT_EQ(picture[1], 0xD8);
  const auto movie = std::find_if(files.begin(), files.end(), [](const std::string& n) {
    return n.size() > 4 && n.substr(n.size() - 4) == ".AVI";
  });
  ASSERT_NE(movie, files.end());
  const int movieNumber = static_cast<int>(movie - files.begin()) + 1;
  EXPECT_EQ(f.engine.FetchPicture(movieNumber, picture), kKindAviFile);
  EXPECT_THROW(f.engine.FetchPicture(6, picture), tqvbadpicnum);

  tbytes preview;
  EXPECT_TRUE(f.engine.FetchPreviewThumbnailData(movieNumber, preview));
  ASSERT_GE(preview.size(), 2u);
  EXPECT_EQ(preview[0], 0xFF);
  EXPECT_FALSE(f.engine.FetchPreviewThumbnailData(1, preview));
  // Back in the picture folder after the previews.
  std::vector<std::string> again;
  f.engine.ListFiles(again);
  EXPECT_EQ(again, files);

  tbitmap bitmap;
  bool isMovie = false;
  f.engine.FetchPreviewThumbnail(movieNumber, bitmap, isMovie);
  EXPECT_TRUE(isMovie);
  EXPECT_EQ(bitmap.Width(), 52);
  EXPECT_EQ(bitmap.Height(), 36);
}

TEST(SimFileSystem, DeleteSendsNothingAndPictureSettingsAreThePipelines) {
  tsimfixture f(With(Family::filesystem));
  ASSERT_EQ(f.engine.GetCameraType(), 2);
  ASSERT_TRUE(f.Logged("ZD"));  // the probe's last command, logged once our ACK is in
  const auto before = f.camera.CommandLog().size();
  f.engine.DeletePicture(1);
  f.engine.DeleteAllPictures();
  EXPECT_EQ(f.camera.CommandLog().size(), before);
  EXPECT_EQ(f.camera.PictureCount(), 5);
  EXPECT_EQ(f.engine.JpegQuality, 85);
  f.engine.SetJpegQuality(50);
  EXPECT_EQ(f.engine.JpegQuality, 50);
}

}  // namespace
}  // namespace vantlo
