// TJPEGImage: compression and decoding, DCT scaling, byte-for-byte keeping of
// JPEG data, and damaged or cut-short JPEGs failing with an exception.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "picture/jpegimage.h"
#include "picture/pictureerror.h"
#include "picture/rawencoder.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

using testutil::MeanAbsDiff;

bool HasMarker(const std::vector<std::uint8_t>& d, std::uint8_t m) {
  for (std::size_t i = 0; i + 1 < d.size(); ++i)
    if (d[i] == 0xFF && d[i + 1] == m) return true;
  return false;
}

class JpegImage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    picture_ = new tbitmap(MakeTestPicture(640, 480, 7));
    jpeg_ = new std::vector<std::uint8_t>(CompressJpeg(*picture_, 90, false));
  }
  static void TearDownTestSuite() {
    delete picture_;
    delete jpeg_;
  }
  static tbitmap* picture_;
  static std::vector<std::uint8_t>* jpeg_;
};
tbitmap* JpegImage::picture_ = nullptr;
std::vector<std::uint8_t>* JpegImage::jpeg_ = nullptr;

TEST_F(JpegImage, CompressAndDecodeGiveThePictureBack) {
  TJPEGImage img;
  img.LoadFromStream(*jpeg_);
  ASSERT_EQ(img.Width(), 640);
  ASSERT_EQ(img.Height(), 480);
  EXPECT_LT(MeanAbsDiff(img.Bitmap(), *picture_), 4.0);
  EXPECT_TRUE(HasMarker(*jpeg_, 0xC0));
  EXPECT_FALSE(HasMarker(*jpeg_, 0xC2));
}

TEST_F(JpegImage, QualityAndProgressiveSettingsReachTheEncoder) {
  TJPEGImage img;
  img.SetCompressionQuality(10);
  img.Assign(*picture_);
  std::vector<std::uint8_t> low;
  img.SaveToStream(low);
  TJPEGImage prog;
  prog.SetCompressionQuality(95);
  prog.SetProgressiveEncoding(true);
  prog.Assign(*picture_);
  std::vector<std::uint8_t> high;
  prog.SaveToStream(high);
  EXPECT_LT(low.size() * 2, high.size());
  EXPECT_TRUE(HasMarker(high, 0xC2));
  TJPEGImage back;
  back.LoadFromStream(high);
  EXPECT_LT(MeanAbsDiff(back.Bitmap(), *picture_), 3.0);
  EXPECT_THROW(img.SetCompressionQuality(0), std::invalid_argument);
  EXPECT_THROW(img.SetCompressionQuality(101), std::invalid_argument);
  EXPECT_EQ(img.CompressionQuality(), 10);
}

TEST_F(JpegImage, ScalesDecodeAtHalfQuarterAndEighth) {
  const struct {
    JpegScale scale;
    int w, h;
  } cases[] = {{JpegScale::jsFullSize, 640, 480},
               {JpegScale::jsHalf, 320, 240},
               {JpegScale::jsQuarter, 160, 120},
               {JpegScale::jsEighth, 80, 60}};
  for (const auto& c : cases) {
    TJPEGImage img;
    img.SetScale(c.scale);
    img.LoadFromStream(*jpeg_);
    EXPECT_EQ(img.Width(), c.w);
    EXPECT_EQ(img.Height(), c.h);
  }
  // Sizes that do not divide round up, as libjpeg's scaling does.
  const std::vector<std::uint8_t> odd = CompressJpeg(MakeTestPicture(641, 479, 1), 80, false);
  TJPEGImage img;
  img.SetScale(JpegScale::jsEighth);
  img.LoadFromStream(odd);
  EXPECT_EQ(img.Width(), 81);
  EXPECT_EQ(img.Height(), 60);
  // Changing the scale decodes the kept JPEG data again; the data stay as they were.
  img.SetScale(JpegScale::jsFullSize);
  EXPECT_EQ(img.Width(), 641);
  EXPECT_EQ(img.JpegData(), odd);
}

