#include "app/core/settingsrecords.h"

#include <gtest/gtest.h>

namespace vantlo {
namespace {

TEST(SettingsRecords, DefaultsOfAFirstRun) {
  tsettingsrecords r;
  auto n = NamingSettingsFrom(r);
  EXPECT_TRUE(n.outputFolder.empty());
  EXPECT_TRUE(n.dateNaming);
  EXPECT_EQ(n.dateStyle, tdatestyle::Date1);
  EXPECT_TRUE(n.dailyFolder);
  EXPECT_EQ(n.webcamPrefix, "Vantlo");
  EXPECT_EQ(n.autoCapturePrefix, "autocap");
  auto o = SaveOptionsFrom(r.config);
  EXPECT_TRUE(o.saveJpeg && o.saveCam && o.confirmOverwrite);
  EXPECT_FALSE(o.saveThumbnails);
  for (auto kind : {tcaptionkind::Interactive, tcaptionkind::Webcam}) {
    auto c = CaptionSettingFrom(r.capdata, kind);
    EXPECT_EQ(c.mode, 0);
    EXPECT_EQ(c.style.fontName, "MS Sans Serif");
    EXPECT_EQ(c.style.colour, 0x008000u);
    EXPECT_EQ(c.style.fontSize, 8);
    EXPECT_EQ(c.style.background, 0xFFFFFFu);
    EXPECT_TRUE(c.style.bottom);
    EXPECT_EQ(c.style.alignment, 2);
    EXPECT_FALSE(c.style.transparent);
  }
}

TEST(SettingsRecords, ChoicesAndWriteBack) {
  tsettingsrecords r;
  r.config.SetSaveFolder("/home/u/Pictures");
  r.config.SetNameByDate(false);
  r.config.SetPrefix("Trip");
  r.extra.SetDate2Style(true);
  auto n = NamingSettingsFrom(r);
  EXPECT_EQ(n.outputFolder, "/home/u/Pictures");
  EXPECT_FALSE(n.dateNaming);
  EXPECT_EQ(n.prefix, "Trip");
  EXPECT_EQ(n.dateStyle, tdatestyle::Date2);
  n.outputFolder = "/cwd";
  StoreNamingSettings(n, r);
  EXPECT_EQ(r.config.SaveFolder(), "/cwd");

  auto o = SaveOptionsFrom(r.config);
  o.confirmOverwrite = false;  // "Yes to All"
  StoreSaveOptions(o, r.config);
  EXPECT_FALSE(r.config.ConfirmOverwrite());
}

TEST(SettingsRecords, DamagedCaptionLengthBytesAreCutToTheirFields) {
  tcapdatarecord capdata;
  auto bytes = capdata.Bytes();
  bytes[1] = 255;    // custom text: 255 is its field's size, kept
  bytes[257] = 200;  // font name: field of 31
  for (int i = 258; i < 289; ++i) bytes[i] = 'F';
  bytes[0] = 9;    // mode outside 0..3
  bytes[309] = 7;  // alignment outside 0..2
  auto c = CaptionSettingFrom(capdata, tcaptionkind::Interactive);
  EXPECT_EQ(c.customText.size(), 255u);
  EXPECT_EQ(c.style.fontName, std::string(31, 'F'));
  EXPECT_EQ(c.mode, 0);
  EXPECT_EQ(c.style.alignment, 2);
}

}  // namespace
}  // namespace vantlo
