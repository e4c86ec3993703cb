// Where the Browse page's thumbnails come from: the decoders behind one
// small interface, so the thumbnail manager can be driven by a fake in tests
// and by the picture units in the program.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "library/thumbnailcache.h"
#include "picture/bitmap.h"

namespace vantlo {

class tthumbnailsource {
 public:
  virtual ~tthumbnailsource() = default;
  // The embedded thumbnail of an EXIF file: true with an 80 x 60 or 68 x 54
  // bitmap; false when the file has none that can be used.
  virtual bool ExifThumbnail(const std::string& path, tbitmap& thumbnail) = 0;
  // Decodes JPEG data at 1 / divisor of its size (divisor 8, 4 or 1).
  // Throws on damaged data.
  virtual tbitmap DecodeJpeg(std::span<const std::uint8_t> data, int divisor) = 0;
  // The preview of a CAM file image; isjpeg tells a CAM file that carries a
  // JPEG (decoded at one eighth) from classic CAM data. Throws on damage.
  virtual tbitmap CamPreview(std::span<const std::uint8_t> cam, bool& isjpeg) = 0;
  // The persistent cache of tile pictures, read before decoding; none by
  // default.
  virtual const tthumbnailcache* Cache() const { return nullptr; }
};

// The program's decoders: EXIF thumbnails, libjpeg scaled decoding and the
// CAM file preview of the picture units, with the desktop's thumbnail cache
// (tthumbnailcache::DefaultRoot(), or the root given; "" for none).
class tpicturethumbsource : public tthumbnailsource {
 public:
  tpicturethumbsource() : cache_(tthumbnailcache::DefaultRoot()) {}
  explicit tpicturethumbsource(std::string cacheroot) : cache_(std::move(cacheroot)) {}

  bool ExifThumbnail(const std::string& path, tbitmap& thumbnail) override;
  tbitmap DecodeJpeg(std::span<const std::uint8_t> data, int divisor) override;
  tbitmap CamPreview(std::span<const std::uint8_t> cam, bool& isjpeg) override;
  const tthumbnailcache* Cache() const override { return cache_.Enabled() ? &cache_ : nullptr; }

 private:
  tthumbnailcache cache_;
};

}  // namespace vantlo