TEST_F(JpegImage, EighthScaleAveragesBlocksRatherThanPickingPixels) {
  // A one-pixel checkerboard: DCT scaling keeps each 8 x 8 block's mean
  // (mid grey); shrinking a full decode by picking pixels would give black
  // or white.
  tbitmap board(64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x)
      if ((x + y) % 2 == 0) std::fill_n(board.ScanLine(y) + x * 3, 3, 255);
  TJPEGImage img;
  img.SetScale(JpegScale::jsEighth);
  img.LoadFromStream(CompressJpeg(board, 100, false));
  ASSERT_EQ(img.Width(), 8);
  for (std::uint8_t v : img.Bitmap().Bytes()) EXPECT_NEAR(v, 128, 6);
}

TEST_F(JpegImage, JpegDataAreKeptByteForByte) {
  // Bytes behind the end-of-image marker and before the offset are not part of it.
  std::vector<std::uint8_t> stream(10 + jpeg_->size() + 500, 0x55);
  std::fill_n(stream.begin(), 10, 0xAA);
  std::copy(jpeg_->begin(), jpeg_->end(), stream.begin() + 10);
  TJPEGImage img;
  img.LoadFromStream(stream, 10);
  EXPECT_EQ(img.JpegData(), *jpeg_);
  TJPEGImage copy;
  copy.SetCompressionQuality(5);
  copy.Assign(img);
  std::vector<std::uint8_t> saved;
  copy.SaveToStream(saved);
  EXPECT_EQ(saved, *jpeg_);
  EXPECT_EQ(copy.CompressionQuality(), img.CompressionQuality());
}

TEST_F(JpegImage, TakingABitmapDropsTheJpegData) {
  TJPEGImage img;
  img.LoadFromStream(*jpeg_);
  tbitmap edited = img.Bitmap();
  edited.ScanLine(0)[0] ^= 0xFF;
  img.Assign(edited);
  EXPECT_FALSE(img.HasJpegData());
  EXPECT_EQ(img.Bitmap(), edited);
  std::vector<std::uint8_t> saved;
  img.SaveToStream(saved);
  EXPECT_NE(saved, *jpeg_);
  EXPECT_TRUE(img.HasJpegData());
  // Recompress makes fresh data at the image's own quality.
  img.SetCompressionQuality(20);
  img.Recompress();
  EXPECT_LT(img.JpegData().size(), saved.size());
}

TEST_F(JpegImage, FilesRoundTrip) {
  const auto path = std::filesystem::temp_directory_path() / "vantlo_test_jpegimage.jpg";
  TJPEGImage img;
  img.LoadFromStream(*jpeg_);
  img.SaveToFile(path);
  TJPEGImage back;
  back.LoadFromFile(path);
  EXPECT_EQ(back.JpegData(), *jpeg_);
  std::filesystem::remove(path);
  EXPECT_THROW(back.LoadFromFile(path), tpictureerror);
  EXPECT_THROW(img.SaveToFile("/nonexistent-folder/x.jpg"), tpictureerror);
}

TEST_F(JpegImage, HalfAJpegFailsWithAMessage) {
  const std::vector<std::uint8_t> half(jpeg_->begin(), jpeg_->begin() + jpeg_->size() / 2);
  TJPEGImage img;
  const std::string msg = testutil::ThrownMessage([&] { img.LoadFromStream(half); });
  EXPECT_EQ(msg, "Unable to decode JPEG data (data cut short)");
  EXPECT_TRUE(img.Empty());
}

TEST_F(JpegImage, CutAtAnyOffsetThrowsAndNeverCrashes) {
  const std::vector<std::uint8_t> small = CompressJpeg(MakeTestPicture(48, 32, 3), 75, true);
  for (std::size_t len = 0; len < small.size() - 2; ++len) {
    const std::vector<std::uint8_t> cut(small.begin(), small.begin() + static_cast<long>(len));
    EXPECT_EQ(testutil::ThrownMessage([&] { DecodeJpeg(cut, JpegScale::jsFullSize); }),
              "Unable to decode JPEG data (data cut short)")
        << len;
  }
}

