// THostsetup ("Internet Preferences"): the connection to the Internet
// (network or a dial-up entry, with the ISP's or a given account), the remote
// host (these details or a host information file) and "Show FTP Progress".
// Works on copies of the records involved; OK copies them back.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "library/records.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantlo {

// The records the dialog edits: the remote host details live with the
// webcam-mode settings block.
struct thostsetuprecords {
  twebcamsettings& webcam;
  tftpconfigrecord& ftp;
  textrarecord& extra;
  tcontactrecord& contact;
};

class THostsetup : public QDialog {
  Q_OBJECT
 public:
  // `listEntries` gives the dial-up entry names (it may throw with the
  // text to show); it is called when the dial-up choice is shown or clicked.
  using tentrylister = std::function<std::vector<std::string>()>;
  THostsetup(thostsetuprecords records, tentrylister listEntries, QWidget* parent = nullptr);

  void OkClick();
  void BrowseClick();
  // The name of the dial-up entry chosen at OK (empty for the network).
  const std::string& ChosenEntryName() const { return chosenEntry_; }

  QRadioButton* NetworkButton = nullptr;
  QRadioButton* DialUpButton = nullptr;
  QComboBox* EntryBox = nullptr;
  QRadioButton* DefaultIspUser = nullptr;
  QRadioButton* ThisUser = nullptr;
  QLineEdit* DialUserEdit = nullptr;
  QLineEdit* DialPasswordEdit = nullptr;
  QRadioButton* UseDetails = nullptr;
  QRadioButton* UseHostFile = nullptr;
  QLineEdit* HostEdit = nullptr;
  QLineEdit* DirectoryEdit = nullptr;
  QLineEdit* UserEdit = nullptr;
  QLineEdit* PasswordEdit = nullptr;
  QLineEdit* HostFileEdit = nullptr;
  QPushButton* BrowseButton = nullptr;
  QCheckBox* ShowProgress = nullptr;
  QLabel* DetailLabels[4] = {};

 private:
  void LoadEntries();
  void UpdateEnabled();

  thostsetuprecords target_;
  twebcamsettings webcam_;
  tftpconfigrecord ftp_;
  textrarecord extra_;
  tcontactrecord contact_;
  tentrylister listEntries_;
  bool entriesLoaded_ = false;
  std::string chosenEntry_;
};

}  // namespace vantlo
