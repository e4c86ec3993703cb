// The default images are written out field by field at their literal
// offsets, the way the record tables list them, so each line can be checked
// against the table by eye. Everything not listed is zero.
#include "library/records/defaultimages.h"

#include <bit>
#include <cstring>
#include <string_view>

namespace vantlo::defaultimages {

namespace {

template <std::size_t N>
class timage {
 public:
  timage() { bytes.fill(0); }
  timage& U8(std::size_t off, std::uint8_t v) {
    bytes.at(off) = v;
    return *this;
  }
  timage& I16(std::size_t off, std::int16_t v) { return Le(off, static_cast<std::uint16_t>(v), 2); }
  timage& I32(std::size_t off, std::int32_t v) { return Le(off, static_cast<std::uint32_t>(v), 4); }
  timage& F64(std::size_t off, double v) { return Le(off, std::bit_cast<std::uint64_t>(v), 8); }
  timage& Str(std::size_t off, std::string_view s) {
    U8(off, static_cast<std::uint8_t>(s.size()));
    for (std::size_t i = 0; i < s.size(); ++i) U8(off + 1 + i, static_cast<std::uint8_t>(s[i]));
    return *this;
  }
  template <std::size_t M>
  timage& Block(std::size_t off, const std::array<std::uint8_t, M>& block) {
    for (std::size_t i = 0; i < M; ++i) U8(off + i, block[i]);
    return *this;
  }
  std::array<std::uint8_t, N> bytes;

 private:
  timage& Le(std::size_t off, std::uint64_t v, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) U8(off + i, static_cast<std::uint8_t>(v >> (8 * i)));
    return *this;
  }
};

constexpr std::int32_t kGreen = 0x008000;  // red 0, green 128, blue 0
constexpr std::int32_t kWhite = 0xFFFFFF;

std::array<std::uint8_t, kWebcamBlockSize> MakeWebcamBlock() {
  timage<kWebcamBlockSize> b;
  b.U8(0, 0)         // not running
      .I32(4, 0)     // as fast as possible
      .F64(8, 0.0)   // first picture: now
      .F64(16, 0.0)  // next capture
      .U8(24, 1)     // delete from camera
      .U8(25, 1)     // fetch thumbnail
      .U8(26, 1)     // fetch picture
      .U8(27, 0)     // save thumbnail
      .U8(28, 1)     // save picture
      .Str(29, "Vantlo")
      .I32(288, 0);  // next picture number
  return b.bytes;
}

std::array<std::uint8_t, kConfigSize> MakeConfig() {
  timage<kConfigSize> b;
  b.Str(0, "COM2:")
      .I32(8, 0)     // speed "Auto"
      .U8(12, 0)     // size "Default"
      .I32(16, 5)    // colour range expansion
      .I32(20, 85)   // JPEG quality
      .U8(282, 1)    // confirm deleting from camera
      .U8(283, 1)    // confirm deleting file
      .U8(284, 1)    // confirm overwriting file
      .U8(285, 'C')  // drive of the save folder
      .U8(286, 1)    // daily folder
      .U8(287, 1)    // save JPEG
      .U8(288, 1)    // save CAM
      .U8(291, 1)    // name by date
      .I32(304, 3)   // start page "Setup"
      .Block(312, MakeWebcamBlock())
      .Str(2482, "MS Sans Serif")
      .I32(2516, kGreen)
      .I16(2520, 8)
      .U8(2524, 1)  // minilab: fetch thumbnails
      .U8(2525, 0)  // save thumbnails
      .U8(2526, 1)  // fetch pictures
      .U8(2527, 1)  // save JPEG
      .U8(2528, 1)  // save CAM
      .Str(2544, "splash.jpg")
      .I32(2800, 1)   // print rows
      .I32(2804, 1);  // print columns
  return b.bytes;
}

std::array<std::uint8_t, kFtpConfigSize> MakeFtpConfig() {
  timage<kFtpConfigSize> b;
  b.I16(352, 2)     // window maximized
      .U8(354, 9);  // reserved
  return b.bytes;
}

std::array<std::uint8_t, kAutoCaptureSize> MakeAutoCapture() {
  timage<kAutoCaptureSize> b;
  b.U8(1037, 1)  // delete after saving
      .Str(1039, "webcam")
      .I32(1296, 0)  // "Original"
      .Str(1300, "autocap")
      .U8(1560, 1)     // save CAM
      .I32(1568, 5)    // colour range expansion
      .I32(1572, 80);  // JPEG quality
  return b.bytes;
}

std::array<std::uint8_t, kCaptionSize> MakeCaption() {
  timage<kCaptionSize> b;
  b.Str(257, "MS Sans Serif")
      .I32(292, kGreen)
      .I16(296, 8)
      .I32(304, kWhite)
      .U8(308, 1)   // bottom
      .U8(309, 2);  // centred
  return b.bytes;
}

std::array<std::uint8_t, kCapDataSize> MakeCapData() {
  timage<kCapDataSize> b;
  b.Block(0, MakeCaption()).Block(312, MakeCaption());
  return b.bytes;
}

std::array<std::uint8_t, kDiskManSize> MakeDiskMan() {
  timage<kDiskManSize> b;
  b.Str(1, ".")
      .I32(260, 2)  // lower page "Browse"
      .U8(264, 1)   // folders
      .U8(265, 1)   // CAM
      .U8(266, 1)   // JPG
      .U8(267, 1)
      .I32(268, 2)     // slide-show delay 45 s
      .F64(272, 0.03)  // print margin
      .U8(281, 1)      // print borders
      .Str(282, "Arial")
      .I16(320, 8)  // font size
      .U8(323, 4);  // zoom mode 2 (50 %)
  return b.bytes;
}

std::array<std::uint8_t, kContactSize> MakeContact() {
  timage<kContactSize> b;
  b.I32(0, 4)     // rows
      .I32(4, 6)  // columns
      .I32(8, 640)
      .I32(12, 480)
      .Str(16, "Arial")
      .I16(56, 8)      // font size
      .F64(64, 0.005)  // margin
      .U8(72, 1)       // print borders
      .U8(74, 1)       // file name line
      .I32(332, 40)    // low battery 4.0 V
      .I32(336, 0);    // first dial-up entry
  return b.bytes;
}

}  // namespace

const std::array<std::uint8_t, kConfigSize>& Config() {
  static const auto image = MakeConfig();
  return image;
}
const std::array<std::uint8_t, kFtpConfigSize>& FtpConfig() {
  static const auto image = MakeFtpConfig();
  return image;
}
const std::array<std::uint8_t, kAutoCaptureSize>& AutoCapture() {
  static const auto image = MakeAutoCapture();
  return image;
}
const std::array<std::uint8_t, kCapDataSize>& CapData() {
  static const auto image = MakeCapData();
  return image;
}
const std::array<std::uint8_t, kExtraSize>& Extra() {
  static const std::array<std::uint8_t, kExtraSize> image{};
  return image;
}
const std::array<std::uint8_t, kDiskManSize>& DiskMan() {
  static const auto image = MakeDiskMan();
  return image;
}
const std::array<std::uint8_t, kContactSize>& Contact() {
  static const auto image = MakeContact();
  return image;
}
const std::array<std::uint8_t, kWebcamBlockSize>& WebcamBlock() {
  static const auto image = MakeWebcamBlock();
  return image;
}
const std::array<std::uint8_t, kCaptionSize>& Caption() {
  static const auto image = MakeCaption();
  return image;
}

}  // namespace vantlo::defaultimages
