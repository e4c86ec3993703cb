// Thumbnails of real files through the program's decoders: EXIF thumbnails
// of both kinds, the reduced-scale decode when the EXIF segment is too short,
// and the size of what is decoded.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "library/diskthumbmanager.h"
#include "picture/jpegimage.h"
#include "tempfolder.h"
#include "tests/picture/picture_test_util.h"

namespace vantlo {
namespace {

using testing::ttempfolder;
using testing::WriteBytes;

tbitmap Noise(int w, int h) {
  tbitmap b(w, h);
  std::uint32_t x = 12345;
  for (auto& v : b.Bytes()) {
    x = x * 1103515245u + 12345u;
    v = static_cast<std::uint8_t>(x >> 24);
  }
  return b;
}

tbitmap Flat(int w, int h, std::uint8_t grey) {
  tbitmap b(w, h);
  std::fill(b.Bytes().begin(), b.Bytes().end(), grey);
  return b;
}

// JPEG data without its JFIF header, so it starts FF D8 FF DB as an
// embedded EXIF thumbnail does.
std::vector<std::uint8_t> BareJpeg(const tbitmap& picture) {
  std::vector<std::uint8_t> j = CompressJpeg(picture, 90, false);
  std::size_t at = 2;
  while (at + 4 < j.size() && j[at] == 0xFF && j[at + 1] >= 0xE0 && j[at + 1] <= 0xEF)
    at += 2 + static_cast<std::size_t>(j[at + 2]) * 256 + j[at + 3];
  std::vector<std::uint8_t> out = {0xFF, 0xD8};
  out.insert(out.end(), j.begin() + static_cast<long>(at), j.end());
  return out;
}

// An EXIF JPEG: SOI, an APP1 "Exif" segment of `length` holding `payload`
// (padded; placed at the segment's end when `atEnd`), then the main picture.
std::vector<std::uint8_t> ExifFile(std::size_t length, const std::vector<std::uint8_t>& payload,
                                   bool atEnd, const tbitmap& main) {
  std::vector<std::uint8_t> seg = {static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(length & 0xFF),
                                   'E',
                                   'x',
                                   'i',
                                   'f',
                                   0,
                                   0};
  seg.resize(length, 0);
  const std::size_t at = atEnd ? length - payload.size() : 8;
  std::copy(payload.begin(), payload.end(), seg.begin() + static_cast<long>(at));
  std::vector<std::uint8_t> file = {0xFF, 0xD8, 0xFF, 0xE1};
  file.insert(file.end(), seg.begin(), seg.end());
  std::vector<std::uint8_t> body = CompressJpeg(main, 90, false);
  file.insert(file.end(), body.begin() + 2, body.end());
  return file;
}

// Passes everything to the real decoders and records the largest picture
// any decode produced.
class trecordingsource : public tpicturethumbsource {
 public:
  tbitmap DecodeJpeg(std::span<const std::uint8_t> data, int divisor) override {
    tbitmap b = tpicturethumbsource::DecodeJpeg(data, divisor);
    largest = std::max(largest, static_cast<long>(b.Width()) * b.Height());
    return b;
  }
  long largest = 0;
};

const std::uint8_t* Pixel(const tbitmap& b, int x, int y) { return b.ScanLine(y) + x * 3; }

TEST(ExifThumbnails, BothFormsAndTheShortSegment) {
  ttempfolder dir;
  const tbitmap main = Noise(640, 480);
  WriteBytes(dir / "a_embedded.jpg", ExifFile(12000, BareJpeg(Flat(160, 120, 40)), false, main));
  WriteBytes(dir / "b_small.jpg", ExifFile(5000, BareJpeg(Flat(160, 120, 40)), false, main));
  // The uncompressed form: 80 x 60 pixels of Y Y Cb Cr, a flat light grey.
  std::vector<std::uint8_t> raw(9600);
  for (std::size_t i = 0; i < raw.size(); i += 4)
    raw[i] = raw[i + 1] = 200, raw[i + 2] = raw[i + 3] = 128;
  WriteBytes(dir / "c_raw.jpg", ExifFile(12000, raw, true, main));
  WriteBytes(dir / "d_short.jpg", ExifFile(1500, BareJpeg(Flat(160, 120, 40)), false, main));

  trecordingsource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg);
  m.SetFolder(dir.path());
  m.LoadAllThumbnails();
  ASSERT_EQ(m.Count(), 4);
  for (int n = 1; n <= 4; ++n) ASSERT_TRUE(m.HasThumbnail(n)) << n;

