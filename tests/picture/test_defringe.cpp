// The de-fringe filter: which stripes are found (even columns only, runs of
// more than three pixels, one-pixel gaps bridged, the 1.1 ratio limit),
// how they are repaired (luminance only, in order, each repair seeing the
// earlier ones), narrow pictures, refused bitmaps and progress.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "picture/colour.h"
#include "picture/defringe.h"
#include "picture/fastbm.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

tbitmap Uniform(int w, int h, tcolor c) {
  tbitmap b(w, h);
  tfastbm f;
  f.Attach(&b);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) f.SetPixel(x, y, c);
  return b;
}

void Set(tbitmap& b, int x, int y, tcolor c) {
  tfastbm f;
  f.Attach(&b);
  f.SetPixel(x, y, c);
}

tcolor Get(tbitmap& b, int x, int y) {
  tfastbm f;
  f.Attach(&b);
  return f.GetPixel(x, y);
}

constexpr tcolor kGrey = MakeColor(100, 100, 100);
constexpr tcolor kBright = MakeColor(200, 200, 200);

// A vertical line of `len` bright pixels at column x from row y0.
void VerticalLine(tbitmap& b, int x, int y0, int len, tcolor c = kBright) {
  for (int y = y0; y < y0 + len; ++y) Set(b, x, y, c);
}

// The repair of one pixel and its two neighbours, written out from the
// colour routines.
void ReferenceRepair(tbitmap& b, int x, int y, bool vertical) {
  const int lx = vertical ? x - 1 : x, ly = vertical ? y : y - 1;
  const int rx = vertical ? x + 1 : x, ry = vertical ? y : y + 1;
  double yc, cbc, crc, yl, cbl, crl, yr, cbr, crr;
  RgbToYcc(Get(b, x, y), yc, cbc, crc);
  RgbToYcc(Get(b, lx, ly), yl, cbl, crl);
  RgbToYcc(Get(b, rx, ry), yr, cbr, crr);
  const double yc2 = (2 * yl + yc + 2 * yr) / 5;
  Set(b, x, y, YccToRgb(yc2, cbc, crc));
  Set(b, lx, ly, YccToRgb((2 * yl + yc2) / 3, cbl, crl));
  Set(b, rx, ry, YccToRgb((2 * yr + yc2) / 3, cbr, crr));
}

TEST(DeFringe, OnePixelLineAtAnEvenColumnIsOneRunOfTenSoftenedWithItsNeighbours) {
  tbitmap b = Uniform(12, 24, kGrey);
  VerticalLine(b, 4, 5, 10);
  const tbitmap before = b;
  EXPECT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{4, 5, 10}}));

  tbitmap expected = before;
  for (int y = 5; y < 15; ++y) ReferenceRepair(expected, 4, y, true);
  tbitmap result;
  DeFringe(b, result, true, false);
  EXPECT_EQ(b, expected);
  EXPECT_EQ(result, expected);
  // The line is softer and its neighbours brighter than before.
  EXPECT_LT(GetRValue(Get(result, 4, 9)), 200);
  EXPECT_GT(GetRValue(Get(result, 3, 9)), 100);
  EXPECT_GT(GetRValue(Get(result, 5, 9)), 100);
  EXPECT_EQ(Get(result, 4, 4), kGrey);
  EXPECT_EQ(Get(result, 4, 15), kGrey);
}

TEST(DeFringe, TheSameLineAtAnOddColumnIsNotFound) {
  tbitmap b = Uniform(12, 24, kGrey);
  VerticalLine(b, 5, 5, 10);
  const tbitmap before = b;
  EXPECT_TRUE(FindVerticalFringes(b).empty());
  tbitmap result;
  DeFringe(b, result, true, false);
  EXPECT_EQ(result, before);
}

