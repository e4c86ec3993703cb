// Identification on first need and after a lost link: after a failed
// exchange the engine has forgotten the camera's family, and the next
// operation must identify it before it sends family commands (extended and
// file-system cameras must not be addressed as classic ones); a file-system
// camera must be in its picture folder whenever files are listed or fetched,
// also right after the "ZD" probe of the identification moved it.
#include <gtest/gtest.h>

#include <algorithm>
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

class tlostlinkfixture {
 public:
  explicit tlostlinkfixture(Family family)
      : camera(OptionsFor(family)),
        engine((camera.Start(), camera.DevicePath()), 0, false, &waiter) {
    engine.Port().SetReadTimeout(300);  // a switched-off camera costs one time-out per read
  }
  ~tlostlinkfixture() { camera.Stop(); }

  static Options OptionsFor(Family family) {
    Options o;
    o.family = family;
    return o;
  }
  // The camera goes away, an operation finds it gone (the engine forgets the
  // family), and the camera comes back.
  void LoseAndFindTheCamera() {
    camera.SwitchOff();
    EXPECT_THROW(engine.GetPictureCount(), tqvnotconnected);
    EXPECT_EQ(engine.CameraType(), kCameraUnknown);
    camera.SwitchOn();
  }
  bool Logged(const std::string& prefix) const {
    const auto log = camera.CommandLog();
    return std::any_of(log.begin(), log.end(),
                       [&](const std::string& c) { return c.rfind(prefix, 0) == 0; });
  }
  // The camera logs a command once it has our final ACK, which may be a
  // moment after the engine has moved on.
  bool Eventually(const std::function<bool()>& predicate) const {
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

class LostLink : public ::testing::TestWithParam<Family> {};

TEST_P(LostLink, EveryOperationIdentifiesAForgottenCameraFirst) {
  tlostlinkfixture f(GetParam());
  ASSERT_EQ(f.engine.GetCameraType(), kCameraExtended);

  f.LoseAndFindTheCamera();
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.engine.CameraType(), kCameraExtended);

  f.LoseAndFindTheCamera();
  EXPECT_DOUBLE_EQ(f.engine.GetBatteryVoltage(), 5.5);

  f.LoseAndFindTheCamera();
  EXPECT_FALSE(f.engine.IsFinePicture(1));

  f.LoseAndFindTheCamera();
  tbytes data;
  EXPECT_NE(f.engine.FetchPicture(1, data), kKindNormal);
  EXPECT_FALSE(data.empty());

  f.LoseAndFindTheCamera();
  EXPECT_NO_THROW(f.engine.DeletePicture(2));
  if (GetParam() == Family::extended) {
    EXPECT_TRUE(f.Eventually([&] { return f.camera.PictureCount() == 4; }));
  }

  // Not one classic command reached the camera.
  for (const char* classic : {"MP", "RB", "DY", "DA", "DL", "MG", "Mg", "DF"}) {
    EXPECT_FALSE(f.Logged(classic)) << classic;
  }
}

INSTANTIATE_TEST_SUITE_P(Families, LostLink,
                         ::testing::Values(Family::extended, Family::filesystem),
                         [](const ::testing::TestParamInfo<Family>& info) {
                           return std::string(info.param == Family::extended ? "extended"
                                                                             : "filesystem");
                         });

TEST(LostLinkClassic, AClassicCameraIsFoundAgainToo) {
  tlostlinkfixture f(Family::classic);
  ASSERT_EQ(f.engine.GetCameraType(), kCameraClassic);
  f.LoseAndFindTheCamera();
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.engine.CameraType(), kCameraClassic);
}

// A fresh engine, and a count or a fetch as its first action.
TEST(FirstNeed, AFileSystemCameraChoosesItsFirstPictureFolder) {
  tlostlinkfixture counted(Family::filesystem);
  EXPECT_EQ(counted.engine.GetPictureCount(), 5);
  EXPECT_EQ(counted.engine.CurrentFolder(), "100CASIO");

  tlostlinkfixture fetched(Family::filesystem);
  tbytes data;
  EXPECT_EQ(fetched.engine.FetchPicture(1, data), kKindJpegFile);
  ASSERT_GE(data.size(), 2u);
  EXPECT_EQ(data[0], 0xFF);
  EXPECT_EQ(data[1], 0xD8);
  EXPECT_EQ(fetched.engine.CurrentFolder(), "100CASIO");

  tlostlinkfixture previewed(Family::filesystem);
  tbytes preview;
  EXPECT_FALSE(previewed.engine.FetchPreviewThumbnailData(2, preview));
  EXPECT_FALSE(preview.empty());
}

TEST(FirstNeed, AnExtendedCameraFetchesAsItsFirstAction) {
  tlostlinkfixture f(Family::extended);
  tbytes data;
  EXPECT_EQ(f.engine.FetchPicture(2, data), kKindExtended2);
  EXPECT_FALSE(data.empty());
}

TEST(Reidentified, AFileSystemCameraIsPutBackIntoItsPictureFolder) {
  tlostlinkfixture f(Family::filesystem);
  ASSERT_EQ(f.engine.GetCameraType(), kCameraExtended);
  f.engine.ChangeFolder("100CASIO");
  ASSERT_EQ(f.engine.CurrentFolder(), "100CASIO");
  ASSERT_EQ(f.engine.GetPictureCount(), 5);

  // Found again, the camera is identified anew; its "ZD" probe climbs out of
  // the picture folder, which must be entered again before files are listed.
  f.LoseAndFindTheCamera();
  EXPECT_EQ(f.engine.GetPictureCount(), 5);
  EXPECT_EQ(f.engine.CurrentFolder(), "100CASIO");
  const auto log = f.camera.CommandLog();
  const auto probe = std::find(log.rbegin(), log.rend(), "XC");
  ASSERT_NE(probe, log.rend());
  const std::vector<std::string> after(probe.base(), log.end());
  const auto enter = std::find(after.begin(), after.end(), "CD 100CASIO");
  const auto list = std::find(after.begin(), after.end(), "ZE");
  ASSERT_NE(list, after.end());
  EXPECT_LT(enter, list) << "the picture folder is entered before the file list";
}

}  // namespace
}  // namespace vantlo
