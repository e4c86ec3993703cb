// tfastbm's refusals and pixel layout; the colour routines at their rounding
// and clamping corners (values worked out by hand from the formulas).
#include <gtest/gtest.h>

#include "picture/colour.h"
#include "picture/fastbm.h"
#include "picture/pictureerror.h"

namespace vantlo {
namespace {

std::string AttachMessage(tbitmap* bm) {
  tfastbm fast;
  try {
    fast.Attach(bm);
  } catch (const tpictureerror& e) {
    return e.what();
  }
  return "";
}

TEST(FastBitmap, RefusesNilOther24BitAndTallBitmaps) {
  EXPECT_EQ(AttachMessage(nullptr), "Nil pointer to bitmap");
  tbitmap pf32(4, 4);
  pf32.SetPixelFormat(PixelFormat::pf32bit);
  EXPECT_EQ(AttachMessage(&pf32), "Not 24 bit bitmap");
  tbitmap tall(1, 2401);
  EXPECT_EQ(AttachMessage(&tall), "Bitmap too big for this operation");
  tbitmap limit(1, 2400);
  EXPECT_EQ(AttachMessage(&limit), "");
}

TEST(FastBitmap, PixelsAreStoredBlueGreenRed) {
  tbitmap bm(3, 2);
  tfastbm fast;
  fast.Attach(&bm);
  EXPECT_EQ(fast.BytesPerPixel(), 3);
  fast.SetPixel(2, 1, MakeColor(0x11, 0x22, 0x33));
  const std::uint8_t* p = bm.ScanLine(1) + 6;
  EXPECT_EQ(p[0], 0x33);
  EXPECT_EQ(p[1], 0x22);
  EXPECT_EQ(p[2], 0x11);
  EXPECT_EQ(fast.GetPixel(2, 1), 0x332211u);
  EXPECT_EQ(fast.GetPixel(0, 0), 0u);
}

TEST(FastBitmap, AttachesAgainToAnotherBitmap) {
  tbitmap a(2, 2), b(5, 7);
  tfastbm fast;
  fast.Attach(&a);
  fast.Attach(&b);
  fast.SetPixel(4, 6, MakeColor(1, 2, 3));
  EXPECT_EQ(fast.Bitmap(), &b);
  EXPECT_EQ(b.ScanLine(6)[12 + 2], 1);
  EXPECT_TRUE(std::all_of(a.Bytes().begin(), a.Bytes().end(), [](auto v) { return v == 0; }));
}

TEST(Colour, ValueLayoutIsRedInTheLowByte) {
  const tcolor c = MakeColor(0x12, 0x34, 0x56);
  EXPECT_EQ(c, 0x563412u);
  EXPECT_EQ(GetRValue(c), 0x12);
  EXPECT_EQ(GetGValue(c), 0x34);
  EXPECT_EQ(GetBValue(c), 0x56);
}

TEST(Colour, RealConversions) {
  EXPECT_NEAR(Luma(MakeColor(255, 255, 255)), 255.0, 1e-9);
  EXPECT_DOUBLE_EQ(Luma(MakeColor(100, 0, 0)), 29.9);
  double y, cb, cr;
  RgbToYcc(MakeColor(255, 0, 0), y, cb, cr);
  EXPECT_NEAR(y, 76.245, 1e-9);
  EXPECT_NEAR(cb, -76.245 / 1.772, 1e-9);
  EXPECT_NEAR(cr, (255 - 76.245) / 1.402, 1e-9);
  // Every grey survives the round trip exactly.
  for (int v = 0; v < 256; ++v) {
    RgbToYcc(MakeColor(v, v, v), y, cb, cr);
    EXPECT_EQ(YccToRgb(y, cb, cr), MakeColor(v, v, v)) << v;
  }
}

TEST(Colour, YccToRgbRoundsHalfToEven) {
  EXPECT_EQ(YccToRgb(0.5, 0, 0), MakeColor(0, 1, 0));
  EXPECT_EQ(YccToRgb(1.5, 0, 0), MakeColor(2, 1, 2));
  // Half-up rounding would give (3, 2, 3).
  EXPECT_EQ(YccToRgb(2.5, 0, 0), MakeColor(2, 3, 2));
}

TEST(Colour, YccToRgbTakesGreenFromUnclampedRedAndBlue) {
  // B = -227 before clamping gives G = 44; a clamped B of 0 would give 0.
  EXPECT_EQ(YccToRgb(0, -128, 0), MakeColor(0, 44, 0));
  EXPECT_EQ(YccToRgb(0, -128, -128), MakeColor(0, 135, 0));
  EXPECT_EQ(YccToRgb(255, 127, 127), MakeColor(255, 121, 255));
}

TEST(Colour, ThumbnailConversionClampsRed) {
  EXPECT_EQ(ThumbYccToRgb(200, 0, 127), MakeColor(255, 109, 200));
  EXPECT_EQ(ThumbYccToRgb(77, 0, 0), MakeColor(77, 77, 77));
}

TEST(Colour, IntegerFormsTruncateTowardZero) {
  EXPECT_EQ(IntLuma(MakeColor(255, 255, 255)), 255);
  EXPECT_EQ(IntLuma(MakeColor(1, 1, 1)), 1);
  EXPECT_EQ(IntLuma(MakeColor(3, 0, 0)), 0);  // 897 div 1000
  std::uint8_t y, cb, cr;
  IntRgbToYcc(MakeColor(255, 0, 0), y, cb, cr);
  EXPECT_EQ(y, 76);
  EXPECT_EQ(cb, 85);  // -43.0185 truncates to -43, not -44
  EXPECT_EQ(cr, 255);
  IntRgbToYcc(MakeColor(0, 0, 255), y, cb, cr);
  EXPECT_EQ(y, 29);
  EXPECT_EQ(cb, 255);
  EXPECT_EQ(cr, 108);
  IntRgbToYcc(MakeColor(0, 0, 0), y, cb, cr);
  EXPECT_EQ(cb, 128);
  EXPECT_EQ(cr, 128);
}

TEST(Colour, IntYccToRgbTruncatesAndClamps) {
  // R = 200 + (-179456 div 1000) = 200 - 179; G = 200 + 91 clamps to 255.
  EXPECT_EQ(IntYccToRgb(200, 128, 0), MakeColor(21, 255, 200));
  // G = 100 + 44; B = 100 - 226 clamps to 0.
  EXPECT_EQ(IntYccToRgb(100, 0, 128), MakeColor(100, 144, 0));
  EXPECT_EQ(IntYccToRgb(90, 128, 128), MakeColor(90, 90, 90));
  EXPECT_EQ(IntYccToRgb(255, 255, 255), MakeColor(255, 122, 255));
}

}  // namespace
}  // namespace vantlo
