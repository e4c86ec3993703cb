// Decoding at the smallest DCT scale that covers a cell: the frame header is read from the
// stream (damaged streams give nothing), and the scale never leaves fewer pixels than drawn.
#include "output/scaleddecode.h"

#include <gtest/gtest.h>

#include "outputtestutil.h"

namespace vantlo {
namespace {

std::vector<std::uint8_t> Jpeg(int w, int h) {
  return CompressJpeg(testutil::Solid(w, h, Qt::gray), 80, false);
}

TEST(ScaledDecode, FrameSizeFromTheHeader) {
  const auto data = Jpeg(300, 200);
  const auto size = JpegFrameSize(data);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 300);
  EXPECT_EQ(size->height, 200);
  const auto progressive = CompressJpeg(testutil::Solid(64, 48, Qt::gray), 80, true);
  ASSERT_TRUE(JpegFrameSize(progressive));
  EXPECT_EQ(JpegFrameSize(progressive)->width, 64);
  // Cut short, not a JPEG, a segment length running past the end.
  EXPECT_FALSE(JpegFrameSize(std::span(data).first(20)));
  EXPECT_FALSE(JpegFrameSize(std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 0, 0}));
  std::vector<std::uint8_t> bad = {0xFF, 0xD8, 0xFF, 0xE0, 0xFF, 0xFF, 0, 0};
  EXPECT_FALSE(JpegFrameSize(bad));
}

TEST(ScaledDecode, SmallestScaleCoveringTheCell) {
  // 3000 x 2000 into a 120 x 100 cell: fitted 120 x 80; an eighth (375 x 250) covers it.
  EXPECT_EQ(ScaleCovering({3000, 2000}, {0, 0, 120, 100}), JpegScale::jsEighth);
  // Into 1000 x 800: fitted 1000 x 667; half (1500 x 1000) covers, a quarter (750) does not.
  EXPECT_EQ(ScaleCovering({3000, 2000}, {0, 0, 1000, 800}), JpegScale::jsHalf);
  EXPECT_EQ(ScaleCovering({3000, 2000}, {0, 0, 2000, 2000}), JpegScale::jsFullSize);
  EXPECT_EQ(ScaleCovering({640, 480}, {0, 0, 0, 0}), JpegScale::jsFullSize);

  // 800 x 600 into 100 x 100 is drawn 100 x 76 (the odd surplus of 25 leaves one pixel more):
  // an eighth (100 x 75) falls one row short, so a quarter is taken; 100 x 75 takes the eighth.
  EXPECT_EQ(ScaleCovering({800, 600}, {0, 0, 100, 100}), JpegScale::jsQuarter);
  TJPEGImage image;
  LoadJpegForCell(Jpeg(800, 600), {0, 0, 100, 75}, image);
  EXPECT_EQ(image.Width(), 100);
  EXPECT_EQ(image.JpegData().size(), Jpeg(800, 600).size());
}

}  // namespace
}  // namespace vantlo
