#include "showpicnum.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/cameralink.h"

namespace vantlo {

Tshowpicnum::Tshowpicnum(tcameralink& link, int count, QWidget* parent)
    : QDialog(parent), link_(link) {
  setObjectName("showpicnum");
  setWindowTitle("Show Picture by Number");
  auto* lay = new QVBoxLayout(this);
  CountLabel = new QLabel(QString("There are %1 pictures in the camera.").arg(count));
  lay->addWidget(CountLabel);
  NumberEdit = new QSpinBox;
  NumberEdit->setRange(1, std::max(1, count));
  lay->addWidget(NumberEdit);
  auto* buttons = new QHBoxLayout;
  ShowButton = new QPushButton("Show on Camera");
  FetchButton = new QPushButton("Fetch");
  FetchButton->setEnabled(false);
  FetchButton->setToolTip("Fetching a picture by number comes with fetching from the camera");
  CloseButton = new QPushButton("Close");
  for (auto* b : {ShowButton, FetchButton, CloseButton}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  lay->addLayout(buttons);
  connect(ShowButton, &QPushButton::clicked, this, &Tshowpicnum::ShowOnCameraClick);
  connect(FetchButton, &QPushButton::clicked, this, &Tshowpicnum::FetchClick);
  connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

void Tshowpicnum::ShowOnCameraClick() {
  try {
    link_.SelectPicture(NumberEdit->value());
  } catch (const std::exception& e) {
    QMessageBox::critical(this, "Vantlo", QString::fromStdString(e.what()));
  }
}

void Tshowpicnum::SetFetch(std::function<void(int)> fetch) {
  fetch_ = std::move(fetch);
  FetchButton->setEnabled(static_cast<bool>(fetch_));
  FetchButton->setDefault(static_cast<bool>(fetch_));
  FetchButton->setToolTip({});
}

void Tshowpicnum::FetchClick() {
  if (!fetch_) return;
  const int n = NumberEdit->value();
  accept();
  fetch_(n);
}

}  // namespace vantlo
