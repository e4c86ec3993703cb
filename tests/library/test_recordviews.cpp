// The typed views: damaged stored values are kept in range, strings are cut
// to their fields, setters write the documented bytes, nested blocks travel
// whole.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

#include "camera/qv10int.h"
#include "library/records.h"

namespace vantlo {
namespace {

template <typename R>
void Poke32(R& r, std::size_t off, std::int32_t v) {
  std::memcpy(r.Data() + off, &v, 4);  // the test host is little-endian like the files
}
template <typename R>
void PokeReal(R& r, std::size_t off, double v) {
  std::memcpy(r.Data() + off, &v, 8);
}

TEST(RecordStrings, LengthByteBeyondTheFieldIsCutToTheField) {
  tconfigrecord r;
  r.Data()[292] = 255;  // string[10] prefix claiming 255 characters
  std::memcpy(r.Data() + 293, "ABCDEFGHIJKLMNOP", 16);
  EXPECT_EQ(r.Prefix(), "ABCDEFGHIJ");

  tftpconfigrecord f;
  f.Data()[389] = 200;  // dial-up password, string[32], the last field
  EXPECT_EQ(f.DialPassword().size(), 32u);
}

TEST(RecordStrings, SettersCutToTheFieldAndKeepTheOtherBytes) {
  tconfigrecord r;
  const auto before = r.Bytes()[303];
  r.SetPrefix("averyverylongprefix");
  EXPECT_EQ(r.Prefix(), "averyveryl");
  EXPECT_EQ(r.Bytes()[292], 10);
  EXPECT_EQ(r.Bytes()[303], before);  // the next field is untouched

  r.SetPort("COM7: extra");
  EXPECT_EQ(r.Port(), "COM7:");

  // A cut never splits a UTF-8 character: "é" is two bytes.
  r.SetPrefix("abcdefghi\xC3\xA9");
  EXPECT_EQ(r.Prefix(), "abcdefghi");

  twebcamsettings w;
  w.SetScheduleFile(std::string(300, 's'));
  EXPECT_EQ(w.ScheduleFile().size(), twebcamsettings::kScheduleFileMax);
}

TEST(RecordStrings, ShorteningKeepsTheOldCharactersAsPadding) {
  textrarecord r;
  r.SetBrowseFolder("/home/user/pictures");
  r.SetBrowseFolder("/tmp");
  EXPECT_EQ(r.BrowseFolder(), "/tmp");
  EXPECT_EQ(r.Bytes()[0], 4);
  EXPECT_EQ(r.Bytes()[6], '/');  // from the earlier, longer value: bytes travel as held
}

TEST(RecordClamping, ConfigD5) {
  tconfigrecord r;
  r.SetPort("COMX:");
  EXPECT_EQ(r.Port(), "COM1:");
  EXPECT_EQ(r.PortNumber(), 1);
  r.SetPort("COM9:");
  EXPECT_EQ(r.Port(), "COM1:");
  r.SetPort("CO");
  EXPECT_EQ(r.PortNumber(), 1);
  r.SetPort("COM8:");
  EXPECT_EQ(r.PortNumber(), 8);

  Poke32(r, 8, 99);  // outside the list: 9600, not "Auto" (38400)
  EXPECT_EQ(r.SpeedChoice(), 1);
  EXPECT_EQ(BaudIndexOfSpeedChoice(r.SpeedChoice()), 6);
  Poke32(r, 8, -5);
  EXPECT_EQ(r.SpeedChoice(), 1);
  r.SetSpeedChoice(6);
  EXPECT_EQ(r.SpeedChoice(), 1);
  r.Data()[12] = 200;
  EXPECT_EQ(r.PictureSize(), 0);
  Poke32(r, 16, 1000);
  EXPECT_EQ(r.ExpandAmount(), 50);
  Poke32(r, 16, -1);
  EXPECT_EQ(r.ExpandAmount(), 0);
  Poke32(r, 20, 0);
  EXPECT_EQ(r.JpegQuality(), 1);
  Poke32(r, 20, 5000);
  EXPECT_EQ(r.JpegQuality(), 100);
  r.SetJpegQuality(0);  // a slider at 0 is stored as 1
  EXPECT_EQ(r.Bytes()[20], 1);

  for (int page : {0, 8, 12, 14, -1, 1 << 30}) {
    Poke32(r, 304, page);
    EXPECT_FALSE(r.StartPage().has_value()) << page;
  }
  Poke32(r, 304, 13);
  EXPECT_EQ(r.StartPage(), 13);

  Poke32(r, 2800, 0);
  Poke32(r, 2804, 1000);
  EXPECT_EQ(r.PrintRows(), 1);
  EXPECT_EQ(r.PrintColumns(), 6);
}

TEST(RecordClamping, SpeedCodes) {
  tconfigrecord r;
  const int codes[] = {9, 6, 8, 9, 11, 12};
  for (int i = 0; i < 6; ++i) {
    r.SetSpeedChoice(i);
    EXPECT_EQ(BaudIndexOfSpeedChoice(r.SpeedChoice()), codes[i]) << i;
  }
}

TEST(RecordClamping, WebcamBlock) {
  tconfigrecord r;
  Poke32(r, 312 + 4, -77);
  Poke32(r, 312 + 288, 123456);
  PokeReal(r, 312 + 8, std::numeric_limits<double>::quiet_NaN());
  PokeReal(r, 312 + 16, 1e300);
  const twebcamsettings w = r.WebcamSettings();
  EXPECT_EQ(w.Interval(), twebcamsettings::kManual);
  EXPECT_EQ(w.PictureCounter(), 0);
  EXPECT_EQ(w.FirstPictureTime().Days(), 0.0);
  EXPECT_EQ(w.NextShotTime().Days(), 0.0);
  Poke32(r, 312 + 4, -2);
  EXPECT_EQ(r.WebcamSettings().Interval(), twebcamsettings::kBySchedule);
}

TEST(RecordClamping, OtherRecords) {
  tftpconfigrecord f;
  Poke32(f, 264, 7);
  Poke32(f, 304, 70000);
  Poke32(f, 344, -1);
  f.Data()[352] = 9;
  EXPECT_EQ(f.FirewallMode(), tfirewallmode::Off);
  EXPECT_EQ(f.FirewallPort(), 0);
  EXPECT_EQ(f.Orientation(), torientation::Normal);
  EXPECT_EQ(f.WindowState(), twindowstate::Maximized);

  tautocapturerecord a;
  Poke32(a, 1296, 9);
  Poke32(a, 1564, 27);
  Poke32(a, 1568, 51);
  Poke32(a, 1572, -3);
  EXPECT_EQ(a.OutputSize(), 0);
  EXPECT_EQ(a.UsbDrive(), 0);
  EXPECT_EQ(a.ExpandAmount(), 50);
  EXPECT_EQ(a.JpegQuality(), 1);

  tcaptionrecord c;
  c.Data()[0] = 4;
  c.Data()[257] = 255;  // font name is string[31]
  c.Data()[296] = 0xFF;
  c.Data()[297] = 0x7F;  // 32767 points
  c.Data()[309] = 3;
  EXPECT_EQ(c.Mode(), tcaptionmode::None);
  EXPECT_EQ(c.FontName().size(), 31u);
  EXPECT_EQ(c.FontSize(), tcaptionrecord::kMaxFontSize);
  EXPECT_EQ(c.Alignment(), tcaptionalign::Centre);

  textrarecord e;
  e.Data()[260] = 7;
  Poke32(e, 268, 21);
  Poke32(e, 272, 3);
  EXPECT_FALSE(e.IrDA());
  EXPECT_EQ(e.ColourFactor(), 20);
  EXPECT_EQ(e.ColourMode(), tcolourmode::Off);

  tdiskmanrecord d;
  Poke32(d, 260, 5);
  Poke32(d, 268, 11);
  PokeReal(d, 272, 5.0);
  d.Data()[320] = 0;
  d.Data()[321] = 0;
  EXPECT_EQ(d.LowerPage(), 2);
  EXPECT_EQ(d.SlideShowDelayIndex(), 2);
  EXPECT_EQ(d.SlideShowDelayMs(), 45000);
  EXPECT_EQ(d.PrintMargin(), 0.1);
  PokeReal(d, 272, std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(d.PrintMargin(), 0.03);
  EXPECT_EQ(d.PrintFontSize(), 1);

  tcontactrecord k;
  Poke32(k, 0, 0);
  Poke32(k, 4, 11);
  Poke32(k, 8, -640);
  Poke32(k, 12, 1 << 30);
  PokeReal(k, 64, -1.0);
  Poke32(k, 332, 1000);
  Poke32(k, 336, -9);
  EXPECT_EQ(k.Rows(), 1);
  EXPECT_EQ(k.Columns(), 10);
  EXPECT_EQ(k.SheetWidth(), 1);
  EXPECT_EQ(k.SheetHeight(), 4000);
  EXPECT_EQ(k.Margin(), 0.0);
  EXPECT_EQ(k.LowBatteryThreshold(), 0);
  EXPECT_EQ(k.InternetConnection(), tcontactrecord::kNetworkConnection);
}

TEST(RecordZoom, StoredPlusTwoWithTheDocumentedExceptions) {
  tdiskmanrecord d;
  d.Data()[323] = 12;
  EXPECT_EQ(d.ZoomMode(), 4);  // " (Actual Size)"
  d.Data()[323] = 2;
  EXPECT_FALSE(d.ZoomMode().has_value());  // leave the zoom as it was
  d.Data()[323] = 0;
  EXPECT_EQ(d.ZoomMode(), -2);
  d.SetZoomMode(-1);
  EXPECT_EQ(d.Bytes()[323], 1);
  d.SetZoomMode(7);
  EXPECT_EQ(d.Bytes()[323], 9);
  d.SetZoomMode(40);
  EXPECT_EQ(d.ZoomMode(), 7);
}

TEST(RecordBlocks, WebcamBlockTravelsWholeWithTheRunningFlagCleared) {
  tconfigrecord r;
  twebcamsettings w = r.WebcamSettings();
  EXPECT_EQ(w, twebcamsettings());
  w.SetActive(true);
  w.SetInterval(7200);
  w.SetRemotePassword("secret");
  w.SetPictureCounter(9999);
  w.Data()[1000] = 0xAB;  // a reserved byte of the block
  r.SetWebcamSettings(w);
  EXPECT_EQ(r.Bytes()[312], 0);
  EXPECT_EQ(r.Bytes()[312 + 1000], 0xAB);
  const twebcamsettings back = r.WebcamSettings();
  EXPECT_FALSE(back.Active());
  EXPECT_EQ(back.Interval(), 7200);
  EXPECT_EQ(back.RemotePassword(), "secret");
  EXPECT_EQ(back.PictureCounter(), 9999);
  EXPECT_EQ(r.Bytes()[311], 0);  // the bytes around the block are untouched
  EXPECT_EQ(r.Bytes()[2144], 0);
}

TEST(RecordBlocks, CaptionsAreIndependent) {
  tcapdatarecord r;
  tcaptionrecord c = r.Caption(tcaptionkind::Webcam);
  c.SetMode(tcaptionmode::Custom);
  c.SetCustomText("Pic <PICNUM>");
  c.SetAlignment(tcaptionalign::Right);
  r.SetCaption(tcaptionkind::Webcam, c);
  EXPECT_EQ(r.Caption(tcaptionkind::Webcam).CustomText(), "Pic <PICNUM>");
  EXPECT_EQ(r.Bytes()[312], 2);
  EXPECT_EQ(r.Bytes()[312 + 309], 1);
  EXPECT_EQ(r.Caption(tcaptionkind::Interactive), tcaptionrecord());
  EXPECT_EQ(r.Bytes()[624], 0);
}

TEST(RecordSetters, WriteTheDocumentedBytes) {
  tftpconfigrecord f;
  f.SetWindowState(twindowstate::Minimized);
  f.SetFirewallPort(2121);
  f.SetOrientation(torientation::CounterClockwise);
  EXPECT_EQ(f.Bytes()[352], 1);
  EXPECT_EQ(f.Bytes()[304], 2121 & 0xFF);
  EXPECT_EQ(f.Bytes()[305], 2121 >> 8);
  EXPECT_EQ(f.Bytes()[344], 3);

  tautocapturerecord a;
  a.SetSoundFile(tautocapsound::Error, "/usr/share/sounds/error.wav");
  a.SetPlaySound(tautocapsound::Disconnected, true);
  EXPECT_EQ(a.Bytes()[769], 27);
  EXPECT_EQ(a.Bytes()[1027], 1);
  EXPECT_EQ(a.SoundFile(tautocapsound::Connected), "");

  tcontactrecord k;
  k.SetMargin(0.5);
  EXPECT_EQ(k.Margin(), 0.04);
  k.SetInternetConnection(-1);
  EXPECT_EQ(k.Bytes()[336], 0xFF);
  k.SetLowBatteryThreshold(36);
  EXPECT_EQ(k.LowBatteryThreshold(), 36);

  textrarecord e;
  e.SetIrDA(true);
  EXPECT_EQ(e.Bytes()[260], 1);
}

}  // namespace
}  // namespace vantlo