TEST(DeFringe, RunsOfThreeAreDroppedRunsOfFourKept) {
  tbitmap b = Uniform(12, 30, kGrey);
  VerticalLine(b, 2, 3, 3);
  VerticalLine(b, 6, 3, 4);
  // A dark stripe counts as well.
  VerticalLine(b, 8, 10, 4, MakeColor(20, 20, 20));
  EXPECT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{6, 3, 4}, {8, 10, 4}}));
}

TEST(DeFringe, OneOrdinaryPixelIsBridgedAndCountedTwoEndTheRun) {
  tbitmap b = Uniform(8, 30, kGrey);
  // Column 2: rows 3..6, gap at 7, rows 8..11: one run of 9.
  VerticalLine(b, 2, 3, 4);
  VerticalLine(b, 2, 8, 4);
  // Column 4: rows 3..6, gap at 7 and 8, rows 9..12: two runs.
  VerticalLine(b, 4, 3, 4);
  VerticalLine(b, 4, 9, 4);
  // The gap pixel of column 2 lies between unequal neighbours, so its
  // repair shows.
  Set(b, 1, 7, MakeColor(150, 150, 150));
  Set(b, 2, 7, MakeColor(120, 120, 120));
  EXPECT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{2, 3, 9}, {4, 3, 4}, {4, 9, 4}}));

  // The gap pixel is repaired with the rest of the run.
  tbitmap expected = b;
  for (int y = 3; y < 12; ++y) ReferenceRepair(expected, 2, y, true);
  for (int y = 3; y < 7; ++y) ReferenceRepair(expected, 4, y, true);
  for (int y = 9; y < 13; ++y) ReferenceRepair(expected, 4, y, true);
  tbitmap result;
  DeFringe(b, result, true, false);
  EXPECT_EQ(result, expected);
  EXPECT_NE(Get(result, 2, 7), MakeColor(120, 120, 120));
}

TEST(DeFringe, ARunReachingTheLastRowOrEndingOnAGapIsKept) {
  tbitmap b = Uniform(6, 12, kGrey);
  VerticalLine(b, 2, 8, 4);  // rows 8..11, the last row included
  EXPECT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{2, 8, 4}}));
  tbitmap c = Uniform(6, 12, kGrey);
  VerticalLine(c, 2, 6, 5);  // rows 6..10, row 11 is the pending gap
  EXPECT_EQ(FindVerticalFringes(c), (std::vector<FringeRun>{{2, 6, 5}}));
}

TEST(DeFringe, ARatioOfExactlyOnePointOneIsNoFringe) {
  // Grey 99 beside grey 110: 110 / ((99 + 99) / 2 + 1) is exactly 1.1.
  const tcolor bg = MakeColor(99, 99, 99);
  ASSERT_EQ(Luma(MakeColor(110, 110, 110)) / ((Luma(bg) + Luma(bg)) / 2 + 1), 1.1);
  tbitmap b = Uniform(8, 20, bg);
  VerticalLine(b, 2, 2, 6, MakeColor(110, 110, 110));
  VerticalLine(b, 4, 2, 6, MakeColor(111, 111, 111));
  EXPECT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{4, 2, 6}}));
}

TEST(DeFringe, APixelBetweenItsNeighboursEndsTheRunButOneWithinTheRatioDoesNot) {
  // Row 5 of the stripe is only slightly brighter than its neighbours (not
  // a fringe pixel, not between them either): the run goes on around it
  // without counting it.
  tbitmap b = Uniform(6, 20, kGrey);
  VerticalLine(b, 2, 2, 8);
  Set(b, 2, 5, MakeColor(102, 102, 102));
  EXPECT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{2, 2, 7}}));
}

TEST(DeFringe, RowZeroAndColumnZeroAreNeverExamined) {
  tbitmap b = Uniform(10, 10, kGrey);
  VerticalLine(b, 2, 0, 4);  // rows 0..3: only three are examined
  EXPECT_TRUE(FindVerticalFringes(b).empty());
  tbitmap c = Uniform(10, 10, kGrey);
  for (int x = 0; x < 4; ++x) Set(c, x, 2, kBright);  // columns 0..3 of row 2
  EXPECT_TRUE(FindHorizontalFringes(c).empty());
  Set(c, 4, 2, kBright);
  EXPECT_EQ(FindHorizontalFringes(c), (std::vector<FringeRun>{{1, 2, 4}}));
}

