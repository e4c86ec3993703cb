#include "app/ui/hostsetup.h"

#include <QButtonGroup>
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
#include <QVBoxLayout>

namespace vantlo {

namespace {

QLineEdit* Edit(const std::string& text, int max, bool masked = false) {
  auto* e = new QLineEdit(QString::fromStdString(text));
  e->setMaxLength(max);
  if (masked) e->setEchoMode(QLineEdit::Password);
  return e;
}

}  // namespace

THostsetup::THostsetup(thostsetuprecords records, tentrylister listEntries, QWidget* parent)
    : QDialog(parent),
      target_(records),
      webcam_(records.webcam),
      ftp_(records.ftp),
      extra_(records.extra),
      contact_(records.contact),
      listEntries_(std::move(listEntries)) {
  setObjectName("hostsetup");
  setWindowTitle("Internet Preferences");
  auto* lay = new QVBoxLayout(this);

  auto* connection = new QGroupBox(" Connection to the Internet ");
  auto* cg = new QGridLayout(connection);
  NetworkButton = new QRadioButton("Network Connection");
  DialUpButton = new QRadioButton("Dial-Up Connection using ");
  auto* kind = new QButtonGroup(this);
  kind->addButton(NetworkButton);
  kind->addButton(DialUpButton);
  EntryBox = new QComboBox;
  EntryBox->setMinimumWidth(180);
  DefaultIspUser = new QRadioButton("Use Default ISP Username");
  ThisUser = new QRadioButton("Use this Username");
  auto* account = new QButtonGroup(this);
  account->addButton(DefaultIspUser);
  account->addButton(ThisUser);
  DialUserEdit = Edit(ftp_.DialUser(), 32);
  DialPasswordEdit = Edit(ftp_.DialPassword(), 32, true);
  cg->addWidget(NetworkButton, 0, 0, 1, 3);
  cg->addWidget(DialUpButton, 1, 0);
  cg->addWidget(EntryBox, 1, 1, 1, 2);
  cg->addWidget(DefaultIspUser, 2, 0, 1, 3);
  cg->addWidget(ThisUser, 3, 0);
  cg->addWidget(DialUserEdit, 3, 1);
  cg->addWidget(new QLabel("and Password"), 3, 2);
  cg->addWidget(DialPasswordEdit, 3, 3);
  lay->addWidget(connection);

  auto* host = new QGroupBox(" Remote Host to send files to ");
  auto* hg = new QGridLayout(host);
  UseDetails = new QRadioButton("Use these details :");
  UseHostFile = new QRadioButton("Use Host Information File");
  auto* source = new QButtonGroup(this);
  source->addButton(UseDetails);
  source->addButton(UseHostFile);
  HostEdit = Edit(webcam_.RemoteHost(), 255);
  DirectoryEdit = Edit(webcam_.RemoteDirectory(), 255);
  UserEdit = Edit(webcam_.RemoteUser(), 255);
  PasswordEdit = Edit(webcam_.RemotePassword(), 40, true);
  const char* labels[4] = {"Hostname :", "Directory :", "Username :", "Password :"};
  QLineEdit* edits[4] = {HostEdit, DirectoryEdit, UserEdit, PasswordEdit};
  hg->addWidget(UseDetails, 0, 0, 1, 3);
  for (int i = 0; i < 4; ++i) {
    DetailLabels[i] = new QLabel(labels[i]);
    hg->addWidget(DetailLabels[i], i + 1, 0);
    hg->addWidget(edits[i], i + 1, 1, 1, 2);
  }
  HostFileEdit = Edit(extra_.HostInfoFile(), 255);
  BrowseButton = new QPushButton("Browse...");
  hg->addWidget(UseHostFile, 5, 0, 1, 3);
  hg->addWidget(HostFileEdit, 6, 0, 1, 2);
  hg->addWidget(BrowseButton, 6, 2);
  lay->addWidget(host);

  auto* progress = new QGroupBox(" FTP Progress ");
  auto* pg = new QVBoxLayout(progress);
  ShowProgress = new QCheckBox("Show FTP Progress");
  ShowProgress->setChecked(ftp_.ShowFtpProgress());
  pg->addWidget(ShowProgress);
  lay->addWidget(progress);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &THostsetup::OkClick);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  lay->addWidget(buttons);

