#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "picture/advstretch.h"
#include "picture/bitmap.h"
#include "picture/pictureerror.h"

namespace vantlo {
namespace {

// A picture whose three channels differ per pixel, so that a wrong source
// pixel or a swapped channel shows.
tbitmap Pattern(int w, int h) {
  tbitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* p = b.ScanLine(y);
    for (int x = 0; x < w; ++x, p += 3) {
      p[0] = static_cast<std::uint8_t>(x * 7 + y);
      p[1] = static_cast<std::uint8_t>(y * 5 + 3);
      p[2] = static_cast<std::uint8_t>(x ^ y);
    }
  }
  return b;
}

tbitmap Uniform(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  tbitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = bm.ScanLine(y) + x * 3;
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  return bm;
}

const std::uint8_t* Px(const tbitmap& b, int x, int y) { return b.ScanLine(y) + x * 3; }

TEST(PlainStretch, PicksNearestSourcePixelByTruncation) {
  const tbitmap src = Pattern(4, 2);
  tbitmap dst(2, 1);
  PlainStretch(src, dst);
  // Target x takes source x * 4 div 2, target row 0 source row 0.
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(Px(dst, 0, 0)[c], Px(src, 0, 0)[c]);
    EXPECT_EQ(Px(dst, 1, 0)[c], Px(src, 2, 0)[c]);
  }
  tbitmap big(4, 4);
  PlainStretch(src, big);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x)
      for (int c = 0; c < 3; ++c) EXPECT_EQ(Px(big, x, y)[c], Px(src, x, y / 2)[c]);
}

TEST(AdvStretch, SameSizeCopiesAndNotSmoothIsPlain) {
  const tbitmap src = Pattern(64, 48);
  tbitmap same(64, 48);
  AdvStretch(src, same, true);
  EXPECT_EQ(same, src);

  tbitmap a(100, 30), b(100, 30);
  AdvStretch(src, a, false);
  PlainStretch(src, b);
  EXPECT_EQ(a, b);
}

TEST(BoxShrink, ExactFactorAveragesBlocksWithTiesToEven) {
  // Each 2 x 2 block holds v, v + 1 in both rows: the mean v + 0.5 rounds to even.
  tbitmap src(640, 480);
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      std::uint8_t* p = src.ScanLine(y) + x * 3;
      const int v = (x / 2) % 200;
      p[0] = static_cast<std::uint8_t>(v + (x & 1));
      p[1] = static_cast<std::uint8_t>(10 + (y & 1) * 3);  // mean 11.5 -> 12
      p[2] = 50;
    }
  tbitmap dst(320, 240);
  AdvStretch(src, dst, true);
  for (int y = 0; y < 240; y += 37)
    for (int x = 0; x < 320; ++x) {
      const int v = x % 200;
      const int expect = (v % 2 == 0) ? v : v + 1;  // v + 0.5 to the even neighbour
      ASSERT_EQ(Px(dst, x, y)[0], expect) << x;
      ASSERT_EQ(Px(dst, x, y)[1], 12);
      ASSERT_EQ(Px(dst, x, y)[2], 50);
    }
}

TEST(BoxShrink, NonIntegerFactorUsesPlainStretch) {
  // Three-quarter of 640 x 480, and half of 641 x 481 (641 is no multiple of 320).
  for (auto [sw, sh, tw, th] : {std::array{640, 480, 480, 360}, std::array{641, 481, 320, 240}}) {
    const tbitmap src = Pattern(sw, sh);
    tbitmap a(tw, th), b(tw, th);
    AdvStretch(src, a, true);
    PlainStretch(src, b);
    EXPECT_EQ(a, b) << sw << "x" << sh;
  }
}

TEST(BoxShrink, TooFewSourceRowsFallsBackInsteadOfReadingPastTheEnd) {
  // k = 2 from the widths, but 2 x 3 rows are not there.
  const tbitmap src = Pattern(8, 4);
  tbitmap a(4, 3), b(4, 3);
  BoxShrink(src, a);
  PlainStretch(src, b);
  EXPECT_EQ(a, b);
  // Enlarging through BoxShrink (k = 0) is a plain stretch too.
  tbitmap c(16, 2), d(16, 2);
  BoxShrink(src, c);
  PlainStretch(src, d);
  EXPECT_EQ(c, d);
}