  const std::uint8_t background = PlainTilePictures()[tpJpeg].Bytes()[0];
  const tbitmap a = m.Thumbnail(1);
  EXPECT_NEAR(Pixel(a, 4, 4)[0], 40, 3);     // 80 x 60 form from (4, 4)
  EXPECT_EQ(Pixel(a, 3, 4)[0], background);  // outside its rectangle
  EXPECT_EQ(m.PictureWidth(1), 0);           // no size from an EXIF thumbnail
  const tbitmap b = m.Thumbnail(2);
  EXPECT_EQ(Pixel(b, 5, 10)[0], background);  // 68 x 54 form starts at x = 6
  EXPECT_NEAR(Pixel(b, 6, 10)[0], 40, 3);
  const tbitmap c = m.Thumbnail(3);
  EXPECT_NEAR(Pixel(c, 40, 30)[0], 200, 3);
  // A segment shorter than 2000 bytes: the picture itself is decoded.
  EXPECT_EQ(m.PictureWidth(4), 640);
  EXPECT_EQ(m.PictureHeight(4), 480);
  EXPECT_EQ(source.largest, 80L * 60);  // decoded at one eighth
}

TEST(ExifThumbnails, DecodedSizeDoesNotGrowWithThePicture) {
  ttempfolder dir;
  WriteBytes(dir / "big.jpg", CompressJpeg(Noise(2048, 1536), 75, false));
  trecordingsource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg);
  m.SetFolder(dir.path());
  m.LoadAllThumbnails();
  ASSERT_TRUE(m.HasThumbnail(1));
  EXPECT_EQ(m.PictureWidth(1), 2048);
  EXPECT_EQ(source.largest, 256L * 192);
}

using testutil::LimitAddressSpaceGrowth;
using testutil::WithClaimedSize;

// Browses the folder; 0 when the loop ended normally with the sound picture
// (item 4) and the damaged EXIF thumbnail's tile (item 1: the picture area
// left blank, as for a segment without a thumbnail) built, and the pictures
// claiming huge sizes (items 2, 3) failed to their placeholders.
int BrowseHugeClaims(const std::string& folder) {
  tpicturethumbsource source;
  tdiskthumbmanager m(source);
  m.SetActive(true);
  m.SetScanFlags(sfJpeg);
  int finished = 0;
  m.Hooks().loadingFinished = [&] { ++finished; };
  m.SetFolder(folder);
  m.LoadAllThumbnails();
  if (m.Count() != 4 || finished != 1 || m.Loading()) return 1;
  if (!m.HasThumbnail(1) || m.ThumbnailFailed(1)) return 2;
  if (m.Thumbnail(1) !=
      ComposeTile(PlainTilePictures()[tpJpeg], tbitmap(80, 60), ExifThumbnailRect(80)))
    return 3;
  for (int n : {2, 3})
    if (m.HasThumbnail(n) || !m.ThumbnailFailed(n) ||
        m.Thumbnail(n) != PlainTilePictures()[tpJpegWaiting])
      return 4;
  if (!m.HasThumbnail(4) || m.ThumbnailFailed(4) || m.PictureWidth(4) != 640) return 5;
  return 0;
}

// A folder holding pictures whose headers claim huge sizes still browses:
// a damaged EXIF thumbnail claiming 10000 x 10000, a progressive picture
// claiming 65500 x 65500 (whose eighth-scale tile would need 12.8 GB of
// coefficients) and one cut short claiming 10000 x 12000, beside a sound
// picture. Run in a child whose address space may grow by 256 MB only.
TEST(ExifThumbnails, FolderWithHugeClaimsBrowsesWithPlaceholders) {
  ttempfolder dir;
  WriteBytes(dir / "a-exif.jpg",
             ExifFile(12000, WithClaimedSize(BareJpeg(Noise(40, 30)), 10000, 10000), false,
                      Noise(320, 240)));
  const std::vector<std::uint8_t> progressive = CompressJpeg(Noise(96, 64), 80, true);
  WriteBytes(dir / "b-huge.jpg", WithClaimedSize(progressive, 65500, 65500));
  WriteBytes(dir / "c-claim.jpg", WithClaimedSize(progressive, 10000, 12000));
  WriteBytes(dir / "d-sound.jpg", CompressJpeg(Noise(640, 480), 80, false));
  EXPECT_EXIT(
      {
        LimitAddressSpaceGrowth(256ull << 20);
        std::exit(BrowseHugeClaims(dir.path()));
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantlo
