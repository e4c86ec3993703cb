// The "Camera" page (TabSheet1): the camera thumbnail grid with the camera folder choice above
// it, "Switch Power Off", "Reset Camera", "Show Picture by Number..." and the battery group
// ("Report Battery State", the gauge, "Voltage Threshold..."). The commands on camera pictures
// are tcamerapictures', which the page owns.
#pragma once

#include <QWidget>

#include "app/ui/windowpage.h"

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace vantlo {

class tcamerapictures;
class twindowhost;

class tcamerapage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  explicit tcamerapage(twindowhost& host);

  int PageNumber() const override { return 1; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Camera"; }
  // Narrow unless the grid needs its scroll bar.
  bool NarrowPanel() const override;
  void AddMenuCommands(const twindowmenus& menus) override;
  // The camera folder choice is shown only while the page is (for cameras with folders).
  void Entered() override;
  void Left() override;

  tcamerapictures& Pictures() { return *pictures_; }

  // Handlers named after their controls.
  void SpeedButton1Click();   // Switch Power Off
  void SpeedButton2Click();   // Reset Camera
  void SpeedButton3Click();   // Report Battery State
  void SpeedButton11Click();  // Voltage Threshold...
  void ReportVoltage1Click();
  void ShowPictureByNumberClick();
  void SelectedThumbnailOnCamera1Click();

  QTableWidget* DrawGrid11 = nullptr;
  QWidget* Panel10 = nullptr;  // the camera folder choice
  QComboBox* ComboBox5 = nullptr;
  QPushButton* SpeedButton1 = nullptr;   // Switch Power Off
  QPushButton* SpeedButton2 = nullptr;   // Reset Camera
  QPushButton* SpeedButton3 = nullptr;   // Report Battery State
  QPushButton* SpeedButton11 = nullptr;  // Voltage Threshold...
  QPushButton* ShowPicNumButton = nullptr;
  QProgressBar* Gauge1 = nullptr;
  QLabel* VoltageLabel = nullptr;

 private:
  void ShowCameraError(const std::exception& e);

  twindowhost& host_;
  tcamerapictures* pictures_ = nullptr;
};

}  // namespace vantlo
