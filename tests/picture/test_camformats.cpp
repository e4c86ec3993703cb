// Camera formats: the fixed JFIF segments byte for byte, CAM files of the
// three kinds written and read back, raw thumbnails, and damaged input of
// every kind failing with the message of the step that found it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "picture/camformats.h"
#include "picture/colour.h"
#include "picture/jpegtables.h"
#include "picture/pictureerror.h"
#include "picture/rawencoder.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

using testutil::ThrownMessage;
using bytes = std::vector<std::uint8_t>;

const char* const kUnsupported = "Unsupported Camera Format";
const char* const kAreaMissing = "Unable to parse CAM file (picture area missing)";

// A hand-made raw picture: header with the given scan lengths, tables 0..63
// and 100..163, scan bytes counting from 0xA0.
bytes HandRaw(std::uint8_t flavour, std::size_t ly, std::size_t lcb, std::size_t lcr) {
  bytes raw(kRawHeaderSize, 0);
  raw[0] = flavour;
  raw[2] = static_cast<std::uint8_t>(ly >> 8), raw[3] = static_cast<std::uint8_t>(ly);
  raw[4] = static_cast<std::uint8_t>(lcb >> 8), raw[5] = static_cast<std::uint8_t>(lcb);
  raw[6] = static_cast<std::uint8_t>(lcr >> 8), raw[7] = static_cast<std::uint8_t>(lcr);
  for (int i = 0; i < 64; ++i) raw[8 + i] = static_cast<std::uint8_t>(i);
  for (int i = 0; i < 64; ++i) raw[72 + i] = static_cast<std::uint8_t>(100 + i);
  for (std::size_t i = 0; i < ly + lcb + lcr; ++i)
    raw.push_back(static_cast<std::uint8_t>(0xA0 + i));
  return raw;
}

bytes Slice(const bytes& d, std::size_t at, std::size_t n) {
  return bytes(d.begin() + static_cast<long>(at), d.begin() + static_cast<long>(at + n));
}

TEST(HuffmanTables, AreTheStandardTablesLibjpegWrites) {
  EXPECT_EQ(SeparateHuffmanSegments().size(), 432u);
  EXPECT_EQ(CombinedHuffmanSegment().size(), 420u);
  EXPECT_EQ(Slice(CombinedHuffmanSegment(), 0, 4), (bytes{0xFF, 0xC4, 0x01, 0xA2}));
  // libjpeg without optimised coding writes the same four tables as four
  // DHT segments in the same order.
  const bytes jpeg = CompressJpeg(MakeTestPicture(32, 32, 1), 75, false);
  bytes dht;
  for (std::size_t i = 2; i + 4 <= jpeg.size();) {
    const std::size_t len = (static_cast<std::size_t>(jpeg[i + 2]) << 8) | jpeg[i + 3];
    if (jpeg[i + 1] == 0xC4)
      dht.insert(dht.end(), jpeg.begin() + static_cast<long>(i),
                 jpeg.begin() + static_cast<long>(i + 2 + len));
    if (jpeg[i + 1] == 0xDA) break;
    i += 2 + len;
  }
  EXPECT_EQ(dht, SeparateHuffmanSegments());
  bytes combined{0xFF, 0xC4, 0x01, 0xA2};
  for (std::size_t i = 0; i < 432;) {
    const std::size_t len = (static_cast<std::size_t>(dht[i + 2]) << 8) | dht[i + 3];
    combined.insert(combined.end(), dht.begin() + static_cast<long>(i + 4),
                    dht.begin() + static_cast<long>(i + 2 + len));
    i += 2 + len;
  }
  EXPECT_EQ(combined, CombinedHuffmanSegment());
}

