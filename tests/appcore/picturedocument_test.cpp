// The window's picture commands without the window: opening picture files of
// each kind (and damaged ones), turning with the quarter-turn counter, the
// resize with its size report, orientation for the current picture and the
// "Save Selected CAM Files as JPEGs" batch.
#include "app/core/picturedocument.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/core/camtojpeg.h"
#include "library/pictureproperties.h"
#include "picture/camformats.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"
#include "tempdir.h"

namespace vantlo {
namespace {

using bytes = std::vector<std::uint8_t>;
using testing::TempDir;

void WriteFile(const std::string& path, const bytes& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return bytes(std::istreambuf_iterator<char>(in), {});
}

bytes JpegOf(int w, int h, int seed) {
  return CompressJpeg(MakeTestPicture(w, h, seed), 90, false);
}

bytes CamOf(int w, int h, int seed) {
  tbytes cam;
  RawToCamFile(EncodeRawPicture(MakeTestPicture(w, h, seed), 0), cam, 1);
  return bytes(cam.begin(), cam.end());
}

void SetOrientation(const std::string& cam, int code, const std::string& title = {}) {
  tpictureproperties p;
  p.SetFile(cam);
  p.SetTitle(title);
  p.SetOrientation(static_cast<std::uint32_t>(code));
  p.Save();
}

class PictureDocumentTest : public ::testing::Test {
 protected:
  TempDir dir;
  tpicturepipeline pipeline;
  tpicturedocument doc{pipeline};
  tpictureopenoptions options;
};

TEST_F(PictureDocumentTest, FileTypeIsDecidedByTheLastFourCharactersInAnyCase) {
  EXPECT_EQ(PictureFileType("/a/X.jpg"), tpicturefiletype::Jpg);
  EXPECT_EQ(PictureFileType("/a/X.Cam"), tpicturefiletype::Cam);
  EXPECT_EQ(PictureFileType("/a/X.RCD"), tpicturefiletype::Rcd);
  EXPECT_EQ(PictureFileType("/a/X.JPEG"), tpicturefiletype::None);
  EXPECT_EQ(PictureFileType("/a/X.avi"), tpicturefiletype::None);
  EXPECT_EQ(PictureFileType("JPG"), tpicturefiletype::None);
}

TEST_F(PictureDocumentTest, OpensAJpegFileWithItsSizeAndNoTurns) {
  const bytes jpeg = JpegOf(64, 48, 1);
  WriteFile(dir / "x.jpg", jpeg);
  std::vector<std::string> steps;
  options.progress = [&](int, const std::string& t) { steps.push_back(t); };
  doc.SetQuarterTurns(2);
  EXPECT_EQ(doc.OpenPictureFile(dir / "x.jpg", options), tpicturefiletype::Jpg);
  EXPECT_TRUE(doc.HasPicture());
  EXPECT_EQ(doc.Kind(), tpicturekind::JpegFile);
  EXPECT_EQ(doc.Path(), dir / "x.jpg");
  EXPECT_EQ(doc.FileSize(), jpeg.size());
  EXPECT_EQ(doc.QuarterTurns(), 0);
  EXPECT_EQ(doc.Picture().Width(), 64);
  EXPECT_EQ(doc.Picture().Height(), 48);
  EXPECT_EQ((std::vector<std::string>{"Loading", "Decoding"}), steps);

  // A five-letter ending opens nothing and leaves the picture.
  WriteFile(dir / "y.JPEG", jpeg);
  EXPECT_EQ(doc.OpenPictureFile(dir / "y.JPEG", options), tpicturefiletype::None);
  EXPECT_EQ(doc.Path(), dir / "x.jpg");
}

TEST_F(PictureDocumentTest, DamagedOrMissingFilesGiveClearMessagesAndLeaveNoPicture) {
  bytes jpeg = JpegOf(64, 48, 2);
  WriteFile(dir / "good.jpg", jpeg);
  jpeg.resize(jpeg.size() / 3);
  WriteFile(dir / "cut.jpg", jpeg);
  WriteFile(dir / "text.jpg", bytes{'h', 'e', 'l', 'l', 'o'});
  WriteFile(dir / "empty.jpg", {});
  bytes cam = CamOf(480, 240, 3);
  WriteFile(dir / "text.cam", bytes(200, 0x41));
  cam.resize(cam.size() / 2);
  WriteFile(dir / "cut.cam", cam);
  WriteFile(dir / "junk.rcd", bytes(300, 0x55));

  struct tcase {
    const char* name;
    const char* message;  // nullptr: any message
  } cases[] = {{"cut.jpg", "Unable to parse the JPEG data"},
               {"text.jpg", "Unable to parse the JPEG data"},
               {"empty.jpg", "Unable to parse the JPEG data"},
               {"missing.jpg", "Unable to parse the JPEG data"},
               {"text.cam", "Unable to parse the CAM data"},
               {"missing.cam", "Unable to parse the CAM data"},
               {"cut.cam", nullptr},
               {"junk.rcd", nullptr},
               {"missing.rcd", nullptr}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    doc.OpenPictureFile(dir / "good.jpg", options);
    ASSERT_TRUE(doc.HasPicture());
    try {
      doc.OpenPictureFile(dir / c.name, options);
      ADD_FAILURE() << "opened";
    } catch (const tpictureopenerror& e) {
      if (c.message) {
        EXPECT_STREQ(e.what(), c.message);
      }
      EXPECT_FALSE(std::string(e.what()).empty());
    }
    EXPECT_FALSE(doc.HasPicture());
    EXPECT_EQ(doc.Kind(), tpicturekind::None);
  }
}

TEST_F(PictureDocumentTest, CamFileOpensTurnedByItsStoredOrientationAndCorrected) {
  WriteFile(dir / "A.CAM", CamOf(480, 240, 4));
  EXPECT_EQ(doc.OpenPictureFile(dir / "A.CAM", options), tpicturefiletype::Cam);
  EXPECT_EQ(doc.Kind(), tpicturekind::CamFile);
  const int w = doc.Picture().Width();
  const int h = doc.Picture().Height();
  ASSERT_GT(w, 0);
  ASSERT_NE(w, h);
  const tbitmap plain = doc.Picture().Bitmap();
  EXPECT_FALSE(doc.Uncorrected().has_value());

  SetOrientation(dir / "A.CAM", 1);
  EXPECT_EQ(StoredOrientationOf(dir / "A.CAM"), 1);
  doc.OpenPictureFile(dir / "A.CAM", options);
  EXPECT_EQ(doc.Picture().Width(), h);
  EXPECT_EQ(doc.Picture().Height(), w);
  EXPECT_EQ(doc.QuarterTurns(), 0);  // the stored turn is not the user's

  // Correction keeps the uncorrected copy and changes the pixels.
  SetOrientation(dir / "A.CAM", 0);
  options.correction.Mode = tcorrectionchoice::Manual;
  options.correction.Strength = 10;
  bool captioned = false;
  options.caption = [&](TJPEGImage&) { captioned = true; };
  doc.OpenPictureFile(dir / "A.CAM", options);
  EXPECT_TRUE(captioned);
  ASSERT_TRUE(doc.Uncorrected().has_value());
  EXPECT_EQ(doc.Uncorrected()->Bitmap(), plain);
  EXPECT_NE(doc.Picture().Bitmap(), plain);
}

TEST_F(PictureDocumentTest, RcdCacheFileOpensLikeAJpegFilePicture) {
  bytes rcd = EncodeRawPicture(MakeTestPicture(480, 240, 5), 0);
  rcd.push_back(1);  // picture kind byte
  WriteFile(dir / "00000001.rcd", rcd);
  EXPECT_EQ(doc.OpenPictureFile(dir / "00000001.rcd", options), tpicturefiletype::Rcd);
  EXPECT_EQ(doc.Kind(), tpicturekind::JpegFile);
  EXPECT_TRUE(doc.HasPicture());
}

TEST_F(PictureDocumentTest, QuarterTurnCounterWrapsAndFourTurnsRestoreThePicture) {
  // Turning without a picture does nothing.
  doc.RotateClockwise();
  EXPECT_EQ(doc.QuarterTurns(), 0);

  TJPEGImage p;
  p.Assign(MakeTestPicture(3, 2, 6));
  doc.SetPicture(p, tpicturekind::Camera);
  const tbitmap original = doc.Picture().Bitmap();
  doc.RotateCounterClockwise();
  EXPECT_EQ(doc.QuarterTurns(), 3);
  EXPECT_EQ(doc.Picture().Width(), 2);
  doc.RotateClockwise();
  EXPECT_EQ(doc.QuarterTurns(), 0);
  EXPECT_EQ(doc.Picture().Bitmap(), original);
  for (int i = 0; i < 4; ++i) doc.RotateClockwise();
  EXPECT_EQ(doc.QuarterTurns(), 0);
  EXPECT_EQ(doc.Picture().Bitmap(), original);
  doc.RotateClockwise();
  EXPECT_EQ(doc.QuarterTurns(), 1);
  EXPECT_EQ(doc.Picture().Width(), 2);
  EXPECT_EQ(doc.Picture().Height(), 3);
  // Former top-left pixel is at the top-right.
  const std::uint8_t* tl = original.ScanLine(0);
  const std::uint8_t* tr = doc.Picture().Bitmap().ScanLine(0) + 3;
  EXPECT_TRUE(std::equal(tl, tl + 3, tr));
  // A new picture starts without turns.
  doc.SetPicture(p, tpicturekind::Camera);
  EXPECT_EQ(doc.QuarterTurns(), 0);
}

TEST_F(PictureDocumentTest, ResizeStartsFromTheStoredPictureAndReportsBothSizes) {
  const bytes jpeg = JpegOf(640, 480, 7);
  WriteFile(dir / "r.jpg", jpeg);
  auto redisplay = [&] {
    doc.OpenPictureFile(dir / "r.jpg", options);
    return true;
  };
  EXPECT_THROW(doc.ApplyResize(rcSmall, 80, redisplay), tpictureopenerror);  // nothing shown

  doc.OpenPictureFile(dir / "r.jpg", options);
  tresizereport r = doc.ApplyResize(rcSmall, 80, redisplay);
  EXPECT_EQ(doc.Picture().Width(), 320);
  EXPECT_EQ(doc.Picture().Height(), 240);
  EXPECT_EQ(r.originalBytes, jpeg.size());
  // The measured size is what saving writes: the picture's own JPEG data.
  EXPECT_EQ(r.currentBytes, doc.Picture().JpegData().size());
  EXPECT_EQ(r.OriginalText(), "Original size : " + std::to_string(jpeg.size() / 1024) + "KB");
  EXPECT_EQ(r.CurrentText(), "Current size : " + std::to_string(r.currentBytes / 1024) + "KB");

  // A second resize starts again from the file, not from the small picture,
  // and the user's turn is applied again.
  doc.RotateClockwise();
  r = doc.ApplyResize(rcHalf, 80, redisplay);
  EXPECT_EQ(doc.Picture().Width(), 240);
  EXPECT_EQ(doc.Picture().Height(), 320);
  EXPECT_EQ(doc.QuarterTurns(), 1);

  // Lower quality, smaller measurement.
  const auto high = doc.ApplyResize(rcOriginal, 95, redisplay).currentBytes;
  const auto low = doc.ApplyResize(rcOriginal, 10, redisplay).currentBytes;
  EXPECT_LT(low, high);
  // Quality 0 from the slider is measured at the lowest quality, not refused.
  EXPECT_GT(doc.ApplyResize(rcOriginal, 0, redisplay).currentBytes, 0u);

  // Nothing to redisplay: a message, the turns kept.
  try {
    doc.ApplyResize(rcSmall, 80, [] { return false; });
    ADD_FAILURE();
  } catch (const tpictureopenerror& e) {
    EXPECT_STREQ(e.what(), "Nothing to redisplay");
  }
}

TEST_F(PictureDocumentTest, DefineOrientationOnlyForPicturesOpenedFromCamFiles) {
  EXPECT_EQ(CurrentOrientationTarget(doc), torientationtarget::NotCam);
  WriteFile(dir / "x.jpg", JpegOf(32, 16, 8));
  doc.OpenPictureFile(dir / "x.jpg", options);
  EXPECT_EQ(CurrentOrientationTarget(doc), torientationtarget::NotCam);
  TJPEGImage p;
  p.Assign(MakeTestPicture(8, 8, 1));
  doc.SetPicture(p, tpicturekind::Camera);
  EXPECT_EQ(CurrentOrientationTarget(doc), torientationtarget::Ignore);
  doc.SetPicture(p, tpicturekind::AutoCapture);
  EXPECT_EQ(CurrentOrientationTarget(doc), torientationtarget::Ignore);

  WriteFile(dir / "c.cam", CamOf(480, 240, 9));
  doc.OpenPictureFile(dir / "c.cam", options);
  EXPECT_EQ(CurrentOrientationTarget(doc), torientationtarget::Cam);
  // Storing keeps the other properties and never rewrites the CAM file.
  SetOrientation(dir / "c.cam", 0, "Harbour");
  const bytes before = ReadFile(dir / "c.cam");
  StoreOrientation(dir / "c.cam", 2);
  EXPECT_EQ(StoredOrientationOf(dir / "c.cam"), 2);
  tpictureproperties props;
  props.SetFile(dir / "c.cam");
  props.Load();
  EXPECT_EQ(props.Title(), "Harbour");
  EXPECT_EQ(ReadFile(dir / "c.cam"), before);
  EXPECT_THROW(StoreOrientation(dir / "c.cam", 4), std::exception);
}

class CamToJpegTest : public PictureDocumentTest {};

TEST_F(CamToJpegTest, NamesKeepTheFolderAndLowerTheFileName) {
  EXPECT_EQ(JpegNameForCam("/media/PICS/A.CAM"), "/media/PICS/a.jpg");
  EXPECT_EQ(JpegNameForCam("/x/Holiday.Cam"), "/x/holiday.jpg");
  EXPECT_EQ(JpegNameForCam("b.cam"), "b.jpg");
}

TEST_F(CamToJpegTest, SavesCamPicturesWithCompanionsSkipsOthersAndDeletesNothing) {
  std::filesystem::create_directory(dir / "PICS");
  const std::string folder = dir / "PICS";
  WriteFile(folder + "/A.CAM", CamOf(480, 240, 10));
  SetOrientation(folder + "/A.CAM", 1, "Quay");
  WriteFile(folder + "/B.JPG", JpegOf(64, 48, 11));
  WriteFile(folder + "/C.CAM", bytes(100, 0x20));  // damaged
  WriteFile(folder + "/D.CAM", CamOf(480, 240, 12));
  WriteFile(folder + "/d.jpg", bytes{1, 2, 3});  // name already taken
  WriteFile(folder + "/E.avi", bytes{0});
  const bytes companion = ReadFile(CompanionPath(folder + "/A.CAM"));

  tcamtojpegoptions o;
  std::vector<std::string> seen;
  o.onFile = [&](const std::string& f) { seen.push_back(f); };
  const std::vector<std::string> files = {folder + "/A.CAM", folder + "/B.JPG", folder + "/C.CAM",
                                          folder + "/D.CAM", folder + "/E.avi"};
  const tcamtojpegreport r = SaveCamFilesAsJpegs(files, doc, o);
  EXPECT_EQ(seen, files);
  ASSERT_EQ(r.saved, std::vector<std::string>{folder + "/a.jpg"});
  EXPECT_EQ(r.skipped,
            (std::vector<std::string>{folder + "/B.JPG", folder + "/D.CAM", folder + "/E.avi"}));
  ASSERT_EQ(r.failed.size(), 1u);
  EXPECT_EQ(r.failed[0].rfind(folder + "/C.CAM: ", 0), 0u);
  EXPECT_TRUE(r.error.empty());
  EXPECT_EQ(r.Summary(), "Saved 1, skipped 3, failed 1");

  // The JPEG holds the picture as opened: turned by the stored orientation.
  TJPEGImage saved;
  saved.LoadFromFile(folder + "/a.jpg");
  tpicturedocument check(pipeline);
  check.OpenPictureFile(folder + "/A.CAM", {});
  EXPECT_EQ(saved.Width(), check.Picture().Width());
  EXPECT_EQ(saved.Height(), check.Picture().Height());
  EXPECT_GT(saved.Height(), saved.Width());
  // The companion went along byte for byte; nothing was removed or replaced.
  EXPECT_EQ(ReadFile(CompanionPath(folder + "/a.jpg")), companion);
  for (const char* name : {"A.CAM", "B.JPG", "C.CAM", "D.CAM", "E.avi"})
    EXPECT_TRUE(std::filesystem::exists(folder + "/" + name)) << name;
  EXPECT_EQ(ReadFile(folder + "/d.jpg"), (bytes{1, 2, 3}));
  EXPECT_TRUE(std::filesystem::exists(CompanionPath(folder + "/A.CAM")));
  // No temp files are left behind.
  int count = 0;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    (void)e;
    ++count;
  }
  EXPECT_EQ(count, 10);  // 6 pictures + a.jpg + two companions + the list of hidden names
  EXPECT_EQ(ReadFile(folder + "/.hidden"), (bytes{'A', '.', 'Q', 'V', 'C', '\n', 'a', '.', 'Q',
                                                  'V', 'J', '\n'}));
}

TEST_F(CamToJpegTest, StopEndsTheBatchBetweenFiles) {
  WriteFile(dir / "a.cam", CamOf(480, 240, 13));
  WriteFile(dir / "b.cam", CamOf(480, 240, 14));
  tcamtojpegoptions o;
  int polls = 0;
  o.stopRequested = [&] {
    ++polls;
    return true;
  };
  const auto r = SaveCamFilesAsJpegs({dir / "a.cam", dir / "b.cam"}, doc, o);
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.saved.size(), 1u);
  EXPECT_EQ(polls, 1);
  EXPECT_FALSE(std::filesystem::exists(dir / "b.jpg"));
  EXPECT_EQ(r.Summary(), "Saved 1, skipped 0, failed 0 (stopped)");
}

}  // namespace
}  // namespace vantlo
