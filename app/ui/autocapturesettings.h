// Tautocapturesettings, "AutoCapture Settings for serial port captures": every AutoCapture
// setting of the serial source on a copy of the record; OK writes them all back (after asking
// when nothing would be saved), Cancel leaves the record as it was.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "library/records/autocapturerecord.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantlo {

class tsoundplayer;

class Tautocapturesettings : public QDialog {
  Q_OBJECT
 public:
  // `player` null: "Preview" plays nothing.
  Tautocapturesettings(QWidget* parent, tsoundplayer* player);

  // Shows the dialog on a copy of `record`; true (and the record changed) for OK.
  bool Edit(tautocapturerecord& record);
  void LoadFrom(const tautocapturerecord& record);
  void StoreInto(tautocapturerecord& record) const;

  // The window's dialogs behind "Internet Setup...", "Printer Setup...", "Page Setup..."; a
  // button whose hook is empty is disabled.
  std::function<void()> InternetSetup;
  std::function<void()> PrinterSetup;
  std::function<void()> PageSetup;

  void accept() override;  // OK, with the "You have not set AutoCapture ..." question
  void BrowseClick(int sound);
  void PreviewClick(int sound);

  static constexpr const char* kNothingSavedQuestion =
      "You have not set AutoCapture to save your pictures. Is this what you want?";

  std::array<QCheckBox*, 4> PlayBoxes{};
  std::array<QLineEdit*, 4> SoundEdits{};
  std::array<QPushButton*, 4> BrowseButtons{};
  std::array<QPushButton*, 4> PreviewButtons{};
  QCheckBox* SaveThumbnailBox = nullptr;
  QCheckBox* DeleteBox = nullptr;
  QCheckBox* FtpBox = nullptr;
  QCheckBox* SingleFileBox = nullptr;
  QLineEdit* SingleFileEdit = nullptr;
  QComboBox* SizeBox = nullptr;
  QRadioButton* PrefixRadio = nullptr;
  QLineEdit* PrefixEdit = nullptr;
  QRadioButton* DateRadio = nullptr;
  QCheckBox* SeparateBox = nullptr;
  QCheckBox* PrintBox = nullptr;
  QCheckBox* CamBox = nullptr;
  QCheckBox* RunAtStartBox = nullptr;
  QCheckBox* RunMinimizedBox = nullptr;
  QCheckBox* StopWhenAllBox = nullptr;
  QPushButton* InternetButton = nullptr;
  QPushButton* PrinterButton = nullptr;
  QPushButton* PageButton = nullptr;

 private:
  tsoundplayer* player_;
  tautocapturerecord copy_;
};

}  // namespace vantlo