TEST(RawToJfif, Flavour0LayoutByteForByte) {
  const bytes raw = HandRaw(0, 3, 2, 1);
  bytes out{1, 2, 3};  // cleared first
  RawToJfif(raw, out);
  bytes expect{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01,
               0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x43, 0x00};
  for (int i = 0; i < 64; ++i) expect.push_back(static_cast<std::uint8_t>(i));
  expect.insert(expect.end(), {0xFF, 0xDB, 0x00, 0x43, 0x01});
  for (int i = 0; i < 64; ++i) expect.push_back(static_cast<std::uint8_t>(100 + i));
  expect.insert(expect.end(), {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0xF0, 0x01, 0xE0, 0x03, 0x01,
                               0x32, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01});
  expect.insert(expect.end(), SeparateHuffmanSegments().begin(), SeparateHuffmanSegments().end());
  expect.insert(expect.end(),
                {0xFF, 0xDA, 0x00, 0x08, 0x01, 0x01, 0x00, 0x00, 0x3F, 0x00, 0xA0, 0xA1, 0xA2,
                 0xFF, 0xDA, 0x00, 0x08, 0x01, 0x02, 0x11, 0x00, 0x3F, 0x00, 0xA3, 0xA4, 0xFF,
                 0xDA, 0x00, 0x08, 0x01, 0x03, 0x11, 0x00, 0x3F, 0x00, 0xA5, 0xFF, 0xD9});
  EXPECT_EQ(out, expect);
}

TEST(RawToJfif, Flavour1LayoutByteForByte) {
  const bytes raw = HandRaw(1, 0x7777, 0x7777, 2);  // the first two lengths are not used
  bytes out;
  RawToJfif(raw, out);
  bytes expect{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 0x4A, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01,
               0x01, 0x01, 0x2C, 0x01, 0x2C, 0x00, 0x00, 0xFF, 0xDB, 0x00, 0x84, 0x00};
  for (int i = 0; i < 64; ++i) expect.push_back(static_cast<std::uint8_t>(i));
  expect.push_back(0x01);
  for (int i = 0; i < 64; ++i) expect.push_back(static_cast<std::uint8_t>(100 + i));
  expect.insert(expect.end(), {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x01, 0xE0, 0x02, 0x80, 0x03, 0x01,
                               0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01});
  expect.insert(expect.end(), CombinedHuffmanSegment().begin(), CombinedHuffmanSegment().end());
  expect.insert(expect.end(), {0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11,
                               0x00, 0x3F, 0x00, 0xA0, 0xA1, 0xFF, 0xD9});
  EXPECT_EQ(out, expect);
}

TEST(RawToJfif, JpegIsCopiedAndOtherDataRefused) {
  const bytes jpeg{0xFF, 0xD8, 0x01, 0x02, 0xFF, 0xD9, 0x33};
  bytes out;
  RawToJfif(jpeg, out);
  EXPECT_EQ(out, jpeg);
  EXPECT_EQ(ThrownMessage([&] { RawToJfif(bytes{0x02, 0, 0}, out); }), kUnsupported);
  EXPECT_EQ(ThrownMessage([&] { RawToJfif(bytes{}, out); }), kUnsupported);
  EXPECT_EQ(ThrownMessage([&] { RawToJfif(bytes{0xFF}, out); }), kUnsupported);
}

TEST(RawToJfif, TruncatedRawHeaderAndScansPastTheEndAreRefused) {
  const bytes raw0 = HandRaw(0, 300, 200, 100);
  const bytes raw1 = HandRaw(1, 0, 0, 500);
  bytes out;
  for (const bytes* raw : {&raw0, &raw1}) {
    for (std::size_t len :
         {std::size_t{1}, std::size_t{8}, std::size_t{135}, std::size_t{136}, raw->size() - 1}) {
      EXPECT_EQ(ThrownMessage([&] { RawToJfif(Slice(*raw, 0, len), out); }), kUnsupported) << len;
    }
  }
  // Extra bytes behind the scans are harmless.
  bytes longer = raw0;
  longer.push_back(0x99);
  RawToJfif(longer, out);
  EXPECT_EQ(out[out.size() - 3], 0xA0 + 599 - 256 * 2);
}

class CamFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    raw0_ = new bytes(EncodeRawPicture(MakeTestPicture(480, 240, 11), 0));
    raw1_ = new bytes(EncodeRawPicture(MakeTestPicture(640, 480, 12), 1));
    jpeg_ = new bytes(CompressJpeg(MakeTestPicture(320, 240, 13), 80, false));
  }
  static void TearDownTestSuite() {
    delete raw0_;
    delete raw1_;
    delete jpeg_;
  }
  static bytes *raw0_, *raw1_, *jpeg_;
};
bytes *CamFiles::raw0_, *CamFiles::raw1_, *CamFiles::jpeg_;

bytes Entry(std::uint8_t id, std::uint32_t size) {
  bytes e{0x00,
          id,
          static_cast<std::uint8_t>(size >> 24),
          static_cast<std::uint8_t>(size >> 16),
          static_cast<std::uint8_t>(size >> 8),
          static_cast<std::uint8_t>(size)};
  e.resize(16, 0);
  return e;
}

TEST_F(CamFiles, Flavour0FileHoldsTheRawDataExactly) {
  bytes cam;
  RawToCamFile(*raw0_, cam, 1);
  const std::size_t n = raw0_->size();
  ASSERT_EQ(cam.size(), 54 + 15 + 5616 + n + 1);
  EXPECT_EQ(Slice(cam, 0, 6), (bytes{0x07, 0x20, 0x4D, 0x4D, 0x00, 0x03}));
  EXPECT_EQ(Slice(cam, 6, 16), Entry(1, 15));
  EXPECT_EQ(Slice(cam, 22, 16), Entry(2, 5616));
  EXPECT_EQ(Slice(cam, 38, 16), Entry(3, static_cast<std::uint32_t>(n)));
  EXPECT_EQ(Slice(cam, 54, 15), (bytes{1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 0}));
  EXPECT_EQ(Slice(cam, 69, 5616), bytes(5616, 0));
  EXPECT_EQ(cam.back(), 0x01);
  EXPECT_FALSE(IsJpegBearingCam(cam));
  bytes area{9};
  ExtractPictureArea(cam, area);
  EXPECT_EQ(area, *raw0_);
  TJPEGImage img;
  bool isjpeg = true;
  LoadCamPreview(cam, img, isjpeg);
  EXPECT_FALSE(isjpeg);
  EXPECT_EQ(img.Width(), 480);
  EXPECT_EQ(img.Height(), 240);
}

TEST_F(CamFiles, Flavour1FileCarriesTheJfifStreamFirst) {
  bytes jfif, cam;
  RawToJfif(*raw1_, jfif);
  RawToCamFile(*raw1_, cam, 2);
  ASSERT_EQ(cam.size(), 54 + jfif.size() + 15 + 5616);
  EXPECT_EQ(Slice(cam, 6, 16), Entry(4, static_cast<std::uint32_t>(jfif.size())));
  EXPECT_EQ(Slice(cam, 22, 16), Entry(1, 15));
  EXPECT_EQ(Slice(cam, 38, 16), Entry(2, 5616));
  EXPECT_EQ(Slice(cam, 54, jfif.size()), jfif);
  EXPECT_TRUE(IsJpegBearingCam(cam));
  EXPECT_EQ(CamJpegOffset(cam), 54u);
  TJPEGImage img;
  bool isjpeg = false;
  LoadCamPreview(cam, img, isjpeg);
  EXPECT_TRUE(isjpeg);
  EXPECT_EQ(img.Width(), 80);
  EXPECT_EQ(img.Height(), 60);
  EXPECT_EQ(img.JpegData(), jfif);  // the areas behind the JPEG are not part of it
}