TEST(DeFringe, HorizontalPassFindsRowsAndRepairsUpAndDown) {
  tbitmap b = Uniform(20, 10, kGrey);
  for (int x = 3; x < 11; ++x) Set(b, x, 4, kBright);
  for (int x = 3; x < 11; ++x) Set(b, x, 5, kBright);  // an odd row: not examined
  tbitmap c = Uniform(20, 10, kGrey);
  for (int x = 3; x < 11; ++x) Set(c, x, 4, kBright);
  EXPECT_TRUE(FindHorizontalFringes(b).empty());
  EXPECT_EQ(FindHorizontalFringes(c), (std::vector<FringeRun>{{3, 4, 8}}));
  tbitmap expected = c;
  for (int x = 3; x < 11; ++x) ReferenceRepair(expected, x, 4, false);
  tbitmap result;
  DeFringe(c, result, false, true);
  EXPECT_EQ(result, expected);
}

TEST(DeFringe, RepairsSeeThePixelsEarlierRepairsLeft) {
  // Stripes at columns 2 and 4 share column 3: the second repair reads the
  // column 3 that the first one rewrote.
  tbitmap b = Uniform(10, 12, kGrey);
  VerticalLine(b, 2, 2, 6);
  VerticalLine(b, 4, 2, 6);
  ASSERT_EQ(FindVerticalFringes(b), (std::vector<FringeRun>{{2, 2, 6}, {4, 2, 6}}));
  tbitmap sequential = b;
  for (int y = 2; y < 8; ++y) ReferenceRepair(sequential, 2, y, true);
  for (int y = 2; y < 8; ++y) ReferenceRepair(sequential, 4, y, true);
  // The second repair made from the untouched picture would give another
  // column 3.
  tbitmap second = b;
  for (int y = 2; y < 8; ++y) ReferenceRepair(second, 4, y, true);
  ASSERT_NE(Get(sequential, 3, 4), Get(second, 3, 4));

  tbitmap result;
  DeFringe(b, result, true, false);
  EXPECT_EQ(result, sequential);
}

TEST(DeFringe, BothPassesRunVerticalFirst) {
  tbitmap b = Uniform(16, 16, kGrey);
  VerticalLine(b, 6, 2, 10);
  for (int x = 1; x < 14; ++x) Set(b, x, 8, MakeColor(180, 60, 60));
  tbitmap expected = b;
  RepairVerticalFringes(expected, FindVerticalFringes(expected));
  RepairHorizontalFringes(expected, FindHorizontalFringes(expected));
  tbitmap result;
  DeFringe(b, result, true, true);
  EXPECT_EQ(result, expected);
}

TEST(DeFringe, RepairsKeepEachPixelsColour) {
  // A coloured stripe on a coloured background: Cb and Cr of every
  // repaired pixel stay within rounding of what they were.
  tbitmap b = Uniform(10, 14, MakeColor(40, 120, 200));
  VerticalLine(b, 4, 2, 8, MakeColor(220, 90, 30));
  const tbitmap before = b;
  tbitmap result;
  DeFringe(b, result, true, false);
  for (int x = 3; x <= 5; ++x) {
    double y0, cb0, cr0, y1, cb1, cr1;
    RgbToYcc(Get(const_cast<tbitmap&>(before), x, 5), y0, cb0, cr0);
    RgbToYcc(Get(result, x, 5), y1, cb1, cr1);
    EXPECT_NEAR(cb0, cb1, 1.0) << x;
    EXPECT_NEAR(cr0, cr1, 1.0) << x;
  }
}

