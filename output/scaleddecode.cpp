#include "output/scaleddecode.h"

#include <algorithm>

namespace vantlo {

std::optional<tpicturesize> JpegFrameSize(std::span<const std::uint8_t> d) {
  if (d.size() < 4 || d[0] != 0xFF || d[1] != 0xD8) return std::nullopt;
  std::size_t i = 2;
  while (i + 4 <= d.size()) {
    if (d[i] != 0xFF) return std::nullopt;
    const std::uint8_t marker = d[i + 1];
    if (marker == 0xFF) {  // fill byte
      ++i;
      continue;
    }
    if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      i += 2;  // markers without a length
      continue;
    }
    if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // no frame before the scan
    const std::size_t length = (static_cast<std::size_t>(d[i + 2]) << 8) | d[i + 3];
    if (length < 2 || i + 2 + length > d.size()) return std::nullopt;
    const bool frame =
        marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (length < 7) return std::nullopt;
      const int height = (d[i + 5] << 8) | d[i + 6];
      const int width = (d[i + 7] << 8) | d[i + 8];
      if (width <= 0 || height <= 0) return std::nullopt;
      return tpicturesize{width, height};
    }
    i += 2 + length;
  }
  return std::nullopt;
}

JpegScale ScaleCovering(tpicturesize picture, const tcellrect& cell) {
  if (picture.width <= 0 || picture.height <= 0 || !cell.HasArea()) return JpegScale::jsFullSize;
  const tcellrect fitted = FitPicture(cell, picture.width, picture.height);
  // The fitted rectangle is the one drawn (the odd-surplus pixel included).
  const long needW = fitted.Width();
  const long needH = fitted.Height();
  constexpr struct {
    int denom;
    JpegScale scale;
  } kScales[] = {{8, JpegScale::jsEighth}, {4, JpegScale::jsQuarter}, {2, JpegScale::jsHalf}};
  for (const auto& s : kScales) {
    // libjpeg rounds scaled sizes up.
    const long w = (picture.width + s.denom - 1) / s.denom;
    const long h = (picture.height + s.denom - 1) / s.denom;
    if (w >= needW && h >= needH) return s.scale;
  }
  return JpegScale::jsFullSize;
}

void LoadJpegForCell(std::span<const std::uint8_t> data, const tcellrect& cell, TJPEGImage& image) {
  const auto size = JpegFrameSize(data);
  image.SetScale(size ? ScaleCovering(*size, cell) : JpegScale::jsFullSize);
  image.LoadFromStream(data);
}

}  // namespace vantlo
