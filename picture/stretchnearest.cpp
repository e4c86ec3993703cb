#include "picture/stretchnearest.h"

#include <cstring>

namespace vantlo::detail {

void StretchNearest(const tbitmap& src, tbitmap& dst) {
  if (src.Empty() || dst.Empty()) return;
  const long long sw = src.Width(), sh = src.Height();
  const long long tw = dst.Width(), th = dst.Height();
  for (long long y = 0; y < th; ++y) {
    const std::uint8_t* s = src.ScanLine(static_cast<int>(y * sh / th));
    std::uint8_t* d = dst.ScanLine(static_cast<int>(y));
    for (long long x = 0; x < tw; ++x) std::memcpy(d + x * 3, s + (x * sw / tw) * 3, 3);
  }
}

}  // namespace vantlo::detail
