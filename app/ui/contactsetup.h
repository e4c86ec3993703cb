// Tcontactsetup ("Contact Sheet Setup"): edits copies of the contact sheet settings (CONTACTD5)
// and of the "Contact Sheets" saving switch of CONFIGD5 ("AutoSave when sheet full"). "OK" gives
// the edited records back; "Cancel" changes nothing.
#pragma once

#include <QDialog>

#include "app/ui/fontchoice.h"
#include "library/records.h"

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace vantlo {

class tgridchoice;
class tconman;

class Tcontactsetup : public QDialog {
  Q_OBJECT
 public:
  Tcontactsetup(const tcontactrecord& contact, const tconfigrecord& config,
                QWidget* parent = nullptr);

  // The records as the controls have them.
  tcontactrecord Contact() const;
  tconfigrecord Config() const;
  // Writes only the settings the dialog edits into the records.
  void ApplyTo(tcontactrecord& contact, tconfigrecord& config) const;

  // "Contact Sheets..." / "Setup...": runs the dialog on copies of the records; on OK copies them
  // back, drops the sheet in progress and gives the manager the new layout. Returns true on OK.
  static bool Run(tsettingsrecords& records, tconman& manager, QWidget* parent,
                  const tfontchooser& chooser = ChooseFontWithDialogs);

  void UpdateTotal();
  void FontClick();

  QSpinBox* ColumnsEdit = nullptr;
  QSpinBox* RowsEdit = nullptr;
  QLabel* TotalLabel = nullptr;
  QSlider* MarginSlider = nullptr;
  QCheckBox* BordersBox = nullptr;
  QCheckBox* AutoSaveBox = nullptr;
  QSpinBox* WidthEdit = nullptr;
  QSpinBox* HeightEdit = nullptr;
  QCheckBox* TitleBox = nullptr;
  QCheckBox* FilenameBox = nullptr;
  QCheckBox* FileSizeBox = nullptr;
  QPushButton* FontButton = nullptr;
  QPushButton* OkButton = nullptr;
  QPushButton* CancelButton = nullptr;
  tfontchooser chooseFont = ChooseFontWithDialogs;

 private:
  tgridchoice* grid_ = nullptr;
  tcontactrecord contact_;
  tconfigrecord config_;
};

}  // namespace vantlo
