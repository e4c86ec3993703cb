// Saved mini movies read back by FFmpeg's own tools: ffprobe counts the frames and reports the
// size, rate and stream name exactly; frames decoded with ffmpeg match the frames cut out of
// the pictures (byte for byte uncompressed, closely for Motion JPEG and H.264). A stopped save
// plays with the frames written; a failed one leaves an existing movie as it was; no frames, no
// file. Skipped where ffprobe or ffmpeg are not installed.
#include "output/moviesave.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "movieprobe.h"
#include "output/minimovie.h"
#include "output/moviewriter.h"
#include "output/outputerror.h"

namespace vantlo {
namespace {

namespace fs = std::filesystem;
using testutil::DecodeFrames;
using testutil::HaveMovieTools;
using testutil::MeanAbsoluteDifference;
using testutil::Probe;

// Two 2x2 burst pictures with smooth, different content in every frame: eight frames.
tminimovie TwoBursts(int fw, int fh) {
  tminimovie movie;
  movie.SetGrid(2, 2);
  for (int p = 0; p < 2; ++p) {
    tbitmap b(2 * fw, 2 * fh);
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        std::uint8_t* px = b.ScanLine(y) + 3 * x;
        const int k = p * 4 + (y / fh) * 2 + x / fw;
        px[0] = static_cast<std::uint8_t>((x % fw) * 200 / fw + k * 5);
        px[1] = static_cast<std::uint8_t>((y % fh) * 200 / fh + 20);
        px[2] = static_cast<std::uint8_t>(30 + k * 25);
      }
    movie.AddSourcePicture("burst" + std::to_string(p) + ".jpg", b, 0);
  }
  return movie;
}

class MovieSave : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveMovieTools()) GTEST_SKIP() << "ffprobe and ffmpeg are needed to read movies back";
    ASSERT_TRUE(dir_.isValid());
  }
  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }

  tmoviesaveresult Save(tminimovie& movie, const std::string& path, tmoviecodec codec, int fps,
                        int stopAt = -1) {
    tmoviesaveoptions o;
    o.codec = codec;
    o.fps = fps;
    o.width = movie.FrameWidth();
    o.height = movie.FrameHeight();
    o.frameCount = movie.FrameCount();
    texts_.clear();
    return SaveMovie(
        path, o, [&movie](int i, tbitmap& frame) { movie.GetFrame(i, frame); },
        [this, stopAt](int position, const std::string& text) {
          texts_.push_back(std::to_string(position) + " " + text);
          return static_cast<int>(texts_.size()) - 1 == stopAt;
        });
  }

  // The movie's frames decoded back against the frames of `movie`: exact, or within `mad`.
  void ExpectFrames(tminimovie& movie, const std::string& path, int count, double mad) {
    const std::vector<tbitmap> decoded = DecodeFrames(path, path + ".frames");
    ASSERT_EQ(static_cast<int>(decoded.size()), count);
    for (int i = 0; i < count; ++i) {
      tbitmap frame(movie.FrameWidth(), movie.FrameHeight());
      movie.GetFrame(i, frame);
      if (mad == 0)
        EXPECT_TRUE(decoded[i] == frame) << "frame " << i;
      else
        EXPECT_LT(MeanAbsoluteDifference(decoded[i], frame), mad) << "frame " << i;
    }
  }

  QTemporaryDir dir_;
  std::vector<std::string> texts_;
};

TEST_F(MovieSave, FullFramesAreStoredExactlyEvenInRowsThatNeedPadding) {
  for (const int width : {160, 161}) {  // 161 x 3 bytes is not a whole number of words
    tminimovie movie = TwoBursts(width, 121);
    const std::string path = Path("full" + std::to_string(width) + ".avi");
    const tmoviesaveresult r = Save(movie, path, tmoviecodec::fullFrames, 7);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.framesWritten, 8);
    auto probe = Probe(path);
    EXPECT_EQ(probe["codec_name"], "rawvideo");
    EXPECT_EQ(probe["nb_read_frames"], "8");
    EXPECT_EQ(probe["width"], std::to_string(width));
    EXPECT_EQ(probe["height"], "121");
    EXPECT_EQ(probe["r_frame_rate"], "7/1");
    EXPECT_EQ(probe["TAG:title"], kMovieStreamName);
    ExpectFrames(movie, path, 8, 0);
    EXPECT_LE(fs::file_size(path), FullFrameMovieBytes(width, 121, 8));
  }
  EXPECT_EQ(texts_.front(), "0 Saving Frame 1 of 8");
  EXPECT_EQ(texts_.back(), "88 Saving Frame 8 of 8");
}

TEST_F(MovieSave, MotionJpegFramesAreCloseToThePictures) {
  tminimovie movie = TwoBursts(160, 120);
  const std::string path = Path("mjpeg.avi");
  const mode_t umask = ::umask(022);
  EXPECT_TRUE(Save(movie, path, tmoviecodec::motionJpeg, 10).written);
  ::umask(umask);
  // An ordinary file: readable by all, writable by its owner as the umask says.
  EXPECT_EQ(fs::status(path).permissions(), fs::perms(0644));
  auto probe = Probe(path);
  EXPECT_EQ(probe["codec_name"], "mjpeg");
  EXPECT_EQ(probe["nb_read_frames"], "8");
  EXPECT_EQ(probe["width"], "160");
  EXPECT_EQ(probe["height"], "120");
  EXPECT_EQ(probe["r_frame_rate"], "10/1");
  EXPECT_EQ(probe["TAG:title"], kMovieStreamName);
  ExpectFrames(movie, path, 8, 3.0);
}

