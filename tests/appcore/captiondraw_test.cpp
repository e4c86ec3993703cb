#include "app/core/captiondraw.h"

#include <gtest/gtest.h>

namespace vantlo {
namespace {

const tfieldtexts kTexts{"06/12/2026", "Sunday, 6 December 2026", "14:05", "14:05:09"};

tbitmap Filled(int w, int h, std::uint8_t b, std::uint8_t g, std::uint8_t r) {
  tbitmap bm(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      auto* p = bm.ScanLine(y) + 3 * x;
      p[0] = b;
      p[1] = g;
      p[2] = r;
    }
  }
  return bm;
}

struct Pixel {
  int b, g, r;
};
Pixel At(const tbitmap& bm, int x, int y) {
  const auto* p = bm.ScanLine(y) + 3 * x;
  return {p[0], p[1], p[2]};
}

tcaptionstyle Style() {
  tcaptionstyle s;
  s.fontName = "DejaVu Sans";
  s.fontSize = 10;
  s.colour = 0x0000FF;      // red
  s.background = 0xFFFFFF;  // white box
  return s;
}

TEST(DrawCaption, OnlyTheCaptionBoxChanges) {
  tbitmap bm = Filled(240, 120, 30, 20, 10);
  const tbitmap before = bm;
  auto l = DrawCaption(bm, "Hello", Style());
  ASSERT_FALSE(l.drawn.empty());
  EXPECT_EQ(l.y, 120 - 2 * l.height);
  EXPECT_GT(l.x, 0);
  int white = 0, red = 0;
  for (int y = 0; y < bm.Height(); ++y) {
    for (int x = 0; x < bm.Width(); ++x) {
      Pixel p = At(bm, x, y);
      bool inside = x >= l.x && x < l.x + l.width && y >= l.y && y < l.y + l.height;
      if (!inside) {
        Pixel q = At(before, x, y);
        ASSERT_TRUE(p.b == q.b && p.g == q.g && p.r == q.r) << x << "," << y;
      } else {
        if (p.b == 255 && p.g == 255 && p.r == 255) ++white;
        if (p.r > 200 && p.g < 80 && p.b < 80) ++red;
      }
    }
  }
  EXPECT_GT(white, l.width * l.height / 2);  // mostly background box
  EXPECT_GT(red, 5);                         // and some text in the font colour
}

TEST(DrawCaption, TransparentDrawsNoBox) {
  tbitmap bm = Filled(240, 120, 30, 20, 10);
  auto style = Style();
  style.transparent = true;
  style.bottom = false;
  style.alignment = 0;
  auto l = DrawCaption(bm, "Hello", style);
  int white = 0, changed = 0;
  for (int y = 0; y < bm.Height(); ++y) {
    for (int x = 0; x < bm.Width(); ++x) {
      Pixel p = At(bm, x, y);
      if (p.b == 255 && p.g == 255 && p.r == 255) ++white;
      if (p.b != 30 || p.g != 20 || p.r != 10) ++changed;
    }
  }
  EXPECT_EQ(white, 0);
  EXPECT_GT(changed, 5);
  EXPECT_EQ(l.y, l.height);
}

TEST(DrawCaption, CaptionWiderThanPictureIsCutNotDrawnPast) {
  tbitmap bm = Filled(60, 40, 0, 0, 0);
  auto l = DrawCaption(bm, std::string(200, 'W'), Style());
  EXPECT_EQ(l.x, 0);
  EXPECT_LE(l.x + l.width, 60);
  EXPECT_LT(l.drawn.size(), 203u);
  EXPECT_GE(l.y, 0);
  EXPECT_LE(l.y + l.height, 40 + l.height);  // kept inside as far as a line fits
}

TEST(DrawCaption, TinyAndEmptyPicturesAndBadFormats) {
  tbitmap tiny = Filled(2, 2, 1, 2, 3);
  EXPECT_NO_THROW(DrawCaption(tiny, "caption", Style()));
  tbitmap empty;
  EXPECT_NO_THROW(DrawCaption(empty, "caption", Style()));
  tbitmap other(10, 10);
  other.SetPixelFormat(PixelFormat::pf32bit);
  EXPECT_THROW(DrawCaption(other, "x", Style()), std::invalid_argument);
  // A damaged font size or an unknown font name still draws.
  auto style = Style();
  style.fontSize = -32000;
  style.fontName = "No Such Font";
  tbitmap bm = Filled(100, 60, 0, 0, 0);
  EXPECT_NO_THROW(DrawCaption(bm, "x", style));
}

TEST(WriteCaption, NothingToWriteLeavesPictureUntouched) {
  tbitmap bm = Filled(100, 60, 5, 6, 7);
  const tbitmap before = bm;
  tcaptionsetting s;
  s.style = Style();
  s.mode = 0;
  EXPECT_FALSE(WriteCaption(bm, 1, s, kTexts, nullptr));
  s.mode = 3;  // prompt, nobody to ask
  EXPECT_FALSE(WriteCaption(bm, 1, s, kTexts, nullptr));
  EXPECT_EQ(bm, before);
  s.mode = 2;
  s.customText = "Pic <PICNUM>";
  EXPECT_TRUE(WriteCaption(bm, 1, s, kTexts, nullptr));
  EXPECT_NE(bm, before);
  s.customText = "broken <PICNUM";
  EXPECT_THROW(WriteCaption(bm, 1, s, kTexts, nullptr), tcaptionerror);
}

TEST(DrawCaptionSample, SilverBackgroundAndTextAtTenTen) {
  tbitmap sample(160, 40);
  tcaptionsetting s;
  s.style = Style();
  DrawCaptionSample(sample, s, kTexts);  // "No Caption": silver only
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 160; ++x) {
      Pixel p = At(sample, x, y);
      ASSERT_TRUE(p.b == 192 && p.g == 192 && p.r == 192);
    }
  }
  s.mode = 3;
  DrawCaptionSample(sample, s, kTexts);
  EXPECT_EQ(At(sample, 9, 9).r, 192);
  Pixel corner = At(sample, 10, 10);  // the background box starts at (10, 10)
  EXPECT_EQ(corner.b + corner.g + corner.r, 3 * 255);
}

}  // namespace
}  // namespace vantlo