TEST_F(JpegImage, GarbageAndDamagedDataNeverCrash) {
  EXPECT_THROW(DecodeJpeg(std::vector<std::uint8_t>(100, 0x42), JpegScale::jsFullSize),
               tpictureerror);
  EXPECT_THROW(TJPEGImage().LoadFromStream({}), tpictureerror);
  TJPEGImage img;
  EXPECT_THROW(img.LoadFromStream(*jpeg_, jpeg_->size()), tpictureerror);
  EXPECT_THROW(img.SaveToStream(*jpeg_), tpictureerror);  // nothing to save
  // Overwrite bytes all through the data: decoding either succeeds or throws.
  const std::vector<std::uint8_t> small = CompressJpeg(MakeTestPicture(64, 48, 9), 75, false);
  int thrown = 0;
  for (std::size_t at = 2; at < small.size(); at += 7) {
    std::vector<std::uint8_t> bad = small;
    bad[at] = static_cast<std::uint8_t>(bad[at] ^ 0xA5);
    try {
      const tbitmap bm = DecodeJpeg(bad, JpegScale::jsFullSize);
      EXPECT_GT(bm.Width(), 0);
    } catch (const tpictureerror&) {
      ++thrown;
    }
  }
  EXPECT_GT(thrown, 0);
}

TEST_F(JpegImage, HeaderClaimingAHugePictureIsRefused) {
  std::vector<std::uint8_t> bad = *jpeg_;
  // SOF0: FF C0 len(2) precision(1) height(2) width(2)
  const std::uint8_t sof0[] = {0xFF, 0xC0};
  auto sof = std::search(bad.begin(), bad.end(), std::begin(sof0), std::end(sof0));
  ASSERT_NE(sof, bad.end());
  sof[5] = 0xFF;
  sof[6] = 0xF0;
  sof[7] = 0xFF;
  sof[8] = 0xF0;
  EXPECT_THROW(DecodeJpeg(bad, JpegScale::jsFullSize), tpictureerror);
}

// A progressive file that claims far more pixels than its data hold: libjpeg
// finds each scan's data ending early at the next marker and, left alone,
// fills the rest with grey and reports success.
TEST_F(JpegImage, ProgressiveCutShortClaimingAHugeSizeIsCorrupt) {
  const std::vector<std::uint8_t> claim =
      testutil::WithClaimedSize(CompressJpeg(MakeTestPicture(96, 64, 4), 80, true), 10000, 12000);
  ASSERT_FALSE(claim.empty());
  TJPEGImage img;
  EXPECT_EQ(testutil::ThrownMessage([&] { img.LoadFromStream(claim); }),
            "Unable to decode JPEG data (Corrupt JPEG data: premature end of data segment)");
  EXPECT_TRUE(img.Empty());
}

// The scan cut in the middle and the end-of-image marker written behind it:
// no end of file for libjpeg to notice, only a scan that ends too early.
TEST_F(JpegImage, ScanCutShortBeforeTheEndMarkerIsCorrupt) {
  std::vector<std::uint8_t> cut(jpeg_->begin(), jpeg_->begin() + jpeg_->size() / 2);
  cut.push_back(0xFF);
  cut.push_back(0xD9);
  EXPECT_EQ(testutil::ThrownMessage([&] { DecodeJpeg(cut, JpegScale::jsEighth); }),
            "Unable to decode JPEG data (Corrupt JPEG data: premature end of data segment)");
  // Junk between two segments is reported as corrupt by libjpeg too.
  std::vector<std::uint8_t> junk = *jpeg_;
  junk.insert(junk.begin() + 20, {0x00, 0x11, 0x22});
  EXPECT_NE(testutil::ThrownMessage([&] {
              DecodeJpeg(junk, JpegScale::jsFullSize);
            }).find("Corrupt JPEG data"),
            std::string::npos);
}

