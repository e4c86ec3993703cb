#include "portmapdlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "app/portchoice.h"
#include "app/portmapio.h"

namespace vantlo {

Tportmapdlg::Tportmapdlg(QWidget* parent) : QDialog(parent) {
  setObjectName("portmapdlg");
  setWindowTitle("Port Devices");
  auto* lay = new QVBoxLayout(this);
  auto* intro = new QLabel(
      "The device each port name opens. Leave a line empty for its default. A VANTLO_COMn "
      "environment variable overrides the entry for that port.");
  intro->setWordWrap(true);
  lay->addWidget(intro);
  auto* grid = new QGridLayout;
  const auto current = tportmapio::Current();
  for (int i = 0; i < kPortCount; ++i) {
    const std::string name = PortNameOfIndex(i);
    grid->addWidget(new QLabel(QString::fromStdString(name)), i, 0);
    DeviceEdits[i] = new QLineEdit(QString::fromStdString(current[i]));
    DeviceEdits[i]->setPlaceholderText(QString::fromStdString(tportmapio::DefaultOf(i + 1)));
    DeviceEdits[i]->setMinimumWidth(220);
    grid->addWidget(DeviceEdits[i], i, 1);
    const std::string now = tportmapio::DeviceOf(name);
    auto* active = new QLabel(now.empty() ? QString() : "opens " + QString::fromStdString(now));
    active->setEnabled(false);
    grid->addWidget(active, i, 2);
  }
  lay->addLayout(grid);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &Tportmapdlg::OkClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  lay->addWidget(buttons);
}

void Tportmapdlg::OkClick() {
  tportmapio::tmap map;
  for (int i = 0; i < kPortCount; ++i) {
    map[i] = DeviceEdits[i]->text().trimmed().toStdString();
    if (map[i].empty()) map[i] = tportmapio::DefaultOf(i + 1);
  }
  try {
    tportmapio::Save(map);
  } catch (const std::exception& e) {
    QMessageBox::warning(this, "Vantlo", QString::fromStdString(e.what()));
    return;
  }
  accept();
}

}  // namespace vantlo
