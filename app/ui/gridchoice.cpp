#include "app/ui/gridchoice.h"

#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vantlo {

QSpinBox* NumberBox(int maximum, int value) {
  auto* s = new QSpinBox;
  s->setRange(1, maximum);
  s->setValue(value);
  return s;
}

tgridchoice::tgridchoice(const tcaptions& captions, int maximum, int first, int second,
                         int marginPosition, QWidget* parent)
    : QWidget(parent) {
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(0, 0, 0, 0);
  auto* grid = new QHBoxLayout;
  grid->addWidget(new QLabel(captions.lead));
  FirstEdit = NumberBox(maximum, first);
  grid->addWidget(FirstEdit);
  grid->addWidget(new QLabel(captions.middle));
  SecondEdit = NumberBox(maximum, second);
  grid->addWidget(SecondEdit);
  grid->addWidget(new QLabel(captions.last));
  lay->addLayout(grid);
  TotalLabel = new QLabel;
  lay->addWidget(TotalLabel);

  auto* margins = new QGroupBox(" Margins : ");
  auto* ml = new QHBoxLayout(margins);
  ml->addWidget(new QLabel("Smaller"));
  MarginSlider = new QSlider(Qt::Horizontal);
  MarginSlider->setRange(0, 10);
  MarginSlider->setValue(marginPosition);
  ml->addWidget(MarginSlider);
  ml->addWidget(new QLabel("Larger"));
  lay->addWidget(margins);

  connect(FirstEdit, &QSpinBox::valueChanged, this, &tgridchoice::UpdateTotal);
  connect(SecondEdit, &QSpinBox::valueChanged, this, &tgridchoice::UpdateTotal);
  UpdateTotal();
}

void tgridchoice::UpdateTotal() {
  TotalLabel->setText(QString("( Giving a total of %1 pictures per page )")
                          .arg(FirstEdit->value() * SecondEdit->value()));
}

QHBoxLayout* OkCancelRow(QDialog& dialog, QPushButton*& ok, QPushButton*& cancel) {
  auto* buttons = new QHBoxLayout;
  ok = new QPushButton("OK");
  ok->setDefault(true);
  cancel = new QPushButton("Cancel");
  cancel->setAutoDefault(false);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return buttons;
}

}  // namespace vantlo
