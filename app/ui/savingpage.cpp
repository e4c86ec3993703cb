#include "savingpage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/core/naming.h"
#include "library/userfolders.h"

namespace vantlo {

tsavingpage::tsavingpage(QWidget* parent, tlocalclock clock)
    : QWidget(parent), clock_(std::move(clock)) {
  setObjectName("TabSheet5");
  auto* lay = new QVBoxLayout(this);

  auto* where = new QGroupBox("  Where to Save  ");
  auto* wl = new QHBoxLayout(where);
  FolderEdit = new QLineEdit;
  FolderEdit->setObjectName("FolderEdit");
  FolderEdit->setMaxLength(255);
  FolderEdit->setPlaceholderText(QString::fromStdString(UserPicturesFolder()));
  FolderButton = new QPushButton("Choose...");
  FolderButton->setObjectName("FolderButton");
  wl->addWidget(FolderEdit, 1);
  wl->addWidget(FolderButton);
  lay->addWidget(where);

  auto* naming = new QGroupBox("  File Names  ");
  auto* nl = new QVBoxLayout(naming);
  auto* radios = new QHBoxLayout;
  RadioButton1 = new QRadioButton("Date1");
  RadioButton1->setToolTip("ddMMMyy");
  RadioButton2 = new QRadioButton("Date2");
  RadioButton2->setToolTip("Use Casio style date (yymmdd)");
  RadioButton3 = new QRadioButton("Other");
  RadioButton3->setToolTip("Use the file prefix given below");
  for (auto* r : {RadioButton1, RadioButton2, RadioButton3}) radios->addWidget(r);
  RadioButton1->setChecked(true);
  nl->addLayout(radios);
  nl->addWidget(new QLabel("Filename Prefix"));
  Edit1 = new QLineEdit;
  Edit1->setObjectName("Edit1");
  nl->addWidget(Edit1);
  CheckBox17 = new QCheckBox("Create daily folder");
  CheckBox17->setToolTip("If checked, creates a new subdirectory for each day");
  nl->addWidget(CheckBox17);
  Label8 = new QLabel;
  Label8->setObjectName("Label8");
  nl->addWidget(Label8);
  lay->addWidget(naming);

  auto* autoSave = new QGroupBox("  Automatically Save  ");
  auto* al = new QVBoxLayout(autoSave);
  SaveJpegBox = new QCheckBox("Pictures in JPEG format");
  SaveCamBox = new QCheckBox("Pictures in CAM format");
  SaveThumbnailsBox = new QCheckBox("Thumbnails");
  SaveContactSheetsBox = new QCheckBox("Contact Sheets");
  for (auto* b : {SaveJpegBox, SaveCamBox, SaveThumbnailsBox, SaveContactSheetsBox}) {
    b->setChecked(true);
    al->addWidget(b);
  }
  lay->addWidget(autoSave);

  auto* confirm = new QGroupBox("  Confirm before :  ");
  auto* cl = new QVBoxLayout(confirm);
  ConfirmOverwriteBox = new QCheckBox("Overwriting file");
  ConfirmOverwriteBox->setChecked(true);
  cl->addWidget(ConfirmOverwriteBox);
  lay->addWidget(confirm);
  lay->addStretch(1);

  for (auto* r : {RadioButton1, RadioButton2, RadioButton3})
    connect(r, &QRadioButton::clicked, this, &tsavingpage::RadioButton1Click);
  connect(Edit1, &QLineEdit::textChanged, this, &tsavingpage::Edit1Change);
  connect(CheckBox17, &QCheckBox::toggled, this, &tsavingpage::Edit1Change);
  connect(FolderButton, &QPushButton::clicked, this, &tsavingpage::ChooseFolderClick);
  Edit1Change();
}

QString tsavingpage::DateText() const {
  return QString::fromStdString(
      vantlo::DateText(clock_(), date2_ ? tdatestyle::Date2 : tdatestyle::Date1));
}

void tsavingpage::RadioButton1Click() {
  if (RadioButton3->isChecked()) {
    Edit1->setEnabled(true);
  } else {
    date2_ = RadioButton2->isChecked();
    Edit1->setText(DateText());
    Edit1->setEnabled(false);
  }
  Edit1Change();
}

// The sample names the first picture as it is written: the daily folder and the file name in
// the lower case the naming routine writes them in, with "/" between.
void tsavingpage::Edit1Change() {
  std::string sample = "( ";
  if (CheckBox17->isChecked()) sample += DailyFolderName(DateText().toStdString()) + "/";
  sample += BuiltFileName(Edit1->text().toStdString(), 1, "jpg") + " )";
  Label8->setText(QString::fromStdString(sample));
}

void tsavingpage::ChooseFolderClick() {
  const QString chosen =
      QFileDialog::getExistingDirectory(this, "Where to Save", FolderEdit->text());
  if (!chosen.isEmpty()) FolderEdit->setText(chosen);
}

void tsavingpage::SetConfirmOverwrite(bool on) { ConfirmOverwriteBox->setChecked(on); }

void tsavingpage::SettingsChanged(const tsettingsrecords& r) {
  SetConfirmOverwrite(r.config.ConfirmOverwrite());
  FolderEdit->setText(QString::fromStdString(r.config.SaveFolder()));
}

void tsavingpage::ApplyFrom(const tsettingsrecords& r) {
  // An empty output folder is the user's Pictures folder: show it as such.
  const std::string folder = r.config.SaveFolder();
  FolderEdit->setText(QString::fromStdString(folder.empty() ? UserPicturesFolder() : folder));
  date2_ = r.extra.Date2Style();
  if (!r.config.NameByDate())
    RadioButton3->setChecked(true);
  else
    (date2_ ? RadioButton2 : RadioButton1)->setChecked(true);
  Edit1->setText(QString::fromStdString(r.config.Prefix()));
  Edit1->setEnabled(!r.config.NameByDate());
  if (r.config.NameByDate()) Edit1->setText(DateText());
  CheckBox17->setChecked(r.config.DailyFolder());
  SaveJpegBox->setChecked(r.config.SaveJpeg());
  SaveCamBox->setChecked(r.config.SaveCam());
  SaveThumbnailsBox->setChecked(r.config.SaveThumbnails());
  SaveContactSheetsBox->setChecked(r.config.SaveContactSheets());
  ConfirmOverwriteBox->setChecked(r.config.ConfirmOverwrite());
  Edit1Change();
}

void tsavingpage::ReadInto(tsettingsrecords& r) const {
  r.config.SetSaveFolder(FolderEdit->text().left(255).toStdString());
  r.config.SetNameByDate(!RadioButton3->isChecked());
  r.extra.SetDate2Style(date2_);
  r.config.SetPrefix(Edit1->text().left(10).toStdString());
  r.config.SetDailyFolder(CheckBox17->isChecked());
  r.config.SetSaveJpeg(SaveJpegBox->isChecked());
  r.config.SetSaveCam(SaveCamBox->isChecked());
  r.config.SetSaveThumbnails(SaveThumbnailsBox->isChecked());
  r.config.SetSaveContactSheets(SaveContactSheetsBox->isChecked());
  r.config.SetConfirmOverwrite(ConfirmOverwriteBox->isChecked());
}

}  // namespace vantlo
