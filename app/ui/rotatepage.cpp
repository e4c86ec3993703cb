#include "app/ui/rotatepage.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"
#include "library/records.h"

namespace vantlo {

trotatepage::trotatepage(twindowhost& host) : host_(host) {
  setObjectName("TabSheet9");
  auto* lay = new QVBoxLayout(this);

  auto* fetched = new QGroupBox(" Fetched pictures ");
  auto* fl = new QVBoxLayout(fetched);
  const char* names[4] = {"Normal", "Rotated clockwise", "Upside down",
                          "Rotated counter-clockwise"};
  for (int i = 0; i < 4; ++i) {
    Orientation[i] = new QRadioButton(names[i]);
    Orientation[i]->setObjectName(QString("OrientationButton%1").arg(i));
    fl->addWidget(Orientation[i]);
    connect(Orientation[i], &QRadioButton::clicked, this,
            [this, i] { host_.Settings().ftp.SetOrientation(static_cast<torientation>(i)); });
  }
  lay->addWidget(fetched);

  auto* turn = new QGroupBox(" Displayed picture ");
  auto* tl = new QVBoxLayout(turn);
  SpeedButton5 = new QPushButton("Rotate Clockwise");
  SpeedButton5->setObjectName("SpeedButton5");
  SpeedButton4 = new QPushButton("Rotate Counter-clockwise");
  SpeedButton4->setObjectName("SpeedButton4");
  tl->addWidget(SpeedButton5);
  tl->addWidget(SpeedButton4);
  connect(SpeedButton5, &QPushButton::clicked, this,
          [this] { host_.PictureView().RotateClockwise(); });
  connect(SpeedButton4, &QPushButton::clicked, this,
          [this] { host_.PictureView().RotateCounterClockwise(); });
  lay->addWidget(turn);

  auto* define = new QGroupBox(" Define Orientation ");
  auto* dl = new QVBoxLayout(define);
  CurrentButton = new QPushButton("For Current Picture");
  CurrentButton->setObjectName("DefineCurrentButton");
  SelectedButton = new QPushButton("For Selected CAM Files");
  SelectedButton->setObjectName("DefineSelectedButton");
  dl->addWidget(CurrentButton);
  dl->addWidget(SelectedButton);
  connect(CurrentButton, &QPushButton::clicked, this,
          [this] { host_.PictureView().DefineOrientationCurrent(); });
  connect(SelectedButton, &QPushButton::clicked, this, [this] {
    if (defineOrientationSelected) defineOrientationSelected();
  });
  lay->addWidget(define);
  lay->addStretch();

  Refresh();
}

void trotatepage::Refresh() {
  const int o = static_cast<int>(host_.Settings().ftp.Orientation());
  if (o >= 0 && o < 4) Orientation[o]->setChecked(true);
}

void trotatepage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Refresh();
}

}  // namespace vantlo
