// The raw encoder is the exact inverse of RawToJfif and DecodeThumbnail:
// encode -> wrap -> decode gives the picture back within JPEG error.
#include <gtest/gtest.h>

#include "picture/camformats.h"
#include "picture/colour.h"
#include "picture/jpegimage.h"
#include "picture/pictureerror.h"
#include "picture/rawencoder.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

using testutil::MeanAbsDiff;
using bytes = std::vector<std::uint8_t>;

std::size_t BE16(const bytes& d, std::size_t at) { return std::size_t{d[at]} << 8 | d[at + 1]; }

tbitmap DecodeRaw(const bytes& raw) {
  bytes jfif;
  RawToJfif(raw, jfif);
  return DecodeJpeg(jfif, JpegScale::jsFullSize);
}

TEST(RawEncoder, Flavour0RoundTrip) {
  const tbitmap picture = MakeTestPicture(480, 240, 21);
  const bytes raw = EncodeRawPicture(picture, 0);
  ASSERT_GE(raw.size(), kRawHeaderSize);
  EXPECT_EQ(raw[0], 0);
  EXPECT_EQ(kRawHeaderSize + BE16(raw, 2) + BE16(raw, 4) + BE16(raw, 6), raw.size());
  const tbitmap back = DecodeRaw(raw);
  ASSERT_EQ(back.Width(), 480);
  ASSERT_EQ(back.Height(), 240);
  EXPECT_LT(MeanAbsDiff(back, picture), 4.0);
  // Another picture decodes to something else: the test would see a mix-up.
  EXPECT_GT(MeanAbsDiff(back, MakeTestPicture(480, 240, 22)), 10.0);
}

TEST(RawEncoder, Flavour1RoundTrip) {
  const tbitmap picture = MakeTestPicture(640, 480, 31);
  const bytes raw = EncodeRawPicture(picture, 1);
  EXPECT_EQ(raw[0], 1);
  EXPECT_EQ(kRawHeaderSize + BE16(raw, 6), raw.size());
  const tbitmap back = DecodeRaw(raw);
  ASSERT_EQ(back.Width(), 640);
  ASSERT_EQ(back.Height(), 480);
  EXPECT_LT(MeanAbsDiff(back, picture), 3.0);
}

TEST(RawEncoder, AnySizeIsResizedAndQualityShowsInTheTables) {
  const bytes raw = EncodeRawPicture(MakeTestPicture(1280, 960, 5), 0, 50);
  const tbitmap back = DecodeRaw(raw);
  EXPECT_EQ(back.Width(), 480);
  EXPECT_EQ(back.Height(), 240);
  const bytes fine = EncodeRawPicture(MakeTestPicture(100, 80, 5), 1, 95);
  EXPECT_EQ(DecodeRaw(fine).Width(), 640);
  // Luminance DC quantiser: the standard 16 at quality 50, 16 * 10% rounded = 2 at 95.
  EXPECT_EQ(raw[8], 16);
  EXPECT_EQ(fine[8], 2);
  EXPECT_THROW(EncodeRawPicture(tbitmap(), 0), std::invalid_argument);
  EXPECT_THROW(EncodeRawPicture(MakeTestPicture(8, 8, 1), 2), std::invalid_argument);
}

TEST(RawEncoder, BusyPictureStillFitsTheSixteenBitLengths) {
  // Noise at quality 100 makes scans far longer than 65535 bytes; the
  // encoder lowers the quality until every scan fits.
  tbitmap noise(640, 480);
  std::uint32_t s = 1;
  for (auto& b : noise.Bytes()) {
    s = s * 1103515245u + 12345u;
    b = static_cast<std::uint8_t>(s >> 16);
  }
  const bytes raw = EncodeRawPicture(noise, 1, 100);
  EXPECT_EQ(kRawHeaderSize + BE16(raw, 6), raw.size());
  EXPECT_EQ(DecodeRaw(raw).Width(), 640);
}

TEST(RawEncoder, TruncatedRawDataNeverDecode) {
  const bytes raw = EncodeRawPicture(MakeTestPicture(480, 240, 8), 0);
  bytes jfif;
  for (std::size_t len = 0; len < raw.size(); len += 1 + len / 2)
    EXPECT_THROW(RawToJfif(bytes(raw.begin(), raw.begin() + static_cast<long>(len)), jfif),
                 tpictureerror)
        << len;
  // Scans with damaged bytes decode or fail with an exception, never crash.
  for (std::size_t at = kRawHeaderSize; at < raw.size(); at += 997) {
    bytes bad = raw;
    bad[at] = 0xFF;
    RawToJfif(bad, jfif);
    try {
      DecodeJpeg(jfif, JpegScale::jsFullSize);
    } catch (const tpictureerror&) {
    }
  }
}

TEST(RawEncoder, ThumbnailRoundTrip) {
  const tbitmap picture = MakeTestPicture(52, 36, 3);
  const bytes raw = EncodeRawThumbnail(picture);
  ASSERT_EQ(raw.size(), kRawThumbnailSize);
  tbitmap back;
  DecodeThumbnail(raw, back);
  EXPECT_LT(MeanAbsDiff(back, picture), 8.0);
  // A grey picture has zero chroma and its exact grey as Y.
  tbitmap grey(104, 72);
  std::fill(grey.Bytes().begin(), grey.Bytes().end(), 77);
  const bytes g = EncodeRawThumbnail(grey);
  EXPECT_EQ(g[0], 77);
  EXPECT_EQ(g[1871], 77);
  EXPECT_EQ(g[1872], 0);
  EXPECT_EQ(g[2807], 0);
  DecodeThumbnail(g, back);
  tbitmap expect(52, 36);
  std::fill(expect.Bytes().begin(), expect.Bytes().end(), 77);
  EXPECT_EQ(back, expect);
  // Saturated blue gives a negative Cr stored as a signed byte.
  tbitmap blue(52, 36);
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 52; ++x) blue.ScanLine(y)[x * 3] = 255;
  const bytes b = EncodeRawThumbnail(blue);
  EXPECT_EQ(b[0], 29);                                // round(29.07)
  EXPECT_EQ(static_cast<std::int8_t>(b[1872]), 127);  // round(225.93 / 1.772) = 128, clamped
  EXPECT_EQ(static_cast<std::int8_t>(b[2340]), -21);  // round(-29.07 / 1.402)
}

TEST(RawEncoder, TestPicturesDependOnTheSeed) {
  const tbitmap a = MakeTestPicture(64, 48, 1);
  EXPECT_EQ(a, MakeTestPicture(64, 48, 1));
  EXPECT_NE(a, MakeTestPicture(64, 48, 2));
  EXPECT_EQ(MakeTestPicture(1, 1, 0).Width(), 1);
  EXPECT_THROW(MakeTestPicture(0, 5, 1), std::invalid_argument);
}

}  // namespace
}  // namespace vantlo
