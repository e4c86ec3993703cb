// EXIF thumbnails of JPEG files, for the disk browser: detection and the two
// thumbnail forms (an embedded JPEG, or an uncompressed 80 x 60 YCbCr picture
// at the end of the first application segment).
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

#include "picture/bitmap.h"

namespace vantlo {

inline constexpr std::size_t kExifReadSize = 20480;

// True when the file's bytes 6..9, upper-cased, are "EXIF".
bool IsExifFile(const std::filesystem::path& path);
// Sizes bitmap to 80 x 60 (segment longer than 9600) or 68 x 54 and draws the
// thumbnail into it; false when the file is too short or the segment too small.
bool ReadExifThumbnail(const std::filesystem::path& path, tbitmap& bitmap);
// Draws the thumbnail found in the segment stretched over the whole bitmap, or
// leaves the bitmap untouched. With complete = false (the segment was cut at
// the bytes read) only the embedded JPEG form is tried.
void DecodeEmbeddedThumbnail(std::span<const std::uint8_t> segment, tbitmap& bitmap,
                             bool complete = true);

}  // namespace vantlo