// A notice that leaves the picture whole (a JFIF revision this libjpeg does
// not know) is not a failure.
TEST_F(JpegImage, UnknownJfifRevisionStillDecodes) {
  std::vector<std::uint8_t> revised = *jpeg_;
  ASSERT_EQ(revised[3], 0xE0);  // CompressJpeg writes the JFIF segment first
  revised[11] = 2;              // major version, behind "JFIF\0"
  TJPEGImage img;
  img.LoadFromStream(revised);
  EXPECT_EQ(img.Width(), 640);
  EXPECT_LT(MeanAbsDiff(img.Bitmap(), *picture_), 4.0);
}

// Decodes each picture with the size it claims at the scale; returns how
// many were not refused as "picture too large" (and says which on stderr).
struct tclaim {
  const std::vector<std::uint8_t>* jpeg;
  int w, h;
  JpegScale scale;
};
int NotRefusedAsTooLarge(std::initializer_list<tclaim> claims) {
  int wrong = 0;
  for (const tclaim& c : claims) {
    const std::string msg = testutil::ThrownMessage(
        [&] { DecodeJpeg(testutil::WithClaimedSize(*c.jpeg, c.w, c.h), c.scale); });
    const std::string expected =
        "Unable to decode JPEG data (picture too large: " + std::to_string(c.w) + " x " +
        std::to_string(c.h) + " pixels)";
    if (msg != expected) {
      std::fprintf(stderr, "%d x %d: \"%s\"\n", c.w, c.h, msg.c_str());
      ++wrong;
    }
  }
  return wrong;
}

// Pictures whose header claims a huge size are refused before memory is
// taken for them, at every scale: a progressive file needs its whole
// coefficient buffer even for an eighth-scale tile (12.8 GB at 65500 x 65500).
// The decodes run in a child whose address space may grow by 512 MB only.
TEST_F(JpegImage, HugeClaimedSizesAreRefusedWithinBoundedMemory) {
  const std::vector<std::uint8_t> progressive = CompressJpeg(MakeTestPicture(96, 64, 4), 80, true);
  const std::vector<std::uint8_t> baseline = CompressJpeg(MakeTestPicture(96, 64, 4), 80, false);
  EXPECT_EXIT(
      {
        testutil::LimitAddressSpaceGrowth(512ull << 20);
        std::exit(NotRefusedAsTooLarge({{&progressive, 65500, 65500, JpegScale::jsEighth},
                                        {&progressive, 65500, 65500, JpegScale::jsFullSize},
                                        {&progressive, 20000, 20000, JpegScale::jsEighth},
                                        {&baseline, 65500, 65500, JpegScale::jsFullSize}}));
      },
      ::testing::ExitedWithCode(0), "");
}

// The memory bound follows the picture: a large progressive picture, whose
// coefficient buffer (52 MB) alone is beyond libjpeg's fixed working
// allowance, decodes, and so do the camera's multi-scan layouts.
TEST_F(JpegImage, LargeProgressivePictureDecodesWithinItsBound) {
  tbitmap flat(5000, 3500);
  std::fill(flat.Bytes().begin(), flat.Bytes().end(), 0x60);
  const std::vector<std::uint8_t> jpeg = CompressJpeg(flat, 75, true);
  const tbitmap eighth = DecodeJpeg(jpeg, JpegScale::jsEighth);
  EXPECT_EQ(eighth.Width(), 625);
  EXPECT_EQ(eighth.Height(), 438);
  detail::tjpeglayout separate;
  separate.lumah = 3;
  separate.lumav = 2;
  separate.separatescans = true;
  const tbitmap camera = MakeTestPicture(480, 240, 2);
  EXPECT_LT(MeanAbsDiff(
                DecodeJpeg(detail::CompressJpegLayout(camera, 90, separate), JpegScale::jsFullSize),
                camera),
            4.0);
}

}  // namespace
}  // namespace vantlo
