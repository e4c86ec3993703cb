#include "output/cellgeometry.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace vantlo {

int RoundEven(double value) {
  if (!std::isfinite(value)) return 0;
  // std::nearbyint rounds in the current mode, which the program never changes from
  // to-nearest-even; saturate instead of overflowing on absurd inputs.
  const double r = std::nearbyint(value);
  if (r >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (r <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(r);
}

tcellrect GridCellRect(int width, int height, double margin, int rows, int columns, int k) {
  if (rows <= 0 || columns <= 0 || k <= 0) return {};
  const int mx = RoundEven(width * margin);
  const int cw = RoundEven(static_cast<double>(width - mx * (columns + 1)) / columns);
  const int c = (k - 1) % columns;
  tcellrect r;
  r.left = (c + 1) * mx + c * cw;
  r.right = r.left + cw;
  const int my = RoundEven(height * margin);
  const int ch = RoundEven(static_cast<double>(height - my * (rows + 1)) / rows);
  const int row = (k - 1) / columns;
  r.top = (row + 1) * my + row * ch;
  r.bottom = r.top + ch;
  return r;
}

tcellrect FitPicture(const tcellrect& r, int pictureWidth, int pictureHeight) {
  if (!r.HasArea() || pictureWidth <= 0 || pictureHeight <= 0) return r;
  const double rw = r.Width();
  const double rh = r.Height();
  const double a = rw / rh;
  const double p = static_cast<double>(pictureWidth) / pictureHeight;
  tcellrect out = r;
  if (p > a) {
    // Too wide: full width, height cut; equal bands above and below.
    const int h = RoundEven(a * rh / p);
    const int s = r.Height() - h;
    out.top += s / 2;
    out.bottom -= s / 2;
  } else if (p < a) {
    const int w = RoundEven(p * rw / a);
    const int s = r.Width() - w;
    out.left += s / 2;
    out.right -= s / 2;
  }
  return out;
}

}  // namespace vantlo
