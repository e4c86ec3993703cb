// EXIF thumbnails: detection, the embedded JPEG and the uncompressed form, and
// segment lengths that do not fit the bytes read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "picture/colour.h"
#include "picture/exifthumb.h"
#include "picture/jpegimage.h"
#include "picture/rawencoder.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

using bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class ExifThumb : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("vantlo_exif_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path Write(const std::string& name, const bytes& data) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()),
               static_cast<std::streamsize>(data.size()));
    return p;
  }
  fs::path dir_;
};

// FF D8 FF E1, the segment length, "Exif", then the segment body and a file
// padded to `filesize`.
bytes ExifFile(std::size_t seglength, const bytes& body = {}, std::size_t filesize = 30000,
               const char* id = "Exif") {
  bytes f(std::max(filesize, 10 + body.size()), 0x00);
  f[0] = 0xFF, f[1] = 0xD8, f[2] = 0xFF, f[3] = 0xE1;
  f[4] = static_cast<std::uint8_t>(seglength >> 8);
  f[5] = static_cast<std::uint8_t>(seglength & 0xFF);
  std::copy(id, id + 4, f.begin() + 6);
  std::copy(body.begin(), body.end(), f.begin() + 10);
  return f;
}

// A small solid-colour JPEG whose first segment is its quantisation table.
bytes BareJpeg(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  tbitmap bm(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      bm.ScanLine(y)[x * 3] = b;
      bm.ScanLine(y)[x * 3 + 1] = g;
      bm.ScanLine(y)[x * 3 + 2] = r;
    }
  bytes j = CompressJpeg(bm, 90, false);
  // Drop the JFIF segment (FF E0) behind the start of image.
  const std::size_t app0 = 2 + std::size_t{j[4]} * 256 + j[5];
  j.erase(j.begin() + 2, j.begin() + static_cast<long>(2 + app0));
  return j;
}

tcolor PixelAt(const tbitmap& bm, int x, int y) {
  const std::uint8_t* p = bm.ScanLine(y) + x * 3;
  return MakeColor(p[2], p[1], p[0]);
}

TEST_F(ExifThumb, DetectionUpperCasesTheIdentifier) {
  EXPECT_TRUE(IsExifFile(Write("a.jpg", ExifFile(3000, {}, 10, "exif"))));
  EXPECT_TRUE(IsExifFile(Write("b.jpg", ExifFile(3000, {}, 10, "EXIF"))));
  EXPECT_FALSE(IsExifFile(Write("c.jpg", ExifFile(3000, {}, 10, "JFIF"))));
  bytes nine = ExifFile(3000, {}, 10);
  nine.resize(9);
  EXPECT_FALSE(IsExifFile(Write("d.jpg", nine)));
  EXPECT_FALSE(IsExifFile(dir_ / "missing.jpg"));
}

TEST_F(ExifThumb, ShortFilesAndSmallSegmentsGiveNoThumbnail) {
  tbitmap bm;
  EXPECT_FALSE(ReadExifThumbnail(Write("short.jpg", ExifFile(3000, {}, 20479)), bm));
  EXPECT_FALSE(ReadExifThumbnail(Write("1999.jpg", ExifFile(1999)), bm));
  EXPECT_FALSE(ReadExifThumbnail(dir_ / "missing.jpg", bm));
  // 2000 bytes, no JPEG, not above 9600: nothing drawn but a thumbnail reported.
  ASSERT_TRUE(ReadExifThumbnail(Write("2000.jpg", ExifFile(2000)), bm));
  EXPECT_EQ(bm.Width(), 68);
  EXPECT_EQ(bm.Height(), 54);
  EXPECT_EQ(bm, tbitmap(68, 54));
}

TEST_F(ExifThumb, EmbeddedJpegIsDecodedEvenInALongSegment) {
  bytes body(500, 0x11);
  const bytes jpeg = BareJpeg(200, 30, 40);
  body.insert(body.end(), jpeg.begin(), jpeg.end());
  body.resize(12000 - 6, 0x80);
  tbitmap bm;
  ASSERT_TRUE(ReadExifThumbnail(Write("jpeg.jpg", ExifFile(12000, body)), bm));
  ASSERT_EQ(bm.Width(), 80);
  ASSERT_EQ(bm.Height(), 60);
  const tcolor c = PixelAt(bm, 40, 30);
  EXPECT_NEAR(GetRValue(c), 200, 4);
  EXPECT_NEAR(GetGValue(c), 30, 4);
  EXPECT_NEAR(GetBValue(c), 40, 4);
}

