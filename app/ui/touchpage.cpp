#include "app/ui/touchpage.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "output/drawhelpers.h"
#include "picture/retoucher.h"

namespace vantlo {

namespace {

constexpr std::array<ttouchslider, 6> kSliders = {ttouchslider::Brightness, ttouchslider::Contrast,
                                                  ttouchslider::Sharpness,  ttouchslider::Red,
                                                  ttouchslider::Green,      ttouchslider::Blue};
constexpr std::array<const char*, 6> kTitles = {"Brightness",       "Contrast",
                                                "Blur/Sharpen",     "Red Saturation",
                                                "Green Saturation", "Blue Saturation"};
constexpr std::array<const char*, 6> kNames = {"Brightness", "Contrast", "Sharpness",
                                               "Red",        "Green",    "Blue"};

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

ttouchpage::ttouchpage(tretoucher& retoucher, ttouchhost& host, QWidget* parent)
    : QWidget(parent), retoucher_(retoucher), host_(host), sliders_(retoucher) {
  setObjectName("TabSheet10");
  auto* lay = new QVBoxLayout(this);
  Image1 = new QLabel;
  Image1->setObjectName("Image1");
  Image1->setFixedSize(tretoucher::kPreviewWidth, tretoucher::kPreviewHeight);
  Image1->setToolTip("Click main picture to select area");
  Image1->setFrameShape(QFrame::Box);
  lay->addWidget(Image1, 0, Qt::AlignHCenter);

  auto* grid = new QGridLayout;
  for (int i = 0; i < 6; ++i) {
    Sliders[i] = new QSlider(Qt::Horizontal);
    Sliders[i]->setObjectName(QString(kNames[i]) + "Bar");
    Sliders[i]->setRange(kTouchSliderMin, kTouchSliderMax);
    Sliders[i]->setValue(0);
    SliderLabels[i] = new QLabel("0");
    SliderLabels[i]->setObjectName(QString(kNames[i]) + "Label");
    SliderLabels[i]->setMinimumWidth(SliderLabels[i]->fontMetrics().horizontalAdvance("-100"));
    grid->addWidget(new QLabel(kTitles[i]), 2 * i, 0, 1, 2);
    grid->addWidget(Sliders[i], 2 * i + 1, 0);
    grid->addWidget(SliderLabels[i], 2 * i + 1, 1);
    connect(Sliders[i], &QSlider::valueChanged, this, [this, i](int v) { SliderMoved(i, v); });
  }
  lay->addLayout(grid);
  LockBox = new QCheckBox("Lock Color Sliders");
  LockBox->setObjectName("LockBox");
  LockBox->setChecked(true);
  lay->addWidget(LockBox);

  auto* buttons = new QGridLayout;
  ApplyButton = Button("Apply", "ApplyButton", "Apply the changes to the main image");
  UndoButton = Button("Undo", "UndoButton", "Undoes the last change");
  ZeroAllButton = Button("Zero All", "ZeroAllButton", "Sets all the sliders to zero");
  RevertButton = Button("Revert", "RevertButton", "Reverts to original image");
  buttons->addWidget(ApplyButton, 0, 0);
  buttons->addWidget(UndoButton, 0, 1);
  buttons->addWidget(ZeroAllButton, 1, 0);
  buttons->addWidget(RevertButton, 1, 1);
  lay->addLayout(buttons);
  lay->addStretch();

  connect(LockBox, &QCheckBox::clicked, this, &ttouchpage::LockClick);
  connect(ApplyButton, &QPushButton::clicked, this, &ttouchpage::ApplyClick);
  connect(UndoButton, &QPushButton::clicked, this, &ttouchpage::UndoClick);
  connect(ZeroAllButton, &QPushButton::clicked, this, &ttouchpage::ZeroAllClick);
  connect(RevertButton, &QPushButton::clicked, this, &ttouchpage::RevertClick);

  retoucher_.SetPreviewControl(
      [this](const tbitmap& b) { Image1->setPixmap(QPixmap::fromImage(ImageFromBitmap(b))); });
  retoucher_.SetStatusCallback([this](int p, const std::string& t) { host_.Progress(p, t); });
  UpdateUndoButton();
}

void ttouchpage::SliderMoved(int index, int value) {
  SliderLabels[index]->setText(QString::number(value));
  if (showing_) return;
  sliders_.Move(kSliders[index], value);
  ShowPositions();  // the lock may have moved the other colour sliders
}

void ttouchpage::ShowPositions() {
  showing_ = true;
  for (int i = 0; i < 6; ++i) {
    const int v = sliders_.Positions()[kSliders[i]];
    Sliders[i]->setValue(v);
    SliderLabels[i]->setText(QString::number(v));
  }
  showing_ = false;
}

void ttouchpage::LockClick() {
  sliders_.SetLocked(LockBox->isChecked());
  ShowPositions();
}

void ttouchpage::UpdateUndoButton() { UndoButton->setEnabled(retoucher_.UndoAvailable()); }

bool ttouchpage::LoadDisplayed(bool keep) {
  try {
    retoucher_.LoadPicture(host_.PictureBitmap(), keep);
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

void ttouchpage::ChooseArea(const QPoint& topLeft, const tretouchrect& area) {
  const QSize d = host_.DisplaySize();
  topLeft_ = QPoint(std::max(topLeft.x(), 0), std::max(topLeft.y(), 0));
  areaChosen_ = true;
  try {
    retoucher_.SetPreviewArea(area, {0, 0, d.width(), d.height()});
  } catch (const std::exception& e) {
    host_.ShowMessage(e.what());
  }
}

void ttouchpage::PictureDisplayed() {
  areaChosen_ = false;
  if (host_.HasPicture() && !host_.IsMovieFrame()) {
    const QSize d = host_.DisplaySize();
    const bool keep = d == lastDisplay_;
    lastDisplay_ = d;
    LoadDisplayed(keep);
    if (isVisible()) Enter();
  }
  UpdateUndoButton();
}

void ttouchpage::Enter() {
  if (!host_.HasPicture() || host_.IsMovieFrame()) return;
  const QSize d = host_.DisplaySize();
  if (!areaChosen_ || !retoucher_.HasPicture()) {
    if (!LoadDisplayed(false)) return;
    const tretouchrect c = CentredPreviewArea(d.width(), d.height());
    topLeft_ = QPoint(c.Left, c.Top);
  }
  ChooseArea(topLeft_,
             {topLeft_.x(), topLeft_.y(), tretoucher::kPreviewWidth, tretoucher::kPreviewHeight});
  UpdateUndoButton();
}

void ttouchpage::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  Enter();
}

void ttouchpage::PictureClicked(const QPoint& point) {
  if (!host_.HasPicture() || host_.IsMovieFrame()) return;
  if (!retoucher_.HasPicture() && !LoadDisplayed(false)) return;
  const QSize d = host_.DisplaySize();
  ChooseArea(point - QPoint(tretoucher::kPreviewWidth / 2, tretoucher::kPreviewHeight / 2),
             PreviewAreaAt(point.x(), point.y(), d.width(), d.height()));
}

void ttouchpage::ApplyClick() {
  if (!host_.HasPicture()) {
    host_.ShowMessage("No Image to retouch");
    return;
  }
  if (host_.IsMovieFrame()) {
    host_.ShowMessage("Can't retouch a movie frame");
    return;
  }
  applied_ = sliders_.Positions();
  tbitmap bitmap;
  try {
    bitmap = host_.PictureBitmap();
  } catch (const std::exception&) {
    // Nothing to work on: the picture on display stays as it is.
    host_.ShowMessage("Unable to retouch this image");
    return;
  }
  if (bitmap.Empty()) return;
  std::string failure;
  {
    tbusycursor busy;
    host_.Progress(2, "Processing");
    try {
      if (!retoucher_.HasPicture()) retoucher_.LoadPicture(bitmap, false);
      retoucher_.ApplyTo(bitmap);
      host_.ReplacePicture(bitmap, false);
    } catch (const std::exception& e) {
      failure = e.what();
    }
  }
  UpdateUndoButton();
  if (!failure.empty()) host_.ShowMessage(failure);
  host_.Status("Ready");
}

void ttouchpage::UndoClick() {
  tbitmap bitmap;
  try {
    retoucher_.Undo(bitmap);
  } catch (const std::exception& e) {
    UpdateUndoButton();
    host_.ShowMessage(e.what());
    return;
  }
  host_.ReplacePicture(bitmap, false);
  UpdateUndoButton();
}

void ttouchpage::ZeroAllClick() {
  sliders_.ZeroAll();
  ShowPositions();
  UpdateUndoButton();
}

void ttouchpage::RevertClick() {
  if (!retoucher_.HasBasePicture()) return;
  tbitmap bitmap;
  retoucher_.Revert(bitmap);
  // Shown in the ordinary way: the display hook reloads the retoucher,
  // which drops the undo.
  host_.ReplacePicture(bitmap, true);
  UpdateUndoButton();
}

}  // namespace vantlo
