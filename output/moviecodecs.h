// The compressors a mini movie can be saved with, as the compressor choice lists them, and
// which of them this machine's FFmpeg libraries can write.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vantlo {

enum class tmoviecodec {
  fullFrames,  // "Full Frames (Uncompressed)": 24-bit frames in an AVI file
  motionJpeg,  // "Motion JPEG": every frame a JPEG picture, in an AVI file
  h264,        // "H.264 (MP4)": where the libraries have an H.264 encoder
};

// The name in the compressor choice.
const char* CodecName(tmoviecodec codec);
// The file ending the codec's container takes: ".avi" or ".mp4".
const char* CodecExtension(tmoviecodec codec);
// Whether this machine can write it (the AVI codecs always; H.264 with an encoder).
bool CodecAvailable(tmoviecodec codec);
// The choices offered, in order.
std::vector<tmoviecodec> AvailableCodecs();
// "raw", "mjpeg", "h264" (the command line's names), else nothing.
std::optional<tmoviecodec> CodecFromKey(std::string_view key);

}  // namespace vantlo
