// Tvantloadv, "Advanced Vantlo Parameters": the webcam-mode settings the page itself does not
// show. The first picture time, the next picture number, the output file and its size, the
// sound before and the program after each cycle, FTP sending, the quiet period, the connection
// type and the USB drive of a camera on serial and USB. The dialog works on copies; OK writes
// back only the fields it shows (the webcam block also holds the remote host details, which the
// Internet settings edit meanwhile), Cancel writes nothing.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "app/core/carddrives.h"
#include "library/records.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace vantlo {

class tsoundplayer;

class Tvantloadv : public QDialog {
  Q_OBJECT
 public:
  // `player` plays "Preview" (null: the button does nothing). `drivesFile`: the drive table.
  explicit Tvantloadv(QWidget* parent, tsoundplayer* player = nullptr,
                      std::string drivesFile = tcarddrives::DefaultFile());

  // Shows the dialog on copies of the records and the block; true (written back, drive table
  // saved) for OK.
  bool Edit(tsettingsrecords& records, twebcamsettings& block);
  void LoadFrom(const tsettingsrecords& records, const twebcamsettings& block);
  // The controls into the dialog's fields of `records` and `block`; nothing else is touched.
  void StoreInto(tsettingsrecords& records, twebcamsettings& block);

  // "Internet Settings..." and "Firewall Settings...": the window's dialogs; empty: disabled.
  std::function<void()> InternetSettings;
  std::function<void()> FirewallSettings;

  void NowClick();
  void ZeroClick();
  void SoundBrowseClick();
  void PreviewClick();
  void ProgramBrowseClick();
  // "Locate...": the drive scan; the drive found is selected. Returns it, 0 for none.
  int LocateClick();
  // Selects drive n in the drive box (adding it when the table knows it); the chosen drive.
  void SelectDrive(int drive);
  int SelectedDrive() const;
  // The first picture time the boxes give once edited (0 when unreadable).
  tdatetime FirstPictureTimeOfBoxes() const;

  QLineEdit* FirstTimeEdit = nullptr;
  QLineEdit* FirstDateEdit = nullptr;
  QPushButton* NowButton = nullptr;
  QSpinBox* CounterBox = nullptr;
  QPushButton* ZeroButton = nullptr;
  QLineEdit* OutputFileEdit = nullptr;
  QComboBox* OutputSizeBox = nullptr;
  QCheckBox* PlaySoundBox = nullptr;
  QLineEdit* SoundEdit = nullptr;
  QPushButton* SoundBrowseButton = nullptr;
  QPushButton* PreviewButton = nullptr;
  QCheckBox* RunProgramBox = nullptr;
  QLineEdit* ProgramEdit = nullptr;
  QPushButton* ProgramBrowseButton = nullptr;
  QCheckBox* FtpBox = nullptr;
  QCheckBox* FtpProgressBox = nullptr;
  QPushButton* InternetButton = nullptr;
  QPushButton* FirewallButton = nullptr;
  QCheckBox* QuietBox = nullptr;
  QLineEdit* QuietFromEdit = nullptr;
  QLineEdit* QuietToEdit = nullptr;
  QRadioButton* SerialRadio = nullptr;
  QRadioButton* UsbRadio = nullptr;
  QComboBox* DriveBox = nullptr;
  QPushButton* LocateButton = nullptr;

  static constexpr const char* kFoundOn = "USB camera found on drive ";
  static constexpr const char* kNotFound = "Cannot find USB camera or card";

 private:
  void FillDrives();
  void UpdateEnabled();

  tsoundplayer* player_;
  tcarddrives drives_;
  bool firstTimeEdited_ = false;
};

// A time of day (fraction of a day) as a time box shows it: "HH:MM", with ":SS" when the
// seconds are not 0.
std::string TimeOfDayText(double fraction);

}  // namespace vantlo
