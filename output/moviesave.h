// Saving a mini movie: frames 0..n-1 in order through tmoviewriter into a temporary file that
// takes the movie's name only when the file is complete, so a failed save never replaces an
// existing movie with a broken one. A stop between frames ends the save with a movie of the
// frames written so far, closed so that it plays.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "output/moviecodecs.h"
#include "picture/bitmap.h"

namespace vantlo {

inline constexpr const char* kNoMiniMovie = "No MiniMovie has been created yet";

struct tmoviesaveoptions {
  tmoviecodec codec = tmoviecodec::motionJpeg;
  int fps = 10;
  int width = 0;  // the frame size
  int height = 0;
  int frameCount = 0;
};

struct tmoviesaveresult {
  int framesWritten = 0;
  bool stopped = false;  // a stop ended the save (nothing is written when it came first)
  bool written = false;  // the movie is at its name
};

// The bytes of a movie of full frames (the uncompressed codec's size is known beforehand).
std::uint64_t FullFrameMovieBytes(int width, int height, int frameCount);

// `frame(i, bitmap)` fills frame i into a bitmap of the frame size. `progress(position, text)`
// is told "Saving Frame i+1 of n" at round(i * 100 / n) before each frame and answers whether
// a stop was requested. Throws toutputerror: kNoMiniMovie for no frames, the file's trouble
// (no room, no permission) with the path; nothing is left at the name then.
tmoviesaveresult SaveMovie(const std::string& path, const tmoviesaveoptions& options,
                           const std::function<void(int, tbitmap&)>& frame,
                           const std::function<bool(int, const std::string&)>& progress = {});

}  // namespace vantlo
