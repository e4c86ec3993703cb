// Tusbautocapsettings, "USB / Card Autocapture Settings": the drive of the card (a letter that
// stands for a mount point or a folder the user names, with "Locate..." to find a card just
// plugged in), how copies are named, where they go (the output folder and daily folder of the
// main settings), whether the card is emptied afterwards, and what is copied. OK stores all;
// Cancel stores nothing.
#pragma once

#include <QDialog>
#include <string>

#include "app/core/carddrives.h"
#include "library/records/autocapturerecord.h"
#include "library/records/configrecord.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantlo {

class Tusbautocapsettings : public QDialog {
  Q_OBJECT
 public:
  // `drivesFile`: the drive table (default: the one in the settings folder).
  explicit Tusbautocapsettings(QWidget* parent,
                               std::string drivesFile = tcarddrives::DefaultFile());

  // Shows the dialog on copies; true (records changed, drive table saved) for OK.
  bool Edit(tautocapturerecord& record, tconfigrecord& config);
  void LoadFrom(const tautocapturerecord& record, const tconfigrecord& config);
  void StoreInto(tautocapturerecord& record, tconfigrecord& config);

  // "Locate...": asks for the card, then takes the most recently mounted volume holding DCIM
  // (or a named folder holding one). Returns the drive found, 0 for none or Cancel.
  int LocateClick();
  // "Folder...": a folder of the user's own becomes a drive.
  void AddFolderClick();
  void ChangeClick();
  // The filename group and "Create daily folder" are enabled only with "Only pictures".
  void UpdateEnabled();
  // Selects drive n in the drive box (adding it when it is not listed).
  void SelectDrive(int drive);
  int SelectedDrive() const;

  QComboBox* DriveBox = nullptr;
  QPushButton* LocateButton = nullptr;
  QPushButton* FolderButton = nullptr;
  QGroupBox* NamesGroup = nullptr;
  QLineEdit* PrefixEdit = nullptr;
  QLabel* PrefixLabel = nullptr;
  QRadioButton* PrefixRadio = nullptr;    // "NNN.jpg "
  QRadioButton* DateRadio = nullptr;      // "Date + NNN.jpg"
  QRadioButton* OriginalRadio = nullptr;  // "Original filename"
  QLabel* FolderLabel = nullptr;
  QPushButton* ChangeButton = nullptr;
  QCheckBox* DailyBox = nullptr;
  QRadioButton* DeleteYes = nullptr;
  QRadioButton* DeleteNo = nullptr;
  QRadioButton* CompleteRadio = nullptr;  // "Copy complete card "
  QRadioButton* PicturesRadio = nullptr;  // "Only pictures"

  static constexpr const char* kAskForCard = "Connect USB or Insert Card into reader";
  static constexpr const char* kFoundOn = "USB camera or card found on drive ";
  static constexpr const char* kNotFound = "Cannot find USB camera or card";

 private:
  void FillDrives();

  tcarddrives drives_;
  tautocapturerecord record_;
  tconfigrecord config_;
};

}  // namespace vantlo