TEST(SmoothEnlarge, UniformPictureStaysUniform) {
  const tbitmap src = Uniform(320, 240, 17, 130, 250);
  tbitmap dst(640, 480);
  AdvStretch(src, dst, true);
  EXPECT_EQ(dst, Uniform(640, 480, 17, 130, 250));
}

TEST(SmoothEnlarge, WeightsNeighboursAndClampsAtTheBorders) {
  // Source columns 0 and 28 on one row, enlarged to four columns: the three
  // source columns under target columns 0..3 are (0,0,0), (0,0,1), (0,1,1),
  // (1,1,1), weighted 1-2-1 / 2-16-2 / 1-2-1 and divided by 28.
  tbitmap src(2, 1);
  src.ScanLine(0)[3] = 28;
  src.ScanLine(0)[4] = 56;
  src.ScanLine(0)[5] = 14;
  tbitmap dst(4, 1);
  SmoothEnlarge(src, dst);
  EXPECT_EQ(Px(dst, 0, 0)[0], 0);
  EXPECT_EQ(Px(dst, 1, 0)[0], 4);
  EXPECT_EQ(Px(dst, 2, 0)[0], 24);
  EXPECT_EQ(Px(dst, 3, 0)[0], 28);
  EXPECT_EQ(Px(dst, 1, 0)[1], 8);
  EXPECT_EQ(Px(dst, 2, 0)[1], 48);
  EXPECT_EQ(Px(dst, 1, 0)[2], 2);
  EXPECT_EQ(Px(dst, 2, 0)[2], 12);
}

TEST(SmoothEnlarge, ShrinkingOneDirectionStaysInsideTheSource) {
  // Taller but narrower: column indexes may run far below zero without the clamp.
  const tbitmap src = Pattern(50, 10);
  tbitmap dst(7, 40);
  AdvStretch(src, dst, true);
  EXPECT_EQ(dst.Width(), 7);
}

TEST(AdvStretch, RefusesWhatFastBitmapRefuses) {
  tbitmap src(4, 4), dst(2, 2);
  src.SetPixelFormat(PixelFormat::pf32bit);
  try {
    AdvStretch(src, dst, true);
    FAIL();
  } catch (const tpictureerror& e) {
    EXPECT_EQ(std::string(e.what()), "Not 24 bit bitmap");
  }
  tbitmap tall(1, 2401), small(1, 10);
  try {
    PlainStretch(tall, small);
    FAIL();
  } catch (const tpictureerror& e) {
    EXPECT_EQ(std::string(e.what()), "Bitmap too big for this operation");
  }
}

TEST(ResizeDimensions, EveryChoice) {
  EXPECT_EQ(ResizeDimensions(640, 480, 0), (tdimensions{640, 480}));
  EXPECT_EQ(ResizeDimensions(480, 240, 1), (tdimensions{160, 80}));
  EXPECT_EQ(ResizeDimensions(640, 480, 2), (tdimensions{320, 240}));
  EXPECT_EQ(ResizeDimensions(640, 480, 3), (tdimensions{480, 360}));
  EXPECT_EQ(ResizeDimensions(320, 240, 4), (tdimensions{640, 480}));
  EXPECT_EQ(ResizeDimensions(640, 481, 5), (tdimensions{1280, 962}));
  EXPECT_EQ(ResizeDimensions(641, 481, 6), (tdimensions{320, 240}));
  EXPECT_EQ(ResizeDimensions(641, 481, 7), (tdimensions{160, 120}));
  EXPECT_EQ(ResizeDimensions(640, 480, 8), (tdimensions{480, 360}));
  EXPECT_EQ(ResizeDimensions(640, 480, 9), (tdimensions{640, 480}));
  EXPECT_EQ(ResizeDimensions(640, 480, 200), (tdimensions{640, 480}));
  // Heights truncate: 100 * 160 / 333 = 48.04...
  EXPECT_EQ(ResizeDimensions(333, 100, 1), (tdimensions{160, 48}));
}

TEST(ResizeDimensions, NeverEmpty) {
  EXPECT_EQ(ResizeDimensions(3, 3, 7), (tdimensions{1, 1}));
  EXPECT_EQ(ResizeDimensions(1, 1, 6), (tdimensions{1, 1}));
  EXPECT_EQ(ResizeDimensions(1, 1, 8), (tdimensions{1, 1}));
  EXPECT_EQ(ResizeDimensions(2000, 1, 1), (tdimensions{160, 1}));
  EXPECT_EQ(ResizeDimensions(0, 0, 2), (tdimensions{320, 1}));
}

}  // namespace
}  // namespace vantlo
