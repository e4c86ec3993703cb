// The Casio colour correction (a fixed tone curve mixed into the picture with
// a strength of 0..20) and the colour-range expansion (a per-channel
// histogram stretch), as operations on 24-bit bitmaps.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "picture/bitmap.h"

namespace vantlo {

// Progress of a picture operation: a position of 0 or more sets the progress
// bar, a negative one advances it by its magnitude; the text goes to the
// status line.
using tpictureprogress = std::function<void(int position, const std::string& text)>;

// Entry v is the corrected value of channel value v (same for red, green and
// blue).
extern const std::array<std::uint8_t, 256> CasioCorrectionCurve;

// Highest correction strength (strength 10 applies the curve exactly).
inline constexpr int kMaxCorrectionStrength = 20;

// The correction mix of one channel value: (p * curve[v] + v * (10 - p))
// div 10, clamped to 0..255.
std::uint8_t CorrectedValue(std::uint8_t v, int strength);

// Corrects every channel of every pixel in place with strength `strength`.
// Reports "Correcting" and advances the progress by 10 after every
// (width div 7) columns, at most seven times. Strength 0 leaves the pixels
// as they are.
void ApplyCasioCorrection(tbitmap& bitmap, int strength, const tpictureprogress& progress = {});

// Standard deviation of the integer luminance over all pixels, rounded; 0
// for an empty bitmap.
int MeasureContrast(const tbitmap& bitmap);

// The correction strength that "AutoCorrect" chooses for a contrast measure
// (15 for flat pictures down to 0 for contrast 90 and above).
int StrengthFromContrast(int contrast);

// "AutoCorrect" on a bitmap: measures the contrast, picks the strength and
// applies the correction. Returns the strength used.
int AutoCorrect(tbitmap& bitmap, const tpictureprogress& progress = {});

// The correction applied to a decoded picture, as the settings choose it:
// none ("Off"), "AutoCorrect" (strength from the picture's contrast) or a
// fixed strength 0..20 ("Manual").
struct tcorrectionchoice {
  enum tmode { Off, Auto, Manual } Mode = Off;
  int Strength = 0;
};

// Applies the chosen correction to `bitmap`; a manual strength outside 0..20
// is taken as the nearest end. Returns the strength applied, -1 for "Off"
// (the bitmap is left alone).
int ApplyCorrection(tbitmap& bitmap, const tcorrectionchoice& choice,
                    const tpictureprogress& progress = {});

// The cut points the expansion finds for one channel histogram with clip
// count t: low cut L (one past the bin that made the sum from bin 2 upwards
// exceed t) and high cut U (one below the bin that did so from 253
// downwards). Bins 0, 1, 254, 255 never count, and the searches stop at the
// ends of the histogram.
struct tcolourcuts {
  int Low = 0;
  int High = 0;
};
tcolourcuts FindColourCuts(const std::array<std::uint32_t, 256>& histogram, long long t);

// Colour-range expansion in place: clips about percent / 25 per cent of the
// pixels at each end of every channel and spreads the rest over 0..255.
// Nothing happens when percent is outside 1..100, and the picture is left
// unchanged when any channel's cuts meet or cross (a flat channel). Returns
// whether the bitmap was changed.
bool ExpandColourRange(tbitmap& bitmap, int percent);

}  // namespace vantlo
