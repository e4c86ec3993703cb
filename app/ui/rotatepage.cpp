#include "app/ui/rotatepage.h"

#include <QDialog>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui/browsepage.h"
#include "app/ui/form1.h"
#include "app/ui/pictureview.h"

namespace vantlo {

namespace {

// Removes the placeholder widgets a page was created with.
void EmptyLayout(QLayout* layout) {
  if (!layout) return;
  while (QLayoutItem* item = layout->takeAt(0)) {
    delete item->widget();
    if (QLayout* l = item->layout()) EmptyLayout(l);
    delete item;
  }
}

}  // namespace

trotatepage::trotatepage(TForm1& form, tpictureview& view, QWidget* page)
    : QObject(page), form_(form), view_(view), page_(page) {
  auto* lay = qobject_cast<QVBoxLayout*>(page->layout());
  if (!lay) {
    delete page->layout();
    lay = new QVBoxLayout(page);
  }
  EmptyLayout(lay);

  auto* fetched = new QGroupBox(" Fetched pictures ");
  auto* fl = new QVBoxLayout(fetched);
  const char* names[4] = {"Normal", "Rotated clockwise", "Upside down",
                          "Rotated counter-clockwise"};
  for (int i = 0; i < 4; ++i) {
    Orientation[i] = new QRadioButton(names[i]);
    Orientation[i]->setObjectName(QString("OrientationButton%1").arg(i));
    fl->addWidget(Orientation[i]);
    connect(Orientation[i], &QRadioButton::clicked, this,
            [this, i] { form_.Settings().ftp.SetOrientation(static_cast<torientation>(i)); });
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
  connect(SpeedButton5, &QPushButton::clicked, &view_, &tpictureview::RotateClockwise);
  connect(SpeedButton4, &QPushButton::clicked, &view_, &tpictureview::RotateCounterClockwise);
  lay->addWidget(turn);

  auto* define = new QGroupBox(" Define Orientation ");
  auto* dl = new QVBoxLayout(define);
  CurrentButton = new QPushButton("For Current Picture");
  CurrentButton->setObjectName("DefineCurrentButton");
  SelectedButton = new QPushButton("For Selected CAM Files");
  SelectedButton->setObjectName("DefineSelectedButton");
  dl->addWidget(CurrentButton);
  dl->addWidget(SelectedButton);
  connect(CurrentButton, &QPushButton::clicked, &view_, &tpictureview::DefineOrientationCurrent);
  connect(SelectedButton, &QPushButton::clicked, this, [this] {
    if (form_.Browser()) form_.Browser()->DefineOrientationSelected();
  });
  lay->addWidget(define);
  lay->addStretch();

  page->installEventFilter(this);
  Refresh();
}

void trotatepage::Refresh() {
  const int o = static_cast<int>(form_.Settings().ftp.Orientation());
  if (o >= 0 && o < 4) Orientation[o]->setChecked(true);
}

bool trotatepage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_ && event->type() == QEvent::Show) Refresh();
  return QObject::eventFilter(watched, event);
}

}  // namespace vantlo
