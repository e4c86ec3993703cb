// Retouching: the blend, the pixel adjustments, the luminance blur and
// sharpness step against straightforward per-pixel versions, the
// retoucher's Apply / Undo / Revert with its base picture, the preview of
// a chosen area (its mean, clipping at the picture's edge, agreement with
// Apply) and the slider model with its lock.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "picture/colour.h"
#include "picture/fastbm.h"
#include "picture/rawencoder.h"
#include "picture/retoucher.h"
#include "picture/touchsliders.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

tcolor Get(const tbitmap& b, int x, int y) {
  tfastbm f;
  f.Attach(const_cast<tbitmap*>(&b));
  return f.GetPixel(x, y);
}

void Set(tbitmap& b, int x, int y, tcolor c) {
  tfastbm f;
  f.Attach(&b);
  f.SetPixel(x, y, c);
}

tbitmap Uniform(int w, int h, tcolor c) {
  tbitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Set(b, x, y, c);
  return b;
}

// The luminance blur written out per pixel from the colour routines.
tbitmap ReferenceBlur(const tbitmap& src) {
  tbitmap dst = src;
  if (src.Width() < 3 || src.Height() < 3) return dst;
  for (int x = 1; x < src.Width() - 1; ++x) {
    for (int y = 1; y < src.Height() - 1; ++y) {
      std::uint8_t yy, cb, cr;
      IntRgbToYcc(Get(src, x, y), yy, cb, cr);
      auto l = [&](int dx, int dy) { return static_cast<int>(IntLuma(Get(src, x + dx, y + dy))); };
      const int blurred = (4 * yy + 2 * (l(-1, 0) + l(1, 0) + l(0, -1) + l(0, 1)) + l(-1, -1) +
                           l(1, -1) + l(-1, 1) + l(1, 1)) >>
                          4;
      Set(dst, x, y, IntYccToRgb(static_cast<std::uint8_t>(blurred), cb, cr));
    }
  }
  return dst;
}

tbitmap ReferenceSharpness(const tbitmap& src, int s) {
  const tbitmap blurred = ReferenceBlur(src);
  tbitmap dst = src;
  for (int x = 0; x < src.Width(); ++x)
    for (int y = 0; y < src.Height(); ++y)
      Set(dst, x, y, Mix(Get(src, x, y), Get(blurred, x, y), -4 * s));
  return dst;
}

// One pixel adjusted as the steps read: contrast, brightness, colour.
tcolor ReferenceAdjust(tcolor p, const tretouchsettings& s, int mean) {
  if (s.Contrast != 0) p = Mix(p, MakeColor(mean, mean, mean), s.Contrast);
  if (s.Brightness != 0) p = Mix(p, 0, s.Brightness);
  if (s.Red != 0 || s.Green != 0 || s.Blue != 0) {
    const int y = IntLuma(p);
    auto ch = [y](int v, int k) { return std::clamp((100 - k) * v / 100 + k * y / 100, 0, 255); };
    p = MakeColor(ch(GetRValue(p), s.Red), ch(GetGValue(p), s.Green), ch(GetBValue(p), s.Blue));
  }
  return p;
}

TEST(RetouchFilters, MixDividesEachProductOnItsOwnAndClamps) {
  // (100 - 30) * 99 / 100 = 69 (69.3), 30 * 1 / 100 = 0 (0.3): 69, not 69.6.
  EXPECT_EQ(GetRValue(Mix(MakeColor(99, 0, 0), MakeColor(1, 0, 0), 30)), 69);
  EXPECT_EQ(Mix(MakeColor(10, 20, 30), MakeColor(200, 100, 0), 0), MakeColor(10, 20, 30));
  EXPECT_EQ(Mix(MakeColor(10, 20, 30), MakeColor(200, 100, 0), 100), MakeColor(200, 100, 0));
  // Negative strengths push away: -200 gives 3a - 2b, clamped.
  EXPECT_EQ(Mix(MakeColor(100, 50, 10), MakeColor(90, 60, 100), -200), MakeColor(120, 30, 0));
  // A negative product truncates towards zero: -4 * 33 / 100 = -1.
  EXPECT_EQ(GetRValue(Mix(MakeColor(50, 0, 0), MakeColor(33, 0, 0), -4)), 104 * 50 / 100 - 1);
}

