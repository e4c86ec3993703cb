#include "app/ui/usbautocapsettings.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>
#include <QVBoxLayout>

#include "app/core/cardfolders.h"

namespace vantlo {

namespace {

QString DriveText(int drive, const std::string& root) {
  QString text = QString::fromStdString(tcarddrives::LetterOf(drive) + "  " + root);
  const QString label = QStorageInfo(QString::fromStdString(root)).name();
  if (!label.isEmpty()) text += "  (" + label + ")";
  return text;
}

}  // namespace

Tusbautocapsettings::Tusbautocapsettings(QWidget* parent, std::string drivesFile)
    : QDialog(parent), drives_(std::move(drivesFile)) {
  setObjectName("Tusbautocapsettings");
  setWindowTitle("USB / Card Autocapture Settings");
  auto* main = new QVBoxLayout(this);

  auto* driveGroup = new QGroupBox(" USB / Card drive ");
  auto* driveRow = new QHBoxLayout(driveGroup);
  DriveBox = new QComboBox;
  DriveBox->setMinimumContentsLength(24);
  LocateButton = new QPushButton("Locate...");
  FolderButton = new QPushButton("Folder...");
  driveRow->addWidget(DriveBox, 1);
  driveRow->addWidget(LocateButton);
  driveRow->addWidget(FolderButton);
  main->addWidget(driveGroup);

  NamesGroup = new QGroupBox(" Filenames for saving pictures ");
  auto* names = new QGridLayout(NamesGroup);
  PrefixLabel = new QLabel("Prefix");
  PrefixEdit = new QLineEdit;
  PrefixRadio = new QRadioButton("NNN.jpg ");
  DateRadio = new QRadioButton("Date + NNN.jpg");
  OriginalRadio = new QRadioButton("Original filename");
  names->addWidget(PrefixLabel, 0, 0);
  names->addWidget(PrefixEdit, 0, 1);
  names->addWidget(PrefixRadio, 0, 2);
  names->addWidget(DateRadio, 1, 0, 1, 3);
  names->addWidget(OriginalRadio, 2, 0, 1, 3);
  main->addWidget(NamesGroup);

  auto* whereGroup = new QGroupBox(" Where to save pictures ");
  auto* where = new QGridLayout(whereGroup);
  FolderLabel = new QLabel;
  FolderLabel->setObjectName("FolderLabel");
  ChangeButton = new QPushButton("Change...");
  DailyBox = new QCheckBox("Create daily folder");
  where->addWidget(FolderLabel, 0, 0);
  where->addWidget(ChangeButton, 0, 1);
  where->addWidget(DailyBox, 1, 0, 1, 2);
  main->addWidget(whereGroup);

  auto* deleteGroup = new QGroupBox(" Delete pictures from camera / card after saving ");
  auto* deleteRow = new QHBoxLayout(deleteGroup);
  DeleteYes = new QRadioButton("Yes");
  DeleteNo = new QRadioButton("No");
  deleteRow->addWidget(DeleteYes);
  deleteRow->addWidget(DeleteNo);
  main->addWidget(deleteGroup);

  auto* whatGroup = new QGroupBox(" What to copy ");
  auto* whatRow = new QHBoxLayout(whatGroup);
  CompleteRadio = new QRadioButton("Copy complete card ");
  PicturesRadio = new QRadioButton("Only pictures");
  whatRow->addWidget(CompleteRadio);
  whatRow->addWidget(PicturesRadio);
  main->addWidget(whatGroup);

  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(ok, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(ok, &QDialogButtonBox::rejected, this, &QDialog::reject);
  main->addWidget(ok);

  connect(LocateButton, &QPushButton::clicked, this, [this] { LocateClick(); });
  connect(FolderButton, &QPushButton::clicked, this, &Tusbautocapsettings::AddFolderClick);
  connect(ChangeButton, &QPushButton::clicked, this, &Tusbautocapsettings::ChangeClick);
  connect(PicturesRadio, &QRadioButton::toggled, this, &Tusbautocapsettings::UpdateEnabled);
}

void Tusbautocapsettings::FillDrives() {
  DriveBox->clear();
  DriveBox->addItem(QString(), 0);  // not set up
  for (const auto& [drive, root] : drives_.Drives())
    DriveBox->addItem(DriveText(drive, root), drive);
}

void Tusbautocapsettings::SelectDrive(int drive) {
  int index = DriveBox->findData(drive);
  if (index < 0 && !drives_.RootOf(drive).empty()) {
    DriveBox->addItem(DriveText(drive, drives_.RootOf(drive)), drive);
    index = DriveBox->count() - 1;
  }
  DriveBox->setCurrentIndex(index < 0 ? 0 : index);
}

int Tusbautocapsettings::SelectedDrive() const { return DriveBox->currentData().toInt(); }

void Tusbautocapsettings::UpdateEnabled() {
  const bool pictures = PicturesRadio->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{NamesGroup, OriginalRadio, DateRadio,
                                                    PrefixRadio, PrefixEdit, PrefixLabel, DailyBox})
    w->setEnabled(pictures);
}

void Tusbautocapsettings::LoadFrom(const tautocapturerecord& record, const tconfigrecord& config) {
  FillDrives();
  SelectDrive(record.UsbDrive());
  PrefixEdit->setText(QString::fromStdString(record.NamePrefix()));
  if (record.KeepCardNames())
    OriginalRadio->setChecked(true);
  else
    (record.NameByPrefix() ? PrefixRadio : DateRadio)->setChecked(true);
  FolderLabel->setText(QString::fromStdString(config.SaveFolder()));
  DailyBox->setChecked(config.DailyFolder());
  (record.DeleteAfterCopying() ? DeleteYes : DeleteNo)->setChecked(true);
  (record.CopyCompleteCard() ? CompleteRadio : PicturesRadio)->setChecked(true);
  UpdateEnabled();
}

void Tusbautocapsettings::StoreInto(tautocapturerecord& record, tconfigrecord& config) {
  record.SetUsbDrive(SelectedDrive());
  record.SetNamePrefix(PrefixEdit->text().toStdString());
  record.SetKeepCardNames(OriginalRadio->isChecked());
  if (!OriginalRadio->isChecked()) record.SetNameByPrefix(PrefixRadio->isChecked());
  config.SetSaveFolder(FolderLabel->text().toStdString());
  config.SetDailyFolder(DailyBox->isChecked());
  record.SetDeleteAfterCopying(DeleteYes->isChecked());
  record.SetCopyCompleteCard(CompleteRadio->isChecked());
}

bool Tusbautocapsettings::Edit(tautocapturerecord& record, tconfigrecord& config) {
  drives_ = tcarddrives(drives_.File());
  record_ = record;
  config_ = config;
  LoadFrom(record_, config_);
  if (exec() != QDialog::Accepted) return false;
  StoreInto(record_, config_);
  record = record_;
  config = config_;
  drives_.Save();
  return true;
}

int Tusbautocapsettings::LocateClick() {
  if (QMessageBox::information(this, "Vantlo", kAskForCard,
                               QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
    return 0;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const auto card = ScanForCard(drives_.NamedFolders());
  QApplication::restoreOverrideCursor();
  const int drive = card ? drives_.DriveOf(card->root) : 0;
  if (drive > 0) {
    SelectDrive(drive);
    QMessageBox::information(
        this, "Vantlo", QString(kFoundOn) + QString::fromStdString(tcarddrives::LetterOf(drive)));
  } else {
    QMessageBox::information(this, "Vantlo", kNotFound);
  }
  return drive;
}

void Tusbautocapsettings::AddFolderClick() {
  const QString folder = QFileDialog::getExistingDirectory(this, "Vantlo");
  if (folder.isEmpty()) return;
  const int drive = drives_.DriveOf(folder.toStdString());
  if (drive > 0) SelectDrive(drive);
}

void Tusbautocapsettings::ChangeClick() {
  QString folder = QFileDialog::getExistingDirectory(this, "Vantlo", FolderLabel->text());
  if (folder.isEmpty()) return;
  if (!folder.endsWith('/')) folder += '/';
  FolderLabel->setText(folder);
}

}  // namespace vantlo
