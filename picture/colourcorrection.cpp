#include "picture/colourcorrection.h"

#include <algorithm>
#include <cmath>

#include "picture/bitmapcheck.h"
#include "picture/colour.h"

namespace vantlo {

const std::array<std::uint8_t, 256> CasioCorrectionCurve = {
    0,   0,   1,   2,   3,   4,   5,   5,   6,   7,   8,   8,   9,   10,  11,  12,   //
    13,  14,  15,  16,  16,  17,  18,  19,  20,  21,  21,  22,  23,  24,  25,  26,   //
    27,  28,  29,  30,  31,  32,  33,  34,  35,  35,  36,  37,  38,  39,  40,  41,   //
    42,  43,  45,  46,  47,  48,  49,  50,  50,  52,  53,  54,  55,  56,  57,  59,   //
    60,  61,  62,  63,  65,  66,  67,  68,  70,  70,  72,  73,  74,  76,  77,  78,   //
    80,  82,  84,  86,  88,  90,  92,  94,  94,  96,  98,  100, 102, 104, 107, 109,  //
    111, 113, 115, 117, 119, 122, 124, 126, 128, 128, 130, 132, 134, 136, 138, 140,  //
    141, 143, 145, 147, 149, 150, 152, 154, 154, 155, 157, 158, 160, 161, 163, 164,  //
    166, 167, 168, 170, 171, 172, 173, 175, 176, 176, 177, 178, 180, 181, 182, 183,  //
    184, 185, 186, 187, 188, 189, 190, 191, 191, 192, 193, 194, 195, 196, 197, 198,  //
    199, 200, 201, 202, 203, 203, 204, 205, 206, 206, 207, 208, 208, 209, 210, 211,  //
    212, 212, 213, 214, 215, 215, 216, 217, 217, 217, 218, 219, 220, 220, 221, 222,  //
    222, 223, 224, 224, 225, 226, 226, 227, 228, 228, 228, 229, 229, 230, 231, 231,  //
    232, 232, 233, 234, 234, 235, 235, 236, 236, 236, 237, 238, 238, 239, 239, 240,  //
    240, 241, 241, 242, 243, 243, 244, 244, 245, 245, 245, 246, 246, 247, 247, 248,  //
    248, 249, 249, 250, 250, 251, 251, 252, 252, 252, 252, 253, 253, 254, 254, 255,  //
};

std::uint8_t CorrectedValue(std::uint8_t v, int strength) {
  // Integer division truncates towards zero, also for the negative sums that
  // strengths above 10 can give.
  const int c = (strength * CasioCorrectionCurve[v] + v * (10 - strength)) / 10;
  return static_cast<std::uint8_t>(std::clamp(c, 0, 255));
}

void ApplyCasioCorrection(tbitmap& bitmap, int strength, const tpictureprogress& progress) {
  RequireFastBitmap(bitmap);
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return;
  std::array<std::uint8_t, 256> table;
  for (int v = 0; v < 256; ++v) table[v] = CorrectedValue(static_cast<std::uint8_t>(v), strength);

  // The progress advances after every (width div 7) columns; narrow pictures
  // step every column but never report more than seven times.
  const int step = std::max(w / 7, 1);
  int reports = 0;
  for (int x0 = 0; x0 < w; x0 += step) {
    const int x1 = std::min(x0 + step, w);
    for (int y = 0; y < h; ++y) {
      std::uint8_t* p = bitmap.ScanLine(y) + static_cast<std::size_t>(x0) * 3;
      std::uint8_t* end = bitmap.ScanLine(y) + static_cast<std::size_t>(x1) * 3;
      for (; p != end; ++p) *p = table[*p];
    }
    if (x1 - x0 == step && reports < 7) {
      ++reports;
      if (progress) progress(-10, "Correcting");
    }
  }
}

int MeasureContrast(const tbitmap& bitmap) {
  RequireFastBitmap(bitmap);
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return 0;
  const long long n = static_cast<long long>(w) * h;
  // Luminance histogram: one pass for both the mean and the deviation.
  std::array<long long, 256> hist{};
  long long sum = 0;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      const int l = IntLuma(MakeColor(p[2], p[1], p[0]));
      ++hist[l];
      sum += l;
    }
  }
  const long long mean = std::llrint(static_cast<double>(sum) / static_cast<double>(n));
  // The squares are integers, so an integer sum is exact.
  long long squares = 0;
  for (int l = 0; l < 256; ++l) squares += (l - mean) * (l - mean) * hist[l];
  return static_cast<int>(
      std::llrint(std::sqrt(static_cast<double>(squares) / static_cast<double>(n))));
}

