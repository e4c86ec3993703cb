// The compiled-in default images, checked byte by byte at the offsets of the
// record tables, independently of the typed accessors.
#include <gtest/gtest.h>

#include <cstring>
#include <numeric>
#include <span>
#include <string>

#include "library/records.h"

namespace vantlo {
namespace {

template <std::size_t N>
std::int64_t Le(std::span<const std::uint8_t, N> b, std::size_t off, std::size_t width) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < width; ++i) v |= std::uint64_t{b[off + i]} << (8 * i);
  if (width == 4) return static_cast<std::int32_t>(v);
  if (width == 2) return static_cast<std::int16_t>(v);
  return static_cast<std::int64_t>(v);
}

template <std::size_t N>
double Real(std::span<const std::uint8_t, N> b, std::size_t off) {
  double d;
  std::memcpy(&d, b.data() + off, 8);
  return d;
}

template <std::size_t N>
std::string Text(std::span<const std::uint8_t, N> b, std::size_t off) {
  return std::string(reinterpret_cast<const char*>(b.data() + off + 1), b[off]);
}

template <std::size_t N>
unsigned Sum(std::span<const std::uint8_t, N> b, std::size_t from, std::size_t to) {
  return std::accumulate(b.begin() + from, b.begin() + to, 0u);
}

TEST(DefaultImages, RecordSizes) {
  EXPECT_EQ(tconfigrecord::Size, 2816u);
  EXPECT_EQ(tftpconfigrecord::Size, 424u);
  EXPECT_EQ(tautocapturerecord::Size, 1836u);
  EXPECT_EQ(tcapdatarecord::Size, 936u);
  EXPECT_EQ(textrarecord::Size, 788u);
  EXPECT_EQ(tdiskmanrecord::Size, 328u);
  EXPECT_EQ(tcontactrecord::Size, 344u);
  EXPECT_EQ(twebcamsettings::Size, 1832u);
  EXPECT_EQ(tcaptionrecord::Size, 312u);
}

TEST(DefaultImages, ConfigD5) {
  const tconfigrecord r;
  const auto b = r.Bytes();
  EXPECT_EQ(Text(b, 0), "COM2:");
  EXPECT_EQ(Le(b, 8, 4), 0);
  EXPECT_EQ(b[12], 0);
  EXPECT_EQ(Le(b, 16, 4), 5);
  EXPECT_EQ(Le(b, 20, 4), 85);
  EXPECT_EQ(b[24], 0);
  EXPECT_EQ(b[26], 0);  // empty save folder
  const std::uint8_t flags[] = {1, 1, 1, 'C', 1, 1, 1, 0, 0, 1};
  for (std::size_t i = 0; i < sizeof flags; ++i) EXPECT_EQ(b[282 + i], flags[i]) << 282 + i;
  EXPECT_EQ(b[292], 0);  // empty prefix
  EXPECT_EQ(Le(b, 304, 4), 3);
  EXPECT_EQ(Le(b, 308, 4), 0);
  // Timed-capture block at 312.
  EXPECT_EQ(b[312], 0);
  EXPECT_EQ(Le(b, 316, 4), 0);
  EXPECT_EQ(Real(b, 320), 0.0);
  EXPECT_EQ(Real(b, 328), 0.0);
  const std::uint8_t webcam[] = {1, 1, 1, 0, 1};
  for (std::size_t i = 0; i < sizeof webcam; ++i) EXPECT_EQ(b[336 + i], webcam[i]) << 336 + i;
  EXPECT_EQ(Text(b, 341), "Vantlo");
  EXPECT_EQ(Le(b, 600, 4), 0);
  EXPECT_EQ(Sum(b, 604, 2144), 0u);  // every later field of the block is empty
  EXPECT_EQ(b[2144], 0);             // cache folder
  // MiniLab and font defaults.
  EXPECT_EQ(Text(b, 2482), "MS Sans Serif");
  EXPECT_EQ(Le(b, 2516, 4), 0x008000);
  EXPECT_EQ(b[2520], 8);
  const std::uint8_t minilab[] = {1, 0, 1, 1, 1, 0, 0, 0, 0};
  for (std::size_t i = 0; i < sizeof minilab; ++i) EXPECT_EQ(b[2524 + i], minilab[i]) << 2524 + i;
  EXPECT_EQ(Real(b, 2536), 0.0);
  EXPECT_EQ(Text(b, 2544), "splash.jpg");
  EXPECT_EQ(Le(b, 2800, 4), 1);
  EXPECT_EQ(Le(b, 2804, 4), 1);
  EXPECT_EQ(Sum(b, 2808, 2816), 0u);
  // Zero everywhere between the listed fields of the MiniLab area.
  EXPECT_EQ(Sum(b, 2400, 2482), 0u);
  EXPECT_EQ(Sum(b, 2496, 2516), 0u);
}

TEST(DefaultImages, FtpConfig) {
  const tftpconfigrecord r;
  const auto b = r.Bytes();
  EXPECT_EQ(Le(b, 352, 2), 2);
  EXPECT_EQ(b[354], 9);
  EXPECT_EQ(Sum(b, 0, 352), 0u);
  EXPECT_EQ(Sum(b, 355, 424), 0u);
}

