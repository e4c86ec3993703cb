#include "app/ui/resizegroup.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/busyregister.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"

namespace vantlo {

tresizegroup::tresizegroup(twindowhost& host, QWidget* page)
    : QObject(page), host_(host), page_(page) {
  auto* lay = qobject_cast<QVBoxLayout*>(page->layout());
  if (!lay) {
    delete page->layout();
    lay = new QVBoxLayout(page);
  }
  auto* group = new QGroupBox(" Resize ");
  group->setObjectName("ResizeGroup");
  auto* gl = new QGridLayout(group);
  ComboBox6 = new QComboBox;
  ComboBox6->setObjectName("ComboBox6");
  ComboBox6->addItems({"Original", "Tiny (160 x 120)", "Small (320 x 240)", "Medium (480 x 360)",
                       "VGA (640 x 480)", "Large (1280 x 960)", "Half Size", "Quarter Size",
                       "Three-quarter", ""});
  ComboBox6->setCurrentIndex(0);
  Button9 = new QPushButton("Apply");
  Button9->setObjectName("Button9");
  TrackBar12 = new QSlider(Qt::Horizontal);
  TrackBar12->setObjectName("TrackBar12");
  TrackBar12->setRange(0, 100);
  TrackBar12->setValue(80);
  TrackBar12->setToolTip("Sets the JPEG compression used when saving the file.");
  QualityLabel = new QLabel;
  QualityLabel->setObjectName("QualityLabel");
  OriginalSizeLabel = new QLabel;
  OriginalSizeLabel->setObjectName("OriginalSizeLabel");
  CurrentSizeLabel = new QLabel;
  CurrentSizeLabel->setObjectName("CurrentSizeLabel");
  gl->addWidget(ComboBox6, 0, 0);
  gl->addWidget(Button9, 0, 1);
  gl->addWidget(QualityLabel, 1, 0, 1, 2);
  gl->addWidget(TrackBar12, 2, 0, 1, 2);
  gl->addWidget(OriginalSizeLabel, 3, 0, 1, 2);
  gl->addWidget(CurrentSizeLabel, 4, 0, 1, 2);
  lay->insertWidget(0, group);
  connect(Button9, &QPushButton::clicked, this, &tresizegroup::Button9Click);
  connect(TrackBar12, &QSlider::valueChanged, this, &tresizegroup::ShowQuality);
  page->installEventFilter(this);
  ShowQuality();
}

int tresizegroup::SavingQuality() const { return TrackBar12->value(); }

void tresizegroup::ShowQuality() {
  QualityLabel->setText(QString("JPEG Quality %1 %").arg(TrackBar12->value()));
}

bool tresizegroup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == page_ && event->type() == QEvent::Show) ShowQuality();
  return QObject::eventFilter(watched, event);
}

void tresizegroup::Button9Click() {
  if (!host_.Busy().BusyControl(tbusyregister::kQuery)) return;
  tpictureview& view = host_.PictureView();
  if (!view.HasPicture()) {
    view.ShowMessage("No picture on display");
    return;
  }
  tresizereport report;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const int turns = view.Document().QuarterTurns();
    try {
      view.CopySettings();
      report = view.Document().ApplyResize(ComboBox6->currentIndex(), SavingQuality(),
                                           [&view] { return view.Redisplay(); });
    } catch (const std::exception& e) {
      view.Document().SetQuarterTurns(turns);
      QApplication::restoreOverrideCursor();
      view.Redraw();
      view.ShowMessage(e.what());
      return;
    }
    QApplication::restoreOverrideCursor();
  }
  view.Redraw();
  OriginalSizeLabel->setText(QString::fromStdString(report.OriginalText()));
  CurrentSizeLabel->setText(QString::fromStdString(report.CurrentText()));
}

}  // namespace vantlo
