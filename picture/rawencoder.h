// The inverse of the camera formats: turns any picture into the raw data a
// classic camera delivers (flavour 0: 480 x 240 in three non-interleaved
// scans; flavour 1: 640 x 480 in one interleaved scan) and into a 2808-byte
// raw thumbnail. Used by the simulated camera and by the tests.
#pragma once

#include <cstdint>
#include <vector>

#include "picture/bitmap.h"

namespace vantlo {

// The picture is resized to the flavour's size first. quality 1..100; when a
// scan would not fit the header's 16-bit length the quality is lowered.
std::vector<std::uint8_t> EncodeRawPicture(const tbitmap& picture, int flavour, int quality = 85);
// Resized to 52 x 36; Y per pixel, Cb/Cr (signed) per 2 x 2 block.
std::vector<std::uint8_t> EncodeRawThumbnail(const tbitmap& picture);
// Colourful gradients and shapes, different for each seed, so that decoding
// faults show.
tbitmap MakeTestPicture(int width, int height, int seed);

}  // namespace vantlo
