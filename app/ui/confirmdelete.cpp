#include "confirmdelete.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace vantlo {

Tconfirmdelete::Tconfirmdelete(const tcameracell& cell, bool alwaysAsk, QWidget* parent)
    : QDialog(parent) {
  setObjectName("confirmdelete");
  setWindowTitle("Delete Picture?");
  setModal(true);
  auto* lay = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  QImage picture(70, 64, QImage::Format_RGB32);
  picture.fill(palette().color(QPalette::Window));
  {
    QPainter p(&picture);
    DrawCameraCell(p, picture.rect(), cell);
  }
  Image = new QLabel;
  Image->setPixmap(QPixmap::fromImage(picture));
  TextLabel = new QLabel("Delete this picture from the camera ?");
  top->addWidget(Image);
  top->addWidget(TextLabel, 1);
  lay->addLayout(top);
  AlwaysAskBox = new QCheckBox("Always ask before deleting a picture");
  AlwaysAskBox->setChecked(alwaysAsk);
  lay->addWidget(AlwaysAskBox);
  auto* buttons = new QHBoxLayout;
  YesButton = new QPushButton("Yes");
  NoButton = new QPushButton("No");
  YesButton->setDefault(true);
  buttons->addStretch(1);
  buttons->addWidget(YesButton);
  buttons->addWidget(NoButton);
  lay->addLayout(buttons);
  connect(YesButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(NoButton, &QPushButton::clicked, this, &QDialog::reject);
}

bool Tconfirmdelete::Confirm() { return exec() == QDialog::Accepted; }

bool Tconfirmdelete::AlwaysAsk() const { return AlwaysAskBox->isChecked(); }

}  // namespace vantlo
