// Tfirewallcfg ("Firewall Parameters"): edits the firewall settings on a copy
// of the "FTPCONFIG" record; OK copies them back, Cancel leaves them.
#pragma once

#include <QDialog>

#include "library/records/ftpconfigrecord.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vantlo {

class Tfirewallcfg : public QDialog {
  Q_OBJECT
 public:
  explicit Tfirewallcfg(tftpconfigrecord& ftp, QWidget* parent = nullptr);

  // The record as the controls have it.
  tftpconfigrecord Record() const;
  void OkClick();

  QCheckBox* UseFirewall = nullptr;
  QLineEdit* HostEdit = nullptr;
  QLineEdit* UserEdit = nullptr;
  QLineEdit* PasswordEdit = nullptr;
  QLineEdit* PortEdit = nullptr;
  QComboBox* ModeBox = nullptr;

 private:
  tftpconfigrecord& target_;
  tftpconfigrecord copy_;
};

}  // namespace vantlo