TEST_F(CamFiles, JpegFileTakesAreaId10ForKind3Else12) {
  bytes cam;
  RawToCamFile(*jpeg_, cam, 3);
  EXPECT_EQ(Slice(cam, 6, 16), Entry(10, static_cast<std::uint32_t>(jpeg_->size())));
  RawToCamFile(*jpeg_, cam, 5);
  EXPECT_EQ(Slice(cam, 6, 16), Entry(12, static_cast<std::uint32_t>(jpeg_->size())));
  EXPECT_EQ(Slice(cam, 54, jpeg_->size()), *jpeg_);
  EXPECT_EQ(cam.size(), 54 + jpeg_->size() + 15 + 5616);
  // Loaded from offset 54 whatever follows the JPEG.
  std::fill(cam.end() - 100, cam.end(), 0xFF);
  TJPEGImage img;
  bool isjpeg = false;
  LoadCamPreview(cam, img, isjpeg);
  EXPECT_TRUE(isjpeg);
  EXPECT_EQ(img.Width(), 40);
  EXPECT_EQ(img.Height(), 30);
  EXPECT_EQ(ThrownMessage([&] { RawToCamFile(bytes{0x02, 1}, cam, 1); }), kUnsupported);
  EXPECT_EQ(ThrownMessage([&] { RawToCamFile(bytes{}, cam, 1); }), kUnsupported);
}

bytes CamWithDirectory(std::vector<bytes> entries, std::size_t body, std::uint8_t count = 3) {
  bytes cam{0x07, 0x20, 0x4D, 0x4D, 0x00, count};
  for (const bytes& e : entries) cam.insert(cam.end(), e.begin(), e.end());
  cam.resize(cam.size() + body, 0x5A);
  return cam;
}

TEST(CamDirectory, BadDirectoriesFailWithTheirMessages) {
  bytes out;
  auto msg = [&](const bytes& cam) { return ThrownMessage([&] { ExtractPictureArea(cam, out); }); };
  EXPECT_EQ(msg(bytes{0x07, 0x20, 0x4D}), "Unable to parse CAM file (no start marker)");
  EXPECT_EQ(msg(CamWithDirectory({Entry(1, 1), Entry(2, 1), Entry(3, 1)}, 3, 2)),
            "Unable to parse CAM file (incorrect number of areas)");
  EXPECT_EQ(msg(CamWithDirectory({Entry(1, 1), Entry(5, 1), Entry(3, 1)}, 3)),
            "Unable to parse CAM file (invalid area ID)");
  EXPECT_EQ(msg(CamWithDirectory({Entry(1, 1), Entry(2, 1), Entry(2, 1)}, 3)), kAreaMissing);
  // A directory cut short counts as one with a bad id.
  EXPECT_EQ(msg(Slice(CamWithDirectory({Entry(1, 1), Entry(2, 1), Entry(3, 1)}, 3), 0, 40)),
            "Unable to parse CAM file (invalid area ID)");
  // Picture area at 54 + 1 + 2, three bytes long.
  bytes cam = CamWithDirectory({Entry(1, 1), Entry(2, 2), Entry(3, 3)}, 6);
  cam[57] = 0x11;
  ExtractPictureArea(cam, out);
  EXPECT_EQ(out, (bytes{0x11, 0x5A, 0x5A}));
}

