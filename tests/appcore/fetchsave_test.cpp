// A fetched picture end to end on the simulated camera: loaded through the thumbnail manager,
// captioned, and saved as CAM and JPEG under its generated names.
#include <gtest/gtest.h>

#include <filesystem>

#include "library/atomicfile.h"
#include "app/core/captiondraw.h"
#include "app/core/picturesaver.h"
#include "app/core/thumbmanager.h"
#include "camera/qv10int.h"
#include "camera/waiter.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "tempdir.h"
#include "simulator/simcamera.h"

namespace vantlo {
namespace {

using testing::TempDir;

TEST(FetchAndSave, CaptionedJpegAndUncaptionedCamUnderGeneratedNames) {
  camsim::SimulatedCamera camera(camsim::Options{});
  camera.Start();
  trecordingwaiter waiter;
  tqvProtocolEngine engine(camera.DevicePath(), 0, false, &waiter);
  engine.GetCameraType();
  tpicturepipeline pipeline;
  tthumbmanager manager(engine, pipeline);  // empty cache folder setting
  TempDir out;

  tnamingsettings naming;
  naming.outputFolder = out.path();
  naming.dailyFolder = true;
  tfilenamer namer(naming, [] { return tlocaltime{2026, 12, 6, 9, 30, 0}; });
  tsaveoptions options;
  tpicturesaver saver(namer, options, nullptr);

  manager.RefreshCount();
  TJPEGImage picture;
  manager.LoadPicture(2, picture);
  // The empty cache folder setting became the system temp folder.
  EXPECT_EQ(manager.CacheFolderSetting(), std::filesystem::temp_directory_path().string());
  tbitmap shown = picture.Bitmap();
  const tbitmap plain = shown;
  tcaptionsetting caption;
  caption.mode = 2;
  caption.customText = "Pic <PICNUM>";
  caption.style.fontName = "DejaVu Sans";
  ASSERT_TRUE(WriteCaption(shown, 2, caption, SystemFieldTexts({2026, 12, 6, 9, 30, 0}), nullptr));
  ASSERT_NE(shown, plain);

  auto jpeg = [&] {
    TJPEGImage image;
    image.Assign(shown);
    std::vector<std::uint8_t> bytes;
    image.SaveToStream(bytes);
    return bytes;
  };
  auto cam = [&] { return manager.CamFileBytes(2); };
  auto report = saver.SaveFetchedPicture(2, cam, jpeg);
  const std::string folder = out.path() + "/06dec26/";
  EXPECT_EQ(report.saved,
            (std::vector<std::string>{folder + "06dec26002.cam", folder + "06dec26002.jpg"}));

  // The CAM file holds the camera data, without the caption.
  TJPEGImage fromCam;
  pipeline.LoadCamFile(ReadWholeFile(folder + "06dec26002.cam"), fromCam);
  EXPECT_EQ(fromCam.Bitmap(), plain);
  TJPEGImage fromJpeg;
  fromJpeg.LoadFromFile(folder + "06dec26002.jpg");
  EXPECT_EQ(fromJpeg.Width(), plain.Width());
  EXPECT_EQ(fromJpeg.Height(), plain.Height());

  // Fetching again with nobody to ask skips both files and says so.
  auto again = saver.SaveFetchedPicture(2, cam, jpeg);
  EXPECT_TRUE(again.saved.empty());
  EXPECT_EQ(again.skipped.size(), 2u);
}

}  // namespace
}  // namespace vantlo
