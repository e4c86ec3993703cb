// The cameras' picture formats and the CAM file: wrapping raw camera data into
// a JFIF stream, writing and reading CAM files, and decoding raw thumbnails.
// Every length and offset taken from the data is checked against what is
// there; bad input throws tpictureerror with the message of the step that
// found it, and nothing is read past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "picture/bitmap.h"
#include "picture/jpegimage.h"

namespace vantlo {

using tbytes = std::vector<std::uint8_t>;

inline constexpr std::size_t kRawHeaderSize = 136;
inline constexpr std::size_t kRawThumbnailSize = 2808;
inline constexpr int kThumbnailWidth = 52;
inline constexpr int kThumbnailHeight = 36;
inline constexpr std::size_t kCamHeaderSize = 54;

// Raw flavour 0/1 data -> JFIF stream; a JPEG (FF D8) is copied unchanged.
// Throws "Unsupported Camera Format" (also for a header or scans cut short).
void RawToJfif(std::span<const std::uint8_t> raw, tbytes& out);
// Camera data -> CAM file image. kind is the picture kind code (3 selects area id 10).
void RawToCamFile(std::span<const std::uint8_t> data, tbytes& out, int kind);
// The raw picture (area id 3) of a CAM file that is not JPEG-bearing.
void ExtractPictureArea(std::span<const std::uint8_t> cam, tbytes& out);

// True when the first directory entry's id byte (offset 7) is 4, 7, 9, 10 or 12.
bool IsJpegBearingCam(std::span<const std::uint8_t> cam);
// Offset of the JPEG in a JPEG-bearing CAM file: byte 5 * 16 + 6. Throws
// "Unable to parse CAM file (picture area missing)" when it lies past the end.
std::size_t CamJpegOffset(std::span<const std::uint8_t> cam);

// Loads a CAM file's picture for a preview: JPEG-bearing files at one eighth
// scale (isjpeg = true), raw ones through ExtractPictureArea and RawToJfif at
// full scale (isjpeg = false).
void LoadCamPreview(std::span<const std::uint8_t> cam, TJPEGImage& image, bool& isjpeg);

// 2808-byte raw thumbnail -> 52 x 36 24-bit bitmap. Throws "Thumbnail data too
// short" when fewer than 2808 bytes are given; extra bytes are ignored.
void DecodeThumbnail(std::span<const std::uint8_t> raw, tbitmap& bitmap);
// Small JPEG thumbnail of the file-based cameras, stretched over the whole
// bitmap; a bitmap of width 0 is first made 52 x 36. A thumbnail claiming
// more than the thumbnail limits (a megapixel) is refused.
void DecodeJpegThumbnail(std::span<const std::uint8_t> jpeg, tbitmap& bitmap);

}  // namespace vantlo