TEST_F(ExifThumb, UncompressedThumbnailIsTheSegmentsLast9600Bytes) {
  const std::size_t length = 11000;
  bytes body(length - 6 - 9600, 0x00);
  for (int j = 0; j < 60; ++j)
    for (int k = 0; k < 40; ++k) {
      body.push_back(static_cast<std::uint8_t>(j * 4));    // Y0
      body.push_back(static_cast<std::uint8_t>(k * 6));    // Y1
      body.push_back(static_cast<std::uint8_t>(100 + k));  // Cb
      body.push_back(static_cast<std::uint8_t>(150 + j));  // Cr
    }
  body.push_back(0xEE);  // behind the segment: not part of the thumbnail
  tbitmap bm;
  ASSERT_TRUE(ReadExifThumbnail(Write("raw.jpg", ExifFile(length, body)), bm));
  ASSERT_EQ(bm.Width(), 80);
  for (int j : {0, 17, 59})
    for (int k : {0, 21, 39}) {
      const std::uint8_t cb = static_cast<std::uint8_t>(100 + k);
      const std::uint8_t cr = static_cast<std::uint8_t>(150 + j);
      EXPECT_EQ(PixelAt(bm, 2 * k, j), IntYccToRgb(static_cast<std::uint8_t>(j * 4), cb, cr));
      EXPECT_EQ(PixelAt(bm, 2 * k + 1, j), IntYccToRgb(static_cast<std::uint8_t>(k * 6), cb, cr));
    }
}

TEST_F(ExifThumb, ExifWithASegmentLengthPastTheData) {
  // Length 65535 runs past the 20480 bytes read: the copy stops there. An
  // embedded JPEG inside what was read is still found; the uncompressed form
  // (which would be the last 9600 bytes of the whole segment) is not guessed.
  bytes body(100, 0x00);
  const bytes jpeg = BareJpeg(10, 220, 10);
  body.insert(body.end(), jpeg.begin(), jpeg.end());
  tbitmap bm;
  ASSERT_TRUE(ReadExifThumbnail(Write("jpeg.jpg", ExifFile(65535, body, 70000)), bm));
  EXPECT_NEAR(GetGValue(PixelAt(bm, 10, 10)), 220, 4);
  bytes grey(19000, 0x90);
  ASSERT_TRUE(ReadExifThumbnail(Write("raw.jpg", ExifFile(65535, grey, 70000)), bm));
  EXPECT_EQ(bm, tbitmap(80, 60));
}

TEST_F(ExifThumb, DamagedEmbeddedJpegLeavesTheBitmapAlone) {
  bytes jpeg = BareJpeg(1, 2, 3);
  jpeg.resize(jpeg.size() / 2);
  bytes segment(12000, 0x80);
  std::copy(jpeg.begin(), jpeg.end(), segment.begin() + 20);
  tbitmap bm(30, 20);
  std::fill(bm.Bytes().begin(), bm.Bytes().end(), 0x42);
  const tbitmap before = bm;
  DecodeEmbeddedThumbnail(segment, bm);
  EXPECT_EQ(bm, before);
  // Short segment without a JPEG: untouched as well.
  DecodeEmbeddedThumbnail(bytes(9600, 0x10), bm);
  EXPECT_EQ(bm, before);
  // Long segment, uncompressed: drawn, stretched over the whole bitmap.
  DecodeEmbeddedThumbnail(bytes(9601, 128), bm);
  EXPECT_EQ(PixelAt(bm, 29, 19), MakeColor(128, 128, 128));
}

// 0 when an embedded thumbnail claiming 10000 x 10000 pixels leaves the
// bitmap alone, directly and through the file.
int HugeEmbeddedThumbnailRefused(const fs::path& file, const bytes& segment) {
  tbitmap bm(30, 20);
  std::fill(bm.Bytes().begin(), bm.Bytes().end(), 0x42);
  const tbitmap before = bm;
  DecodeEmbeddedThumbnail(segment, bm);
  if (!(bm == before)) return 1;
  tbitmap fromfile;
  if (!ReadExifThumbnail(file, fromfile)) return 2;
  return fromfile == tbitmap(80, 60) ? 0 : 3;
}

// A damaged embedded thumbnail whose header claims 10000 x 10000 pixels:
// thumbnails are decoded at full size, so it would take a 300 MB bitmap and
// about a second per tile. It is refused by the thumbnail limits and draws
// nothing. The child's address space may grow by 64 MB only.
TEST_F(ExifThumb, EmbeddedThumbnailClaimingAHugeSizeIsRefusedWithinBoundedMemory) {
  const bytes claim = testutil::WithClaimedSize(BareJpeg(1, 2, 3), 10000, 10000);
  ASSERT_FALSE(claim.empty());
  bytes segment(12000, 0x80);
  std::copy(claim.begin(), claim.end(), segment.begin() + 20);
  bytes body(segment.begin() + 6, segment.end());
  const fs::path file = Write("claim.jpg", ExifFile(12000, body, 30000));
  EXPECT_EXIT(
      {
        testutil::LimitAddressSpaceGrowth(64ull << 20);
        std::exit(HugeEmbeddedThumbnailRefused(file, segment));
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantlo
