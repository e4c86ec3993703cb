#include "app/ui/correctionpage.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <exception>

#include "picture/colourcorrection.h"
#include "picture/defringe.h"

namespace vantlo {

namespace {

// Restores the cursor however the work ends.
class tbusycursor {
 public:
  tbusycursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~tbusycursor() { QApplication::restoreOverrideCursor(); }
  tbusycursor(const tbusycursor&) = delete;
  tbusycursor& operator=(const tbusycursor&) = delete;
};

QPushButton* Button(const char* text, const char* name, const char* hint) {
  auto* b = new QPushButton(text);
  b->setObjectName(name);
  b->setToolTip(hint);
  return b;
}

}  // namespace

tcorrectionpage::tcorrectionpage(tcorrectionhost& host, QWidget* parent)
    : QWidget(parent), host_(host) {
  setObjectName("tabcorrection");
  auto* lay = new QVBoxLayout(this);

  auto* correct = new QGroupBox(" Casio Correction ");
  auto* cl = new QHBoxLayout(correct);
  Button15 =
      Button("AutoCorrect", "Button15", "Calculates Correction Factor and Applies Correction");
  Button16 =
      Button("Manual Correct", "Button16", "Apply Manual Correction using the value on the slider");
  cl->addWidget(Button15);
  cl->addWidget(Button16);
  lay->addWidget(correct);

  auto* expand = new QGroupBox(" Color Expand ");
  expand->setObjectName("ColorExpandGroup");
  auto* el = new QGridLayout(expand);
  TrackBar5 = new QSlider(Qt::Horizontal);
  TrackBar5->setObjectName("TrackBar5");
  TrackBar5->setRange(0, 50);
  TrackBar5->setValue(10);
  ExpandLabel = new QLabel;
  ExpandLabel->setObjectName("ExpandLabel");
  Button4 = Button("Apply", "Button4",
                   "Click processes current image. Shift-click reverts then applies.");
  el->addWidget(TrackBar5, 0, 0);
  el->addWidget(ExpandLabel, 0, 1);
  el->addWidget(Button4, 1, 0, 1, 2);
  lay->addWidget(expand);

  auto* defringe = new QGroupBox(" De-Fringe ");
  defringe->setObjectName("DeFringeGroup");
  auto* dl = new QHBoxLayout(defringe);
  VerticalButton = Button("Vertical", "VerticalButton", "Remove vertical fringes");
  HorizontalButton = Button("Horizontal", "HorizontalButton", "Remove horizontal fringes");
  dl->addWidget(VerticalButton);
  dl->addWidget(HorizontalButton);
  lay->addWidget(defringe);

  auto* saving = new QGroupBox(" Saving ");
  auto* sl = new QVBoxLayout(saving);
  QualityLabel = new QLabel;
  QualityLabel->setObjectName("QualityLabel");
  TrackBar12 = new QSlider(Qt::Horizontal);
  TrackBar12->setObjectName("TrackBar12");
  TrackBar12->setRange(0, 100);
  TrackBar12->setValue(80);
  TrackBar12->setToolTip("Sets the JPEG compression used when saving the file.");
  sl->addWidget(QualityLabel);
  sl->addWidget(TrackBar12);
  lay->addWidget(saving);
  lay->addStretch();

  connect(Button15, &QPushButton::clicked, this, &tcorrectionpage::Button15Click);
  connect(Button16, &QPushButton::clicked, this, &tcorrectionpage::Button16Click);
  connect(Button4, &QPushButton::clicked, this, [this] { Button4Click(shift_); });
  connect(VerticalButton, &QPushButton::clicked, this, [this] { DefringeClick(true, false); });
  connect(HorizontalButton, &QPushButton::clicked, this, [this] { DefringeClick(false, true); });
  connect(TrackBar5, &QSlider::valueChanged, this,
          [this](int v) { ExpandLabel->setText(QString::number(v)); });
  connect(TrackBar12, &QSlider::valueChanged, this, &tcorrectionpage::ShowQuality);
  Button4->installEventFilter(this);
  ExpandLabel->setText(QString::number(TrackBar5->value()));
  ShowQuality();
}

int tcorrectionpage::SavingQuality() const { return TrackBar12->value(); }

void tcorrectionpage::AddGroupOnTop(QWidget* group) {
  static_cast<QVBoxLayout*>(layout())->insertWidget(0, group);
}

void tcorrectionpage::ShowQuality() {
  QualityLabel->setText(QString("JPEG Quality %1 %").arg(TrackBar12->value()));
}

void tcorrectionpage::showEvent(QShowEvent* event) {
  ShowQuality();
  QWidget::showEvent(event);
}

bool tcorrectionpage::eventFilter(QObject* watched, QEvent* event) {
  // The Shift state on the button, from its mouse and key events.
  if (watched == Button4) {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
        shift_ = static_cast<QMouseEvent*>(event)->modifiers() & Qt::ShiftModifier;
        break;
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
        shift_ = static_cast<QKeyEvent*>(event)->modifiers() & Qt::ShiftModifier;
        break;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

bool tcorrectionpage::CanWork(const char* none, const char* movie) {
  if (!host_.HasPicture()) {
    host_.ShowMessage(none);
    return false;
  }
  if (host_.IsMovieFrame()) {
    host_.ShowMessage(movie);
    return false;
  }
  return true;
}

void tcorrectionpage::Button15Click() { Correct(true); }
void tcorrectionpage::Button16Click() { Correct(false); }

void tcorrectionpage::Correct(bool automatic) {
  host_.Status(automatic ? "Analysing Picture" : "Correcting");
  if (!CanWork("No Image to correct", "Can't correct a movie frame")) return;
  bool failed = false;
  {
    tbusycursor busy;
    tbitmap work;
    try {
      const tbitmap current = host_.PictureBitmap();
      if (current.Empty()) return;
      work = StartCorrection(host_.CorrectionState(), current, host_.QuarterTurns());
      int strength = host_.CorrectionStrength();
      if (automatic) {
        strength = StrengthFromContrast(MeasureContrast(work));
        host_.SetCorrectionStrength(strength);
      }
      ApplyCasioCorrection(work, strength,
                           [this](int p, const std::string& t) { host_.Progress(p, t); });
    } catch (const std::exception&) {
      failed = true;
    }
    // Whatever was corrected before a failure is kept; without pixels to
    // show the displayed picture stays as it was.
    if (!work.Empty()) {
      host_.ReplacePicture(work, true);
      host_.CorrectionState().Applied = true;
    }
  }
  if (failed) host_.ShowMessage("Unable to retouch this image");
  host_.Status("Ready");
}

void tcorrectionpage::Button4Click(bool shift) {
  if (!CanWork("No Image to correct", "Can't correct a movie frame")) return;
  std::string failure;
  {
    tbusycursor busy;
    try {
      // Shift-click starts again from the stored picture; when there is
      // none to redisplay the window has said so.
      if (shift && !host_.Redisplay()) return;
      tbitmap bitmap = host_.PictureBitmap();
      if (bitmap.Empty()) return;
      ExpandColourRange(bitmap, TrackBar5->value());
      host_.ReplacePicture(bitmap, true);
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  if (!failure.empty()) host_.ShowMessage(failure);
  host_.Status("Ready");
}

void tcorrectionpage::DefringeClick(bool vertical, bool horizontal) {
  if (!CanWork("No Image to de-fringe", "Can't de-fringe a movie frame")) return;
  std::string failure;
  {
    tbusycursor busy;
    try {
      tbitmap picture = host_.PictureBitmap();
      if (picture.Empty()) return;
      tbitmap result;
      DeFringe(picture, result, vertical, horizontal,
               [this](int p, const std::string& t) { host_.Progress(p, t); });
      host_.ReplacePicture(result, true);
    } catch (const std::exception& e) {
      // A picture the filter refuses stays as it was.
      failure = e.what();
    }
  }
  if (!failure.empty()) host_.ShowMessage(failure);
  host_.Status("Ready");
}

}  // namespace vantlo
