#include "app/ui/resizegroup.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/busyregister.h"
#include "app/ui/pictureview.h"
#include "app/ui/windowhost.h"

namespace vantlo {

tresizegroup::tresizegroup(twindowhost& host, std::function<int()> savingQuality)
    : QGroupBox(" Resize "), host_(host), savingQuality_(std::move(savingQuality)) {
  setObjectName("ResizeGroup");
  auto* gl = new QGridLayout(this);
  ComboBox6 = new QComboBox;
  ComboBox6->setObjectName("ComboBox6");
  ComboBox6->addItems({"Original", "Tiny (160 x 120)", "Small (320 x 240)", "Medium (480 x 360)",
                       "VGA (640 x 480)", "Large (1280 x 960)", "Half Size", "Quarter Size",
                       "Three-quarter", ""});
  ComboBox6->setCurrentIndex(0);
  Button9 = new QPushButton("Apply");
  Button9->setObjectName("Button9");
  OriginalSizeLabel = new QLabel;
  OriginalSizeLabel->setObjectName("OriginalSizeLabel");
  CurrentSizeLabel = new QLabel;
  CurrentSizeLabel->setObjectName("CurrentSizeLabel");
  gl->addWidget(ComboBox6, 0, 0);
  gl->addWidget(Button9, 0, 1);
  gl->addWidget(OriginalSizeLabel, 1, 0, 1, 2);
  gl->addWidget(CurrentSizeLabel, 2, 0, 1, 2);
  connect(Button9, &QPushButton::clicked, this, &tresizegroup::Button9Click);
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
      report = view.Document().ApplyResize(ComboBox6->currentIndex(), savingQuality_(),
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
