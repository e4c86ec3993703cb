#include "lowvolts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/lowvoltsrule.h"

namespace vantlo {

TLowvolts::TLowvolts(std::int32_t storedThreshold, QWidget* parent)
    : QDialog(parent), stored_(storedThreshold) {
  setObjectName("lowvolts");
  setWindowTitle("Set Low Voltage Threshold");
  auto* lay = new QVBoxLayout(this);
  auto* warning = new QLabel("WARNING");
  QFont bold = warning->font();
  bold.setBold(true);
  warning->setFont(bold);
  lay->addWidget(warning);
  lay->addWidget(new QLabel("Setting this value below 4 Volts can damage your Camera"));
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel("Threshold :"));
  Edit1 = new QLineEdit(QString::fromStdString(ThresholdEditText(storedThreshold)));
  Edit1->setObjectName("Edit1");
  row->addWidget(Edit1);
  row->addWidget(new QLabel("Volts"));
  lay->addLayout(row);
  auto* buttons = new QHBoxLayout;
  OkButton = new QPushButton("OK");
  OkButton->setDefault(true);
  CancelButton = new QPushButton("Cancel");
  DefaultButton = new QPushButton("Default");
  DefaultButton->setAutoDefault(false);
  CancelButton->setAutoDefault(false);
  buttons->addWidget(OkButton);
  buttons->addWidget(CancelButton);
  buttons->addWidget(DefaultButton);
  lay->addLayout(buttons);
  connect(OkButton, &QPushButton::clicked, this, &TLowvolts::OkClick);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(DefaultButton, &QPushButton::clicked, this, &TLowvolts::DefaultClick);
}

void TLowvolts::DefaultClick() { Edit1->setText("4.0"); }

void TLowvolts::OkClick() {
  const auto value = ParseThresholdText(Edit1->text().toStdString());
  if (!value) {
    QMessageBox::critical(this, "Vantlo",
                          "'" + Edit1->text() + "' is not a valid floating point value");
    return;
  }
  if (!ThresholdInRange(*value)) {
    QMessageBox::warning(this, "Vantlo", kThresholdRangeText);
    return;
  }
  stored_ = StoredThresholdFor(*value);
  accept();
}

}  // namespace vantlo
