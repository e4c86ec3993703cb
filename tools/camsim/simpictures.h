// The pictures a simulated camera holds, in the camera's own formats. Generated pictures use
// placeholder raw data of realistic size (the first bytes follow the raw layouts so that decoders
// can tell them apart) and real raw thumbnails; file-system cameras hold real JPEG files. Kept in
// its own file so the generator can be replaced by real camera data without touching the protocol.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/camsim/simcamera.h"

namespace vantlo::camsim {

using Bytes = std::vector<uint8_t>;

struct SimPicture {
  Bytes data;  // what the picture fetch sends: raw data, or the JPEG/AVI file itself
  Bytes thumbnail;  // 2808-byte raw thumbnail (52 x 36, Y then Cb then Cr)
  Bytes preview;  // file-system cameras: the small JPEG in the PREVIEW folder
  bool fine = false;  // classic: "Fine Mode" picture ("DY" answers 2)
  int format = 1;  // extended: "XK" answer (1 or 2)
  bool movie = false;  // file-system: an AVI file
  std::string fileName;  // file-system: name in the picture folder, e.g. "CIMG0001.JPG"
};

constexpr size_t kThumbnailBytes = 2808;

// Picture number `serial` (1, 2, ...) of a camera of the given family. `rawBytes` > 0 fixes the
// size of generated raw data (the benchmark asks for exact sizes).
SimPicture MakePicture(Family family, int serial, long rawBytes);

// Loads the JPEG files of a folder (sorted by name) as pictures of the family. File-system
// cameras hold the files unchanged; the others hold the JPEG data as their picture data (a
// layout the decoders accept) with a thumbnail made from the picture. Throws on an unreadable
// folder or a file that is not a JPEG.
std::vector<SimPicture> LoadPictures(Family family, const std::string& dir);

// A 52 x 36 raw thumbnail from a 24-bit RGB image (rows of R, G, B) of any size.
Bytes ThumbnailFromRgb(const Bytes& rgb, int width, int height);

}  // namespace vantlo::camsim
