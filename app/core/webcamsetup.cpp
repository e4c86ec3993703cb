#include "app/core/webcamsetup.h"

#include "app/core/carddrives.h"
#include "app/core/cardfolders.h"
#include "app/core/settingsrecords.h"
#include "library/records.h"

namespace vantlo {

twebcamsetup WebcamSetupFrom(const tsettingsrecords& records, const std::string& drivesFile) {
  twebcamsetup setup;
  setup.picture = FetchSettingsFrom(records);
  setup.caption = CaptionSettingFrom(records.capdata, tcaptionkind::Webcam);
  setup.saveCam = SaveOptionsFrom(records.config).saveCam;
  setup.dailyFolder = records.config.DailyFolder();
  setup.quietPeriod = records.capdata.QuietPeriod();
  setup.quietFrom = records.capdata.QuietStart().TimeOfDay();
  setup.quietTo = records.capdata.QuietEnd().TimeOfDay();
  setup.playSound = records.contact.PlaySound();
  setup.outputSize = records.autocapture.OutputSize();
  setup.usbAndSerial = records.capdata.UsbAndSerial();
  setup.usbRoot = tcarddrives(drivesFile).RootOf(records.autocapture.UsbDrive());
  return setup;
}

std::optional<tusbcamera> ScanUsbCamera(tsettingsrecords& records, const std::string& drivesFile) {
  tcarddrives drives(drivesFile);
  const auto card = ScanForCard(drives.NamedFolders());
  if (!card) return std::nullopt;
  const int drive = drives.DriveOf(card->root);
  if (drive <= 0) return std::nullopt;
  records.autocapture.SetUsbDrive(drive);
  drives.Save();
  return tusbcamera{card->root, tcarddrives::LetterOf(drive)};
}

}  // namespace vantlo