TEST(CamDirectory, CamWithDirectorySizePastTheEndIsRefused) {
  bytes out;
  auto msg = [&](const bytes& cam) { return ThrownMessage([&] { ExtractPictureArea(cam, out); }); };
  EXPECT_EQ(msg(CamWithDirectory({Entry(3, 100), Entry(1, 1), Entry(2, 1)}, 99)), kAreaMissing);
  // Sizes that would wrap around in 32 bits.
  EXPECT_EQ(msg(CamWithDirectory({Entry(1, 0xFFFFFFFF), Entry(2, 0xFFFFFFFF), Entry(3, 4)}, 10)),
            kAreaMissing);
  EXPECT_EQ(msg(CamWithDirectory({Entry(1, 1), Entry(2, 1), Entry(3, 0xFFFFFFFF)}, 10)),
            kAreaMissing);
  // A JPEG-bearing file whose area count puts the JPEG past the end.
  bytes jcam = CamWithDirectory({Entry(12, 10), Entry(1, 1), Entry(2, 1)}, 10);
  jcam[5] = 0xF0;
  EXPECT_EQ(ThrownMessage([&] { CamJpegOffset(jcam); }), kAreaMissing);
  TJPEGImage img;
  bool isjpeg = false;
  EXPECT_EQ(ThrownMessage([&] { LoadCamPreview(jcam, img, isjpeg); }), kAreaMissing);
}

TEST_F(CamFiles, CamFilesCutAtManyOffsetsFailCleanly) {
  for (const bytes* data : {raw0_, raw1_, jpeg_}) {
    bytes cam;
    RawToCamFile(*data, cam, 1);
    // Where the picture ends: the areas behind it are not needed.
    const std::size_t end = data == raw0_
                                ? cam.size() - 1
                                : 54 + (std::size_t{cam[8]} << 24 | std::size_t{cam[9]} << 16 |
                                        std::size_t{cam[10]} << 8 | cam[11]);
    for (std::size_t len = 0; len < cam.size(); len += 1 + len / 3) {
      const bytes cut = Slice(cam, 0, len);
      TJPEGImage img;
      bool isjpeg = false;
      if (len < end)
        EXPECT_THROW(LoadCamPreview(cut, img, isjpeg), tpictureerror) << len;
      else
        EXPECT_NO_THROW(LoadCamPreview(cut, img, isjpeg)) << len;
    }
  }
}

TEST(Thumbnail, DecodesGreyAndClampedRed) {
  bytes raw(kRawThumbnailSize, 0);
  for (std::size_t i = 0; i < 1872; ++i) raw[i] = static_cast<std::uint8_t>(i % 251);
  tbitmap bm(5, 5);
  bm.SetPixelFormat(PixelFormat::pf32bit);
  DecodeThumbnail(raw, bm);
  ASSERT_EQ(bm.Width(), 52);
  ASSERT_EQ(bm.Height(), 36);
  EXPECT_EQ(bm.Format(), PixelFormat::pf24bit);
  for (int y = 0; y < 36; ++y)
    for (int x = 0; x < 52; ++x) {
      const std::uint8_t v = static_cast<std::uint8_t>((y * 52 + x) % 251);
      const std::uint8_t* p = bm.ScanLine(y) + x * 3;
      ASSERT_TRUE(p[0] == v && p[1] == v && p[2] == v) << x << "," << y;
    }
  // Cr 7F on Y 200 in the chroma block of pixels (2..3, 4..5).
  raw[4 * 52 + 3] = 200;
  raw[2340 + 2 * 26 + 1] = 0x7F;
  raw[1872 + 2 * 26 + 1] = 0x80;  // Cb -128
  DecodeThumbnail(raw, bm);
  const std::uint8_t* p = bm.ScanLine(4) + 3 * 3;
  EXPECT_EQ(ThumbYccToRgb(200, -128, 127), MakeColor(255, 153, 0));
  EXPECT_EQ(p[2], 255);
  EXPECT_EQ(p[1], 153);
  EXPECT_EQ(p[0], 0);
}

TEST(Thumbnail, ThumbnailOf2000BytesIsRefused) {
  bytes raw(2000, 0);
  tbitmap bm;
  EXPECT_EQ(ThrownMessage([&] { DecodeThumbnail(raw, bm); }), "Thumbnail data too short");
  raw.resize(kRawThumbnailSize + 10, 0);
  DecodeThumbnail(raw, bm);  // longer is fine
  EXPECT_EQ(bm.Width(), 52);
}

