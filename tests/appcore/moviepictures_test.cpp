// "Add Selected Pics" without the window: JPEG and CAM files into the mini-movie maker with
// their stored orientation (a CAM file turned by it, a JPEG as it is), the building progress,
// and the refusals with the user's texts; the pictures added before a refusal stay.
#include "app/core/moviepictures.h"

#include <gtest/gtest.h>

#include "library/atomicfile.h"
#include "library/pictureproperties.h"
#include "picture/camformats.h"
#include "picture/jpegimage.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"
#include "tempdir.h"

namespace vantlo {
namespace {

using bytes = std::vector<std::uint8_t>;
using testing::TempDir;

void WriteFile(const std::string& path, const bytes& data) { WriteFileAtomic(path, data); }

void WriteJpeg(const std::string& path, int w, int h) {
  WriteFile(path, CompressJpeg(MakeTestPicture(w, h, 3), 90, false));
}

void WriteCam(const std::string& path, int w, int h) {
  tbytes cam;
  RawToCamFile(EncodeRawPicture(MakeTestPicture(w, h, 7), 0), cam, 1);
  WriteFile(path, bytes(cam.begin(), cam.end()));
}

void SetOrientation(const std::string& picture, int code) {
  tpictureproperties p;
  p.SetFile(picture);
  p.SetOrientation(static_cast<std::uint32_t>(code));
  p.Save();
}

std::string Refusal(const std::function<void()>& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no refusal";
}

class MoviePictures : public ::testing::Test {
 protected:
  TempDir dir;
  tpicturepipeline pipeline;
  tminimovie movie;
};

TEST_F(MoviePictures, BurstJpegsBecomeFramesWithTheBuildingProgress) {
  WriteJpeg(dir / "a.jpg", 640, 480);
  WriteJpeg(dir / "B.JPG", 640, 480);
  movie.SetGrid(4, 4);
  std::vector<std::string> texts;
  AddMoviePictures(movie, {dir / "a.jpg", dir / "B.JPG"}, pipeline,
                   [&](int position, const std::string& text) {
                     texts.push_back(std::to_string(position) + " " + text);
                   });
  EXPECT_EQ(texts, (std::vector<std::string>{"50 Building MiniMovie : Picture 1",
                                             "100 Building MiniMovie : Picture 2"}));
  EXPECT_EQ(movie.FrameCount(), 32);
  EXPECT_EQ(movie.FrameWidth(), 160);
  EXPECT_EQ(movie.FrameHeight(), 120);
  EXPECT_EQ(movie.PictureName(1), dir / "B.JPG");
}

TEST_F(MoviePictures, ACamFileIsTurnedByItsStoredOrientationAndAJpegIsNot) {
  WriteCam(dir / "turned.cam", 480, 240);
  SetOrientation(dir / "turned.cam", 1);
  AddMoviePictures(movie, {dir / "turned.cam"}, pipeline);
  EXPECT_EQ(movie.Orientation(), 1);
  // The camera's 480 x 240 decodes to 320 x 240 and stands up as 240 x 320.
  EXPECT_EQ(movie.FrameWidth(), 240);
  EXPECT_EQ(movie.FrameHeight(), 320);

  movie.ClearMovie();
  WriteJpeg(dir / "turned.jpg", 320, 240);
  SetOrientation(dir / "turned.jpg", 1);
  AddMoviePictures(movie, {dir / "turned.jpg"}, pipeline);
  EXPECT_EQ(movie.Orientation(), 1);
  EXPECT_EQ(movie.FrameWidth(), 320);
  EXPECT_EQ(movie.FrameHeight(), 240);
}

TEST_F(MoviePictures, RefusalsKeepThePicturesAddedBefore) {
  WriteCam(dir / "upright.cam", 480, 240);
  WriteJpeg(dir / "side.jpg", 480, 240);
  SetOrientation(dir / "side.jpg", 1);
  EXPECT_EQ(Refusal([&] {
              AddMoviePictures(movie, {dir / "upright.cam", dir / "side.jpg"}, pipeline);
            }),
            kDifferentOrientation);
  EXPECT_EQ(movie.FrameCount(), 1);

  WriteFile(dir / "clip.avi", bytes(100, 1));
  EXPECT_EQ(Refusal([&] { AddMoviePictures(movie, {dir / "clip.avi"}, pipeline); }),
            kCannotMakeMovieFrom + (dir / "clip.avi"));
  WriteFile(dir / "broken.jpg", bytes(100, 0x41));
  EXPECT_EQ(Refusal([&] { AddMoviePictures(movie, {dir / "broken.jpg"}, pipeline); }),
            "Unable to parse the JPEG data");
  WriteFile(dir / "broken.cam", bytes(100, 0x41));
  EXPECT_EQ(Refusal([&] { AddMoviePictures(movie, {dir / "broken.cam"}, pipeline); }),
            "Unable to parse the CAM data");
  EXPECT_EQ(Refusal([&] { AddMoviePictures(movie, {}, pipeline); }), "No Pictures are Selected");
  EXPECT_EQ(movie.FrameCount(), 1);
}

}  // namespace
}  // namespace vantlo
