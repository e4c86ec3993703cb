#include "connectionwiz.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/cameralink.h"
#include "app/portchoice.h"

namespace vantlo {

Tconnectionwiz::Tconnectionwiz(QWidget* parent) : QDialog(parent) {
  setObjectName("connectionwiz");
  setWindowTitle("Camera Connection Wizard");
  auto* lay = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "Connect the camera, switch it on, then press \"Test All Ports\". Each port is tried in "
      "turn until a camera answers.");
  intro->setWordWrap(true);
  lay->addWidget(intro);
  auto* grid = new QGridLayout;
  grid->addWidget(new QLabel("<b>Port</b>"), 0, 0);
  grid->addWidget(new QLabel("<b>Status</b>"), 0, 1);
  grid->addWidget(new QLabel("<b>Error</b>"), 0, 2);
  for (int i = 0; i < kPortCount; ++i) {
    NameCells[i] = new QLabel(QString::fromStdString(PortNameOfIndex(i)));
    StatusCells[i] = new QLabel("Unknown");
    ErrorCells[i] = new QLabel;
    StatusCells[i]->setMinimumWidth(140);
    // The system's reason can be long (a refused permission names the group to join): it
    // wraps within the column instead of running past the window's edge.
    ErrorCells[i]->setMinimumWidth(260);
    ErrorCells[i]->setWordWrap(true);
    ErrorCells[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(NameCells[i], i + 1, 0);
    grid->addWidget(StatusCells[i], i + 1, 1);
    grid->addWidget(ErrorCells[i], i + 1, 2);
  }
  grid->setColumnStretch(2, 1);
  lay->addLayout(grid);
  ResultLine = new QLabel;
  ResultLine->setObjectName("ResultLine");
  lay->addWidget(ResultLine);
  auto* buttons = new QHBoxLayout;
  TestAllButton = new QPushButton("Test All Ports");
  UseDetectedButton = new QPushButton("Use Detected Port");
  CancelButton = new QPushButton("Cancel");
  buttons->addWidget(TestAllButton);
  buttons->addStretch();
  buttons->addWidget(UseDetectedButton);
  buttons->addWidget(CancelButton);
  lay->addLayout(buttons);
  TestAllButton->setAutoDefault(false);
  UseDetectedButton->setAutoDefault(false);
  CancelButton->setAutoDefault(false);
  connect(TestAllButton, &QPushButton::clicked, this, &Tconnectionwiz::TestAllPortsClick);
  connect(UseDetectedButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &Tconnectionwiz::CancelClick);
}

Tconnectionwiz::~Tconnectionwiz() = default;

void Tconnectionwiz::SetBold(QLabel* label, bool bold) {
  QFont f = label->font();
  f.setBold(bold);
  label->setFont(f);
}

void Tconnectionwiz::Prepare(tcameralink& link) {
  link_ = &link;
  scan_ = std::make_unique<tportscan>(link);
  scan_->Prepare();
  UseDetectedButton->setEnabled(false);
  ResultLine->clear();
  for (int i = 0; i < kPortCount; ++i) {
    const std::string name = PortNameOfIndex(i);
    const std::string device = link.DeviceOf(name);
    NameCells[i]->setText(QString::fromStdString(name) +
                          (device.empty() ? QString() : "  " + QString::fromStdString(device)));
    StatusCells[i]->setText("Unknown");
    ErrorCells[i]->clear();
    SetBold(NameCells[i], false);
    SetBold(StatusCells[i], false);
  }
  TestAllButton->setFocus();
}

void Tconnectionwiz::Finish(bool useDetected) {
  if (scan_) scan_->Finish(useDetected);
}

std::string Tconnectionwiz::DetectedPort() const {
  return scan_ ? scan_->DetectedPort() : std::string(tportscan::kNotFound);
}

void Tconnectionwiz::TestAllPortsClick() {
  if (!scan_) return;
  TestAllButton->setEnabled(false);
  scan_->TestAllPorts(*this);
  TestAllButton->setEnabled(true);
}

void Tconnectionwiz::CancelClick() { reject(); }

void Tconnectionwiz::reject() {
  if (scan_) scan_->Cancel();
  QDialog::reject();
}

void Tconnectionwiz::RowTesting(int row) {
  SetBold(NameCells[row], true);
  SetBold(StatusCells[row], true);
  StatusCells[row]->setText("Testing...");
  StatusCells[row]->repaint();
}

void Tconnectionwiz::RowResult(int row, int status, const std::string& statusText,
                               const std::string& errorText) {
  StatusCells[row]->setText(QString::fromStdString(statusText));
  ErrorCells[row]->setText(QString::fromStdString(errorText));
  if (status != 1) SetBold(StatusCells[row], false);
  SetBold(NameCells[row], false);
  FitHeight();
}

void Tconnectionwiz::FitHeight() {
  // A wrapped reason needs more lines: the window grows to show them all.
  if (!layout()) return;
  layout()->activate();
  const int needed = layout()->totalHeightForWidth(width());
  if (needed > height()) resize(width(), needed);
}

void Tconnectionwiz::CameraFound(int, const std::string& portName) {
  UseDetectedButton->setEnabled(true);
  UseDetectedButton->setFocus();
  ResultLine->setText("Camera found on " + QString::fromStdString(portName));
}

void Tconnectionwiz::Pump() { QCoreApplication::processEvents(); }

}  // namespace vantlo
