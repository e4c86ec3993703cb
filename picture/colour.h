// Colour values and the colour-space conversions shared by every picture
// routine. Reals are rounded to nearest with ties to even; integer division
// truncates toward zero, as C++ does.
#pragma once

#include <cstdint>

namespace vantlo {

// Red in bits 0-7, green 8-15, blue 16-23, bits 24-31 zero.
using tcolor = std::uint32_t;

constexpr tcolor MakeColor(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<tcolor>(r) | (static_cast<tcolor>(g) << 8) | (static_cast<tcolor>(b) << 16);
}
constexpr std::uint8_t GetRValue(tcolor c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(tcolor c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(tcolor c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// 0.299 R + 0.587 G + 0.114 B.
double Luma(tcolor c);
// Y as Luma, Cb = (B - Y) / 1.772, Cr = (R - Y) / 1.402.
void RgbToYcc(tcolor c, double& y, double& cb, double& cr);
// R and B rounded first; G from the rounded, unclamped R and B; then clamped.
tcolor YccToRgb(double y, double cb, double cr);
// YccToRgb on a camera thumbnail's integer samples (Cb, Cr signed).
tcolor ThumbYccToRgb(int y, int cb, int cr);

// (299 R + 587 G + 114 B) div 1000.
std::uint8_t IntLuma(tcolor c);
// Integer form; Cb and Cr are offset by 128.
void IntRgbToYcc(tcolor c, std::uint8_t& y, std::uint8_t& cb, std::uint8_t& cr);
// Integer form; Cb and Cr offset by 128; each channel clamped to 0..255.
tcolor IntYccToRgb(std::uint8_t y, std::uint8_t cb, std::uint8_t cr);

}  // namespace vantlo
