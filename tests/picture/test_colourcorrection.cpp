#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "picture/bitmap.h"
#include "picture/colourcorrection.h"
#include "picture/pictureerror.h"

namespace vantlo {
namespace {

tbitmap Gradient(int w, int h) {
  tbitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = b.ScanLine(y) + x * 3;
      p[0] = static_cast<std::uint8_t>(x * 255 / (w - 1));
      p[1] = static_cast<std::uint8_t>(y * 255 / (h - 1));
      p[2] = static_cast<std::uint8_t>((x + y) & 0xFF);
    }
  return b;
}

TEST(CasioCorrectionCurve, KnownEntriesAndShape) {
  EXPECT_EQ(CasioCorrectionCurve[0], 0);
  EXPECT_EQ(CasioCorrectionCurve[80], 80);
  EXPECT_EQ(CasioCorrectionCurve[100], 119);
  EXPECT_EQ(CasioCorrectionCurve[128], 166);
  EXPECT_EQ(CasioCorrectionCurve[240], 248);
  EXPECT_EQ(CasioCorrectionCurve[255], 255);
  for (int v = 1; v < 256; ++v) EXPECT_GE(CasioCorrectionCurve[v], CasioCorrectionCurve[v - 1]);
  for (int v = 0; v < 80; ++v) EXPECT_LE(CasioCorrectionCurve[v], v);
  for (int v = 81; v < 254; ++v) EXPECT_GT(CasioCorrectionCurve[v], v);
}

TEST(CorrectionMix, StrengthsZeroTenTwenty) {
  EXPECT_EQ(CorrectedValue(100, 10), 119);
  EXPECT_EQ(CorrectedValue(100, 20), 138);
  EXPECT_EQ(CorrectedValue(100, 5), 109);  // (595 + 500) div 10
  for (int p = 0; p <= 20; ++p) EXPECT_EQ(CorrectedValue(0, p), 0);
  for (int v = 0; v < 256; ++v) {
    EXPECT_EQ(CorrectedValue(static_cast<std::uint8_t>(v), 0), v);
    EXPECT_EQ(CorrectedValue(static_cast<std::uint8_t>(v), 10), CasioCorrectionCurve[v]);
    // 2 * curve - v stays inside 0..255 only with the clamp.
    EXPECT_EQ(CorrectedValue(static_cast<std::uint8_t>(v), 20),
              std::clamp(2 * CasioCorrectionCurve[v] - v, 0, 255));
  }
}

TEST(ApplyCasioCorrection, ZeroLeavesPictureAndTenAppliesCurveToEveryChannel) {
  const tbitmap src = Gradient(70, 9);
  tbitmap b = src;
  ApplyCasioCorrection(b, 0);
  EXPECT_EQ(b, src);
  ApplyCasioCorrection(b, 10);
  for (std::size_t i = 0; i < b.Bytes().size(); ++i)
    ASSERT_EQ(b.Bytes()[i], CasioCorrectionCurve[src.Bytes()[i]]) << i;
}

TEST(ApplyCasioCorrection, ProgressAdvancesByTenAtMostSevenTimes) {
  for (auto [width, reports] :
       std::vector<std::pair<int, int>>{{70, 7}, {100, 7}, {3, 3}, {20, 7}, {640, 7}}) {
    tbitmap b = Gradient(width, 4);
    std::vector<std::pair<int, std::string>> seen;
    ApplyCasioCorrection(b, 7,
                         [&](int pos, const std::string& text) { seen.emplace_back(pos, text); });
    ASSERT_EQ(static_cast<int>(seen.size()), reports) << width;
    for (auto& [pos, text] : seen) {
      EXPECT_EQ(pos, -10);
      EXPECT_EQ(text, "Correcting");
    }
  }
  tbitmap one(1, 1);
  ApplyCasioCorrection(one, 20);  // no division by a zero step
}

TEST(ApplyCasioCorrection, RefusesNon24BitBitmap) {
  tbitmap b(4, 4);
  b.SetPixelFormat(PixelFormat::pf32bit);
  EXPECT_THROW(ApplyCasioCorrection(b, 10), tpictureerror);
}

TEST(MeasureContrast, StandardDeviationOfLuminance) {
  tbitmap flat(10, 10);
  for (auto& v : flat.Bytes()) v = 77;
  EXPECT_EQ(MeasureContrast(flat), 0);
  // Half black, half white: mean 127.5 rounds to 128, deviations 128 and 127,
  // sqrt(16256.5) = 127.5 rounds to 128.
  tbitmap split(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 5; x < 10; ++x)
      for (int c = 0; c < 3; ++c) split.ScanLine(y)[x * 3 + c] = 255;
  EXPECT_EQ(MeasureContrast(split), 128);
  // Luminance uses integer weights per channel: pure red 200 gives 59.
  tbitmap red(2, 1);
  red.ScanLine(0)[2] = 200;             // pixel 0 luma 59, pixel 1 luma 0: mean 30 (29.5 to even)
  EXPECT_EQ(MeasureContrast(red), 30);  // sqrt((29^2 + 30^2) / 2) = 29.5..
  EXPECT_EQ(MeasureContrast(tbitmap()), 0);
}

TEST(MeasureContrast, LargePictureDoesNotOverflow) {
  // 2400 x 2400 white pixels sum to more than 2^31 luminance units.
  tbitmap white(2400, 2400);
  for (auto& v : white.Bytes()) v = 255;
  EXPECT_EQ(MeasureContrast(white), 0);
}

TEST(StrengthFromContrast, TableBoundaries) {
  const std::vector<std::pair<int, int>> table = {
      {0, 15}, {39, 15}, {40, 14}, {44, 14}, {45, 12}, {49, 12}, {50, 10}, {54, 10},
      {55, 8}, {59, 8},  {60, 5},  {64, 5},  {65, 4},  {69, 4},  {70, 3},  {74, 3},
      {75, 2}, {79, 2},  {80, 1},  {89, 1},  {90, 0},  {255, 0}};
  for (auto [contrast, strength] : table)
    EXPECT_EQ(StrengthFromContrast(contrast), strength) << contrast;
}

TEST(AutoCorrect, FlatPictureGetsStrengthFifteen) {
  tbitmap b(8, 8);
  for (auto& v : b.Bytes()) v = 100;
  EXPECT_EQ(AutoCorrect(b), 15);
  for (auto v : b.Bytes()) EXPECT_EQ(v, CorrectedValue(100, 15));
}

// The one correction step of fetching and opening: "Off" leaves the picture, "Auto" is
// AutoCorrect, "Manual" applies its strength, and a strength from a damaged record outside
// 0..20 is taken as the nearest end instead of mixing the curve with negative weights.
TEST(ApplyCorrection, OffAutoManualAndStrengthsOutOfRange) {
  const tbitmap original = Gradient(64, 32);
  tbitmap off = original;
  EXPECT_EQ(ApplyCorrection(off, {tcorrectionchoice::Off, 10}), -1);
  EXPECT_EQ(off.Bytes(), original.Bytes());

  tbitmap automatic = original, expected = original;
  EXPECT_EQ(ApplyCorrection(automatic, {tcorrectionchoice::Auto, 0}), AutoCorrect(expected));
  EXPECT_EQ(automatic.Bytes(), expected.Bytes());

  for (const auto& [given, used] : {std::pair{7, 7}, std::pair{35, 20}, std::pair{-4, 0}}) {
    tbitmap manual = original, reference = original;
    EXPECT_EQ(ApplyCorrection(manual, {tcorrectionchoice::Manual, given}), used) << given;
    ApplyCasioCorrection(reference, used);
    EXPECT_EQ(manual.Bytes(), reference.Bytes()) << given;
  }
}

TEST(FindColourCuts, CutsOnePastTheBinThatExceedsTheClipCount) {
  std::array<std::uint32_t, 256> h{};
  h[0] = h[1] = h[254] = h[255] = 1000;  // never counted
  h[2] = 40;
  h[3] = 1;
  h[253] = 41;
  const tcolourcuts cuts = FindColourCuts(h, 40);
  EXPECT_EQ(cuts.Low, 4);
  EXPECT_EQ(cuts.High, 252);
}

TEST(FindColourCuts, StopsAtTheEndsOfAnEmptyMiddle) {
  std::array<std::uint32_t, 256> h{};
  h[0] = 5000;
  h[255] = 5000;
  const tcolourcuts cuts = FindColourCuts(h, 40);
  EXPECT_LE(cuts.Low, 254);
  EXPECT_GE(cuts.High, 1);
  EXPECT_LE(cuts.High - cuts.Low, 0);
}

// A 100 x 100 picture (T = 40 at percent 10) with every channel holding the
// values 10..109 once per row.
tbitmap Ramp() {
  tbitmap b(100, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x)
      for (int c = 0; c < 3; ++c) b.ScanLine(y)[x * 3 + c] = static_cast<std::uint8_t>(10 + x);
  return b;
}

TEST(ExpandColourRange, StretchesBetweenTheCuts) {
  tbitmap b = Ramp();
  // Each value holds 100 pixels > T = 40: L = 11, U = 108, scale 255 / 97.
  ASSERT_TRUE(ExpandColourRange(b, 10));
  for (int x = 0; x < 100; ++x) {
    const int v = 10 + x;
    int expect;
    if (v <= 11)
      expect = 0;
    else if (v >= 108)
      expect = 255;
    else
      expect = static_cast<int>(std::lrint((v - 11) * (255.0 / 97)));
    for (int c = 0; c < 3; ++c) ASSERT_EQ(b.ScanLine(50)[x * 3 + c], expect) << v;
  }
}

TEST(ExpandColourRange, PercentOutsideOneToHundredDoesNothing) {
  const tbitmap src = Ramp();
  for (int pct : {0, -5, 101}) {
    tbitmap b = src;
    EXPECT_FALSE(ExpandColourRange(b, pct));
    EXPECT_EQ(b, src);
  }
  tbitmap b = src;
  EXPECT_TRUE(ExpandColourRange(b, 1));
  EXPECT_NE(b, src);
}

TEST(ExpandColourRange, FlatChannelLeavesPictureUnchanged) {
  // Red 128 everywhere: its cuts cross (L = 129, U = 127). Blue and green
  // vary, but the whole picture must stay as it was, not be blacked out.
  tbitmap b = Gradient(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) b.ScanLine(y)[x * 3 + 2] = 128;
  const tbitmap src = b;
  EXPECT_FALSE(ExpandColourRange(b, 10));
  EXPECT_EQ(b, src);
}

TEST(ExpandColourRange, ExtremeValuesOnlyLeavePictureUnchanged) {
  // Everything in bins 0, 1, 254, 255: the searches run to the histogram's ends.
  tbitmap b(30, 30);
  for (std::size_t i = 0; i < b.Bytes().size(); ++i) b.Bytes()[i] = (i % 2) ? 255 : 1;
  const tbitmap src = b;
  EXPECT_FALSE(ExpandColourRange(b, 50));
  EXPECT_EQ(b, src);
}

TEST(ExpandColourRange, RefusesNon24BitBitmap) {
  tbitmap b(4, 4);
  b.SetPixelFormat(PixelFormat::pfOther);
  EXPECT_THROW(ExpandColourRange(b, 10), tpictureerror);
}

}  // namespace
}  // namespace vantlo