int StrengthFromContrast(int contrast) {
  if (contrast < 40) return 15;
  if (contrast < 45) return 14;
  if (contrast < 50) return 12;
  if (contrast < 55) return 10;
  if (contrast < 60) return 8;
  if (contrast < 65) return 5;
  if (contrast < 70) return 4;
  if (contrast < 75) return 3;
  if (contrast < 80) return 2;
  if (contrast < 90) return 1;
  return 0;
}

int AutoCorrect(tbitmap& bitmap, const tpictureprogress& progress) {
  const int strength = StrengthFromContrast(MeasureContrast(bitmap));
  ApplyCasioCorrection(bitmap, strength, progress);
  return strength;
}

int ApplyCorrection(tbitmap& bitmap, const tcorrectionchoice& choice,
                    const tpictureprogress& progress) {
  switch (choice.Mode) {
    case tcorrectionchoice::Auto:
      return AutoCorrect(bitmap, progress);
    case tcorrectionchoice::Manual: {
      const int strength = std::clamp(choice.Strength, 0, kMaxCorrectionStrength);
      ApplyCasioCorrection(bitmap, strength, progress);
      return strength;
    }
    default:
      return -1;
  }
}

tcolourcuts FindColourCuts(const std::array<std::uint32_t, 256>& histogram, long long t) {
  tcolourcuts cuts;
  long long sum = 0;
  int low = 2;
  while (sum <= t && low <= 253) sum += histogram[low++];
  sum = 0;
  int high = 253;
  while (sum <= t && high >= 2) sum += histogram[high--];
  cuts.Low = low;
  cuts.High = high;
  return cuts;
}

bool ExpandColourRange(tbitmap& bitmap, int percent) {
  if (percent < 1 || percent > 100) return false;
  RequireFastBitmap(bitmap);
  const int w = bitmap.Width(), h = bitmap.Height();
  if (w <= 0 || h <= 0) return false;

  // Histograms indexed by byte position within a pixel: 0 blue, 1 green, 2 red.
  std::array<std::array<std::uint32_t, 256>, 3> hist{};
  for (int y = 0; y < h; ++y) {
    const std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      ++hist[0][p[0]];
      ++hist[1][p[1]];
      ++hist[2][p[2]];
    }
  }
  const long long t = static_cast<long long>(w) * h * percent / 2500;

  // A channel whose cuts meet or cross has no range to spread (a flat
  // channel, or one whose values nearly all sit in bins 0, 1, 254, 255): the
  // picture is left as it is rather than dividing by zero or inverting it.
  std::array<std::array<std::uint8_t, 256>, 3> table;
  for (int c = 0; c < 3; ++c) {
    const tcolourcuts cuts = FindColourCuts(hist[c], t);
    const int range = cuts.High - cuts.Low;
    if (range <= 0) return false;
    const double scale = 255.0 / range;
    for (int v = 0; v < 256; ++v) {
      if (v <= cuts.Low) {
        table[c][v] = 0;
      } else if (v >= cuts.High) {
        table[c][v] = 255;
      } else {
        table[c][v] = static_cast<std::uint8_t>(std::lrint((v - cuts.Low) * scale));
      }
    }
  }
  for (int y = 0; y < h; ++y) {
    std::uint8_t* p = bitmap.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = table[0][p[0]];
      p[1] = table[1][p[1]];
      p[2] = table[2][p[2]];
    }
  }
  return true;
}

}  // namespace vantlo
