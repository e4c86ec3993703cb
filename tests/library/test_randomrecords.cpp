// Records filled with random bytes, as a badly damaged settings folder
// would give them: every range-checked accessor stays in its range and every
// string stays within its field.
#include <gtest/gtest.h>

#include <random>

#include "library/regconfig.h"
#include "tempfolder.h"

namespace vantlo {
namespace {

template <typename R>
R RandomRecord(std::mt19937& rng) {
  R r;
  for (auto& b : r.Bytes()) b = static_cast<std::uint8_t>(rng());
  return r;
}

TEST(RandomRecords, AccessorsStayInRange) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 300; ++round) {
    SCOPED_TRACE(round);
    const auto c = RandomRecord<tconfigrecord>(rng);
    EXPECT_GE(c.PortNumber(), 1);
    EXPECT_LE(c.PortNumber(), 8);
    EXPECT_EQ(c.Port(), "COM" + std::to_string(c.PortNumber()) + ":");
    EXPECT_LT(static_cast<std::size_t>(c.SpeedChoice()), tconfigrecord::kSpeedNames.size());
    EXPECT_LT(static_cast<std::size_t>(c.PictureSize()), tconfigrecord::kPictureSizeNames.size());
    EXPECT_LE(c.ExpandAmount(), 50);
    EXPECT_GE(c.JpegQuality(), 1);
    EXPECT_LE(c.JpegQuality(), 100);
    EXPECT_LE(c.Prefix().size(), 10u);
    EXPECT_LE(c.PrintRows(), 6);
    EXPECT_GE(c.PrintColumns(), 1);
    const auto w = c.WebcamSettings();
    EXPECT_GE(w.Interval(), -2);
    EXPECT_LT(w.PictureCounter(), 10000);
    EXPECT_GE(w.PictureCounter(), 0);
    EXPECT_LE(w.ScheduleFile().size(), 216u);
    EXPECT_LE(w.RemotePassword().size(), 40u);
    const auto civil = c.LastExit().ToCivil();  // must not overflow
    EXPECT_GE(civil.year, 1);
    EXPECT_LE(civil.year, 9999);

    const auto f = RandomRecord<tftpconfigrecord>(rng);
    EXPECT_LE(static_cast<int>(f.FirewallMode()), 4);
    EXPECT_LE(static_cast<int>(f.Orientation()), 3);
    EXPECT_LE(static_cast<int>(f.WindowState()), 2);
    EXPECT_LE(f.FirewallPort(), 65535);
    EXPECT_LE(f.DialPassword().size(), 32u);

    const auto a = RandomRecord<tautocapturerecord>(rng);
    EXPECT_LT(static_cast<std::size_t>(a.OutputSize()),
              tautocapturerecord::kOutputSizeNames.size());
    EXPECT_LE(a.UsbDrive(), 26);
    EXPECT_GE(a.UsbDrive(), 0);

    const auto d = RandomRecord<tcapdatarecord>(rng);
    for (auto kind : {tcaptionkind::Interactive, tcaptionkind::Webcam}) {
      const auto cap = d.Caption(kind);
      EXPECT_LE(static_cast<int>(cap.Mode()), 3);
      EXPECT_LE(static_cast<int>(cap.Alignment()), 2);
      EXPECT_GE(cap.FontSize(), 1);
      EXPECT_LE(cap.FontSize(), 500);
      EXPECT_LE(cap.FontName().size(), 31u);
    }

    const auto e = RandomRecord<textrarecord>(rng);
    EXPECT_LE(e.ColourFactor(), 20);
    EXPECT_LE(static_cast<int>(e.ColourMode()), 2);

    const auto k = RandomRecord<tdiskmanrecord>(rng);
    EXPECT_GE(k.SlideShowDelayMs(), 0);
    EXPECT_GE(k.PrintMargin(), 0.0);
    EXPECT_LE(k.PrintMargin(), 0.1);
    if (const auto zoom = k.ZoomMode()) {
      EXPECT_GE(*zoom, -2);
      EXPECT_LE(*zoom, 7);
    }

    const auto t = RandomRecord<tcontactrecord>(rng);
    EXPECT_LE(t.Rows(), 10);
    EXPECT_LE(t.SheetWidth(), 4000);
    EXPECT_LE(t.Margin(), 0.04);
    const int threshold = t.LowBatteryThreshold();
    EXPECT_TRUE(threshold == 0 || (threshold >= 35 && threshold <= 60));
    EXPECT_GE(t.InternetConnection(), -1);
  }
}

TEST(RandomRecords, RandomFilesRoundTripThroughTheStoreUnchanged) {
  testing::ttempfolder tmp;
  tregconfig store(tmp.Path());
  std::mt19937 rng(7);
  tsettingsrecords s;
  s.ftp = RandomRecord<tftpconfigrecord>(rng);
  s.capdata = RandomRecord<tcapdatarecord>(rng);
  s.contact = RandomRecord<tcontactrecord>(rng);
  ASSERT_TRUE(store.WriteAll(s).empty());
  tsettingsrecords back;
  store.ReadAll(back);
  EXPECT_EQ(back.ftp, s.ftp);  // bytes travel as held, even meaningless ones
  EXPECT_EQ(back.capdata, s.capdata);
  EXPECT_EQ(back.contact, s.contact);
}

}  // namespace
}  // namespace vantlo
