#include "tools/cli/movie_command.h"

#include <exception>
#include <iostream>
#include <optional>

#include "app/core/fetchworkflow.h"
#include "app/core/moviepictures.h"
#include "library/regconfig.h"
#include "library/textnocase.h"
#include "output/minimovie.h"
#include "output/moviesave.h"
#include "picture/pipeline.h"
#include "tools/cli/camerasession.h"
#include "tools/cli/cliargs.h"
#include "tools/cli/commands.h"
#include "tools/cli/progressbar.h"

namespace vantlo::cli {

const char* const kMovieUsage =
    "  movie OUT.avi|OUT.mp4 FILES... [--fps N] [--grid RxC] [--codec raw|mjpeg|h264]\n"
    "                    a mini movie of the JPEG and CAM FILES in order, each a single frame\n"
    "                    or a burst of R x C frames (1..8 each); N frames per second (1..60,\n"
    "                    default 10); raw and mjpeg (the default) make AVI files, h264 MP4\n";

namespace {

struct tmovieargs {
  std::string output;
  std::vector<std::string> files;
  int fps = 10;
  int rows = 1;
  int columns = 1;
  std::optional<tmoviecodec> codec;
};

// Whether `path` has the four-character ending `ending` (".avi", ".mp4"), in any case.
bool HasEnding(const std::string& path, const std::string& ending) {
  return EqualsNoCase(UpperTail4(path), ending);
}

void ParseGrid(const std::string& text, tmovieargs& a) {
  const auto x = text.find_first_of("xX");
  if (x == std::string::npos) throw UsageError("movie: --grid takes RxC, such as 2x2: " + text);
  a.rows = ParseNumber(text.substr(0, x), "--grid rows", 1, tminimovie::kMaxGrid);
  a.columns = ParseNumber(text.substr(x + 1), "--grid columns", 1, tminimovie::kMaxGrid);
}

tmovieargs Parse(const std::vector<std::string>& args) {
  tmovieargs a;
  std::vector<std::string> names;
  toptionwalk walk("movie", args);
  while (walk.Next()) {
    const std::string& word = walk.Word();
    if (word == "--fps") {
      a.fps = ParseNumber(walk.Value(), "--fps", 1, 60);
    } else if (word == "--grid") {
      ParseGrid(walk.Value(), a);
    } else if (word == "--codec") {
      const std::string key = walk.Value();
      a.codec = CodecFromKey(key);
      if (!a.codec) throw UsageError("movie: --codec takes raw, mjpeg or h264: " + key);
    } else if (walk.IsOption()) {
      walk.Unknown();
    } else {
      names.push_back(word);
    }
  }
  if (names.size() < 2) throw UsageError("movie: give OUT.avi or OUT.mp4 and the picture files");
  a.output = names.front();
  a.files.assign(names.begin() + 1, names.end());
  const bool mp4 = HasEnding(a.output, ".mp4");
  if (!mp4 && !HasEnding(a.output, ".avi"))
    throw UsageError("movie: the movie's name must end in .avi or .mp4: " + a.output);
  if (!a.codec) a.codec = mp4 ? tmoviecodec::h264 : tmoviecodec::motionJpeg;
  if ((*a.codec == tmoviecodec::h264) != mp4)
    throw UsageError(std::string("movie: ") + CodecName(*a.codec) + " is written as " +
                     (mp4 ? "OUT.avi" : "OUT.mp4"));
  return a;
}

}  // namespace

int RunMovieCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  tmovieargs a;
  try {
    a = Parse(args);
  } catch (const UsageError& e) {
    err << e.what() << "\nusage: vantlo-cli [options]\n" << kMovieUsage;
    return 2;
  }
  try {
    if (!CodecAvailable(*a.codec))
      throw std::runtime_error(std::string("This computer has no encoder for ") +
                               CodecName(*a.codec));
    // CAM files decode with the stored picture settings, as in the window.
    tsettingsrecords records;
    tregconfig store;
    store.ReadAll(records);
    tpicturepipeline pipeline;
    ApplyPictureSettings(FetchSettingsFrom(records), pipeline);

    tminimovie movie;
    movie.SetGrid(a.rows, a.columns);
    AddMoviePictures(movie, a.files, pipeline);

    tmoviesaveoptions options;
    options.codec = *a.codec;
    options.fps = a.fps;
    options.width = movie.FrameWidth();
    options.height = movie.FrameHeight();
    options.frameCount = movie.FrameCount();
    ProgressBar bar;
    bar.Begin("Saving " + a.output);
    const tmoviesaveresult result = SaveMovie(
        a.output, options, [&movie](int i, tbitmap& frame) { movie.GetFrame(i, frame); },
        [&bar](int position, const std::string&) {
          bar.Report(position);
          return CameraSession::StopRequested();
        });
    bar.End();
    if (!result.written) {
      err << "movie: stopped before the first frame; nothing was written\n";
      return 1;
    }
    out << a.output << ": " << result.framesWritten << " frames of " << options.width << " x "
        << options.height << " at " << a.fps << " frames per second"
        << (result.stopped ? " (stopped)" : "") << "\n";
    return result.stopped ? 1 : 0;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

int RunMovie(CameraSession&, const Arguments& args) {
  return RunMovieCommand(args, std::cout, std::cerr);
}

}  // namespace vantlo::cli
