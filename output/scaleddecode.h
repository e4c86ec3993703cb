// Decoding a JPEG no larger than it is drawn: libjpeg scales by 1/2, 1/4 or 1/8 inside the
// inverse DCT at a fraction of the cost of a full decode, so a picture drawn into a small cell
// of a contact sheet or a page is decoded at the smallest of those scales that still covers
// the cell.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "output/cellgeometry.h"
#include "picture/jpegimage.h"

namespace vantlo {

struct tpicturesize {
  int width = 0;
  int height = 0;
};

// Width and height from the frame header (SOF0..SOF15 but DHT, JPG and DAC) of a JPEG stream;
// nothing when the stream ends or breaks before one.
std::optional<tpicturesize> JpegFrameSize(std::span<const std::uint8_t> data);

// The smallest DCT scale at which a width x height picture, fitted into `cell` keeping its
// aspect ratio, still has at least one decoded pixel per drawn pixel.
JpegScale ScaleCovering(tpicturesize picture, const tcellrect& cell);

// Loads `data` into `image` at the scale that covers `cell` (full size when the header cannot be
// read: the decoder then reports what is wrong). The JPEG data are kept whole.
void LoadJpegForCell(std::span<const std::uint8_t> data, const tcellrect& cell, TJPEGImage& image);

}  // namespace vantlo
