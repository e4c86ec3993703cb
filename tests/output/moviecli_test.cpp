// vantlo-cli movie, run as built: burst JPEGs cut into frames and saved at the rate asked for,
// read back by ffprobe; the codec follows the file's ending; usage errors and pictures that
// cannot be in a movie.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>

#include "movieprobe.h"
#include "output/moviecodecs.h"
#include "outputtestutil.h"
#include "picture/jpegimage.h"

#ifdef VANTLO_CLI_PATH

namespace vantlo {
namespace {

class MovieCli : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testutil::HaveMovieTools()) GTEST_SKIP() << "ffprobe and ffmpeg are needed";
    for (int i = 0; i < 3; ++i) {
      const std::string name = Path("burst" + std::to_string(i) + ".jpg");
      files_ += " '" + name + "'";
      const auto jpeg = CompressJpeg(testutil::Solid(320, 240, QColor(40 * i, 90, 200)), 90, false);
      std::FILE* f = std::fopen(name.c_str(), "wb");
      std::fwrite(jpeg.data(), 1, jpeg.size(), f);
      std::fclose(f);
    }
  }
  std::string Path(const std::string& name) {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
  }
  int Cli(const std::string& args) {
    int status = 0;
    output = testutil::Run(
        "VANTLO_CONFIG_DIR='" + Path("cfg") + "' " + VANTLO_CLI_PATH + " " + args + " 2>&1",
        status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  QTemporaryDir dir_;
  std::string files_;
  std::string output;
};

TEST_F(MovieCli, ThreeTwoByTwoBurstsAreTwelveFramesAtTheRateAsked) {
  ASSERT_EQ(Cli("movie '" + Path("m.avi") + "'" + files_ + " --grid 2x2 --fps 5"), 0) << output;
  auto probe = testutil::Probe(Path("m.avi"));
  EXPECT_EQ(probe["codec_name"], "mjpeg");
  EXPECT_EQ(probe["nb_read_frames"], "12");
  EXPECT_EQ(probe["width"], "160");
  EXPECT_EQ(probe["height"], "120");
  EXPECT_EQ(probe["r_frame_rate"], "5/1");

  ASSERT_EQ(Cli("movie '" + Path("raw.avi") + "'" + files_ + " --codec=raw"), 0) << output;
  probe = testutil::Probe(Path("raw.avi"));
  EXPECT_EQ(probe["codec_name"], "rawvideo");
  EXPECT_EQ(probe["nb_read_frames"], "3");
  EXPECT_EQ(probe["r_frame_rate"], "10/1");

  if (CodecAvailable(tmoviecodec::h264)) {
    ASSERT_EQ(Cli("movie '" + Path("m.mp4") + "'" + files_ + " --grid 1x2"), 0) << output;
    probe = testutil::Probe(Path("m.mp4"));
    EXPECT_EQ(probe["codec_name"], "h264");
    EXPECT_EQ(probe["nb_read_frames"], "6");
  }
}

TEST_F(MovieCli, UsageErrorsAndPicturesThatCannotBeInAMovie) {
  EXPECT_EQ(Cli("movie '" + Path("m.mov") + "'" + files_), 2);
  EXPECT_EQ(Cli("movie '" + Path("m.avi") + "'" + files_ + " --codec h264"), 2);
  EXPECT_EQ(Cli("movie '" + Path("m.mp4") + "'" + files_ + " --codec mjpeg"), 2);
  EXPECT_EQ(Cli("movie '" + Path("m.avi") + "'" + files_ + " --grid 9x1"), 2);
  EXPECT_EQ(Cli("movie '" + Path("m.avi") + "'" + files_ + " --grid 2"), 2);
  EXPECT_EQ(Cli("movie '" + Path("m.avi") + "'" + files_ + " --fps 0"), 2);
  EXPECT_EQ(Cli("movie '" + Path("m.avi") + "'"), 2);
  EXPECT_FALSE(std::filesystem::exists(Path("m.avi")));

  {
    std::FILE* f = std::fopen(Path("notes.txt").c_str(), "w");
    std::fclose(f);
  }
  EXPECT_EQ(Cli("movie '" + Path("m.avi") + "'" + files_ + " '" + Path("notes.txt") + "'"), 1);
  EXPECT_NE(output.find("Cannot make a mini movie from " + Path("notes.txt")), std::string::npos)
      << output;
  EXPECT_FALSE(std::filesystem::exists(Path("m.avi")));
}

}  // namespace
}  // namespace vantlo

#endif
