#include "output/moviecodecs.h"

#include "output/moviewriter.h"

namespace vantlo {

const char* CodecName(tmoviecodec codec) {
  switch (codec) {
    case tmoviecodec::fullFrames:
      return "Full Frames (Uncompressed)";
    case tmoviecodec::motionJpeg:
      return "Motion JPEG";
    case tmoviecodec::h264:
      return "H.264 (MP4)";
  }
  return "";
}

const char* CodecExtension(tmoviecodec codec) {
  return codec == tmoviecodec::h264 ? ".mp4" : ".avi";
}

bool CodecAvailable(tmoviecodec codec) { return tmoviewriter::EncoderAvailable(codec); }

std::vector<tmoviecodec> AvailableCodecs() {
  std::vector<tmoviecodec> codecs;
  for (tmoviecodec c : {tmoviecodec::fullFrames, tmoviecodec::motionJpeg, tmoviecodec::h264})
    if (CodecAvailable(c)) codecs.push_back(c);
  return codecs;
}

std::optional<tmoviecodec> CodecFromKey(std::string_view key) {
  if (key == "raw") return tmoviecodec::fullFrames;
  if (key == "mjpeg") return tmoviecodec::motionJpeg;
  if (key == "h264") return tmoviecodec::h264;
  return std::nullopt;
}

}  // namespace vantlo
