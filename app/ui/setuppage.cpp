#include "app/ui/setuppage.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/portchoice.h"
#include "app/ui/connectionwiz.h"
#include "app/ui/portmapdlg.h"
#include "app/ui/windowhost.h"
#include "camera/qv10int.h"
#include "library/records.h"

namespace vantlo {

tsetuppage::tsetuppage(twindowhost& host, std::string portOverride)
    : host_(host), portOverride_(std::move(portOverride)) {
  setObjectName("TabSheet3");
  auto* lay = new QVBoxLayout(this);
  auto* link = new QGroupBox("Camera connection");
  auto* grid = new QGridLayout(link);
  ComboBox2 = new QComboBox;
  ComboBox2->setObjectName("ComboBox2");
  ComboBox1 = new QComboBox;
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->addItems({"Auto", "9600", "19200", "38400", "57600", "115200"});
  grid->addWidget(new QLabel("Port:"), 0, 0);
  grid->addWidget(ComboBox2, 0, 1);
  grid->addWidget(new QLabel("Baud Rate:"), 1, 0);
  grid->addWidget(ComboBox1, 1, 1);
  RadioButton7 = new QRadioButton("Cable");
  RadioButton7->setObjectName("RadioButton7");
  RadioButton8 = new QRadioButton("IrDA");
  RadioButton8->setObjectName("RadioButton8");
  RadioButton7->setChecked(true);
  auto* radios = new QHBoxLayout;
  radios->addWidget(RadioButton7);
  radios->addWidget(RadioButton8);
  radios->addStretch();
  grid->addLayout(radios, 2, 0, 1, 2);
  lay->addWidget(link);

  Button5 = new QPushButton("Test Communications");
  Button5->setObjectName("Button5");
  ConnectionWizardButton = new QPushButton("Connection Wizard");
  ConnectionWizardButton->setObjectName("ConnectionWizardButton");
  PortMapButton = new QPushButton("Port Devices...");
  PortMapButton->setObjectName("PortMapButton");
  PortMapButton->setToolTip("Choose the device each COM port name opens");
  TestStatusLabel = new QLabel;
  TestStatusLabel->setObjectName("TestStatusLabel");
  TestStatusLabel->setWordWrap(true);
  lay->addWidget(Button5);
  lay->addWidget(TestStatusLabel);
  lay->addWidget(ConnectionWizardButton);
  lay->addWidget(PortMapButton);

  lay->addStretch();

  connect(ComboBox1, &QComboBox::activated, this, &tsetuppage::ComboBox1Change);
  connect(ComboBox2, &QComboBox::activated, this, &tsetuppage::ComboBox2Change);
  connect(RadioButton7, &QRadioButton::clicked, this, &tsetuppage::RadioButton7Click);
  connect(RadioButton8, &QRadioButton::clicked, this, &tsetuppage::RadioButton7Click);
  connect(Button5, &QPushButton::clicked, this, &tsetuppage::Button5Click);
  connect(ConnectionWizardButton, &QPushButton::clicked, this, &tsetuppage::ConnectionWizard1Click);
  connect(PortMapButton, &QPushButton::clicked, this, &tsetuppage::EditPortMapClick);
}

void tsetuppage::AddMenuCommands(const twindowmenus& menus) {
  // The connection commands open the "Camera" menu, before the camera page's commands.
  QMenu* camera = menus.Menu("&Camera");
  QAction* first = camera->actions().isEmpty() ? nullptr : camera->actions().first();
  QAction* test = new QAction("&Test Communications", camera);
  connect(test, &QAction::triggered, this, &tsetuppage::TestCommunications1Click);
  QAction* wizard = new QAction("Connection &Wizard...", camera);
  connect(wizard, &QAction::triggered, this, &tsetuppage::ConnectionWizard1Click);
  camera->insertAction(first, test);
  camera->insertAction(first, wizard);
  camera->insertSeparator(first);
}

void tsetuppage::FillPortList() {
  tcameralink* link = host_.CameraLink();
  const int current = ComboBox2->currentIndex();
  ComboBox2->clear();
  for (int i = 0; i < kPortCount; ++i) {
    const std::string name = PortNameOfIndex(i);
    const std::string device = link ? link->DeviceOf(name) : std::string();
    QString text = QString::fromStdString(name);
    if (!device.empty()) text += "  " + QString::fromStdString(device);
    ComboBox2->addItem(text, QString::fromStdString(name));
  }
  if (current >= 0) ComboBox2->setCurrentIndex(current);
}

void tsetuppage::ApplySettings(tsettingsrecords& records) {
  FillPortList();
  std::string port = records.config.Port();
  if (PortListIndex(port) < 0) {
    port = "COM1:";
    records.config.SetPort(port);
  }
  const std::string shown = portOverride_.empty() ? port : portOverride_;
  ComboBox2->setCurrentIndex(std::max(0, PortListIndex(shown)));
  const int speed = records.config.SpeedChoice();
  ComboBox1->setCurrentIndex(speed);
  if (tcameralink* link = host_.CameraLink()) link->SetDesiredSpeed(BaudIndexOfSpeedChoice(speed));
  (records.extra.IrDA() ? RadioButton8 : RadioButton7)->setChecked(true);
}

void tsetuppage::ReadSettings(tsettingsrecords& records) {
  const std::string chosen = ComboBox2->currentData().toString().toStdString().substr(0, 5);
  // With a simulated camera the port list starts on its port; the stored
  // port only changes when the user picks another one.
  if (portOverride_.empty() || chosen != portOverride_) records.config.SetPort(chosen);
  records.config.SetSpeedChoice(ComboBox1->currentIndex());
  records.extra.SetIrDA(RadioButton8->isChecked());
}

void tsetuppage::Closing() {
  // The wizard works on the camera link, which the close frees next.
  if (wizard_) wizard_->hide();
}

void tsetuppage::ShowCameraError(const std::exception& e) {
  tcameralink* link = host_.CameraLink();
  QMessageBox::critical(
      host_.Window(), "Vantlo",
      QString::fromStdString(link ? CameraFailureText(*link, e.what()) : e.what()));
}

void tsetuppage::ComboBox2Change() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  const std::string name = ComboBox2->currentData().toString().toStdString();
  try {
    link->SelectPort(name);
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void tsetuppage::ComboBox1Change() {
  if (tcameralink* link = host_.CameraLink())
    link->SetDesiredSpeed(BaudIndexOfSpeedChoice(ComboBox1->currentIndex()));
}

void tsetuppage::RadioButton7Click() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  try {
    link->SetIrdaMode(!RadioButton7->isChecked());
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void tsetuppage::TestCommunications1Click() {
  host_.ShowPage(3);
  Button5Click();
}

void tsetuppage::Button5Click() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  tbusyregister& busy = host_.Busy();
  if (!busy.BusyControl(tbusyregister::kQuery)) {
    TestStatusLabel->setText("Vantlo is busy");
    return;
  }
  TestStatusLabel->setText("Testing..");
  TestStatusLabel->repaint();
  bool ok = false;
  std::string portFailure;
  {
    tbusyguard guard(busy, tbusyregister::kPictures);
    if (!guard.Granted()) return;
    link->ReopenIfClosed();
    ok = link->CheckCamera();
    if (!ok) portFailure = link->PortFailure();
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
      host_.Window(), "Vantlo", question, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  if (answer == QMessageBox::Yes) ConnectionWizard1Click();
}

Tconnectionwiz* tsetuppage::ConnectionWizard() {
  if (!wizard_) wizard_ = new Tconnectionwiz(host_.Window());
  return wizard_;
}

void tsetuppage::ConnectionWizard1Click() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  tbusyregister& busy = host_.Busy();
  if (!busy.BusyControl(tbusyregister::kQuery)) {
    QMessageBox::warning(host_.Window(), "Vantlo", tbusyregister::kBusyBoxText);
    return;
  }
  tbusyguard guard(busy, tbusyregister::kPictures);
  if (!guard.Granted()) return;
  Tconnectionwiz* wiz = ConnectionWizard();
  wiz->Prepare(*link);
  const bool ok = wiz->exec() == QDialog::Accepted;
  wiz->Finish(ok);
  if (ok) {
    const std::string port = wiz->DetectedPort().substr(0, 5);
    host_.Settings().config.SetPort(port);
    portOverride_.clear();  // the user chose a port: it is stored
    const int index = PortListIndex(port);
    if (index >= 0) ComboBox2->setCurrentIndex(index);
  }
}

void tsetuppage::EditPortMapClick() {
  Tportmapdlg dlg(host_.Window());
  if (dlg.exec() != QDialog::Accepted) return;
  FillPortList();
}

}  // namespace vantlo
