#include "library/thumbsource.h"

#include "picture/camformats.h"
#include "picture/exifthumb.h"
#include "picture/jpegimage.h"

namespace vantlo {

bool tpicturethumbsource::ExifThumbnail(const std::string& path, tbitmap& thumbnail) {
  if (!IsExifFile(path)) return false;
  return ReadExifThumbnail(path, thumbnail);
}

tbitmap tpicturethumbsource::DecodeJpeg(std::span<const std::uint8_t> data, int divisor) {
  const JpegScale scale = divisor >= 8   ? JpegScale::jsEighth
                          : divisor >= 4 ? JpegScale::jsQuarter
                          : divisor >= 2 ? JpegScale::jsHalf
                                         : JpegScale::jsFullSize;
  return vantlo::DecodeJpeg(data, scale, kTileDecodeLimits);
}

tbitmap tpicturethumbsource::CamPreview(std::span<const std::uint8_t> cam, bool& isjpeg) {
  TJPEGImage image;
  LoadCamPreview(cam, image, isjpeg);
  return image.Bitmap();
}

}  // namespace vantlo
