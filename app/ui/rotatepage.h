// The "Rotate" page (TabSheet9): the orientation applied to pictures fetched
// from the camera, the rotate buttons for the displayed picture and the two
// "Define Orientation" buttons.
#pragma once

#include <QObject>

class QPushButton;
class QRadioButton;
class QWidget;

namespace vantlo {

class TForm1;
class tpictureview;

class trotatepage : public QObject {
  Q_OBJECT
 public:
  // Fills `page` (its placeholder contents are removed).
  trotatepage(TForm1& form, tpictureview& view, QWidget* page);

  // Shows the stored orientation setting on the radio buttons.
  void Refresh();

  QRadioButton* Orientation[4] = {};      // "Normal" .. "Rotated counter-clockwise"
  QPushButton* SpeedButton5 = nullptr;    // Rotate Clockwise
  QPushButton* SpeedButton4 = nullptr;    // Rotate Counter-clockwise
  QPushButton* CurrentButton = nullptr;   // For Current Picture
  QPushButton* SelectedButton = nullptr;  // For Selected CAM Files

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TForm1& form_;
  tpictureview& view_;
  QWidget* page_;
};

}  // namespace vantlo
