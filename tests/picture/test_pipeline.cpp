#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "picture/advstretch.h"
#include "picture/bitmap.h"
#include "picture/camformats.h"
#include "picture/jpegimage.h"
#include "picture/pictureerror.h"
#include "picture/pipeline.h"
#include "picture/rawencoder.h"

namespace vantlo {
namespace {

static_assert(std::has_virtual_destructor_v<tpicturepipeline>);
static_assert(std::is_default_constructible_v<tpicturepipeline>);

// Mean absolute difference per channel value of two equally sized bitmaps.
double MeanDiff(const tbitmap& a, const tbitmap& b) {
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  if (a.Bytes().size() != b.Bytes().size() || a.Bytes().empty()) return 1e9;
  double sum = 0;
  for (std::size_t i = 0; i < a.Bytes().size(); ++i) sum += std::abs(a.Bytes()[i] - b.Bytes()[i]);
  return sum / static_cast<double>(a.Bytes().size());
}

std::string Message(const std::function<void()>& f) {
  try {
    f();
  } catch (const tpictureerror& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(PicturePipeline, DefaultsAndQualityRange) {
  tpicturepipeline p;
  EXPECT_EQ(p.JpegQuality, 85);
  EXPECT_EQ(p.OutputSize, 0);
  EXPECT_FALSE(p.PlainStretch);
  EXPECT_FALSE(p.AlwaysReencode);
  EXPECT_FALSE(p.ColourExpand);
  EXPECT_EQ(p.ColourExpandPercent, 10);
  EXPECT_FALSE(p.Progressive);
  for (int q : {0, 101, -1}) {
    EXPECT_EQ(Message([&] { p.SetJpegQuality(q); }), "JPEG Quality must be between 1 and 100");
    EXPECT_EQ(p.JpegQuality, 85);
  }
  p.SetJpegQuality(1);
  EXPECT_EQ(p.JpegQuality, 1);
  p.SetJpegQuality(100);
  EXPECT_EQ(p.JpegQuality, 100);
  p.SetOutputSize(200);
  EXPECT_EQ(p.OutputSize, 200);

  p.Progressive = true;
  TJPEGImage image;
  p.PrepareJpeg(image);
  EXPECT_EQ(image.CompressionQuality(), 100);
  EXPECT_TRUE(image.ProgressiveEncoding());
  EXPECT_EQ(image.GetPixelFormat(), PixelFormat::pf24bit);
}

TEST(PicturePipeline, OutputDimensionsOfEveryChoice) {
  using d = tdimensions;
  EXPECT_EQ(tpicturepipeline::OutputDimensions(0, 480, 240), (d{320, 240}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(6, 480, 240), (d{160, 120}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(7, 480, 240), (d{80, 60}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(0, 640, 480), (d{640, 480}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(6, 640, 480), (d{320, 240}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(7, 640, 480), (d{160, 120}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(7, 2048, 1536), (d{512, 384}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(1, 2048, 1536), (d{160, 120}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(2, 33, 7), (d{320, 240}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(3, 640, 480), (d{480, 360}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(4, 480, 240), (d{640, 480}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(5, 640, 480), (d{1280, 960}));
  for (int w : {480, 640, 2048})
    for (int c : {8, 9, 255})
      EXPECT_EQ(tpicturepipeline::OutputDimensions(c, w, w / 2), (d{320, 240}));
  // Halving or quartering tiny pictures never gives an empty bitmap.
  EXPECT_EQ(tpicturepipeline::OutputDimensions(7, 3, 2), (d{1, 1}));
  EXPECT_EQ(tpicturepipeline::OutputDimensions(6, 1, 9), (d{1, 4}));
}

TEST(PicturePipeline, RepeatSecondRow) {
  tbitmap b(5, 3);
  for (std::size_t i = 0; i < b.Bytes().size(); ++i) b.Bytes()[i] = static_cast<std::uint8_t>(i);
  tbitmap before = b;
  tpicturepipeline::RepeatSecondRow(b);
  for (int x = 0; x < 15; ++x) {
    EXPECT_EQ(b.ScanLine(0)[x], before.ScanLine(1)[x]);
    EXPECT_EQ(b.ScanLine(1)[x], before.ScanLine(1)[x]);
    EXPECT_EQ(b.ScanLine(2)[x], before.ScanLine(2)[x]);
  }
  tbitmap single(4, 1);
  single.Bytes()[0] = 9;
  tpicturepipeline::RepeatSecondRow(single);
  EXPECT_EQ(single.Bytes()[0], 9);
  tbitmap odd(4, 4);
  odd.SetPixelFormat(PixelFormat::pf32bit);
  EXPECT_EQ(Message([&] { tpicturepipeline::RepeatSecondRow(odd); }), "Not 24 bit bitmap");
}

class PipelineDecode : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    original0_ = new tbitmap(MakeTestPicture(480, 240, 3));
    original1_ = new tbitmap(MakeTestPicture(640, 480, 5));
    raw0_ = new std::vector<std::uint8_t>(EncodeRawPicture(*original0_, 0));
    raw1_ = new std::vector<std::uint8_t>(EncodeRawPicture(*original1_, 1));
  }
  static void TearDownTestSuite() {
    delete original0_;
    delete original1_;
    delete raw0_;
    delete raw1_;
  }
  static tbitmap* original0_;
  static tbitmap* original1_;
  static std::vector<std::uint8_t>* raw0_;
  static std::vector<std::uint8_t>* raw1_;
};
tbitmap* PipelineDecode::original0_ = nullptr;
tbitmap* PipelineDecode::original1_ = nullptr;
std::vector<std::uint8_t>* PipelineDecode::raw0_ = nullptr;
std::vector<std::uint8_t>* PipelineDecode::raw1_ = nullptr;

TEST_F(PipelineDecode, Flavour0EndsAs320x240WithFirstRowRepeated) {
  tpicturepipeline p;
  TJPEGImage picture;
  p.DecodeRawPicture(*raw0_, picture);
  const tbitmap& b = picture.Bitmap();
  ASSERT_EQ(b.Width(), 320);
  ASSERT_EQ(b.Height(), 240);
  for (std::size_t i = 0; i < b.RowBytes(); ++i) ASSERT_EQ(b.ScanLine(0)[i], b.ScanLine(1)[i]) << i;
  // The picture is the camera's, squeezed from 480 to 320 columns.
  tbitmap expect(320, 240);
  PlainStretch(*original0_, expect);
  EXPECT_LT(MeanDiff(b, expect), 12.0);

  // Plain stretch and quarter size.
  p.PlainStretch = true;
  p.SetOutputSize(7);
  TJPEGImage small;
  p.DecodeRawPicture(*raw0_, small);
  EXPECT_EQ(small.Width(), 80);
  EXPECT_EQ(small.Height(), 60);
}

TEST_F(PipelineDecode, Flavour1FullSizeKeepsJpegDataAtQuality75AndAbove) {
  tbytes jfif;
  RawToJfif(*raw1_, jfif);
  for (int q : {85, 75}) {
    tpicturepipeline p;
    p.SetJpegQuality(q);
    TJPEGImage picture;
    p.DecodeRawPicture(*raw1_, picture);
    EXPECT_EQ(picture.Width(), 640);
    EXPECT_EQ(picture.Height(), 480);
    EXPECT_EQ(picture.JpegData(), jfif) << q;  // neither resampled nor requantised
    EXPECT_LT(MeanDiff(picture.Bitmap(), *original1_), 12.0);
  }
}

TEST_F(PipelineDecode, Quality74Requantises) {
  tbytes jfif;
  RawToJfif(*raw1_, jfif);
  tpicturepipeline p;
  p.SetJpegQuality(74);
  TJPEGImage picture;
  p.DecodeRawPicture(*raw1_, picture);
  ASSERT_TRUE(picture.HasJpegData());
  EXPECT_NE(picture.JpegData(), jfif);
  EXPECT_EQ(picture.CompressionQuality(), 74);
  // What is shown is what the JPEG data decode to.
  EXPECT_EQ(picture.Bitmap(), DecodeJpeg(picture.JpegData(), JpegScale::jsFullSize));
  // And saving writes those data unchanged.
  std::vector<std::uint8_t> saved;
  picture.SaveToStream(saved);
  EXPECT_EQ(saved, picture.JpegData());
}

TEST_F(PipelineDecode, ExpandAndAlwaysReencodeTakeTheBitmap) {
  tbytes jfif;
  RawToJfif(*raw1_, jfif);
  {
    tpicturepipeline p;
    p.AlwaysReencode = true;
    TJPEGImage picture;
    p.DecodeRawPicture(*raw1_, picture);
    EXPECT_FALSE(picture.HasJpegData());
    EXPECT_EQ(picture.Bitmap(), DecodeJpeg(jfif, JpegScale::jsFullSize));
  }
  {
    tpicturepipeline p;
    p.ColourExpand = true;
    p.ColourExpandPercent = 20;
    TJPEGImage picture;
    p.DecodeRawPicture(*raw1_, picture);
    EXPECT_FALSE(picture.HasJpegData());
    EXPECT_NE(picture.Bitmap(), DecodeJpeg(jfif, JpegScale::jsFullSize));
    EXPECT_EQ(picture.Width(), 640);
  }
}

TEST_F(PipelineDecode, OutputChoicesOnAFullSizePicture) {
  tpicturepipeline p;
  for (auto [choice, w, h] : std::vector<std::array<int, 3>>{
           {7, 160, 120}, {6, 320, 240}, {8, 320, 240}, {1, 160, 120}, {5, 1280, 960}}) {
    p.SetOutputSize(static_cast<std::uint8_t>(choice));
    TJPEGImage picture;
    p.DecodeRawPicture(*raw1_, picture);
    EXPECT_EQ(picture.Width(), w) << choice;
    EXPECT_EQ(picture.Height(), h) << choice;
  }
}

TEST_F(PipelineDecode, CamFilesOfAllThreeKinds) {
  tpicturepipeline p;
  p.SetOutputSize(2);
  TJPEGImage direct0, direct1;
  p.DecodeRawPicture(*raw0_, direct0);
  p.DecodeRawPicture(*raw1_, direct1);

  tbytes cam0, cam1, camjpeg;
  RawToCamFile(*raw0_, cam0, 1);
  RawToCamFile(*raw1_, cam1, 2);
  TJPEGImage fromcam0, fromcam1;
  p.LoadCamFile(cam0, fromcam0);
  p.LoadCamFile(cam1, fromcam1);
  EXPECT_EQ(fromcam0.Bitmap(), direct0.Bitmap());
  EXPECT_EQ(fromcam1.Bitmap(), direct1.Bitmap());

  const std::vector<std::uint8_t> jpeg = CompressJpeg(*original1_, 90, false);
  RawToCamFile(jpeg, camjpeg, 5);
  p.SetOutputSize(0);
  TJPEGImage fromjpeg;
  p.LoadCamFile(camjpeg, fromjpeg);
  EXPECT_EQ(fromjpeg.JpegData(), jpeg);  // full size: the camera's JPEG byte for byte
}

TEST_F(PipelineDecode, SmallJpegKeepsItsShapeInsteadOfTheClassicCanvas) {
  const tbitmap original = MakeTestPicture(320, 240, 9);
  const std::vector<std::uint8_t> jpeg = CompressJpeg(original, 95, false);
  tpicturepipeline p;
  TJPEGImage picture;
  p.DecodeRawPicture(jpeg, picture);
  ASSERT_EQ(picture.Width(), 320);
  ASSERT_EQ(picture.Height(), 240);
  EXPECT_EQ(picture.JpegData(), jpeg);
  EXPECT_LT(MeanDiff(picture.Bitmap(), original), 8.0);
  // No black third on the right.
  long long right = 0;
  const tbitmap& b = picture.Bitmap();
  for (int y = 0; y < 240; ++y)
    for (int x = 214; x < 320; ++x) right += b.ScanLine(y)[x * 3] + b.ScanLine(y)[x * 3 + 1];
  EXPECT_GT(right, 0);

  p.SetOutputSize(7);
  TJPEGImage quarter;
  p.DecodeRawPicture(jpeg, quarter);
  EXPECT_EQ(quarter.Width(), 80);
  EXPECT_EQ(quarter.Height(), 60);
}

TEST(PipelineFinish, LargePictureShrinksSmoothOrPlainAsSet) {
  const tbitmap original = MakeTestPicture(2048, 1536, 4);
  TJPEGImage decoded;
  decoded.Assign(original);
  tpicturepipeline p;
  p.SetOutputSize(7);
  TJPEGImage smooth;
  p.FinishPicture(decoded, smooth);
  tbitmap expect(512, 384);
  BoxShrink(original, expect);  // 2048 = 4 x 512: 4 x 4 block averages
  EXPECT_EQ(smooth.Bitmap(), expect);

  p.PlainStretch = true;
  TJPEGImage plain;
  p.FinishPicture(decoded, plain);
  PlainStretch(original, expect);
  EXPECT_EQ(plain.Bitmap(), expect);

  // Choice 4 enlarges nothing here: 640 x 480 from 2048 x 1536 is not an
  // integer factor, so even the smooth path is the plain stretch.
  p.PlainStretch = false;
  p.SetOutputSize(4);
  TJPEGImage vga;
  p.FinishPicture(decoded, vga);
  tbitmap vgaexpect(640, 480);
  PlainStretch(original, vgaexpect);
  EXPECT_EQ(vga.Bitmap(), vgaexpect);
}

// A picture kept at its size is handed over, not copied: the finished
// picture holds the very pixels and JPEG data that were decoded (expanded in
// place when asked), and the decoded image is left empty. A caller that
// keeps its image gets a copy and its image stays as it was.
TEST(PipelineFinish, PictureKeptAtItsSizeIsMovedNotCopied) {
  const std::vector<std::uint8_t> jpeg = CompressJpeg(MakeTestPicture(1024, 768, 3), 90, false);
  for (int mode = 0; mode < 3; ++mode) {
    tpicturepipeline p;
    p.AlwaysReencode = mode == 1;
    p.ColourExpand = mode == 2;
    TJPEGImage decoded;
    p.PrepareJpeg(decoded);
    decoded.LoadFromStream(jpeg);
    const tbitmap before = decoded.Bitmap();
    const std::uint8_t* pixels = decoded.Bitmap().Bytes().data();
    const std::uint8_t* data = decoded.JpegData().data();
    TJPEGImage picture;
    p.FinishPicture(std::move(decoded), picture);
    EXPECT_TRUE(decoded.Empty()) << mode;
    ASSERT_EQ(picture.Width(), 1024) << mode;
    EXPECT_EQ(picture.Bitmap().Bytes().data(), pixels) << mode;
    EXPECT_EQ(picture.HasJpegData(), mode == 0);
    if (mode == 0) {
      EXPECT_EQ(picture.JpegData().data(), data);
      EXPECT_EQ(picture.JpegData(), jpeg);
    }
    EXPECT_EQ(picture.Bitmap() == before, mode != 2) << mode;
  }
  tpicturepipeline p;
  TJPEGImage kept;
  kept.LoadFromStream(jpeg);
  const tbitmap before = kept.Bitmap();
  TJPEGImage picture;
  p.FinishPicture(kept, picture);
  EXPECT_EQ(kept.JpegData(), jpeg);
  EXPECT_EQ(kept.Bitmap(), before);
  EXPECT_EQ(picture.JpegData(), jpeg);
}

TEST(PipelineFinish, ClassicCanvasExpandsBeforeResizing) {
  // A 480 x 240 picture whose values sit in 100..149: expansion spreads them
  // over 0..255 before the resize, and row 0 repeats row 1.
  tbitmap classic(480, 240);
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 480; ++x)
      for (int c = 0; c < 3; ++c)
        classic.ScanLine(y)[x * 3 + c] = static_cast<std::uint8_t>(100 + x % 50);
  TJPEGImage decoded;
  decoded.Assign(classic);
  tpicturepipeline p;
  p.ColourExpand = true;
  p.SetOutputSize(4);
  TJPEGImage picture;
  p.FinishPicture(decoded, picture);
  ASSERT_EQ(picture.Width(), 640);
  ASSERT_EQ(picture.Height(), 480);
  int lo = 255, hi = 0;
  for (auto v : picture.Bitmap().Bytes()) {
    lo = std::min<int>(lo, v);
    hi = std::max<int>(hi, v);
  }
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 255);
}

TEST_F(PipelineDecode, DamagedInputFailsWithAMessage) {
  tpicturepipeline p;
  TJPEGImage picture;
  std::vector<std::uint8_t> bad = *raw0_;
  bad[0] = 0x02;
  EXPECT_EQ(Message([&] { p.DecodeRawPicture(bad, picture); }), "Unsupported Camera Format");
  // Cut short at many places: an error, never a crash.
  for (const auto* raw : {raw0_, raw1_}) {
    for (std::size_t len : {std::size_t{0}, std::size_t{1}, std::size_t{100}, std::size_t{136},
                            std::size_t{137}, raw->size() / 3, raw->size() / 2, raw->size() - 3}) {
      std::vector<std::uint8_t> cut(raw->begin(), raw->begin() + static_cast<long>(len));
      TJPEGImage out;
      EXPECT_THROW(p.DecodeRawPicture(cut, out), tpictureerror) << len;
    }
  }
  tbytes cam;
  RawToCamFile(*raw1_, cam, 2);
  cam.resize(cam.size() / 2);
  EXPECT_THROW(p.LoadCamFile(cam, picture), tpictureerror);
  std::vector<std::uint8_t> notcam(100, 0x00);  // not JPEG-bearing, no start marker
  EXPECT_EQ(Message([&] { p.LoadCamFile(notcam, picture); }),
            "Unable to parse CAM file (no start marker)");
}

}  // namespace
}  // namespace vantlo
