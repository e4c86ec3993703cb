// The pictures a simulated camera holds, in the camera's own formats: raw flavour 0 data (classic
// normal pictures), raw flavour 1 data (classic fine pictures),
// JPEG data or raw flavour 1 data (extended), JPEG files and AVI placeholders (file system), each
// with its 2808-byte raw thumbnail. Pictures of a fixed byte size (for the link benchmark) are
// placeholder raw data whose header follows the raw layout. Kept in its own file so that the
// protocol code does not depend on how pictures are made.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "simulator/simcamera.h"

namespace vantlo::camsim {

using Bytes = std::vector<uint8_t>;

struct SimPicture {
  Bytes data;            // what the picture fetch sends: raw data, or the JPEG/AVI file itself
  Bytes thumbnail;       // 2808-byte raw thumbnail (52 x 36, Y then Cb then Cr)
  Bytes preview;         // file-system cameras: the small JPEG in the PREVIEW folder
  bool fine = false;     // classic: "Fine Mode" picture (bit 1 of the "DY" answer)
  bool protect = false;  // classic: protected against deletion (bit 0 of the "DY" answer)
  int format = 1;        // extended: "XK" answer (1 or 2)
  bool movie = false;    // file-system: an AVI file
  std::string fileName;  // file-system: name in the picture folder, e.g. "CIMG0001.JPG"
};

constexpr size_t kThumbnailBytes = 2808;

// Picture number `serial` (1, 2, ...) of a camera of the given family. `rawBytes` > 0 fixes the
// size of generated raw data (the benchmark asks for exact sizes).
SimPicture MakePicture(Family family, int serial, long rawBytes);

// Loads the JPEG files of a folder (sorted by name) as pictures of the family: classic cameras
// hold them as raw flavour 0 data, extended cameras as JPEG data ("XK" 1), file-system cameras as
// the files unchanged. Throws on an unreadable folder or a file that is not a JPEG.
std::vector<SimPicture> LoadPictures(Family family, const std::string& dir);

}  // namespace vantlo::camsim
