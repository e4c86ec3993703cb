#include "app/core/settingsrecords.h"

namespace vantlo {

tnamingsettings NamingSettingsFrom(const tsettingsrecords& records) {
  tnamingsettings n;
  n.outputFolder = records.config.SaveFolder();
  n.dateNaming = records.config.NameByDate();
  n.dateStyle = records.extra.Date2Style() ? tdatestyle::Date2 : tdatestyle::Date1;
  n.prefix = records.config.Prefix();
  n.dailyFolder = records.config.DailyFolder();
  n.webcamPrefix = records.config.WebcamSettings().Prefix();
  n.autoCapturePrefix = records.autocapture.NamePrefix();
  return n;
}

void StoreNamingSettings(const tnamingsettings& naming, tsettingsrecords& records) {
  records.config.SetSaveFolder(naming.outputFolder);
}

tsaveoptions SaveOptionsFrom(const tconfigrecord& config) {
  tsaveoptions o;
  o.saveJpeg = config.SaveJpeg();
  o.saveCam = config.SaveCam();
  o.saveThumbnails = config.SaveThumbnails();
  o.confirmOverwrite = config.ConfirmOverwrite();
  return o;
}

void StoreSaveOptions(const tsaveoptions& options, tconfigrecord& config) {
  config.SetConfirmOverwrite(options.confirmOverwrite);
}

tcaptionsetting CaptionSettingFrom(const tcaptionrecord& record) {
  tcaptionsetting s;
  s.mode = static_cast<int>(record.Mode());
  s.customText = record.CustomText();
  s.style.fontName = record.FontName();
  s.style.colour = record.FontColour();
  s.style.fontSize = record.FontSize();
  s.style.fontStyle = record.FontStyle();
  s.style.transparent = record.Transparent();
  s.style.background = record.BackgroundColour();
  s.style.bottom = record.Bottom();
  s.style.alignment = static_cast<int>(record.Alignment());
  return s;
}

tcaptionsetting CaptionSettingFrom(const tcapdatarecord& capdata, tcaptionkind kind) {
  return CaptionSettingFrom(capdata.Caption(kind));
}

}  // namespace vantlo
