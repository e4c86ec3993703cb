// Mini movie benchmark: 200 frames of 640 x 480 saved as a Motion JPEG AVI by SaveMovie (frames
// cut out of the movie's pictures, colour conversion, encoding, writing), against ffmpeg on the
// same frames as PPM files in the same run, `ffmpeg -framerate 10 -i frame%03d.ppm -c:v mjpeg
// out.avi`. Prints `name: value` lines:
//   mjpeg.ours_seconds          median CPU time of our save
//   mjpeg.ffmpeg_seconds        median CPU time of the ffmpeg child (user plus system)
//   mjpeg.ratio                 ours / ffmpeg; goal at most 1.2
//   mjpeg.ffmpeg_q3_seconds     ffmpeg at our quantiser (-q:v 3), for the same picture quality
//   mjpeg.ratio_q3              ours / that
// ffmpeg's plain command encodes at its default bit rate (coarse frames, fewer bits to code);
// the -q:v 3 run makes the frames we make. CPU time is used because the machine is often
// shared. The frames are generated into a temp folder and removed at the end.
// Usage: bench_movie [--ffmpeg PATH] [--reps N]
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

#include "benchutil.h"
#include "output/minimovie.h"
#include "output/moviesave.h"
#include "picture/rawencoder.h"

namespace {

using namespace vantlo;
using namespace vantlo::bench;
namespace fs = std::filesystem;

constexpr int kFrames = 200;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

void Print(const std::string& name, double value) {
  std::printf("%s: %.3f\n", name.c_str(), value);
  std::fflush(stdout);
}

std::vector<std::uint8_t> Ppm(const tbitmap& b) {
  const std::string header =
      "P6\n" + std::to_string(b.Width()) + " " + std::to_string(b.Height()) + "\n255\n";
  std::vector<std::uint8_t> out(header.begin(), header.end());
  for (int y = 0; y < b.Height(); ++y) {
    const std::uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < b.Width(); ++x) {
      out.push_back(p[3 * x + 2]);
      out.push_back(p[3 * x + 1]);
      out.push_back(p[3 * x]);
    }
  }
  return out;
}

double FfmpegSeconds(const std::string& ffmpeg, const fs::path& folder, bool q3, int reps) {
  std::vector<std::string> argv = {ffmpeg,       "-y",   "-v", "error",
                                   "-framerate", "10",   "-i", (folder / "frame%03d.ppm").string(),
                                   "-c:v",       "mjpeg"};
  if (q3) argv.insert(argv.end(), {"-q:v", "3"});
  argv.push_back((folder / (q3 ? "ffmpeg-q3.avi" : "ffmpeg.avi")).string());
  std::vector<double> samples;
  for (int r = 0; r < reps; ++r) {
    double cpu = 0;
    if (RunQuiet(argv, &cpu) != 0) throw std::runtime_error("ffmpeg failed: " + ffmpeg);
    samples.push_back(cpu);
  }
  return Median(samples);
}

}  // namespace

int main(int argc, char** argv) {
  std::string ffmpeg = "/usr/bin/ffmpeg";
  int reps = 3;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--ffmpeg" && i + 1 < argc) {
      ffmpeg = argv[++i];
    } else if (a == "--reps" && i + 1 < argc) {
      reps = std::max(1, std::atoi(argv[++i]));
    } else {
      std::fprintf(stderr, "usage: bench_movie [--ffmpeg PATH] [--reps N]\n");
      return 2;
    }
  }
  try {
    ttempfolder temp("vantlo-moviebench");
    tminimovie movie;
    for (int i = 0; i < kFrames; ++i) {
      const tbitmap picture = MakeTestPicture(kWidth, kHeight, i);
      char name[32];
      std::snprintf(name, sizeof name, "frame%03d.ppm", i);
      WriteFile(temp.Path() / name, Ppm(picture));
      movie.AddSourcePicture(name, picture, 0);
    }
    tmoviesaveoptions options;
    options.codec = tmoviecodec::motionJpeg;
    options.fps = 10;
    options.width = movie.FrameWidth();
    options.height = movie.FrameHeight();
    options.frameCount = movie.FrameCount();
    const std::string ours = (temp.Path() / "ours.avi").string();
    const double oursSeconds = MedianTime(
        [&] { SaveMovie(ours, options, [&](int n, tbitmap& frame) { movie.GetFrame(n, frame); }); },
        reps, 0, reps);
    const double theirs = FfmpegSeconds(ffmpeg, temp.Path(), false, reps);
    const double theirsQ3 = FfmpegSeconds(ffmpeg, temp.Path(), true, reps);
    Print("mjpeg.ours_seconds", oursSeconds);
    Print("mjpeg.ffmpeg_seconds", theirs);
    Print("mjpeg.ratio", theirs > 0 ? oursSeconds / theirs : 0);
    Print("mjpeg.ffmpeg_q3_seconds", theirsQ3);
    Print("mjpeg.ratio_q3", theirsQ3 > 0 ? oursSeconds / theirsQ3 : 0);
    Print("mjpeg.ours_bytes", static_cast<double>(fs::file_size(ours)));
    Print("mjpeg.ffmpeg_bytes", static_cast<double>(fs::file_size(temp.Path() / "ffmpeg.avi")));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_movie: %s\n", e.what());
    return 1;
  }
  return 0;
}