TEST_F(MovieSave, H264FramesAreCloseToThePicturesInAnMp4File) {
  if (!CodecAvailable(tmoviecodec::h264)) GTEST_SKIP() << "no H.264 encoder here";
  tminimovie movie = TwoBursts(160, 120);
  const std::string path = Path("movie.mp4");
  EXPECT_TRUE(Save(movie, path, tmoviecodec::h264, 20).written);
  auto probe = Probe(path);
  EXPECT_EQ(probe["codec_name"], "h264");
  EXPECT_EQ(probe["nb_read_frames"], "8");
  EXPECT_EQ(probe["width"], "160");
  EXPECT_EQ(probe["height"], "120");
  EXPECT_EQ(probe["r_frame_rate"], "20/1");
  ExpectFrames(movie, path, 8, 4.0);

  // Frames of an odd size are encoded one pixel larger (4:2:0 colour needs even sizes).
  tminimovie odd = TwoBursts(81, 61);
  EXPECT_TRUE(Save(odd, Path("odd.mp4"), tmoviecodec::h264, 5).written);
  probe = Probe(Path("odd.mp4"));
  EXPECT_EQ(probe["width"], "82");
  EXPECT_EQ(probe["height"], "62");
  EXPECT_EQ(probe["nb_read_frames"], "8");
}

TEST_F(MovieSave, AStoppedSavePlaysWithTheFramesWrittenSoFar) {
  std::vector<tmoviecodec> codecs = {tmoviecodec::fullFrames, tmoviecodec::motionJpeg};
  if (CodecAvailable(tmoviecodec::h264)) codecs.push_back(tmoviecodec::h264);
  for (tmoviecodec codec : codecs) {
    tminimovie movie = TwoBursts(160, 120);
    const std::string path = Path(std::string("stopped") + CodecExtension(codec));
    const tmoviesaveresult r = Save(movie, path, codec, 10, 3);  // stop asked before frame 4
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(r.written);
    EXPECT_EQ(r.framesWritten, 3);
    EXPECT_EQ(Probe(path)["nb_read_frames"], "3") << CodecName(codec);
    ExpectFrames(movie, path, 3, codec == tmoviecodec::fullFrames ? 0 : 4.0);
  }
}

TEST_F(MovieSave, NoFramesNoFile) {
  tminimovie empty;
  const std::string path = Path("empty.avi");
  try {
    Save(empty, path, tmoviecodec::motionJpeg, 10);
    ADD_FAILURE() << "an empty movie was saved";
  } catch (const toutputerror& e) {
    EXPECT_STREQ(e.what(), kNoMiniMovie);
  }
  EXPECT_FALSE(fs::exists(path));

  // A stop before the first frame writes nothing either.
  tminimovie movie = TwoBursts(16, 12);
  const tmoviesaveresult r = Save(movie, path, tmoviecodec::motionJpeg, 10, 0);
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(r.written);
  EXPECT_FALSE(fs::exists(path));
  EXPECT_EQ(
      std::distance(fs::directory_iterator(dir_.path().toStdString()), fs::directory_iterator()),
      0);
}

TEST_F(MovieSave, AFailedSaveLeavesTheExistingMovieAsItWas) {
  const std::string path = Path("kept.avi");
  { std::ofstream(path) << "the movie saved yesterday"; }
  tminimovie movie = TwoBursts(16, 12);
  tmoviesaveoptions o{tmoviecodec::motionJpeg, 10, 16, 12, 8};
  EXPECT_THROW(SaveMovie(path, o,
                         [&](int i, tbitmap& frame) {
                           if (i == 2) throw toutputerror("Unable to parse the JPEG data");
                           movie.GetFrame(i, frame);
                         }),
               toutputerror);
  std::ifstream in(path);
  std::string text;
  std::getline(in, text);
  EXPECT_EQ(text, "the movie saved yesterday");
  // No temporary file is left beside it.
  EXPECT_EQ(
      std::distance(fs::directory_iterator(dir_.path().toStdString()), fs::directory_iterator()),
      1);

  // A folder that does not exist: the reason, with the path.
  try {
    SaveMovie(Path("no/such/folder/m.avi"), o, [&](int i, tbitmap& f) { movie.GetFrame(i, f); });
    ADD_FAILURE() << "saved into a missing folder";
  } catch (const toutputerror& e) {
    EXPECT_NE(std::string(e.what()).find("no/such/folder/m.avi"), std::string::npos) << e.what();
  }
}

TEST(MovieCodecs, TheChoicesAndTheirFiles) {
  const auto codecs = AvailableCodecs();
  ASSERT_GE(codecs.size(), 2u);
  EXPECT_EQ(codecs[0], tmoviecodec::fullFrames);
  EXPECT_EQ(codecs[1], tmoviecodec::motionJpeg);
  EXPECT_STREQ(CodecName(tmoviecodec::fullFrames), "Full Frames (Uncompressed)");
  EXPECT_STREQ(CodecName(tmoviecodec::motionJpeg), "Motion JPEG");
  EXPECT_STREQ(CodecName(tmoviecodec::h264), "H.264 (MP4)");
  EXPECT_STREQ(CodecExtension(tmoviecodec::h264), ".mp4");
  EXPECT_STREQ(CodecExtension(tmoviecodec::motionJpeg), ".avi");
  EXPECT_EQ(CodecFromKey("raw"), tmoviecodec::fullFrames);
  EXPECT_EQ(CodecFromKey("mjpeg"), tmoviecodec::motionJpeg);
  EXPECT_EQ(CodecFromKey("h264"), tmoviecodec::h264);
  EXPECT_FALSE(CodecFromKey("divx"));
}

}  // namespace
}  // namespace vantlo
