#include "app/ui/autocapturesettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/core/soundplayer.h"

namespace vantlo {

namespace {

constexpr const char* kSoundCaptions[4] = {
    "Camera Connected...................", "All Pictures Captured................",
    "Camera Disconnected...............", "Error.........................................."};

QCheckBox* Box(const char* text, QLayout* into) {
  auto* box = new QCheckBox(text);
  into->addWidget(box);
  return box;
}

std::string Text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

Tautocapturesettings::Tautocapturesettings(QWidget* parent, tsoundplayer* player)
    : QDialog(parent), player_(player) {
  setObjectName("Tautocapturesettings");
  setWindowTitle("AutoCapture Settings for serial port captures");
  auto* main = new QVBoxLayout(this);

  auto* sounds = new QGroupBox("Sound  Alerts - Play a sound when autocapture events occur ");
  auto* grid = new QGridLayout(sounds);
  for (int k = 0; k < 4; ++k) {
    PlayBoxes[k] = new QCheckBox(kSoundCaptions[k]);
    SoundEdits[k] = new QLineEdit;
    BrowseButtons[k] = new QPushButton("Browse...");
    PreviewButtons[k] = new QPushButton("Preview");
    grid->addWidget(PlayBoxes[k], k, 0);
    grid->addWidget(SoundEdits[k], k, 1);
    grid->addWidget(BrowseButtons[k], k, 2);
    grid->addWidget(PreviewButtons[k], k, 3);
    connect(BrowseButtons[k], &QPushButton::clicked, this, [this, k] { BrowseClick(k); });
    connect(PreviewButtons[k], &QPushButton::clicked, this, [this, k] { PreviewClick(k); });
  }
  main->addWidget(sounds);

  auto* saving = new QGroupBox;
  auto* save = new QVBoxLayout(saving);
  auto* prefixRow = new QHBoxLayout;
  PrefixRadio = new QRadioButton("NNN.jpg ");
  PrefixEdit = new QLineEdit;
  prefixRow->addWidget(PrefixEdit);
  prefixRow->addWidget(PrefixRadio);
  save->addLayout(prefixRow);
  DateRadio = new QRadioButton("Date + NNN.jpg");
  save->addWidget(DateRadio);
  SeparateBox = Box("Save each picture in seperate file.......................", save);
  auto* singleRow = new QHBoxLayout;
  SingleFileBox = new QCheckBox("Copy to single output file (for WebCam)...............");
  SingleFileEdit = new QLineEdit;
  SizeBox = new QComboBox;
  for (const char* name : tautocapturerecord::kOutputSizeNames) SizeBox->addItem(name);
  singleRow->addWidget(SingleFileBox);
  singleRow->addWidget(SingleFileEdit);
  singleRow->addWidget(SizeBox);
  save->addLayout(singleRow);
  CamBox = Box("Save pictures in CAM format", save);
  SaveThumbnailBox = Box("Save Thumbnail", save);
  DeleteBox = Box("Delete Picture from Camera after Saving to Disk", save);
  FtpBox = Box("Send Picture using FTP to remote host", save);
  PrintBox = Box("Print Picture", save);
  StopWhenAllBox = Box("Stop when all pictures captured", save);
  RunAtStartBox = Box("Run AutoCapture when program starts", save);
  RunMinimizedBox = Box("Run minimized", save);
  main->addWidget(saving);

  auto* setups = new QHBoxLayout;
  InternetButton = new QPushButton("Internet Setup...");
  PrinterButton = new QPushButton("Printer Setup...");
  PageButton = new QPushButton("Page Setup...");
  for (QPushButton* b : {InternetButton, PrinterButton, PageButton}) setups->addWidget(b);
  connect(InternetButton, &QPushButton::clicked, this, [this] {
    if (InternetSetup) InternetSetup();
  });
  connect(PrinterButton, &QPushButton::clicked, this, [this] {
    if (PrinterSetup) PrinterSetup();
  });
  connect(PageButton, &QPushButton::clicked, this, [this] {
    if (PageSetup) PageSetup();
  });
  main->addLayout(setups);

  auto* ok = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(ok, &QDialogButtonBox::accepted, this, &Tautocapturesettings::accept);
  connect(ok, &QDialogButtonBox::rejected, this, &QDialog::reject);
  main->addWidget(ok);
}

void Tautocapturesettings::LoadFrom(const tautocapturerecord& r) {
  for (int k = 0; k < 4; ++k) {
    const auto which = static_cast<tautocapsound>(k);
    PlayBoxes[k]->setChecked(r.PlaySound(which));
    SoundEdits[k]->setText(QString::fromStdString(r.SoundFile(which)));
  }
  SaveThumbnailBox->setChecked(r.SaveThumbnail());
  DeleteBox->setChecked(r.DeleteAfterSaving());
  FtpBox->setChecked(r.SendByFtp());
  SingleFileEdit->setText(QString::fromStdString(r.SingleFileName()));
  SizeBox->setCurrentIndex(r.OutputSize());
  PrefixEdit->setText(QString::fromStdString(r.NamePrefix()));
  (r.NameByPrefix() ? PrefixRadio : DateRadio)->setChecked(true);
  SeparateBox->setChecked(r.SeparateFiles());
  SingleFileBox->setChecked(r.SingleFile());
  PrintBox->setChecked(r.PrintPicture());
  CamBox->setChecked(r.SaveCam());
  RunAtStartBox->setChecked(r.RunAtStart());
  RunMinimizedBox->setChecked(r.RunMinimized());
  StopWhenAllBox->setChecked(!r.KeepPolling());
}

void Tautocapturesettings::StoreInto(tautocapturerecord& r) const {
  for (int k = 0; k < 4; ++k) {
    const auto which = static_cast<tautocapsound>(k);
    r.SetPlaySound(which, PlayBoxes[k]->isChecked());
    r.SetSoundFile(which, Text(SoundEdits[k]));
  }
  r.SetSaveThumbnail(SaveThumbnailBox->isChecked());
  r.SetDeleteAfterSaving(DeleteBox->isChecked());
  r.SetSendByFtp(FtpBox->isChecked());
  r.SetSingleFileName(Text(SingleFileEdit));
  r.SetOutputSize(SizeBox->currentIndex());
  r.SetNamePrefix(Text(PrefixEdit));
  r.SetNameByPrefix(PrefixRadio->isChecked());
  r.SetSeparateFiles(SeparateBox->isChecked());
  r.SetSingleFile(SingleFileBox->isChecked());
  r.SetPrintPicture(PrintBox->isChecked());
  r.SetSaveCam(CamBox->isChecked());
  r.SetRunAtStart(RunAtStartBox->isChecked());
  r.SetRunMinimized(RunMinimizedBox->isChecked());
  r.SetKeepPolling(!StopWhenAllBox->isChecked());
}

bool Tautocapturesettings::Edit(tautocapturerecord& record) {
  copy_ = record;
  LoadFrom(copy_);
  InternetButton->setEnabled(static_cast<bool>(InternetSetup));
  PrinterButton->setEnabled(static_cast<bool>(PrinterSetup));
  PageButton->setEnabled(static_cast<bool>(PageSetup));
  if (exec() != QDialog::Accepted) return false;
  StoreInto(copy_);
  record = copy_;
  return true;
}

void Tautocapturesettings::accept() {
  if (!SeparateBox->isChecked() && !SingleFileBox->isChecked() && !CamBox->isChecked()) {
    if (QMessageBox::question(this, "Vantlo", kNothingSavedQuestion,
                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel) !=
        QMessageBox::Yes)
      return;  // the dialog stays open
  }
  QDialog::accept();
}

void Tautocapturesettings::BrowseClick(int sound) {
  const QString start = SoundEdits[sound]->text();
  const QString file = QFileDialog::getOpenFileName(
      this, "Vantlo", start.isEmpty() ? QString() : QFileInfo(start).absolutePath(),
      "WAV Files (*.wav)");
  if (!file.isEmpty()) SoundEdits[sound]->setText(file);
}

void Tautocapturesettings::PreviewClick(int sound) {
  const std::string file = Text(SoundEdits[sound]);
  if (file.empty() || !player_) return;
  PreviewButtons[sound]->setEnabled(false);
  player_->PlayAndWait(file);
  PreviewButtons[sound]->setEnabled(true);
}

}  // namespace vantlo
