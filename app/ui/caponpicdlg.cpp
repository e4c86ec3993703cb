#include "caponpicdlg.h"

#include <QButtonGroup>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/core/captiondraw.h"
#include "app/core/settingsrecords.h"
#include "output/drawhelpers.h"

namespace vantlo {

namespace {

struct tfield {
  const char* caption;
  const char* name;
};
constexpr tfield kFields[5] = {{"Short Date", "SHORTDATE"},
                               {"Long Date", "LONGDATE"},
                               {"Short Time", "SHORTTIME"},
                               {"Long Time", "LONGTIME"},
                               {"Pic Number", "PICNUM"}};

}  // namespace

Tcaponpicdlg::Tcaponpicdlg(const tcaptionrecord& record, QWidget* parent, tlocalclock clock)
    : QDialog(parent), record_(record), clock_(std::move(clock)) {
  setObjectName("caponpicdlg");
  setWindowTitle("Captions on Pictures");
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(
      new QLabel("Captions are written onto JPEGs when produced from camera images or CAM files"));

  auto* what = new QGroupBox(" What Caption to Write ");
  auto* wl = new QGridLayout(what);
  NoCaption = new QRadioButton("No Caption");
  Standard = new QRadioButton("Standard Picture Information");
  Custom = new QRadioButton("Custom Caption :");
  Prompt = new QRadioButton("Prompt each time");
  CustomEdit = new QLineEdit;
  CustomEdit->setMaxLength(255);
  wl->addWidget(NoCaption, 0, 0);
  wl->addWidget(Standard, 1, 0);
  wl->addWidget(Custom, 2, 0);
  wl->addWidget(CustomEdit, 2, 1, 1, 5);
  wl->addWidget(Prompt, 4, 0);
  AddFieldLabel = new QLabel("Add Field ==>");
  wl->addWidget(AddFieldLabel, 3, 0);
  const tfieldtexts texts = SystemFieldTexts(clock_());
  const std::string examples[5] = {texts.shortDate, texts.longDate, texts.shortTime, texts.longTime,
                                   "1"};
  for (int i = 0; i < 5; ++i) {
    FieldButtons[i] = new QPushButton(kFields[i].caption);
    if (i < 4) FieldButtons[i]->setToolTip("e.g. " + QString::fromStdString(examples[i]));
    wl->addWidget(FieldButtons[i], 3, i + 1);
    const char* name = kFields[i].name;
    connect(FieldButtons[i], &QPushButton::clicked, this, [this, name] { AddField(name); });
  }
  lay->addWidget(what);

  auto* look = new QGroupBox(" Caption Appearance ");
  auto* ll = new QGridLayout(look);
  FontButton = new QPushButton("Select Font");
  ll->addWidget(FontButton, 0, 0);
  ll->addWidget(new QLabel("Position :"), 1, 0);
  Top = new QRadioButton("Top");
  Bottom = new QRadioButton("Bottom");
  auto* vertical = new QButtonGroup(this);
  vertical->addButton(Top);
  vertical->addButton(Bottom);
  ll->addWidget(Top, 1, 1);
  ll->addWidget(Bottom, 1, 2);
  Left = new QRadioButton("Left");
  Centre = new QRadioButton("Center");
  Right = new QRadioButton("Right");
  auto* horizontal = new QButtonGroup(this);
  for (auto* b : {Left, Centre, Right}) horizontal->addButton(b);
  ll->addWidget(Left, 2, 1);
  ll->addWidget(Centre, 2, 2);
  ll->addWidget(Right, 2, 3);
  ll->addWidget(new QLabel("Background :"), 3, 0);
  Transparent = new QRadioButton("Transparent");
  Colour = new QRadioButton("Color");
  auto* background = new QButtonGroup(this);
  background->addButton(Transparent);
  background->addButton(Colour);
  ll->addWidget(Transparent, 3, 1);
  ll->addWidget(Colour, 3, 2);
  ColourButton = new QPushButton("Select Color");
  Swatch = new QLabel;
  Swatch->setFixedSize(15, 15);
  ll->addWidget(ColourButton, 4, 1);
  ll->addWidget(Swatch, 4, 2);
  lay->addWidget(look);

  auto* sample = new QGroupBox(" Sample Caption ");
  auto* sl = new QHBoxLayout(sample);
  PreviewButton = new QPushButton("Preview");
  SampleImage = new QLabel;
  SampleImage->setFixedSize(320, 60);
  sl->addWidget(PreviewButton);
  sl->addWidget(SampleImage, 1);
  lay->addWidget(sample);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  lay->addWidget(box);
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // The record into the controls.
  switch (record_.Mode()) {
    case tcaptionmode::Standard:
      Standard->setChecked(true);
      break;
    case tcaptionmode::Custom:
      Custom->setChecked(true);
      break;
    case tcaptionmode::Prompt:
      Prompt->setChecked(true);
      break;
    default:
      NoCaption->setChecked(true);
  }
  CustomEdit->setText(QString::fromStdString(record_.CustomText()));
  (record_.Bottom() ? Bottom : Top)->setChecked(true);
  switch (record_.Alignment()) {
    case tcaptionalign::Left:
      Left->setChecked(true);
      break;
    case tcaptionalign::Right:
      Right->setChecked(true);
      break;
    default:
      Centre->setChecked(true);
  }
  (record_.Transparent() ? Transparent : Colour)->setChecked(true);
  ShowSwatch();
  for (auto* r : {NoCaption, Standard, Custom, Prompt})
    connect(r, &QRadioButton::toggled, this, &Tcaponpicdlg::ModeClick);
  connect(FontButton, &QPushButton::clicked, this, &Tcaponpicdlg::SelectFontClick);
  connect(ColourButton, &QPushButton::clicked, this, &Tcaponpicdlg::SelectColorClick);
  connect(PreviewButton, &QPushButton::clicked, this, &Tcaponpicdlg::PreviewClick);
  ModeClick();
}

void Tcaponpicdlg::ModeClick() {
  const bool custom = Custom->isChecked();
  AddFieldLabel->setEnabled(custom);
  for (auto* b : FieldButtons) b->setEnabled(custom);
}

void Tcaponpicdlg::AddField(const char* name) {
  CustomEdit->setText(CustomEdit->text() + "<" + name + "> ");
}

void Tcaponpicdlg::ShowSwatch() {
  QPixmap p(15, 15);
  p.fill(ToQColor(record_.BackgroundColour()));
  Swatch->setPixmap(p);
}

void Tcaponpicdlg::SelectFontClick() {
  QFont start(QString::fromStdString(record_.FontName()), record_.FontSize());
  start.setBold(record_.FontStyle() & 1);
  start.setItalic(record_.FontStyle() & 2);
  start.setUnderline(record_.FontStyle() & 4);
  start.setStrikeOut(record_.FontStyle() & 8);
  bool ok = false;
  const QFont f = QFontDialog::getFont(&ok, start, this, "Select Font");
  if (!ok) return;
  record_.SetFontName(f.family().left(31).toStdString());
  if (f.pointSize() > 0) record_.SetFontSize(f.pointSize());
  record_.SetFontStyle(static_cast<std::uint8_t>((f.bold() ? 1 : 0) | (f.italic() ? 2 : 0) |
                                                 (f.underline() ? 4 : 0) |
                                                 (f.strikeOut() ? 8 : 0)));
  const QColor c = QColorDialog::getColor(ToQColor(record_.FontColour()), this, "Font Colour");
  if (c.isValid()) record_.SetFontColour(FromQColor(c));
}

void Tcaponpicdlg::SelectColorClick() {
  const QColor c = QColorDialog::getColor(ToQColor(record_.BackgroundColour()), this);
  if (!c.isValid()) return;
  record_.SetBackgroundColour(FromQColor(c));
  ShowSwatch();
}

tcaptionrecord Tcaponpicdlg::Record() const {
  tcaptionrecord r = record_;
  tcaptionmode mode = tcaptionmode::None;
  if (Standard->isChecked()) mode = tcaptionmode::Standard;
  if (Custom->isChecked()) mode = tcaptionmode::Custom;
  if (Prompt->isChecked()) mode = tcaptionmode::Prompt;
  r.SetMode(mode);
  r.SetCustomText(CustomEdit->text().toStdString());
  r.SetBottom(Bottom->isChecked());
  r.SetAlignment(Left->isChecked()    ? tcaptionalign::Left
                 : Right->isChecked() ? tcaptionalign::Right
                                      : tcaptionalign::Centre);
  r.SetTransparent(Transparent->isChecked());
  return r;
}

void Tcaponpicdlg::PreviewClick() {
  tbitmap sample(SampleImage->width(), SampleImage->height());
  for (auto& b : sample.Bytes()) b = 192;  // silver
  try {
    DrawCaptionSample(sample, CaptionSettingFrom(Record()), SystemFieldTexts(clock_()));
  } catch (const std::exception& e) {
    SampleImage->setToolTip(QString::fromStdString(e.what()));
  }
  SampleImage->setPixmap(QPixmap::fromImage(ImageFromBitmap(sample)));
}

}  // namespace vantlo
