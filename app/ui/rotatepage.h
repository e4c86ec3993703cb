// The "Rotate" page (TabSheet9): the orientation applied to pictures fetched
// from the camera, the rotate buttons for the displayed picture and the two
// "Define Orientation" buttons.
#pragma once

#include <QWidget>
#include <functional>

#include "app/ui/windowpage.h"

class QPushButton;
class QRadioButton;

namespace vantlo {

class twindowhost;

class trotatepage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit trotatepage(twindowhost& host);

  int PageNumber() const override { return 9; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Rotate"; }

  // Shows the stored orientation setting on the radio buttons.
  void Refresh();

  // "For Selected CAM Files": the Browse page's selection (the window fills it in).
  std::function<void()> defineOrientationSelected;

  QRadioButton* Orientation[4] = {};      // "Normal" .. "Rotated counter-clockwise"
  QPushButton* SpeedButton5 = nullptr;    // Rotate Clockwise
  QPushButton* SpeedButton4 = nullptr;    // Rotate Counter-clockwise
  QPushButton* CurrentButton = nullptr;   // For Current Picture
  QPushButton* SelectedButton = nullptr;  // For Selected CAM Files

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  twindowhost& host_;
};

}  // namespace vantlo
