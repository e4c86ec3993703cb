// One movie being written through FFmpeg's libraries onto an open file descriptor: the
// container (AVI for the full-frame and Motion JPEG codecs, MP4 for H.264), one video stream
// named "Vantlo Stream" at a whole number of frames per second, and the encoder with the
// colour conversion from the program's 24-bit bitmaps. The descriptor must be seekable: the
// muxers go back to fill in their headers and indexes (AVI beyond 1 GiB continues as an
// OpenDML file). Every FFmpeg object is owned here and freed on every path.
#pragma once

#include <memory>

#include "output/moviecodecs.h"
#include "picture/bitmap.h"

namespace vantlo {

inline constexpr const char* kMovieStreamName = "Vantlo Stream";

class tmoviewriter {
 public:
  // Opens the container and the encoder for frames of width x height (both at least 1) at
  // `fps` frames per second (1..1000) and writes the header. Throws toutputerror.
  tmoviewriter(int fd, tmoviecodec codec, int fps, int width, int height);
  ~tmoviewriter();
  tmoviewriter(const tmoviewriter&) = delete;
  tmoviewriter& operator=(const tmoviewriter&) = delete;

  // Encodes `frame` (24-bit, of the writer's size) as the next frame.
  void WriteFrame(const tbitmap& frame);
  // Drains the encoder and writes the trailer; the file then plays. No frames after this.
  void Finish();
  int FramesWritten() const { return frames_; }

  // Whether the codec's encoder exists in the libraries this program runs with.
  static bool EncoderAvailable(tmoviecodec codec);

 private:
  struct tstate;
  void Send(bool flush);
  std::unique_ptr<tstate> s_;
  int frames_ = 0;
  bool finished_ = false;
};

}  // namespace vantlo
