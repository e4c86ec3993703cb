// The fetch settings from the stored records. Kept apart from the workflow because the records'
// orientation type and the picture library's share a name.
#include "app/core/fetchworkflow.h"
#include "app/core/settingsrecords.h"
#include "library/records.h"

namespace vantlo {

tfetchsettings FetchSettingsFrom(const tsettingsrecords& records) {
  tfetchsettings s;
  const tconfigrecord& config = records.config;
  s.jpegQuality = config.JpegQuality();
  s.outputSize = static_cast<std::uint8_t>(config.PictureSize());
  s.plainStretch = true;
  s.alwaysReencode = config.AlwaysReencode() != 0;
  s.colourExpand = config.ColorRangeExpand();
  s.colourExpandPercent = config.ExpandAmount();
  s.progressive = config.ProgressiveJpeg();
  s.orientation = static_cast<int>(records.ftp.Orientation());
  s.caption = CaptionSettingFrom(records.capdata, tcaptionkind::Interactive);
  switch (records.extra.ColourMode()) {
    case tcolourmode::Auto:
      s.correction.Mode = tcorrectionchoice::Auto;
      break;
    case tcolourmode::Manual:
      s.correction.Mode = tcorrectionchoice::Manual;
      break;
    default:
      s.correction.Mode = tcorrectionchoice::Off;
      break;
  }
  s.correction.Strength = records.extra.ColourFactor();
  s.askBeforeDelete = config.ConfirmDeleteFromCamera();
  return s;
}

}  // namespace vantlo
