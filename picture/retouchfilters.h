// The pixel work of retouching: the common blend `Mix`, the colour
// adjustments of one pixel (contrast, brightness, colour saturation), the
// luminance blur and the blur/sharpen step built on it. All integer
// arithmetic on bitmap rows; the per-strength products are looked up in
// tables made once per call, which give exactly the divided products.
#pragma once

#include <array>
#include <cstdint>

#include "picture/bitmap.h"
#include "picture/colour.h"
#include "picture/colourcorrection.h"

namespace vantlo {

// The six retouching settings, in stored order. Brightness, contrast and
// the three colours are mixing strengths in per cent (towards black, the
// mean grey and the pixel's luminance; negative values push away);
// sharpness is -100..100 (negative blurs, positive sharpens).
struct tretouchsettings {
  int Brightness = 0;
  int Contrast = 0;
  int Sharpness = 0;
  int Red = 0;
  int Green = 0;
  int Blue = 0;

  // Whether the per-pixel adjustment (everything but the sharpness) changes anything.
  bool AdjustsColour() const {
    return Contrast != 0 || Brightness != 0 || Red != 0 || Green != 0 || Blue != 0;
  }
  bool operator==(const tretouchsettings&) const = default;
};

// For each channel (100 - c) * a / 100 + c * b / 100, each product divided
// on its own (truncating), clamped to 0..255.
tcolor Mix(tcolor a, tcolor b, int strength);

// One channel of Mix for a fixed strength, as two tables.
class tmixtable {
 public:
  explicit tmixtable(int strength);
  std::uint8_t operator()(std::uint8_t a, std::uint8_t b) const {
    const int v = keep_[a] + take_[b];
    return static_cast<std::uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
  }

 private:
  std::array<int, 256> keep_;  // (100 - c) * v / 100
  std::array<int, 256> take_;  // c * v / 100
};

// The adjustment of one pixel for a set of settings and the mean
// luminance of the contrast step: contrast (Mix with the mean grey), then
// brightness (Mix with black), then each colour mixed with the luminance
// of the pixel as the first two steps left it.
class tpixeladjuster {
 public:
  tpixeladjuster(const tretouchsettings& settings, int meanLuminance);
  // in and out point at pixels stored blue, green, red (may be the same).
  void Adjust(const std::uint8_t* in, std::uint8_t* out) const;
  tcolor Adjust(tcolor p) const;

 private:
  std::array<std::uint8_t, 256> tone_;  // contrast and brightness of a channel value
  bool colour_ = false;
  std::array<std::array<int, 256>, 3> keep_;  // (100 - s) * v / 100, blue green red
  std::array<std::array<int, 256>, 3> take_;  // s * Y / 100
};

// Writes the adjusted pixels of `src` into `dst` (same size), in bands of
// ten columns; after each band, when `progress` is given, reports
// (column * 100 div width, "Adjusting").
void AdjustPixels(const tbitmap& src, tbitmap& dst, const tpixeladjuster& adjuster,
                  const tpictureprogress& progress = {});

// Sum of IntLuma over the pixels of the bitmap.
long long SumIntLuma(const tbitmap& bitmap);

// The luminance blur: dst becomes a copy of src in which every pixel one
// inside the border has the luminance (4 centre + 2 (left + right + top +
// bottom) + the four corners) >> 4 of its neighbourhood and keeps its own
// Cb and Cr. Bitmaps narrower or lower than 3 pixels are copied unblurred.
void LuminanceBlur(const tbitmap& src, tbitmap& dst);

// The sharpness step: every pixel becomes Mix (pixel, blurred pixel,
// -4 * sharpness); -25 gives the blur itself, positive values are an
// unsharp mask. Nothing for sharpness 0. When `progress` is given it gets
// (column * 100 div width, "Blurring" for sharpness < 1, else
// "Sharpening") every ten columns.
void SharpnessStep(tbitmap& bitmap, int sharpness, const tpictureprogress& progress = {});

}  // namespace vantlo
