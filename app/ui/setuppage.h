// The "Setup" page (TabSheet3): the camera connection (port, speed, cable or IrDA), "Test
// Communications", the connection wizard and the port devices.
#pragma once

#include <QWidget>
#include <string>

#include "app/ui/windowpage.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace vantlo {

class Tconnectionwiz;
class twindowhost;

class tsetuppage : public QWidget, public twindowpage {
  Q_OBJECT
 public:
  // `portOverride`: the port the engine uses instead of the stored one (the simulated camera);
  // the port list starts on it and the stored port changes only when the user picks another.
  tsetuppage(twindowhost& host, std::string portOverride);

  int PageNumber() const override { return 3; }
  QWidget* Widget() override { return this; }
  QString TabText() const override { return "Setup"; }
  void AddMenuCommands(const twindowmenus& menus) override;
  void ApplySettings(tsettingsrecords& records) override;
  void ReadSettings(tsettingsrecords& records) override;
  void Closing() override;

  // Handlers named after their controls.
  void Button5Click();  // Test Communications
  void TestCommunications1Click();
  void ConnectionWizard1Click();
  void ComboBox1Change();
  void ComboBox2Change();
  void RadioButton7Click();
  void EditPortMapClick();

  // The connection wizard, created on first use.
  Tconnectionwiz* ConnectionWizard();

  QComboBox* ComboBox1 = nullptr;        // baud rate
  QComboBox* ComboBox2 = nullptr;        // port
  QRadioButton* RadioButton7 = nullptr;  // Cable
  QRadioButton* RadioButton8 = nullptr;  // IrDA
  QPushButton* Button5 = nullptr;        // Test Communications
  QPushButton* ConnectionWizardButton = nullptr;
  QPushButton* PortMapButton = nullptr;
  QLabel* TestStatusLabel = nullptr;

 private:
  void FillPortList();
  void ShowCameraError(const std::exception& e);

  twindowhost& host_;
  std::string portOverride_;
  Tconnectionwiz* wizard_ = nullptr;
};

}  // namespace vantlo
