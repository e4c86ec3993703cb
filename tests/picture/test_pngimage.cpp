// PNG files of the thumbnail cache: pictures and text chunks come back as
// written; damaged, cut-short and oversized files fail with a message.
#include <gtest/gtest.h>

#include "picture/pictureerror.h"
#include "picture/pngimage.h"
#include "picture/rawencoder.h"
#include "picture_test_util.h"

namespace vantlo {
namespace {

using bytes = std::vector<std::uint8_t>;

TEST(PngImage, PictureAndTextComeBackAsWritten) {
  const tbitmap picture = MakeTestPicture(128, 96, 6);
  const std::vector<tpngtext> text = {
      {"Thumb::URI", "file:///a%20b.jpg"}, {"Thumb::MTime", "1234567890"}, {"Software", "Vantlo"}};
  const bytes png = EncodePng(picture, text);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png[1], 'P');
  // 8-bit RGBA, not interlaced (IHDR: width, height, depth, colour type 6, ..., interlace).
  EXPECT_EQ(png[24], 8);
  EXPECT_EQ(png[25], 6);
  EXPECT_EQ(png[28], 0);
  std::vector<tpngtext> back;
  EXPECT_EQ(DecodePng(png, back), picture);
  EXPECT_EQ(back, text);
}

TEST(PngImage, DamagedCutShortAndOversizedFilesFail) {
  const bytes png = EncodePng(MakeTestPicture(64, 48, 2), {{"Software", "Vantlo"}});
  std::vector<tpngtext> text;
  EXPECT_EQ(testutil::ThrownMessage([&] { DecodePng(bytes(png.begin(), png.begin() + 5), text); }),
            "Unable to read PNG data (not a PNG)");
  for (std::size_t len : {std::size_t{20}, png.size() / 2, png.size() - 4}) {
    const bytes cut(png.begin(), png.begin() + static_cast<long>(len));
    EXPECT_THROW(DecodePng(cut, text), tpictureerror) << len;
  }
  for (std::size_t at = 8; at < png.size(); at += 37) {
    bytes bad = png;
    bad[at] ^= 0x21;
    EXPECT_THROW(DecodePng(bad, text), tpictureerror) << at;
  }
  EXPECT_THROW(DecodePng(png, text, 32), tpictureerror);
  EXPECT_EQ(DecodePng(png, text, 64).Width(), 64);
  EXPECT_THROW(EncodePng(tbitmap(), {}), tpictureerror);
  EXPECT_THROW(EncodePng(tbitmap(2, 2), {{"", "x"}}), tpictureerror);
}

}  // namespace
}  // namespace vantlo