TEST(RetouchFilters, AdjusterMatchesTheStepsPixelByPixel) {
  const tbitmap pic = MakeTestPicture(64, 40, 3);
  const tretouchsettings cases[] = {{-50, 0, 0, 0, 0, 0},
                                    {40, 0, 0, 0, 0, 0},
                                    {0, -70, 0, 0, 0, 0},
                                    {0, 30, 0, 0, 0, 0},
                                    {0, 0, 0, 60, -40, 100},
                                    {25, -35, 0, -200, 50, 10},
                                    {-100, -100, 0, -200, -200, -200}};
  for (const auto& s : cases) {
    const tpixeladjuster adjuster(s, 87);
    for (int y = 0; y < pic.Height(); ++y)
      for (int x = 0; x < pic.Width(); ++x)
        ASSERT_EQ(adjuster.Adjust(Get(pic, x, y)), ReferenceAdjust(Get(pic, x, y), s, 87))
            << x << "," << y << " brightness " << s.Brightness << " contrast " << s.Contrast;
  }
}

TEST(RetouchFilters, LuminanceBlurMatchesThePerPixelFormulaAndKeepsTheBorder) {
  const tbitmap pic = MakeTestPicture(37, 23, 5);
  tbitmap blurred;
  LuminanceBlur(pic, blurred);
  EXPECT_EQ(blurred, ReferenceBlur(pic));
  for (int x = 0; x < pic.Width(); ++x) {
    EXPECT_EQ(Get(blurred, x, 0), Get(pic, x, 0));
    EXPECT_EQ(Get(blurred, x, pic.Height() - 1), Get(pic, x, pic.Height() - 1));
  }
  for (int y = 0; y < pic.Height(); ++y) {
    EXPECT_EQ(Get(blurred, 0, y), Get(pic, 0, y));
    EXPECT_EQ(Get(blurred, pic.Width() - 1, y), Get(pic, pic.Width() - 1, y));
  }
  // Too narrow or too low: copied unblurred.
  const tbitmap thin = MakeTestPicture(2, 9, 1);
  LuminanceBlur(thin, blurred);
  EXPECT_EQ(blurred, thin);
}

TEST(RetouchFilters, SharpnessStepIsTheMixWithTheBlur) {
  const tbitmap pic = MakeTestPicture(41, 29, 9);
  for (int s : {-100, -25, -7, 1, 13, 50, 100}) {
    tbitmap b = pic;
    SharpnessStep(b, s);
    EXPECT_EQ(b, ReferenceSharpness(pic, s)) << s;
  }
  tbitmap b = pic;
  SharpnessStep(b, 0);
  EXPECT_EQ(b, pic);
}

TEST(RetouchFilters, SharpnessProgressEveryTenColumns) {
  tbitmap b = MakeTestPicture(35, 8, 2);
  std::vector<std::pair<int, std::string>> reports;
  SharpnessStep(b, -10, [&](int p, const std::string& t) { reports.emplace_back(p, t); });
  EXPECT_EQ(reports, (std::vector<std::pair<int, std::string>>{
                         {0, "Blurring"}, {28, "Blurring"}, {57, "Blurring"}, {85, "Blurring"}}));
  reports.clear();
  SharpnessStep(b, 1, [&](int p, const std::string& t) { reports.emplace_back(p, t); });
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports[0].second, "Sharpening");
}

class RetoucherTest : public ::testing::Test {
 protected:
  tretoucher r;
  ttouchsliders sliders{r};
  std::vector<std::pair<int, std::string>> reports;
  void SetUp() override {
    r.SetStatusCallback([this](int p, const std::string& t) { reports.emplace_back(p, t); });
  }
};

TEST_F(RetoucherTest, AllSlidersAtZeroLeaveThePictureButMakeAnUndo) {
  const tbitmap pic = MakeTestPicture(50, 30, 1);
  r.LoadPicture(pic, false);
  tbitmap b = pic;
  r.ApplyTo(b);
  EXPECT_EQ(b, pic);
  EXPECT_TRUE(r.UndoAvailable());
  ASSERT_FALSE(reports.empty());
  EXPECT_EQ(reports.back(), (std::pair<int, std::string>{0, "Done"}));
}

TEST_F(RetoucherTest, BrightnessPlusHundredDoublesMinusHundredBlackens) {
  tbitmap pic = Uniform(20, 12, MakeColor(30, 100, 200));
  r.LoadPicture(pic, false);
  sliders.Move(ttouchslider::Brightness, 100);
  EXPECT_EQ(r.Settings().Brightness, -100);
  tbitmap b = pic;
  r.ApplyTo(b);
  EXPECT_EQ(b, Uniform(20, 12, MakeColor(60, 200, 255)));

  sliders.Move(ttouchslider::Brightness, -100);
  b = pic;
  r.ApplyTo(b);
  EXPECT_EQ(b, Uniform(20, 12, 0));
}