TEST(DeFringe, NarrowAndLowPicturesHaveNothingToExamine) {
  // Width 3: no column; width 4: column 2. Height 3: no row; height 4: row 2.
  tbitmap narrow = Uniform(3, 12, kGrey);
  VerticalLine(narrow, 1, 1, 8);
  VerticalLine(narrow, 2, 1, 8);
  const tbitmap narrowBefore = narrow;
  tbitmap result;
  DeFringe(narrow, result, true, true);
  EXPECT_EQ(result, narrowBefore);

  tbitmap four = Uniform(4, 12, kGrey);
  VerticalLine(four, 2, 1, 8);
  EXPECT_EQ(FindVerticalFringes(four), (std::vector<FringeRun>{{2, 1, 8}}));

  tbitmap low = Uniform(12, 3, kGrey);
  for (int x = 0; x < 12; ++x) Set(low, x, 1, kBright);
  EXPECT_TRUE(FindHorizontalFringes(low).empty());
  tbitmap lowfour = Uniform(12, 4, kGrey);
  for (int x = 1; x < 9; ++x) Set(lowfour, x, 2, kBright);
  EXPECT_EQ(FindHorizontalFringes(lowfour), (std::vector<FringeRun>{{1, 2, 8}}));

  // Pictures without pixels pass through.
  tbitmap empty(0, 0);
  EXPECT_NO_THROW(DeFringe(empty, result, true, true));
  EXPECT_TRUE(result.Empty());
}

TEST(DeFringe, SmallPicturesAndFewRunsStillReportProgress) {
  // Width 4 gives width div 8 = 0 and one run gives runs div 4 = 0: the
  // steps are at least 1, so nothing divides by zero.
  tbitmap b = Uniform(4, 12, kGrey);
  VerticalLine(b, 2, 1, 8);
  std::vector<std::pair<int, std::string>> reports;
  tbitmap result;
  DeFringe(b, result, true, true, [&](int p, const std::string& t) { reports.emplace_back(p, t); });
  ASSERT_GE(reports.size(), 4u);
  EXPECT_EQ(reports[0], (std::pair<int, std::string>{10, "Finding Fringes"}));
  EXPECT_EQ(reports[1], (std::pair<int, std::string>{-10, "Finding Fringes"}));
  EXPECT_EQ(reports[2], (std::pair<int, std::string>{50, "Processing Fringes"}));
  EXPECT_EQ(reports[3], (std::pair<int, std::string>{-10, "Processing Fringes"}));
}

TEST(DeFringe, ProgressStepsOnAWidePicture) {
  // 80 columns: a report after every 10 of the 39 examined columns; 8 runs:
  // a report after every second run.
  tbitmap b = Uniform(80, 12, kGrey);
  for (int i = 0; i < 8; ++i) VerticalLine(b, 4 + 8 * i, 1, 6);
  int finding = 0, processing = 0;
  tbitmap result;
  DeFringe(b, result, true, false, [&](int p, const std::string& t) {
    if (p == -10 && t == "Finding Fringes") ++finding;
    if (p == -10 && t == "Processing Fringes") ++processing;
  });
  EXPECT_EQ(finding, 3);
  EXPECT_EQ(processing, 4);
}

TEST(DeFringe, RefusedBitmapsFailAndTheResultStillGetsThePixels) {
  tbitmap b = Uniform(8, 8, kGrey);
  b.SetPixelFormat(PixelFormat::pf32bit);
  tbitmap result;
  EXPECT_EQ(testutil::ThrownMessage([&] { DeFringe(b, result, true, false); }),
            "Not 24 bit bitmap");
  EXPECT_EQ(result, b);

  tbitmap tall(6, 2401);
  tbitmap result2;
  EXPECT_EQ(testutil::ThrownMessage([&] { DeFringe(tall, result2, false, true); }),
            "Bitmap too big for this operation");
  EXPECT_EQ(result2.Height(), 2401);
}

}  // namespace
}  // namespace vantlo
