#include "picture/colour.h"

#include <cmath>

namespace vantlo {

namespace {

// Round to nearest, ties to even (the default floating-point rounding mode).
int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

std::uint8_t Clamp255(int v) {
  if (v > 255) return 255;
  if (v < 0) return 0;
  return static_cast<std::uint8_t>(v);
}

}  // namespace

double Luma(tcolor c) { return 0.299 * GetRValue(c) + 0.587 * GetGValue(c) + 0.114 * GetBValue(c); }

void RgbToYcc(tcolor c, double& y, double& cb, double& cr) {
  y = Luma(c);
  cb = (GetBValue(c) - y) / 1.772;
  cr = (GetRValue(c) - y) / 1.402;
}

tcolor YccToRgb(double y, double cb, double cr) {
  const int r = Round(y + 1.402 * cr);
  const int b = Round(y + 1.772 * cb);
  // Green comes from the rounded red and blue before they are clamped.
  const int g = Round((y - 0.114 * b - 0.299 * r) / 0.587);
  return MakeColor(Clamp255(r), Clamp255(g), Clamp255(b));
}

tcolor ThumbYccToRgb(int y, int cb, int cr) {
  return YccToRgb(static_cast<double>(y), static_cast<double>(cb), static_cast<double>(cr));
}

std::uint8_t IntLuma(tcolor c) {
  return static_cast<std::uint8_t>((299 * GetRValue(c) + 587 * GetGValue(c) + 114 * GetBValue(c)) /
                                   1000);
}

void IntRgbToYcc(tcolor c, std::uint8_t& y, std::uint8_t& cb, std::uint8_t& cr) {
  const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  y = static_cast<std::uint8_t>((299 * r + 587 * g + 114 * b) / 1000);
  cb = static_cast<std::uint8_t>((5000 * b - 1687 * r - 3313 * g) / 10000 + 128);
  cr = static_cast<std::uint8_t>((5000 * r - 4187 * g - 813 * b) / 10000 + 128);
}

tcolor IntYccToRgb(std::uint8_t y, std::uint8_t cb, std::uint8_t cr) {
  const int yy = y, cbb = cb - 128, crr = cr - 128;
  const int r = yy + crr * 1402 / 1000;
  const int g = yy - cbb * 34414 / 100000 - crr * 71414 / 100000;
  const int b = yy + cbb * 1772 / 1000;
  return MakeColor(Clamp255(r), Clamp255(g), Clamp255(b));
}

}  // namespace vantlo
