#include "app/ui/preferencespage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace vantlo {

namespace {

QSlider* Slider(const char* name, int max, const char* hint) {
  auto* s = new QSlider(Qt::Horizontal);
  s->setObjectName(name);
  s->setRange(0, max);
  if (hint) s->setToolTip(hint);
  return s;
}

QLabel* Label(const char* name) {
  auto* l = new QLabel;
  l->setObjectName(name);
  l->setMinimumWidth(l->fontMetrics().horizontalAdvance("100 %"));
  return l;
}

}  // namespace

QString CorrectionStrengthText(int strength) { return QString("%1 %").arg(strength * 5); }

tpreferencespage::tpreferencespage(QWidget* parent) : QWidget(parent) {
  setObjectName("preferences");
  auto* lay = new QVBoxLayout(this);

  auto* jpeg = new QGroupBox(" JPEG ");
  auto* jl = new QGridLayout(jpeg);
  QualityBar = Slider("QualityBar", 100, "Sets the compression level for JPEGs");
  QualityBar->setValue(85);
  QualityLabel = Label("QualityLabel");
  ProgressiveBox = new QCheckBox("Progressive JPEG");
  ProgressiveBox->setObjectName("ProgressiveBox");
  jl->addWidget(new QLabel("Quality"), 0, 0);
  jl->addWidget(QualityBar, 0, 1);
  jl->addWidget(QualityLabel, 0, 2);
  jl->addWidget(ProgressiveBox, 1, 0, 1, 3);
  lay->addWidget(jpeg);

  auto* size = new QGroupBox(" Picture size ");
  auto* sl = new QVBoxLayout(size);
  ComboBox4 = new QComboBox;
  ComboBox4->setObjectName("ComboBox4");
  for (const char* name : tconfigrecord::kPictureSizeNames) ComboBox4->addItem(name);
  sl->addWidget(ComboBox4);
  lay->addWidget(size);

  auto* expand = new QGroupBox(" Color ");
  auto* el = new QGridLayout(expand);
  CheckBox3 = new QCheckBox("Color Range Expand");
  CheckBox3->setObjectName("CheckBox3");
  TrackBar1 = Slider("TrackBar1", tconfigrecord::kMaxExpand, "Expands the color dynamic range");
  ExpandLabel = Label("ExpandLabel");
  el->addWidget(CheckBox3, 0, 0, 1, 2);
  el->addWidget(TrackBar1, 1, 0);
  el->addWidget(ExpandLabel, 1, 1);
  lay->addWidget(expand);

  auto* correction = new QGroupBox("Default Casio Correction");
  correction->setObjectName("CorrectionGroup");
  auto* cl = new QGridLayout(correction);
  RadioButton9 = new QRadioButton("Auto");
  RadioButton9->setObjectName("RadioButton9");
  RadioButton9->setToolTip("Automatically correct CAM files");
  RadioButton10 = new QRadioButton("Manual");
  RadioButton10->setObjectName("RadioButton10");
  RadioButton10->setToolTip("Apply manual correction factor when displaying CAM files");
  RadioButton10->setChecked(true);
  RadioButton11 = new QRadioButton("Off");
  RadioButton11->setObjectName("RadioButton11");
  RadioButton11->setToolTip("No Correction");
  TrackBar8 = Slider("TrackBar8", textrarecord::kMaxColourFactor, nullptr);
  StrengthLabel = Label("StrengthLabel");
  cl->addWidget(RadioButton9, 0, 0);
  cl->addWidget(RadioButton10, 0, 1);
  cl->addWidget(RadioButton11, 0, 2);
  cl->addWidget(TrackBar8, 1, 0, 1, 2);
  cl->addWidget(StrengthLabel, 1, 2);
  lay->addWidget(correction);
  lay->addStretch();

  for (QSlider* s : {QualityBar, TrackBar1, TrackBar8})
    connect(s, &QSlider::valueChanged, this, &tpreferencespage::ShowLabels);
  connect(ComboBox4, &QComboBox::activated, this, &tpreferencespage::OutputSizeChanged);
  ShowLabels();
}

void tpreferencespage::ShowLabels() {
  QualityLabel->setText(QString::number(QualityBar->value()));
  ExpandLabel->setText(QString::number(TrackBar1->value()));
  StrengthLabel->setText(CorrectionStrengthText(TrackBar8->value()));
}

void tpreferencespage::ApplyFrom(const tsettingsrecords& r) {
  QualityBar->setValue(r.config.JpegQuality());
  ProgressiveBox->setChecked(r.config.ProgressiveJpeg());
  ComboBox4->setCurrentIndex(r.config.PictureSize());
  CheckBox3->setChecked(r.config.ColorRangeExpand());
  TrackBar1->setValue(r.config.ExpandAmount());
  switch (r.extra.ColourMode()) {
    case tcolourmode::Auto:
      RadioButton9->setChecked(true);
      break;
    case tcolourmode::Manual:
      RadioButton10->setChecked(true);
      break;
    case tcolourmode::Off:
      RadioButton11->setChecked(true);
      break;
  }
  TrackBar8->setValue(r.extra.ColourFactor());
  ShowLabels();
}

void tpreferencespage::ReadInto(tsettingsrecords& r) const {
  r.config.SetJpegQuality(std::max(QualityBar->value(), 1));
  r.config.SetProgressiveJpeg(ProgressiveBox->isChecked());
  r.config.SetPictureSize(ComboBox4->currentIndex());
  r.config.SetColorRangeExpand(CheckBox3->isChecked());
  r.config.SetExpandAmount(TrackBar1->value());
  r.extra.SetColourMode(RadioButton9->isChecked()    ? tcolourmode::Auto
                        : RadioButton10->isChecked() ? tcolourmode::Manual
                                                     : tcolourmode::Off);
  r.extra.SetColourFactor(TrackBar8->value());
}

int tpreferencespage::CorrectionStrength() const { return TrackBar8->value(); }

void tpreferencespage::SetCorrectionStrength(int strength) {
  TrackBar8->setValue(strength);
  ShowLabels();
}

}  // namespace vantlo