TEST_F(RetoucherTest, ColourSaturationMinusHundredLockedGivesTheIntegerLuminance) {
  const tbitmap pic = MakeTestPicture(40, 24, 4);
  r.LoadPicture(pic, false);
  ASSERT_TRUE(sliders.Locked());
  sliders.Move(ttouchslider::Green, -100);
  EXPECT_EQ(sliders.Positions().Red, -100);
  EXPECT_EQ(sliders.Positions().Blue, -100);
  EXPECT_EQ(r.Settings().Red, 100);
  tbitmap b = pic;
  r.ApplyTo(b);
  for (int y = 0; y < pic.Height(); ++y)
    for (int x = 0; x < pic.Width(); ++x) {
      const std::uint8_t l = IntLuma(Get(pic, x, y));
      ASSERT_EQ(Get(b, x, y), MakeColor(l, l, l)) << x << "," << y;
    }
}

TEST_F(RetoucherTest, BlurMinusTwentyFiveIsTheLuminanceBlur) {
  const tbitmap pic = MakeTestPicture(60, 45, 6);
  r.LoadPicture(pic, false);
  sliders.Move(ttouchslider::Sharpness, -25);
  tbitmap b = pic;
  r.ApplyTo(b);
  EXPECT_EQ(b, ReferenceBlur(pic));
  // Progress every ten columns, then "Done".
  ASSERT_EQ(reports.size(), 7u);
  EXPECT_EQ(reports[0], (std::pair<int, std::string>{0, "Blurring"}));
  EXPECT_EQ(reports[5], (std::pair<int, std::string>{83, "Blurring"}));
  EXPECT_EQ(reports[6], (std::pair<int, std::string>{0, "Done"}));
}

TEST_F(RetoucherTest, ApplyStartsFromTheBasePictureButSharpnessAloneAccumulates) {
  const tbitmap pic = MakeTestPicture(30, 20, 8);
  r.LoadPicture(pic, false);
  sliders.Move(ttouchslider::Brightness, 20);
  tbitmap b = pic;
  r.ApplyTo(b);
  const tbitmap once = b;
  r.ApplyTo(b);
  EXPECT_EQ(b, once);  // absolute: the second Apply starts from the base again

  sliders.ZeroAll();
  sliders.Move(ttouchslider::Sharpness, 30);
  b = pic;
  r.ApplyTo(b);
  tbitmap twice = b;
  r.ApplyTo(twice);
  EXPECT_EQ(b, ReferenceSharpness(pic, 30));
  EXPECT_EQ(twice, ReferenceSharpness(ReferenceSharpness(pic, 30), 30));
}

TEST_F(RetoucherTest, UndoIsOneLevelAndTheSecondFailsWithCannotUndo) {
  const tbitmap pic = MakeTestPicture(24, 16, 2);
  r.LoadPicture(pic, false);
  tbitmap b = pic;
  EXPECT_EQ(testutil::ThrownMessage([&] { r.Undo(b); }), "Cannot Undo");
  sliders.Move(ttouchslider::Contrast, 40);
  r.ApplyTo(b);
  ASSERT_NE(b, pic);
  tbitmap undone;
  r.Undo(undone);
  EXPECT_EQ(undone, pic);
  EXPECT_FALSE(r.UndoAvailable());
  EXPECT_EQ(testutil::ThrownMessage([&] { r.Undo(undone); }), "Cannot Undo");
  EXPECT_EQ(undone, pic);

  // A new picture drops the undo.
  r.ApplyTo(b);
  ASSERT_TRUE(r.UndoAvailable());
  r.LoadPicture(b, true);
  EXPECT_FALSE(r.UndoAvailable());
}

TEST_F(RetoucherTest, RevertGivesTheBasePicture) {
  const tbitmap pic = MakeTestPicture(24, 16, 12);
  tbitmap b;
  r.Revert(b);
  EXPECT_TRUE(b.Empty());  // nothing without a base picture
  r.LoadPicture(pic, false);
  sliders.Move(ttouchslider::Red, 70);
  b = pic;
  r.ApplyTo(b);
  ASSERT_NE(b, pic);
  r.Revert(b);
  EXPECT_EQ(b, pic);
}

TEST_F(RetoucherTest, ApplyWithoutAPictureDoesNothing) {
  tbitmap b = MakeTestPicture(10, 10, 1);
  const tbitmap before = b;
  sliders.Move(ttouchslider::Brightness, 50);
  r.ApplyTo(b);
  EXPECT_EQ(b, before);
  EXPECT_FALSE(r.UndoAvailable());
}

