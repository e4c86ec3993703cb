// Tconfirmdelete ("Delete Picture?"): asks before one camera picture is deleted, showing its grid
// cell. The check box "Always ask before deleting a picture" starts from the setting and is given
// back whichever button closes the dialog.
#pragma once

#include <QDialog>

#include "cameracell.h"

class QCheckBox;
class QLabel;
class QPushButton;

namespace vantlo {

class Tconfirmdelete : public QDialog {
  Q_OBJECT
 public:
  Tconfirmdelete(const tcameracell& cell, bool alwaysAsk, QWidget* parent = nullptr);

  // Modal; true for "Yes".
  bool Confirm();
  bool AlwaysAsk() const;

  QLabel* Image = nullptr;
  QLabel* TextLabel = nullptr;
  QPushButton* YesButton = nullptr;
  QPushButton* NoButton = nullptr;
  QCheckBox* AlwaysAskBox = nullptr;
};

}  // namespace vantlo
