// The "Saving" page (TabSheet5): where pictures are saved and how they are named, what is saved
// automatically, and whether overwriting asks first. A folder picker stands for the drive box and
// directory list. The page copies to and from the CONFIGD5 and EXTRA records held by the window.
#pragma once

#include <QWidget>

#include "app/core/clock.h"
#include "app/ui/windowpage.h"
#include "library/records.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantlo {

class tsavingpage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tsavingpage(QWidget* parent = nullptr, tlocalclock clock = SystemLocalTime);

  int PageNumber() const override { return 5; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Saving"; }
  void ApplySettings(tsettingsrecords& records) override { ApplyFrom(records); }
  void ReadSettings(tsettingsrecords& records) override { ReadInto(records); }
  // A command's write-back: the output folder and the overwrite confirmation ("Yes to All"
  // switches it off).
  void SettingsChanged(const tsettingsrecords& records) override;

  // The stored values into the controls.
  void ApplyFrom(const tsettingsrecords& records);
  // The controls into the records (the first 10 characters of Edit1 become the prefix,
  // whatever the naming choice).
  void ReadInto(tsettingsrecords& records) const;
  // "Yes to All" switched the overwrite confirmation off: show it.
  void SetConfirmOverwrite(bool on);

  // Date text of today in the chosen style.
  QString DateText() const;

  // Handlers named after the controls.
  void RadioButton1Click();  // "Date1", "Date2", "Other"
  void Edit1Change();        // also CheckBox17Click: the sample label
  void ChooseFolderClick();

  QLineEdit* FolderEdit = nullptr;
  QPushButton* FolderButton = nullptr;
  QRadioButton* RadioButton1 = nullptr;  // Date1
  QRadioButton* RadioButton2 = nullptr;  // Date2
  QRadioButton* RadioButton3 = nullptr;  // Other
  QLineEdit* Edit1 = nullptr;            // file name prefix
  QCheckBox* CheckBox17 = nullptr;       // Create daily folder
  QCheckBox* SaveJpegBox = nullptr;
  QCheckBox* SaveCamBox = nullptr;
  QCheckBox* SaveThumbnailsBox = nullptr;
  QCheckBox* SaveContactSheetsBox = nullptr;
  QCheckBox* ConfirmOverwriteBox = nullptr;
  QLabel* Label8 = nullptr;  // sample name

 private:
  tlocalclock clock_;
  bool date2_ = false;  // the last of Date1/Date2 chosen
};

}  // namespace vantlo
