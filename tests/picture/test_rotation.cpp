#include <gtest/gtest.h>

#include <cstdint>

#include "picture/bitmap.h"
#include "picture/jpegimage.h"
#include "picture/rotation.h"

namespace vantlo {
namespace {

// Pixel (x, y) carries x in blue, y in green and a per-pixel id in red.
tbitmap Numbered(int w, int h) {
  tbitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = b.ScanLine(y) + x * 3;
      p[0] = static_cast<std::uint8_t>(x);
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(y * w + x);
    }
  return b;
}

std::uint8_t Id(const tbitmap& b, int x, int y) { return b.ScanLine(y)[x * 3 + 2]; }

TEST(RotateBitmap, QuarterTurnClockwiseOfThreeByTwo) {
  const tbitmap src = Numbered(3, 2);
  const tbitmap out = RotateBitmap(src, orRotateClockwise);
  ASSERT_EQ(out.Width(), 2);
  ASSERT_EQ(out.Height(), 3);
  // The former top-left pixel is now at the top-right; (x, y) -> (h - 1 - y, x).
  EXPECT_EQ(Id(out, 1, 0), Id(src, 0, 0));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Id(out, 1 - y, x), Id(src, x, y));
}

TEST(RotateBitmap, CounterClockwiseAndUpsideDown) {
  const tbitmap src = Numbered(3, 2);
  const tbitmap ccw = RotateBitmap(src, orRotateCounterClockwise);
  ASSERT_EQ(ccw.Width(), 2);
  ASSERT_EQ(ccw.Height(), 3);
  // (x, y) -> (y, w - 1 - x): the former top-left is at the bottom-left.
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(Id(ccw, y, 2 - x), Id(src, x, y));

  const tbitmap half = RotateBitmap(src, orUpsideDown);
  ASSERT_EQ(half.Width(), 3);
  ASSERT_EQ(half.Height(), 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      for (int c = 0; c < 3; ++c)
        EXPECT_EQ(half.ScanLine(1 - y)[(2 - x) * 3 + c], src.ScanLine(y)[x * 3 + c]);
}

TEST(RotateBitmap, TurnsComposeAndRoundTrip) {
  const tbitmap src = Numbered(7, 5);
  tbitmap t = src;
  for (int i = 0; i < 4; ++i) t = RotateBitmap(t, orRotateClockwise);
  EXPECT_EQ(t, src);
  EXPECT_EQ(RotateBitmap(RotateBitmap(src, 1), 3), src);
  EXPECT_EQ(RotateBitmap(RotateBitmap(src, 1), 1), RotateBitmap(src, 2));
  EXPECT_EQ(RotateBitmap(RotateBitmap(src, 2), 2), src);
  EXPECT_EQ(RotateBitmap(RotateBitmap(RotateBitmap(src, 1), 1), 1), RotateBitmap(src, 3));
  EXPECT_EQ(RotateBitmap(src, 0), src);
  EXPECT_EQ(RotateBitmap(src, 9), src);
}

TEST(RotatePicture, NormalKeepsJpegDataOtherCodesTakeTheTurnedBitmap) {
  tbitmap src = Numbered(16, 8);
  TJPEGImage image;
  image.Assign(src);
  image.Compress();
  const auto data = image.JpegData();
  ASSERT_FALSE(data.empty());

  TJPEGImage same;
  RotatePicture(image, same, orNormal);
  EXPECT_EQ(same.JpegData(), data);

  TJPEGImage turned;
  RotatePicture(image, turned, orRotateClockwise);
  EXPECT_FALSE(turned.HasJpegData());
  EXPECT_EQ(turned.Width(), 8);
  EXPECT_EQ(turned.Height(), 16);
  EXPECT_EQ(turned.Bitmap(), RotateBitmap(image.Bitmap(), orRotateClockwise));

  // In place.
  RotatePicture(image, image, orUpsideDown);
  EXPECT_EQ(image.Width(), 16);
  EXPECT_FALSE(image.HasJpegData());
}

TEST(Orientation, TextsAndTurnDifferences) {
  EXPECT_EQ(OrientationText(0), "Normal");
  EXPECT_EQ(OrientationText(1), "Rotate Clockwise");
  EXPECT_EQ(OrientationText(2), "Upside Down");
  EXPECT_EQ(OrientationText(3), "Rotate Counter-clockwise");
  EXPECT_EQ(OrientationText(4), "");
  EXPECT_EQ(QuarterTurnsBetween(0, 3), 3);
  EXPECT_EQ(QuarterTurnsBetween(3, 1), 2);
  EXPECT_EQ(QuarterTurnsBetween(1, 0), 3);
  EXPECT_EQ(QuarterTurnsBetween(2, 6), 0);
  EXPECT_EQ(QuarterTurnsBetween(5, -1), 2);
}

}  // namespace
}  // namespace vantlo
