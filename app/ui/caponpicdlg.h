// Tcaponpicdlg ("Captions on Pictures"): edits one caption setting (pictures or webcam mode) on a
// copy of its record; "OK" gives the edited record back, "Cancel" leaves the setting unchanged.
// "Preview" draws the sample caption into the sample image.
#pragma once

#include <QDialog>

#include "app/core/clock.h"
#include "library/records/captionrecord.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vantlo {

class Tcaponpicdlg : public QDialog {
  Q_OBJECT
 public:
  Tcaponpicdlg(const tcaptionrecord& record, QWidget* parent = nullptr,
               tlocalclock clock = SystemLocalTime);

  // The record as the controls have it.
  tcaptionrecord Record() const;

  void PreviewClick();
  void AddField(const char* name);
  void SelectFontClick();
  void SelectColorClick();
  void ModeClick();

  QRadioButton* NoCaption = nullptr;
  QRadioButton* Standard = nullptr;
  QRadioButton* Custom = nullptr;
  QRadioButton* Prompt = nullptr;
  QLineEdit* CustomEdit = nullptr;
  QLabel* AddFieldLabel = nullptr;
  QPushButton* FieldButtons[5] = {};
  QPushButton* FontButton = nullptr;
  QRadioButton* Top = nullptr;
  QRadioButton* Bottom = nullptr;
  QRadioButton* Left = nullptr;
  QRadioButton* Centre = nullptr;
  QRadioButton* Right = nullptr;
  QRadioButton* Transparent = nullptr;
  QRadioButton* Colour = nullptr;
  QPushButton* ColourButton = nullptr;
  QLabel* Swatch = nullptr;
  QPushButton* PreviewButton = nullptr;
  QLabel* SampleImage = nullptr;

 private:
  void ShowSwatch();
  tcaptionrecord record_;  // font and colours; the rest lives in the controls
  tlocalclock clock_;
};

}  // namespace vantlo