TEST_F(RetoucherTest, ContrastPreviewUsesTheAreaMeanApplyTheWholePictureMean) {
  // Left half dark (20), right half bright (220).
  tbitmap pic = Uniform(400, 200, MakeColor(220, 220, 220));
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 200; ++x) Set(pic, x, y, MakeColor(20, 20, 20));
  r.LoadPicture(pic, false);
  std::vector<tbitmap> drawn;
  r.SetPreviewControl([&](const tbitmap& b) { drawn.push_back(b); });
  r.SetPreviewArea({10, 10, 132, 84}, {0, 0, 400, 200});
  EXPECT_EQ(r.MeanLuminance(), 20);
  sliders.Move(ttouchslider::Contrast, -50);  // contrast strength 50
  ASSERT_FALSE(drawn.empty());
  // In the preview the dark area is its own mean: unchanged.
  EXPECT_EQ(Get(drawn.back(), 60, 40), MakeColor(20, 20, 20));

  tbitmap b = pic;
  r.ApplyTo(b);
  EXPECT_EQ(r.MeanLuminance(), 120);
  EXPECT_EQ(Get(b, 10, 10), Mix(MakeColor(20, 20, 20), MakeColor(120, 120, 120), 50));
  EXPECT_EQ(Get(b, 300, 10), Mix(MakeColor(220, 220, 220), MakeColor(120, 120, 120), 50));
}

TEST_F(RetoucherTest, PreviewOfTheWholePictureEqualsApply) {
  // A 132 x 84 picture shown at its size: the preview area is the whole
  // picture, so preview and Apply see the same pixels and the same mean.
  const tbitmap pic = MakeTestPicture(132, 84, 21);
  r.LoadPicture(pic, false);
  tbitmap preview;
  r.SetPreviewControl([&](const tbitmap& b) { preview = b; });
  r.SetPreviewArea({0, 0, 132, 84}, {0, 0, 132, 84});
  EXPECT_EQ(preview, pic);
  sliders.SetLocked(false);
  sliders.Move(ttouchslider::Brightness, 15);
  sliders.Move(ttouchslider::Contrast, 25);
  sliders.Move(ttouchslider::Red, 30);
  sliders.Move(ttouchslider::Blue, -20);
  sliders.Move(ttouchslider::Sharpness, 40);
  const tbitmap shown = preview;
  tbitmap b = pic;
  r.ApplyTo(b);
  EXPECT_EQ(shown, b);
}

TEST_F(RetoucherTest, ThePreviewSamplesThePictureAsScaledForDisplay) {
  // A 264 x 168 picture drawn at half size: preview pixel (x, y) of the
  // area at (0, 0) is picture pixel (2x, 2y).
  const tbitmap pic = MakeTestPicture(264, 168, 5);
  r.LoadPicture(pic, false);
  tbitmap preview;
  r.SetPreviewControl([&](const tbitmap& b) { preview = b; });
  r.SetPreviewArea({0, 0, 132, 84}, {0, 0, 132, 84});
  for (int y = 0; y < 84; y += 7)
    for (int x = 0; x < 132; x += 11) EXPECT_EQ(Get(preview, x, y), Get(pic, 2 * x, 2 * y));
}

TEST_F(RetoucherTest, APictureSmallerThanThePreviewIsClippedAndTheRestWhite) {
  tbitmap pic = Uniform(50, 40, MakeColor(10, 10, 10));
  Set(pic, 49, 39, MakeColor(90, 90, 90));
  r.LoadPicture(pic, false);
  tbitmap preview;
  r.SetPreviewControl([&](const tbitmap& b) { preview = b; });
  r.SetPreviewArea({0, 0, 132, 84}, {0, 0, 50, 40});
  ASSERT_EQ(preview.Width(), 132);
  EXPECT_EQ(Get(preview, 0, 0), MakeColor(10, 10, 10));
  EXPECT_EQ(Get(preview, 49, 39), MakeColor(90, 90, 90));
  EXPECT_EQ(Get(preview, 50, 0), MakeColor(255, 255, 255));
  EXPECT_EQ(Get(preview, 0, 40), MakeColor(255, 255, 255));
  EXPECT_EQ(Get(preview, 131, 83), MakeColor(255, 255, 255));
  // The mean is the picture's own, not pulled up by the white.
  EXPECT_EQ(r.MeanLuminance(), (10 * 1999 + 90) / 2000);
  // The blur does not mix the white into the picture's edge.
  sliders.Move(ttouchslider::Sharpness, -25);
  EXPECT_EQ(Get(preview, 49, 20), MakeColor(10, 10, 10));
  EXPECT_EQ(Get(preview, 50, 20), MakeColor(255, 255, 255));
}

