// The "Image" page (preferences): how pictures are decoded and written. The
// JPEG quality and "Progressive JPEG", the output size of decoded camera
// pictures, "Color Range Expand" with its strength, and the Casio
// correction applied to fetched pictures and opened CAM files ("Auto",
// "Manual", "Off") with its strength. The page copies to and from the
// CONFIGD5 and EXTRA records the window holds; it changes no record by
// itself.
#pragma once

#include <QWidget>

#include "app/ui/windowpage.h"
#include "library/records.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace vantlo {

class tpreferencespage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tpreferencespage(QWidget* parent = nullptr);

  int PageNumber() const override { return 7; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Image"; }
  void ApplySettings(tsettingsrecords& records) override { ApplyFrom(records); }
  void ReadSettings(tsettingsrecords& records) override { ReadInto(records); }

  // The stored values into the controls.
  void ApplyFrom(const tsettingsrecords& records);
  // The controls into the records (a quality of 0 is stored as 1).
  void ReadInto(tsettingsrecords& records) const;

  // The correction strength of TrackBar8, 0..20 (the correction page's
  // "Manual Correct" uses it and "AutoCorrect" sets it).
  int CorrectionStrength() const;
  void SetCorrectionStrength(int strength);

  QSlider* QualityBar = nullptr;  // "Sets the compression level for JPEGs", 0..100
  QLabel* QualityLabel = nullptr;
  QCheckBox* ProgressiveBox = nullptr;  // "Progressive JPEG"
  QComboBox* ComboBox4 = nullptr;       // output size
  QCheckBox* CheckBox3 = nullptr;       // "Color Range Expand"
  QSlider* TrackBar1 = nullptr;         // expansion strength 0..50
  QLabel* ExpandLabel = nullptr;
  QRadioButton* RadioButton9 = nullptr;   // "Auto"
  QRadioButton* RadioButton10 = nullptr;  // "Manual"
  QRadioButton* RadioButton11 = nullptr;  // "Off"
  QSlider* TrackBar8 = nullptr;           // correction strength 0..20
  QLabel* StrengthLabel = nullptr;        // strength * 5 " %"

 signals:
  // The output size list was changed (the window hands it to the decoder
  // at once).
  void OutputSizeChanged(int choice);

 private:
  void ShowLabels();
};

// The text of TrackBar8's label: strength * 5 followed by " %".
QString CorrectionStrengthText(int strength);

}  // namespace vantlo
