// A picture held as JPEG data, as a decoded 24-bit bitmap, or both, over
// libjpeg(-turbo). Taking another TJPEGImage copies its JPEG data byte for
// byte; taking a bitmap drops the JPEG data; saving writes existing JPEG data
// unchanged and otherwise compresses the bitmap. All libjpeg failures come
// back as tpictureerror; libjpeg never ends the process.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "picture/bitmap.h"

namespace vantlo {

enum class JpegScale { jsFullSize, jsHalf, jsQuarter, jsEighth };

// What one decode may take. A damaged header can claim up to 65500 x 65500
// pixels; the claim is checked against these bounds before libjpeg or the
// bitmap take memory for it, and libjpeg's own memory limit is set from the
// coded picture's size, so a decode never allocates more than its source
// needs. Beyond a bound the decode fails with "picture too large".
struct tdecodelimits {
  // Pixels of the decoded bitmap, at the decoding scale.
  std::uint64_t MaxOutputPixels;
  // Pixels of the coded picture, at any scale.
  std::uint64_t MaxSourcePixels;
  // Pixels of the coded picture when libjpeg keeps the whole picture's
  // coefficients (progressive files, and files with one scan per component):
  // that buffer has the source's size even at one-eighth scale.
  std::uint64_t MaxBufferedSourcePixels;
};
// Pictures: at most 120 million decoded pixels, and 128 million coded pixels
// of a progressive picture (a 20000 x 20000 one would need 1.2 GB of
// coefficients and many seconds).
inline constexpr tdecodelimits kPictureDecodeLimits{120'000'000, UINT64_MAX, 128ull << 20};
// Browse tiles, decoded at reduced scale: the bitmap stays small.
inline constexpr tdecodelimits kTileDecodeLimits{16ull << 20, UINT64_MAX, 128ull << 20};
// Thumbnails embedded in a picture file are small by nature (a segment holds
// at most 64 KB); one claiming more than a megapixel is damaged.
inline constexpr tdecodelimits kThumbnailDecodeLimits{1ull << 20, 1ull << 20, 1ull << 20};

class TJPEGImage {
 public:
  TJPEGImage() = default;

  // Properties. Quality must be 1..100 (std::invalid_argument otherwise).
  PixelFormat GetPixelFormat() const { return pixelformat_; }
  void SetPixelFormat(PixelFormat f) { pixelformat_ = f; }
  int CompressionQuality() const { return quality_; }
  void SetCompressionQuality(int quality);
  bool ProgressiveEncoding() const { return progressive_; }
  void SetProgressiveEncoding(bool on) { progressive_ = on; }
  JpegScale Scale() const { return scale_; }
  // Changing the scale of an image with JPEG data re-decodes on next access.
  void SetScale(JpegScale scale);

  // Reads a JPEG from data[offset..]. The JPEG is decoded at once at the
  // current scale (damaged or cut-short data throw here); the JPEG data kept
  // end at the end-of-image marker, so bytes behind the JPEG are not kept.
  void LoadFromStream(std::span<const std::uint8_t> data, std::size_t offset = 0);
  void LoadFromFile(const std::filesystem::path& path);

  // Appends the JPEG data to out (compressing the bitmap first if needed).
  void SaveToStream(std::vector<std::uint8_t>& out);
  void SaveToFile(const std::filesystem::path& path);

  // Copies JPEG data, bitmap and properties.
  void Assign(const TJPEGImage& other) { *this = other; }
  // Takes a copy of the bitmap (or the bitmap itself); drops any JPEG data.
  void Assign(const tbitmap& bitmap);
  void Assign(tbitmap&& bitmap);
  // The decoded picture, to be changed in place: decoded first when needed;
  // the JPEG data are dropped, as they would no longer match.
  tbitmap& EditBitmap();

  // Makes JPEG data from the bitmap when there are none (keeps the bitmap).
  void Compress();
  // Drops the JPEG data and re-compresses the bitmap at the current settings.
  void Recompress();

  bool Empty() const { return jpegdata_.empty() && bitmap_.Empty(); }
  bool HasJpegData() const { return !jpegdata_.empty(); }
  bool HasBitmap() const { return !bitmap_.Empty(); }
  const std::vector<std::uint8_t>& JpegData() const { return jpegdata_; }

  // The decoded picture at the current scale (decoded on demand).
  const tbitmap& Bitmap() const;
  int Width() const { return Bitmap().Width(); }
  int Height() const { return Bitmap().Height(); }

  // Frees everything.
  void Clear();

 private:
  void DecodeBitmap() const;

  std::vector<std::uint8_t> jpegdata_;
  mutable tbitmap bitmap_;  // decoded on demand from jpegdata_
  PixelFormat pixelformat_ = PixelFormat::pf24bit;
  int quality_ = 90;
  bool progressive_ = false;
  JpegScale scale_ = JpegScale::jsFullSize;
};

// Low-level helpers, also used by the raw encoder.
// Decodes a whole JPEG at the scale; *consumed (if given) receives the number
// of bytes up to and including the end-of-image marker. Data that libjpeg
// finds cut short or corrupt fail with its message; harmless notices (an
// unknown JFIF revision, say) do not.
tbitmap DecodeJpeg(std::span<const std::uint8_t> data, JpegScale scale,
                   std::size_t* consumed = nullptr,
                   const tdecodelimits& limits = kPictureDecodeLimits);
inline tbitmap DecodeJpeg(std::span<const std::uint8_t> data, JpegScale scale,
                          const tdecodelimits& limits) {
  return DecodeJpeg(data, scale, nullptr, limits);
}
// The picture size in the frame header (SOFn) of a JPEG, found by walking
// its segments without decoding; false when there is no frame header before
// the first scan or the data end first.
bool JpegFrameSize(std::span<const std::uint8_t> data, int& width, int& height);
// Compresses a 24-bit bitmap.
std::vector<std::uint8_t> CompressJpeg(const tbitmap& bitmap, int quality, bool progressive);

namespace detail {
// Baseline compression with a chosen luminance sampling (chroma 1 x 1) and,
// when separatescans is set, one scan per component (non-interleaved), with
// the standard Huffman tables. The raw encoder builds camera data from it.
struct tjpeglayout {
  int lumah = 2;
  int lumav = 2;
  bool separatescans = false;
};
std::vector<std::uint8_t> CompressJpegLayout(const tbitmap& bitmap, int quality,
                                             const tjpeglayout& layout);
}  // namespace detail

}  // namespace vantlo