  const bool dial = contact_.InternetConnection() != tcontactrecord::kNetworkConnection;
  (dial ? DialUpButton : NetworkButton)->setChecked(true);
  (extra_.UseThisUsername() ? ThisUser : DefaultIspUser)->setChecked(true);
  (contact_.UseHostInfoFile() ? UseHostFile : UseDetails)->setChecked(true);
  if (dial) LoadEntries();
  connect(DialUpButton, &QRadioButton::clicked, this, [this] { LoadEntries(); });
  for (QRadioButton* b :
       {NetworkButton, DialUpButton, DefaultIspUser, ThisUser, UseDetails, UseHostFile})
    connect(b, &QRadioButton::toggled, this, [this] { UpdateEnabled(); });
  connect(BrowseButton, &QPushButton::clicked, this, &THostsetup::BrowseClick);
  UpdateEnabled();
}

void THostsetup::LoadEntries() {
  if (entriesLoaded_ || !listEntries_) return;
  entriesLoaded_ = true;
  std::vector<std::string> names;
  try {
    names = listEntries_();
  } catch (const std::exception& e) {
    QMessageBox::warning(this, "Vantlo", QString::fromStdString(e.what()));
  }
  EntryBox->clear();
  for (const auto& n : names) EntryBox->addItem(QString::fromStdString(n));
  const int stored = contact_.InternetConnection();
  EntryBox->setCurrentIndex(stored >= 0 && stored < EntryBox->count() ? stored : -1);
}

void THostsetup::UpdateEnabled() {
  const bool dial = DialUpButton->isChecked();
  EntryBox->setEnabled(dial);
  DefaultIspUser->setEnabled(dial);
  ThisUser->setEnabled(dial);
  DialUserEdit->setEnabled(dial && ThisUser->isChecked());
  DialPasswordEdit->setEnabled(dial && ThisUser->isChecked());
  const bool file = UseHostFile->isChecked();
  for (QLabel* l : DetailLabels) l->setEnabled(!file);
  for (QLineEdit* e : {HostEdit, DirectoryEdit, UserEdit, PasswordEdit}) e->setEnabled(!file);
  HostFileEdit->setEnabled(file);
  BrowseButton->setEnabled(file);
}

void THostsetup::BrowseClick() {
  const QString path =
      QFileDialog::getOpenFileName(this, "Host Information File", HostFileEdit->text(),
                                   "Host Information Files (*.hif);;All Files (*)");
  if (!path.isEmpty()) HostFileEdit->setText(path);
}

void THostsetup::OkClick() {
  chosenEntry_.clear();
  if (DialUpButton->isChecked() && EntryBox->currentIndex() >= 0) {
    contact_.SetInternetConnection(EntryBox->currentIndex());
    chosenEntry_ = EntryBox->currentText().toStdString();
  } else {
    // A dial-up choice without an entry is the network.
    contact_.SetInternetConnection(tcontactrecord::kNetworkConnection);
  }
  extra_.SetUseThisUsername(ThisUser->isChecked());
  if (ThisUser->isChecked()) {
    ftp_.SetDialUser(DialUserEdit->text().toStdString());
    ftp_.SetDialPassword(DialPasswordEdit->text().toStdString());
  } else {
    ftp_.SetDialUser("");
    ftp_.SetDialPassword("");
  }
  webcam_.SetRemoteHost(HostEdit->text().trimmed().toStdString());
  webcam_.SetRemoteDirectory(DirectoryEdit->text().toStdString());
  webcam_.SetRemoteUser(UserEdit->text().toStdString());
  webcam_.SetRemotePassword(PasswordEdit->text().toStdString());
  contact_.SetUseHostInfoFile(UseHostFile->isChecked());
  extra_.SetHostInfoFile(HostFileEdit->text().toStdString());
  ftp_.SetShowFtpProgress(ShowProgress->isChecked());
  target_.webcam = webcam_;
  target_.ftp = ftp_;
  target_.extra = extra_;
  target_.contact = contact_;
  accept();
}

}  // namespace vantlo