TEST(Thumbnail, JpegThumbnailIsStretchedOverTheTarget) {
  const bytes jpeg = CompressJpeg(MakeTestPicture(80, 60, 4), 90, false);
  tbitmap empty;
  DecodeJpegThumbnail(jpeg, empty);
  EXPECT_EQ(empty.Width(), 52);
  EXPECT_EQ(empty.Height(), 36);
  tbitmap big(160, 120);
  DecodeJpegThumbnail(jpeg, big);
  EXPECT_EQ(big.Width(), 160);
  EXPECT_NE(big, tbitmap(160, 120));
  EXPECT_THROW(DecodeJpegThumbnail(Slice(jpeg, 0, jpeg.size() / 2), big), tpictureerror);
}

// 0 when a camera thumbnail claiming 10000 x 10000 pixels is refused as too
// large and the target bitmap is left as it was.
int HugeCameraThumbnailRefused() {
  const bytes claim =
      testutil::WithClaimedSize(CompressJpeg(MakeTestPicture(80, 60, 4), 90, false), 10000, 10000);
  tbitmap target(52, 36);
  const std::string msg = ThrownMessage([&] { DecodeJpegThumbnail(claim, target); });
  if (msg != "Unable to decode JPEG data (picture too large: 10000 x 10000 pixels)") return 1;
  return target == tbitmap(52, 36) ? 0 : 2;
}

// A thumbnail from a damaged or hostile camera is decoded at full size: one
// claiming 10000 x 10000 pixels must not take a 300 MB bitmap. The child's
// address space may grow by 64 MB only.
TEST(Thumbnail, JpegThumbnailClaimingAHugeSizeIsRefusedWithinBoundedMemory) {
  EXPECT_EXIT(
      {
        testutil::LimitAddressSpaceGrowth(64ull << 20);
        std::exit(HugeCameraThumbnailRefused());
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vantlo

namespace vantlo {
namespace {

// Random bytes behind plausible first bytes: every routine either works or
// throws tpictureerror; no other exception, no read past the end (the ASan
// build checks the latter).
TEST(CamFormatsFuzz, RandomInputOnlyEverThrowsPictureErrors) {
  std::uint32_t s = 99;
  auto next = [&s] {
    s = s * 1664525u + 1013904223u;
    return s >> 8;
  };
  const std::vector<std::vector<std::uint8_t>> starts = {
      {0x00}, {0x01}, {0xFF, 0xD8}, {0x07, 0x20, 0x4D, 0x4D, 0x00, 0x03}};
  for (int round = 0; round < 400; ++round) {
    std::vector<std::uint8_t> data(next() % 3000);
    for (auto& b : data) b = static_cast<std::uint8_t>(next());
    const auto& start = starts[static_cast<std::size_t>(round) % starts.size()];
    for (std::size_t i = 0; i < start.size() && i < data.size(); ++i) data[i] = start[i];
    // Small sizes in the header and directory so that the checks are reached.
    if (data.size() > 8 && round % 2 == 0) data[2] = data[4] = data[6] = 0;
    if (data.size() > 54 && round % 8 == 3)
      for (std::size_t e = 6; e < 54; e += 16) data[e + 2] = data[e + 3] = data[e + 4] = 0;
    std::vector<std::uint8_t> out;
    tbitmap bm;
    TJPEGImage img;
    bool isjpeg = false;
    auto quiet = [](auto f) {
      try {
        f();
      } catch (const tpictureerror&) {
      }
    };
    quiet([&] {
      RawToJfif(data, out);
      DecodeJpeg(out, JpegScale::jsFullSize);
    });
    quiet([&] { ExtractPictureArea(data, out); });
    quiet([&] { LoadCamPreview(data, img, isjpeg); });
    quiet([&] { DecodeThumbnail(data, bm); });
    quiet([&] { DecodeJpegThumbnail(data, bm); });
  }
}

}  // namespace
}  // namespace vantlo
