#include "app/ui/vantloadv.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStorageInfo>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "app/core/cardfolders.h"
#include "app/core/soundplayer.h"
#include "app/core/vantlomanager.h"

namespace vantlo {

namespace {

// The date box's format: the system's short date with a four-digit year, so a date typed back
// in reads as the same day.
QString DateFormat() {
  QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
  if (!format.contains("yyyy")) format.replace("yy", "yyyy");
  return format;
}

QDate ParseDate(const QString& text) {
  const QString t = text.trimmed();
  QDate d = QLocale::system().toDate(t, DateFormat());
  if (!d.isValid()) d = QDate::fromString(t, Qt::ISODate);
  return d;
}

QString DriveText(int drive, const std::string& root) {
  QString text = QString::fromStdString(tcarddrives::LetterOf(drive) + "  " + root);
  const QString label = QStorageInfo(QString::fromStdString(root)).name();
  if (!label.isEmpty()) text += "  (" + label + ")";
  return text;
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

std::string TimeOfDayText(double fraction) {
  long seconds = std::lround(fraction * 86400.0);
  seconds = ((seconds % 86400) + 86400) % 86400;
  char text[16];
  if (seconds % 60)
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
  else
    std::snprintf(text, sizeof text, "%02ld:%02ld", seconds / 3600, seconds / 60 % 60);
  return text;
}

Tvantloadv::Tvantloadv(QWidget* parent, tsoundplayer* player, std::string drivesFile)
    : QDialog(parent), player_(player), drives_(std::move(drivesFile)) {
  setObjectName("Tvantloadv");
  setWindowTitle("Advanced Vantlo Parameters");
  auto* main = new QVBoxLayout(this);
  auto* grid = new QGridLayout;
  main->addLayout(grid);
  int row = 0;

  grid->addWidget(new QLabel(" Take first picture at : "), row, 0);
  auto* firstRow = new QHBoxLayout;
  FirstTimeEdit = new QLineEdit;
  FirstTimeEdit->setObjectName("FirstTimeEdit");
  FirstDateEdit = new QLineEdit;
  FirstDateEdit->setObjectName("FirstDateEdit");
  NowButton = new QPushButton("Now");
  NowButton->setToolTip("Resets the time to the current time");
  firstRow->addWidget(FirstTimeEdit);
  firstRow->addWidget(FirstDateEdit);
  firstRow->addWidget(NowButton);
  grid->addLayout(firstRow, row++, 1);

  grid->addWidget(new QLabel(" Next picture number : "), row, 0);
  auto* counterRow = new QHBoxLayout;
  CounterBox = new QSpinBox;
  CounterBox->setObjectName("CounterBox");
  // The stored counter wraps from 9999 to 0, so every number up to 9999 is one it can hold.
  CounterBox->setRange(0, twebcamsettings::kCounterWrap - 1);
  ZeroButton = new QPushButton("Zero");
  ZeroButton->setToolTip("Zeroes the index");
  counterRow->addWidget(CounterBox);
  counterRow->addWidget(ZeroButton);
  counterRow->addStretch();
  grid->addLayout(counterRow, row++, 1);

  grid->addWidget(new QLabel(" Output File :"), row, 0);
  OutputFileEdit = new QLineEdit;
  OutputFileEdit->setObjectName("OutputFileEdit");
  grid->addWidget(OutputFileEdit, row++, 1);

  grid->addWidget(new QLabel(" Output Size :"), row, 0);
  OutputSizeBox = new QComboBox;
  OutputSizeBox->setObjectName("OutputSizeBox");
  for (const char* name : tautocapturerecord::kOutputSizeNames) OutputSizeBox->addItem(name);
  grid->addWidget(OutputSizeBox, row++, 1);

  grid->addWidget(new QLabel(" Before each cycle : "), row, 0);
  auto* soundRow = new QHBoxLayout;
  PlaySoundBox = new QCheckBox("Play Sound");
  SoundEdit = new QLineEdit;
  SoundEdit->setObjectName("SoundEdit");
  SoundBrowseButton = new QPushButton("Browse...");
  PreviewButton = new QPushButton("Preview");
  soundRow->addWidget(PlaySoundBox);
  soundRow->addWidget(SoundEdit, 1);
  soundRow->addWidget(SoundBrowseButton);
  soundRow->addWidget(PreviewButton);
  grid->addLayout(soundRow, row++, 1);

  grid->addWidget(new QLabel(" After each cycle : "), row, 0);
  auto* programRow = new QHBoxLayout;
  RunProgramBox = new QCheckBox("Run Program");
  RunProgramBox->setToolTip("Run a program, passing the picture filename as a parameter");
  ProgramEdit = new QLineEdit;
  ProgramEdit->setObjectName("ProgramEdit");
  ProgramBrowseButton = new QPushButton("Browse...");
  programRow->addWidget(RunProgramBox);
  programRow->addWidget(ProgramEdit, 1);
  programRow->addWidget(ProgramBrowseButton);
  grid->addLayout(programRow, row++, 1);

  auto* ftpRow = new QHBoxLayout;
  FtpBox = new QCheckBox("Send picture using FTP to remote host");
  FtpProgressBox = new QCheckBox("Show FTP Progress");
  InternetButton = new QPushButton("Internet Settings...");
  FirewallButton = new QPushButton("Firewall Settings...");
  ftpRow->addWidget(FtpBox);
  ftpRow->addWidget(FtpProgressBox);
  ftpRow->addWidget(InternetButton);
  ftpRow->addWidget(FirewallButton);
  grid->addLayout(ftpRow, row++, 0, 1, 2);

  auto* quietRow = new QHBoxLayout;
  QuietBox = new QCheckBox("Disable Vantlo between");
  QuietFromEdit = new QLineEdit;
  QuietFromEdit->setObjectName("QuietFromEdit");
  QuietToEdit = new QLineEdit;
  QuietToEdit->setObjectName("QuietToEdit");
  quietRow->addWidget(QuietBox);
  quietRow->addWidget(QuietFromEdit);
  quietRow->addWidget(new QLabel("and"));
  quietRow->addWidget(QuietToEdit);
  quietRow->addStretch();
  grid->addLayout(quietRow, row++, 0, 1, 2);

  auto* connection = new QGroupBox("Connection type :");
  connection->setToolTip("This depends on your camera model");
  auto* connectionBox = new QGridLayout(connection);
  SerialRadio = new QRadioButton("Serial");
  SerialRadio->setToolTip("For QV-10, 11, 30, 100, 200 and similar");
  UsbRadio = new QRadioButton("USB and Serial");
  UsbRadio->setToolTip("For QV-3000, QV-2300, QV-2800 only");
  SerialRadio->setChecked(true);
  DriveBox = new QComboBox;
  DriveBox->setObjectName("DriveBox");
  DriveBox->setMinimumContentsLength(24);
  LocateButton = new QPushButton("Locate...");
  connectionBox->addWidget(SerialRadio, 0, 0);
  connectionBox->addWidget(UsbRadio, 1, 0);
  connectionBox->addWidget(DriveBox, 1, 1);
  connectionBox->addWidget(LocateButton, 1, 2);
  main->addWidget(connection);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  main->addWidget(buttons);

  connect(FirstTimeEdit, &QLineEdit::textEdited, this, [this] { firstTimeEdited_ = true; });
  connect(FirstDateEdit, &QLineEdit::textEdited, this, [this] { firstTimeEdited_ = true; });
  connect(NowButton, &QPushButton::clicked, this, &Tvantloadv::NowClick);
  connect(ZeroButton, &QPushButton::clicked, this, &Tvantloadv::ZeroClick);
  connect(SoundBrowseButton, &QPushButton::clicked, this, &Tvantloadv::SoundBrowseClick);
  connect(PreviewButton, &QPushButton::clicked, this, &Tvantloadv::PreviewClick);
  connect(ProgramBrowseButton, &QPushButton::clicked, this, &Tvantloadv::ProgramBrowseClick);
  connect(LocateButton, &QPushButton::clicked, this, [this] { LocateClick(); });
  connect(InternetButton, &QPushButton::clicked, this, [this] {
    if (InternetSettings) InternetSettings();
  });
  connect(FirewallButton, &QPushButton::clicked, this, [this] {
    if (FirewallSettings) FirewallSettings();
  });
  connect(UsbRadio, &QRadioButton::toggled, this, &Tvantloadv::UpdateEnabled);
}

void Tvantloadv::UpdateEnabled() {
  const bool usb = UsbRadio->isChecked();
  DriveBox->setEnabled(usb);
  LocateButton->setEnabled(usb);
  InternetButton->setEnabled(static_cast<bool>(InternetSettings));
  FirewallButton->setEnabled(static_cast<bool>(FirewallSettings));
}

void Tvantloadv::FillDrives() {
  DriveBox->clear();
  DriveBox->addItem(QString(), 0);  // not set up
  for (const auto& [drive, root] : drives_.Drives())
    DriveBox->addItem(DriveText(drive, root), drive);
}

void Tvantloadv::SelectDrive(int drive) {
  int index = DriveBox->findData(drive);
  if (index < 0 && !drives_.RootOf(drive).empty()) {
    DriveBox->addItem(DriveText(drive, drives_.RootOf(drive)), drive);
    index = DriveBox->count() - 1;
  }
  DriveBox->setCurrentIndex(index < 0 ? 0 : index);
}

int Tvantloadv::SelectedDrive() const { return DriveBox->currentData().toInt(); }

void Tvantloadv::LoadFrom(const tsettingsrecords& records, const twebcamsettings& block) {
  // With no first picture time set the boxes show now.
  const tdatetime first =
      block.FirstPictureTime().IsZero() ? tdatetime::Now() : block.FirstPictureTime();
  const tcivildatetime c = first.ToCivil();
  FirstTimeEdit->setText(QString::fromStdString(TimeOfDayText(first.TimeOfDay())));
  FirstDateEdit->setText(QDate(c.year, c.month, c.day).toString(DateFormat()));
  firstTimeEdited_ = false;

  CounterBox->setValue(block.PictureCounter());
  OutputFileEdit->setText(QString::fromStdString(block.OutputFile()));
  OutputSizeBox->setCurrentIndex(records.autocapture.OutputSize());
  PlaySoundBox->setChecked(records.contact.PlaySound());
  SoundEdit->setText(QString::fromStdString(records.contact.SoundFile()));
  RunProgramBox->setChecked(block.RunProgram());
  ProgramEdit->setText(QString::fromStdString(block.Program()));
  FtpBox->setChecked(block.SendByFtp());
  FtpProgressBox->setChecked(records.ftp.ShowFtpProgress());
  QuietBox->setChecked(records.capdata.QuietPeriod());
  QuietFromEdit->setText(
      QString::fromStdString(TimeOfDayText(records.capdata.QuietStart().TimeOfDay())));
  QuietToEdit->setText(
      QString::fromStdString(TimeOfDayText(records.capdata.QuietEnd().TimeOfDay())));
  (records.capdata.UsbAndSerial() ? UsbRadio : SerialRadio)->setChecked(true);
  FillDrives();
  SelectDrive(records.autocapture.UsbDrive());
  UpdateEnabled();
}

tdatetime Tvantloadv::FirstPictureTimeOfBoxes() const {
  const auto time = ParseTimeOfDay(Text(FirstTimeEdit));
  const QDate date = ParseDate(FirstDateEdit->text());
  if (!time || !date.isValid()) return tdatetime();
  const tdatetime day = tdatetime::FromCivil(date.year(), date.month(), date.day());
  return tdatetime(day.Days() + *time);
}

void Tvantloadv::StoreInto(tsettingsrecords& records, twebcamsettings& block) {
  if (firstTimeEdited_) block.SetFirstPictureTime(FirstPictureTimeOfBoxes());
  block.SetPictureCounter(CounterBox->value());
  block.SetOutputFile(Text(OutputFileEdit));
  records.autocapture.SetOutputSize(OutputSizeBox->currentIndex());
  records.contact.SetPlaySound(PlaySoundBox->isChecked());
  records.contact.SetSoundFile(Text(SoundEdit));
  block.SetRunProgram(RunProgramBox->isChecked());
  block.SetProgram(Text(ProgramEdit));
  block.SetSendByFtp(FtpBox->isChecked());
  records.ftp.SetShowFtpProgress(FtpProgressBox->isChecked());
  records.capdata.SetQuietPeriod(QuietBox->isChecked());
  // A time that cannot be read keeps the stored one.
  if (const auto from = ParseTimeOfDay(Text(QuietFromEdit)))
    records.capdata.SetQuietStart(tdatetime(*from));
  if (const auto to = ParseTimeOfDay(Text(QuietToEdit)))
    records.capdata.SetQuietEnd(tdatetime(*to));
  records.capdata.SetUsbAndSerial(UsbRadio->isChecked());
  records.autocapture.SetUsbDrive(SelectedDrive());
}

bool Tvantloadv::Edit(tsettingsrecords& records, twebcamsettings& block) {
  drives_ = tcarddrives(drives_.File());
  LoadFrom(records, block);
  if (exec() != QDialog::Accepted) return false;
  // The Internet settings may have changed the records and the block while the dialog was
  // open: only the dialog's own fields are written over them.
  StoreInto(records, block);
  drives_.Save();
  return true;
}

void Tvantloadv::NowClick() {
  const tdatetime now = tdatetime::Now();
  const tcivildatetime c = now.ToCivil();
  FirstTimeEdit->setText(QString::fromStdString(TimeOfDayText(now.TimeOfDay())));
  FirstDateEdit->setText(QDate(c.year, c.month, c.day).toString(DateFormat()));
  firstTimeEdited_ = true;
}

void Tvantloadv::ZeroClick() { CounterBox->setValue(0); }

void Tvantloadv::SoundBrowseClick() {
  const QString start = SoundEdit->text();
  const QString file = QFileDialog::getOpenFileName(
      this, "Vantlo", start.isEmpty() ? QString() : QFileInfo(start).absolutePath(),
      "Sounds (*.wav)");
  if (!file.isEmpty()) SoundEdit->setText(file);
}

void Tvantloadv::PreviewClick() {
  const std::string file = Text(SoundEdit);
  if (file.empty() || !player_) return;
  PreviewButton->setEnabled(false);
  player_->PlayAndWait(file);
  PreviewButton->setEnabled(true);
}

void Tvantloadv::ProgramBrowseClick() {
  const QString start = ProgramEdit->text();
  // Linux programs seldom have an extension, so "All Files" is offered as well.
  const QString file = QFileDialog::getOpenFileName(
      this, "Vantlo", start.isEmpty() ? QString() : QFileInfo(start).absolutePath(),
      "All Programs (*.exe *.bat *.pif);;Batch Files (*.bat);;Program Info Files (*.pif);;"
      "Executables (*.exe);;All Files (*)");
  if (!file.isEmpty()) ProgramEdit->setText(file);
}

int Tvantloadv::LocateClick() {
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

}  // namespace vantlo
