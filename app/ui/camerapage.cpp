#include "app/ui/camerapage.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/batterygauge.h"
#include "app/busyregister.h"
#include "app/cameralink.h"
#include "app/lowvoltsrule.h"
#include "app/ui/camerapictures.h"
#include "app/ui/lowvolts.h"
#include "app/ui/windowhost.h"
#include "library/records.h"

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

tcamerapage::tcamerapage(twindowhost& host) : host_(host) {
  setObjectName("TabSheet1");
  auto* lay = new QVBoxLayout(this);

  // The folder choice above the grid, for cameras that keep their pictures in folders.
  Panel10 = new QWidget;
  Panel10->setObjectName("Panel10");
  auto* pl = new QHBoxLayout(Panel10);
  pl->setContentsMargins(0, 0, 0, 0);
  ComboBox5 = new QComboBox;
  ComboBox5->setObjectName("ComboBox5");
  pl->addWidget(ComboBox5, 1);
  Panel10->hide();
  lay->addWidget(Panel10);

  DrawGrid11 = new QTableWidget(0, 2);
  DrawGrid11->setObjectName("DrawGrid11");
  DrawGrid11->horizontalHeader()->hide();
  DrawGrid11->verticalHeader()->hide();
  DrawGrid11->verticalHeader()->setDefaultSectionSize(64);
  DrawGrid11->horizontalHeader()->setDefaultSectionSize(64);
  DrawGrid11->setShowGrid(false);
  DrawGrid11->setToolTip("Double click once to load thumbnail; again to load picture");
  lay->addWidget(DrawGrid11, 1);

  auto button = [&](QPushButton*& b, const char* name, const QString& text) {
    b = new QPushButton(text);
    b->setObjectName(name);
    lay->addWidget(b);
  };
  button(SpeedButton1, "SpeedButton1", "Switch Power Off");
  button(SpeedButton2, "SpeedButton2", "Reset Camera");
  button(ShowPicNumButton, "ShowPicNumButton", "Show Picture by Number...");
  auto* battery = new QGroupBox("Battery");
  auto* bl = new QVBoxLayout(battery);
  SpeedButton3 = new QPushButton("Report Battery State");
  SpeedButton3->setObjectName("SpeedButton3");
  Gauge1 = new QProgressBar;
  Gauge1->setObjectName("Gauge1");
  Gauge1->setRange(0, 100);
  Gauge1->setValue(0);
  Gauge1->setTextVisible(false);
  VoltageLabel = new QLabel;
  VoltageLabel->setObjectName("VoltageLabel");
  SpeedButton11 = new QPushButton("Voltage Threshold...");
  SpeedButton11->setObjectName("SpeedButton11");
  bl->addWidget(SpeedButton3);
  bl->addWidget(Gauge1);
  bl->addWidget(VoltageLabel);
  bl->addWidget(SpeedButton11);
  lay->addWidget(battery);

  pictures_ = new tcamerapictures(host_, DrawGrid11, Panel10, ComboBox5, this);

  connect(SpeedButton1, &QPushButton::clicked, this, &tcamerapage::SpeedButton1Click);
  connect(SpeedButton2, &QPushButton::clicked, this, &tcamerapage::SpeedButton2Click);
  connect(SpeedButton3, &QPushButton::clicked, this, &tcamerapage::SpeedButton3Click);
  connect(SpeedButton11, &QPushButton::clicked, this, &tcamerapage::SpeedButton11Click);
  connect(ShowPicNumButton, &QPushButton::clicked, this, &tcamerapage::ShowPictureByNumberClick);
}

bool tcamerapage::NarrowPanel() const {
  const QScrollBar* bar = DrawGrid11->verticalScrollBar();
  return !(bar && bar->isVisible());
}

void tcamerapage::Entered() { Panel10->setVisible(ComboBox5->count() > 0); }

void tcamerapage::Left() { Panel10->hide(); }

void tcamerapage::AddMenuCommands(const twindowmenus& menus) {
  QMenu* camera = menus.Menu("&Camera");
  camera->addAction("Switch Power &Off", this, &tcamerapage::SpeedButton1Click);
  camera->addAction("&Reset Camera", this, &tcamerapage::SpeedButton2Click);
  camera->addAction("Report &Voltage", this, &tcamerapage::ReportVoltage1Click);
  camera->addAction("Voltage &Threshold...", this, &tcamerapage::SpeedButton11Click);
  camera->addSeparator();
  camera->addAction("Show Picture by &Number...", this, &tcamerapage::ShowPictureByNumberClick);
  camera->addAction("Selected Thumbnail on Camera &Display", this,
                    &tcamerapage::SelectedThumbnailOnCamera1Click);
  pictures_->AddMenuCommands(menus);
}

void tcamerapage::ShowCameraError(const std::exception& e) {
  tcameralink* link = host_.CameraLink();
  QMessageBox::critical(
      host_.Window(), "Vantlo",
      QString::fromStdString(link ? CameraFailureText(*link, e.what()) : e.what()));
}

void tcamerapage::SpeedButton1Click() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  tbusyguard guard(host_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    link->PowerOff();
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void tcamerapage::SpeedButton2Click() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  tbusyguard guard(host_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    link->ResetCamera();
  } catch (const std::exception& e) {
    ShowCameraError(e);
  }
}

void tcamerapage::ReportVoltage1Click() {
  host_.ShowPage(1);
  SpeedButton3Click();
}

void tcamerapage::SpeedButton3Click() {
  tcameralink* link = host_.CameraLink();
  if (!link) return;
  tbusyguard guard(host_.Busy(), tbusyregister::kPictures);
  if (!guard.Granted()) return;
  try {
    const double volts = link->GetBatteryVoltage();
    const auto gauge = BatteryGaugeFor(volts, host_.Settings().contact.LowBatteryThreshold());
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

void tcamerapage::SpeedButton11Click() {
  tsettingsrecords& settings = host_.Settings();
  TLowvolts dlg(settings.contact.LowBatteryThreshold(), host_.Window());
  if (dlg.exec() != QDialog::Accepted) return;
  settings.contact.SetLowBatteryThreshold(dlg.StoredThreshold());
  if (tcameralink* link = host_.CameraLink())
    link->SetLowVoltageThreshold(EngineThresholdFor(settings.contact.LowBatteryThreshold()));
}

void tcamerapage::ShowPictureByNumberClick() { pictures_->PicturebyNumber1Click(); }

void tcamerapage::SelectedThumbnailOnCamera1Click() {
  pictures_->SelectedPictureonCameraDisplay1Click();
}

}  // namespace vantlo
