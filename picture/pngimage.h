// PNG files of 24-bit bitmaps with text chunks, over libpng: what the disk
// thumbnail cache stores. Written as 8-bit RGBA, non-interlaced, opaque (the
// form the desktop's thumbnail cache asks for); read from any PNG that
// libpng understands, converted to 24 bits. Damaged data fail with
// tpictureerror; libpng never ends the process.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "picture/bitmap.h"

namespace vantlo {

struct tpngtext {
  std::string Key;    // 1 to 79 Latin-1 characters
  std::string Value;  // no NUL
  bool operator==(const tpngtext&) const = default;
};

// Encodes a 24-bit bitmap with tEXt chunks ahead of the picture data.
std::vector<std::uint8_t> EncodePng(const tbitmap& bitmap, const std::vector<tpngtext>& text);

// Decodes a PNG of at most maxside x maxside pixels into a 24-bit bitmap and
// its text chunks (in file order). Every chunk's checksum is checked through
// the end of the file. Throws tpictureerror for damaged, cut-short or larger
// pictures.
tbitmap DecodePng(std::span<const std::uint8_t> data, std::vector<tpngtext>& text,
                  int maxside = 1024);

}  // namespace vantlo
