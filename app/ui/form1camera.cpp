// TForm1: the camera connection controls of the "Setup" and "Camera"
// pages, and the Stop button.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include "app/batterygauge.h"
#include "app/lowvoltsrule.h"
#include "app/portchoice.h"
#include "camerapictures.h"
#include "connectionwiz.h"
#include "form1.h"
#include "lowvolts.h"
#include "portmapdlg.h"
#include "showpicnum.h"

namespace vantlo {

namespace {

QColor GaugeColour(tgaugecolour c) {
  switch (c) {
    case tgaugecolour::red:
      return QColor(Qt::red);
    case tgaugecolour::yellow:
      return QColor(Qt::yellow);
    default:
      return QColor(Qt::green);
  }
}

}  // namespace

void TForm1::ToolButton4Click() {
  stop_.Set();
  // Webcam mode, AutoCapture and the disk thumbnail loader stop here as
  // they join; each tests the stop request between items.
}

void TForm1::ComboBox2Change() {
  if (!link_) return;
  const std::string name = ComboBox2->currentData().toString().toStdString();
  try {
    link_->SelectPort(name);
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void TForm1::ComboBox1Change() {
  if (link_) link_->SetDesiredSpeed(SpeedChoiceToBaudIndex(ComboBox1->currentIndex()));
}

void TForm1::RadioButton7Click() {
  if (!link_) return;
  try {
    link_->SetIrdaMode(!RadioButton7->isChecked());
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void TForm1::TestCommunications1Click() {
  ShowPage(3);
  Button5Click();
}

void TForm1::Button5Click() {
  if (!link_) return;
  if (!busy_.BusyControl(tbusyregister::kQuery)) {
    TestStatusLabel->setText("Vantlo is busy");
    return;
  }
  TestStatusLabel->setText("Testing..");
  TestStatusLabel->repaint();
  bool ok = false;
  std::string portFailure;
  {
    tbusyguard guard(busy_, tbusyregister::kPictures);
    if (!guard.Granted()) return;
    link_->ReopenIfClosed();
    ok = link_->CheckCamera();
    if (!ok) portFailure = link_->PortFailure();
  }
  if (ok) {
    TestStatusLabel->setText("Camera is connected");
    return;
  }
  // A port that cannot be opened says why (missing device, no permission, held by another
  // program) before the wizard is offered.
  TestStatusLabel->setText(portFailure.empty() ? "Camera is NOT connected" : "Port not available");
  QString question =
      "Vantlo cannot communicate with the camera.  Do you want to run the Connection Wizard ?";
  if (!portFailure.empty()) question = QString::fromStdString(portFailure) + "\n\n" + question;
  const auto answer = QMessageBox::question(
      this, "Vantlo", question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) ConnectionWizard1Click();
}

Tconnectionwiz* TForm1::ConnectionWizard() {
  if (!wizard_) wizard_ = new Tconnectionwiz(this);
  return wizard_;
}

void TForm1::ConnectionWizard1Click() {
  if (!link_) return;
  if (!busy_.BusyControl(tbusyregister::kQuery)) {
    QMessageBox::warning(this, "Vantlo", tbusyregister::kBusyBoxText);
    return;
  }
  tbusyguard guard(busy_, tbusyregister::kPictures);
  if (!guard.Granted()) return;
  Tconnectionwiz* wiz = ConnectionWizard();
  wiz->Prepare(*link_);
  const bool ok = wiz->exec() == QDialog::Accepted;
  wiz->Finish(ok);
  if (ok) {
    const std::string port = wiz->DetectedPort().substr(0, 5);
    settings_.config.SetPort(port);
    options_.portOverride.clear();  // the user chose a port: it is stored
    const int index = PortListIndex(port);
    if (index >= 0) ComboBox2->setCurrentIndex(index);
  }
}

void TForm1::EditPortMapClick() {
  Tportmapdlg dlg(this);
  if (dlg.exec() != QDialog::Accepted) return;
  FillPortList();
}

void TForm1::SpeedButton1Click() {
  if (!link_) return;
  tbusyguard guard(busy_, tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    link_->PowerOff();
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void TForm1::SpeedButton2Click() {
  if (!link_) return;
  tbusyguard guard(busy_, tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    link_->ResetCamera();
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void TForm1::ReportVoltage1Click() {
  ShowPage(1);
  SpeedButton3Click();
}

void TForm1::SpeedButton3Click() {
  if (!link_) return;
  tbusyguard guard(busy_, tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    const double volts = link_->GetBatteryVoltage();
    const auto gauge = BatteryGaugeFor(volts, settings_.contact.LowBatteryThreshold());
    VoltageLabel->setText(QString::fromStdString(gauge.text));
    Gauge1->setValue(gauge.position);
    QPalette pal = Gauge1->palette();
    pal.setColor(QPalette::Highlight, GaugeColour(gauge.colour));
    Gauge1->setPalette(pal);
    Gauge1->setProperty("gaugeColour", GaugeColour(gauge.colour).name());
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void TForm1::SpeedButton11Click() {
  TLowvolts dlg(settings_.contact.LowBatteryThreshold(), this);
  if (dlg.exec() != QDialog::Accepted) return;
  settings_.contact.SetLowBatteryThreshold(dlg.StoredThreshold());
  if (link_)
    link_->SetLowVoltageThreshold(EngineThresholdFor(settings_.contact.LowBatteryThreshold()));
}

void TForm1::ShowPictureByNumberClick() { CameraPictures().PicturebyNumber1Click(); }

void TForm1::SelectedThumbnailOnCamera1Click() {
  CameraPictures().SelectedPictureonCameraDisplay1Click();
}

}  // namespace vantlo