TEST_F(RetoucherTest, NoAreaChosenShowsWhite) {
  r.LoadPicture(MakeTestPicture(300, 200, 3), false);
  tbitmap preview;
  r.SetPreviewControl([&](const tbitmap& b) { preview = b; });
  sliders.Move(ttouchslider::Brightness, 10);
  EXPECT_EQ(preview, Uniform(132, 84, MakeColor(255, 255, 255)));
}

TEST_F(RetoucherTest, KeepReusesTheBaseOnlyWhenTheSizeMatches) {
  r.LoadPicture(MakeTestPicture(200, 100, 1), false);
  const tbitmap smaller = MakeTestPicture(80, 60, 2);
  r.LoadPicture(smaller, true);
  ASSERT_NE(r.BasePicture(), nullptr);
  EXPECT_EQ(*r.BasePicture(), smaller);
  // Apply reads only the base it has: a bitmap larger than the base keeps
  // its own pixels where the base has none.
  sliders.Move(ttouchslider::Brightness, -100);
  tbitmap larger = MakeTestPicture(90, 70, 3);
  const tbitmap larger0 = larger;
  r.ApplyTo(larger);
  EXPECT_EQ(Get(larger, 10, 10), 0u);
  EXPECT_EQ(Get(larger, 85, 10), 0u);  // adjusted from its own pixel
  EXPECT_NE(Get(larger0, 85, 10), 0u);
}

TEST(PreviewArea, AClickNearACornerSelectsTheAreaTouchingTheCorner) {
  EXPECT_EQ(PreviewAreaAt(3, 2, 640, 480), (tretouchrect{0, 0, 132, 84}));
  EXPECT_EQ(PreviewAreaAt(639, 479, 640, 480), (tretouchrect{508, 396, 132, 84}));
  EXPECT_EQ(PreviewAreaAt(300, 200, 640, 480), (tretouchrect{234, 158, 132, 84}));
  // A display smaller than the preview: the area starts at its edge.
  EXPECT_EQ(PreviewAreaAt(30, 20, 100, 60), (tretouchrect{0, 0, 132, 84}));
  EXPECT_EQ(CentredPreviewArea(640, 480), (tretouchrect{254, 198, 132, 84}));
  EXPECT_EQ(CentredPreviewArea(100, 60), (tretouchrect{0, 0, 132, 84}));
}

TEST(TouchSliders, MappingsAndTheLock) {
  EXPECT_EQ(ColourStrengthFromSlider(50), -100);
  EXPECT_EQ(ColourStrengthFromSlider(-50), 50);
  EXPECT_EQ(ColourStrengthFromSlider(0), 0);
  EXPECT_EQ(ColourStrengthFromSlider(100), -200);
  const tretouchsettings s = SettingsFromSliders({50, -30, 20, 10, -10, 0});
  EXPECT_EQ(s, (tretouchsettings{-50, 30, 20, -20, 10, 0}));

  tretoucher r;
  ttouchsliders sliders(r);
  EXPECT_TRUE(sliders.Locked());
  sliders.Move(ttouchslider::Blue, 40);
  EXPECT_EQ(sliders.Positions(), (tretouchsliders{0, 0, 0, 40, 40, 40}));
  EXPECT_EQ(r.Settings(), (tretouchsettings{0, 0, 0, -80, -80, -80}));
  sliders.SetLocked(false);
  sliders.Move(ttouchslider::Green, -60);
  EXPECT_EQ(sliders.Positions(), (tretouchsliders{0, 0, 0, 40, -60, 40}));
  EXPECT_EQ(r.Settings(), (tretouchsettings{0, 0, 0, -80, 60, -80}));
  sliders.SetLocked(true);  // all three take the red slider's value
  EXPECT_EQ(sliders.Positions(), (tretouchsliders{0, 0, 0, 40, 40, 40}));
  sliders.Move(ttouchslider::Brightness, 500);  // kept within the slider's range
  EXPECT_EQ(sliders.Positions().Brightness, 100);
  sliders.ZeroAll();
  EXPECT_EQ(sliders.Positions(), tretouchsliders{});
  EXPECT_EQ(r.Settings(), tretouchsettings{});
}

}  // namespace
}  // namespace vantlo