TEST(DefaultImages, AutoCapture) {
  const tautocapturerecord r;
  const auto b = r.Bytes();
  EXPECT_EQ(Sum(b, 0, 1037), 0u);
  EXPECT_EQ(b[1037], 1);
  EXPECT_EQ(b[1038], 0);
  EXPECT_EQ(Text(b, 1039), "webcam");
  EXPECT_EQ(Le(b, 1296, 4), 0);
  EXPECT_EQ(Text(b, 1300), "autocap");
  const std::uint8_t flags[] = {0, 0, 0, 0, 1, 0, 0};
  for (std::size_t i = 0; i < sizeof flags; ++i) EXPECT_EQ(b[1556 + i], flags[i]) << 1556 + i;
  EXPECT_EQ(Le(b, 1564, 4), 0);
  EXPECT_EQ(Le(b, 1568, 4), 5);
  EXPECT_EQ(Le(b, 1572, 4), 80);
  EXPECT_EQ(Sum(b, 1576, 1836), 0u);
}

TEST(DefaultImages, CapDataHoldsTwoEqualCaptionBlocks) {
  const tcapdatarecord r;
  const auto b = r.Bytes();
  for (std::size_t base : {0u, 312u}) {
    SCOPED_TRACE(base);
    EXPECT_EQ(Sum(b, base, base + 257), 0u);
    EXPECT_EQ(Text(b, base + 257), "MS Sans Serif");
    EXPECT_EQ(Le(b, base + 292, 4), 0x008000);
    EXPECT_EQ(Le(b, base + 296, 2), 8);
    EXPECT_EQ(b[base + 300], 0);
    EXPECT_EQ(Le(b, base + 304, 4), 0xFFFFFF);
    EXPECT_EQ(b[base + 308], 1);
    EXPECT_EQ(b[base + 309], 2);
    EXPECT_EQ(Sum(b, base + 310, base + 312), 0u);
  }
  EXPECT_EQ(Sum(b, 624, 936), 0u);
}

TEST(DefaultImages, ExtraIsAllZero) {
  const textrarecord r;
  EXPECT_EQ(Sum(r.Bytes(), 0, 788), 0u);
}

TEST(DefaultImages, DiskMan) {
  const tdiskmanrecord r;
  const auto b = r.Bytes();
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(Text(b, 1), ".");
  EXPECT_EQ(Le(b, 260, 4), 2);
  EXPECT_EQ(b[264], 1);
  EXPECT_EQ(b[265], 1);
  EXPECT_EQ(b[266], 1);
  EXPECT_EQ(b[267], 1);
  EXPECT_EQ(Le(b, 268, 4), 2);
  EXPECT_EQ(Real(b, 272), 0.03);
  EXPECT_EQ(b[280], 0);
  EXPECT_EQ(b[281], 1);
  EXPECT_EQ(Text(b, 282), "Arial");
  EXPECT_EQ(Le(b, 316, 4), 0);
  EXPECT_EQ(Le(b, 320, 2), 8);
  EXPECT_EQ(b[322], 0);
  EXPECT_EQ(b[323], 4);
  EXPECT_EQ(Sum(b, 324, 328), 0u);
}

TEST(DefaultImages, ContactD5) {
  const tcontactrecord r;
  const auto b = r.Bytes();
  EXPECT_EQ(Le(b, 0, 4), 4);
  EXPECT_EQ(Le(b, 4, 4), 6);
  EXPECT_EQ(Le(b, 8, 4), 640);
  EXPECT_EQ(Le(b, 12, 4), 480);
  EXPECT_EQ(Text(b, 16), "Arial");
  EXPECT_EQ(Le(b, 52, 4), 0);
  EXPECT_EQ(Le(b, 56, 2), 8);
  EXPECT_EQ(b[58], 0);
  EXPECT_EQ(Real(b, 64), 0.005);
  const std::uint8_t lines[] = {1, 0, 1, 0};
  for (std::size_t i = 0; i < sizeof lines; ++i) EXPECT_EQ(b[72 + i], lines[i]) << 72 + i;
  EXPECT_EQ(Sum(b, 76, 332), 0u);
  EXPECT_EQ(Le(b, 332, 4), 40);
  EXPECT_EQ(Le(b, 336, 4), 0);
  EXPECT_EQ(Sum(b, 340, 344), 0u);
}

TEST(DefaultImages, TypedViewsReadTheDefaults) {
  const tsettingsrecords s;
  EXPECT_EQ(s.config.Port(), "COM2:");
  EXPECT_EQ(s.config.JpegQuality(), 85);
  EXPECT_EQ(s.config.StartPage(), 3);
  EXPECT_EQ(s.config.WebcamSettings().Prefix(), "Vantlo");
  EXPECT_EQ(s.config.MiniLabPictureFile(), "splash.jpg");
  EXPECT_EQ(s.ftp.WindowState(), twindowstate::Maximized);
  EXPECT_EQ(s.autocapture.SingleFileName(), "webcam");
  EXPECT_EQ(s.autocapture.NamePrefix(), "autocap");
  EXPECT_EQ(s.autocapture.JpegQuality(), 80);
  EXPECT_EQ(s.capdata.Caption(tcaptionkind::Webcam).FontName(), "MS Sans Serif");
  EXPECT_EQ(s.capdata.Caption(tcaptionkind::Interactive).Alignment(), tcaptionalign::Centre);
  EXPECT_FALSE(s.extra.IrDA());
  EXPECT_EQ(s.diskman.SlideShowDelayMs(), 45000);
  EXPECT_EQ(s.diskman.ZoomMode(), 2);
  EXPECT_EQ(s.diskman.PrintMargin(), 0.03);
  EXPECT_EQ(s.contact.FontName(), "Arial");
  EXPECT_EQ(s.contact.LowBatteryThreshold(), 40);
}

}  // namespace
}  // namespace vantlo
