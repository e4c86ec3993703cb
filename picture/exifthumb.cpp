#include "picture/exifthumb.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

#include "picture/colour.h"
#include "picture/jpegimage.h"
#include "picture/pictureerror.h"
#include "picture/stretchnearest.h"

namespace vantlo {

namespace {

constexpr std::size_t kUncompressedSize = 9600;  // 80 x 60 pixels, 2 bytes each
constexpr int kUncompressedWidth = 80;
constexpr int kUncompressedHeight = 60;

// Reads up to `count` bytes from the start of the file; fewer when it is shorter.
bool ReadStart(const std::filesystem::path& path, std::size_t count,
               std::vector<std::uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.resize(count);
  in.read(reinterpret_cast<char*>(out.data()), static_cast<std::streamsize>(count));
  if (in.bad()) return false;
  out.resize(static_cast<std::size_t>(in.gcount()));
  return true;
}

}  // namespace

bool IsExifFile(const std::filesystem::path& path) {
  std::vector<std::uint8_t> head;
  if (!ReadStart(path, 10, head) || head.size() < 10) return false;
  const char expected[] = "EXIF";
  for (int i = 0; i < 4; ++i)
    if (std::toupper(head[static_cast<std::size_t>(6 + i)]) != expected[i]) return false;
  return true;
}

bool ReadExifThumbnail(const std::filesystem::path& path, tbitmap& bitmap) {
  std::vector<std::uint8_t> block;
  if (!ReadStart(path, kExifReadSize, block) || block.size() < kExifReadSize) return false;
  const std::size_t length = static_cast<std::size_t>(block[4]) * 256 + block[5];
  if (length < 2000) return false;
  // The segment starts with its length field at offset 4; a length beyond the
  // bytes read is cut at what was read.
  const std::size_t available = block.size() - 4;
  const bool complete = length <= available;
  const std::span<const std::uint8_t> segment(block.data() + 4, std::min(length, available));
  if (length > kUncompressedSize)
    bitmap = tbitmap(80, 60, PixelFormat::pf24bit);
  else
    bitmap = tbitmap(68, 54, PixelFormat::pf24bit);
  DecodeEmbeddedThumbnail(segment, bitmap, complete);
  return true;
}

void DecodeEmbeddedThumbnail(std::span<const std::uint8_t> segment, tbitmap& bitmap,
                             bool complete) {
  static const std::uint8_t kSoiDqt[] = {0xFF, 0xD8, 0xFF, 0xDB};
  const auto found =
      std::search(segment.begin(), segment.end(), std::begin(kSoiDqt), std::end(kSoiDqt));
  if (found != segment.end()) {
    try {
      // A thumbnail is decoded at full size, so one whose header claims a
      // huge picture is refused by the thumbnail limits before any memory
      // is taken for it.
      const tbitmap decoded =
          DecodeJpeg(segment.subspan(static_cast<std::size_t>(found - segment.begin())),
                     JpegScale::jsFullSize, kThumbnailDecodeLimits);
      detail::StretchNearest(decoded, bitmap);
    } catch (const tpictureerror&) {
      // A damaged embedded JPEG leaves the bitmap as it was.
    }
    return;
  }
  // The uncompressed form is the last 9600 bytes of the whole segment, so it
  // can only be read when the whole segment is there.
  if (!complete || segment.size() <= kUncompressedSize) return;
  const std::uint8_t* p = segment.data() + segment.size() - kUncompressedSize;
  tbitmap thumb(kUncompressedWidth, kUncompressedHeight, PixelFormat::pf24bit);
  for (int j = 0; j < kUncompressedHeight; ++j) {
    std::uint8_t* row = thumb.ScanLine(j);
    for (int k = 0; k < kUncompressedWidth / 2; ++k, p += 4) {
      const tcolor c0 = IntYccToRgb(p[0], p[2], p[3]);
      const tcolor c1 = IntYccToRgb(p[1], p[2], p[3]);
      std::uint8_t* px = row + k * 6;
      px[0] = GetBValue(c0);
      px[1] = GetGValue(c0);
      px[2] = GetRValue(c0);
      px[3] = GetBValue(c1);
      px[4] = GetGValue(c1);
      px[5] = GetRValue(c1);
    }
  }
  detail::StretchNearest(thumb, bitmap);
}

}  // namespace vantlo
