#include "app/ui/ftpsend.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "internet/ftpsender.h"
#include "internet/ftpurl.h"

namespace vantlo {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

Tftpsend::Tftpsend(tftpsender& sender, std::vector<std::string> files, const HostInformation& host,
                   QWidget* parent)
    : QDialog(parent), sender_(sender), files_(std::move(files)) {
  setObjectName("ftpsend");
  setWindowTitle("Send Using FTP");
  auto* lay = new QVBoxLayout(this);

  auto* hostGroup = new QGroupBox(" Remote Host ");
  auto* hg = new QGridLayout(hostGroup);
  HostEdit = new QLineEdit;
  UserEdit = new QLineEdit;
  PasswordEdit = new QLineEdit;
  PasswordEdit->setEchoMode(QLineEdit::Password);
  DirectoryEdit = new QLineEdit;
  const std::pair<const char*, QLineEdit*> rows[] = {{"Host :", HostEdit},
                                                     {"Username :", UserEdit},
                                                     {"Password :", PasswordEdit},
                                                     {"Directory :", DirectoryEdit}};
  int r = 0;
  for (const auto& [label, edit] : rows) {
    hg->addWidget(new QLabel(label), r, 0);
    hg->addWidget(edit, r++, 1);
  }
  PreferencesButton = new QPushButton("Internet Preferences...");
  hg->addWidget(PreferencesButton, r, 1, Qt::AlignRight);
  lay->addWidget(hostGroup);

  FileGroup = new QGroupBox;
  auto* fg = new QGridLayout(FileGroup);
  LocalFileLabel = new QLabel;
  LocalFileLabel->setObjectName("LocalFileLabel");
  RemoteFileEdit = new QLineEdit;
  fg->addWidget(new QLabel("Local File :"), 0, 0);
  fg->addWidget(LocalFileLabel, 0, 1);
  fg->addWidget(new QLabel("Remote File :"), 1, 0);
  fg->addWidget(RemoteFileEdit, 1, 1);
  lay->addWidget(FileGroup);

  UrlLabel = new QLabel;
  UrlLabel->setObjectName("UrlLabel");
  StatusLabel = new QLabel;
  StatusLabel->setObjectName("StatusLabel");
  lay->addWidget(UrlLabel);
  lay->addWidget(StatusLabel);

  auto* buttons = new QHBoxLayout;
  SendThisButton = new QPushButton("Send This File");
  SkipButton = new QPushButton("Skip This File");
  SendAllButton = new QPushButton("Send All Files");
  CancelButton = new QPushButton("Close");
  for (QPushButton* b : {SendThisButton, SkipButton, SendAllButton, CancelButton}) {
    b->setAutoDefault(false);
    buttons->addWidget(b);
  }
  lay->addLayout(buttons);

  stopTimer_ = new QTimer(this);
  stopTimer_->setInterval(kStopPollMs);
  connect(stopTimer_, &QTimer::timeout, this, &Tftpsend::StopPoll);
  connect(SendThisButton, &QPushButton::clicked, this, &Tftpsend::SendThisFileClick);
  connect(SkipButton, &QPushButton::clicked, this, &Tftpsend::SkipThisFileClick);
  connect(SendAllButton, &QPushButton::clicked, this, &Tftpsend::SendAllFilesClick);
  connect(CancelButton, &QPushButton::clicked, this, &Tftpsend::CancelClick);
  connect(PreferencesButton, &QPushButton::clicked, this, &Tftpsend::InternetPreferencesClick);

  if (!host.HostName.empty()) FillHost(host);
  ShowCurrent();
}

void Tftpsend::FillHost(const HostInformation& host) {
  HostEdit->setText(Q(host.HostName));
  UserEdit->setText(Q(host.UserName));
  PasswordEdit->setText(Q(host.Password));
  DirectoryEdit->setText(Q(host.Directory));
}

void Tftpsend::ShowCurrent() {
  const int count = static_cast<int>(files_.size());
  const bool more = current_ < count;
  if (files_.empty()) {
    FileGroup->setTitle(" There are no files to send ");
    StatusLabel->setText("There are no files to send");
  } else if (more) {
    FileGroup->setTitle(" File #" + QString::number(current_ + 1) + " of " +
                        QString::number(count) + " to send ");
  } else {
    FileGroup->setTitle(" All files sent ");
    StatusLabel->setText("All files sent");
  }
  if (shown_ != current_) {
    // A new file: its names. The remote name stays as edited until then.
    shown_ = current_;
    LocalFileLabel->setText(more ? Q(files_[current_]) : QString());
    RemoteFileEdit->setText(more ? Q(RemoteLeafName(files_[current_])) : QString());
  }
  RemoteFileEdit->setEnabled(more && !sending_);
  for (QPushButton* b : {SendThisButton, SkipButton, SendAllButton})
    b->setEnabled(more && !sending_);
}

void Tftpsend::SetSending(bool sending) {
  sending_ = sending;
  CancelButton->setText(sending ? "Stop FTP" : "Close");
  PreferencesButton->setEnabled(!sending);
  for (QLineEdit* e : {HostEdit, UserEdit, PasswordEdit, DirectoryEdit}) e->setEnabled(!sending);
  ShowCurrent();
}

Tftpsend::tsent Tftpsend::SendOne() {
  const std::string local = files_[current_];
  const std::string remote = RemoteLeafName(RemoteFileEdit->text().toStdString());
  const std::string host = HostEdit->text().trimmed().toStdString();
  const std::string dir = DirectoryEdit->text().toStdString();
  UrlLabel->setText(Q(DisplayUrl(host, dir, remote)) + ";TYPE=I");
  StatusLabel->setText("Sending file " + Q(local));
  if (!sender_.Connected()) {
    // Also after a dropped connection: the next file opens a new one.
    try {
      const bool in = sender_.ConnectFtp(host, UserEdit->text().toStdString(), dir,
                                         PasswordEdit->text().toStdString());
      connectedHere_ = true;
      if (!in) return tsent::NoConnection;
    } catch (const std::exception& e) {
      connectedHere_ = true;  // a dial-up may be up: closing the dialog hangs up
      if (!stopped_) QMessageBox::critical(this, "Vantlo", Q(e.what()));
      StatusLabel->setText(Q(e.what()));
      return tsent::NoConnection;
    }
  }
  if (stopped_) return tsent::Failed;
  const bool ok = sender_.PutFile(local, remote);
  if (ok) {
    sent_.push_back(local);
    StatusLabel->setText("Sent " + Q(local));
    return tsent::Sent;
  }
  failed_.push_back(local);
  StatusLabel->setText(stopped_ ? "FTP stopped" : "Error sending " + Q(local));
  return tsent::Failed;
}

void Tftpsend::SendThisFileClick() {
  if (sending_ || current_ >= static_cast<int>(files_.size())) return;
  stopped_ = false;
  SetSending(true);
  const tsent result = SendOne();
  if (!stopped_ && result != tsent::NoConnection) ++current_;
  SetSending(false);
  if (closeRequested_) done(QDialog::Rejected);
}

void Tftpsend::SkipThisFileClick() {
  if (sending_ || current_ >= static_cast<int>(files_.size())) return;
  ++current_;
  ShowCurrent();
}

void Tftpsend::SendAllFilesClick() {
  if (sending_) return;
  stopped_ = false;
  SetSending(true);
  while (current_ < static_cast<int>(files_.size()) && !stopped_) {
    // A connection that cannot be made ends the run; a file that fails does not.
    if (SendOne() == tsent::NoConnection || stopped_) break;
    ++current_;
    ShowCurrent();
  }
  SetSending(false);
  if (closeRequested_) done(QDialog::Rejected);
}

void Tftpsend::CancelClick() {
  if (!sending_) {
    reject();
    return;
  }
  // This runs inside the transfer's own event processing, so it must not
  // wait here: the transfer stops at its next progress call, and the poll
  // below drops the connection if it has not ended after a few seconds.
  stopped_ = true;
  sender_.Cancel();
  stopPolls_ = 0;
  stopTimer_->start();
}

void Tftpsend::StopPoll() {
  if (!sender_.Busy()) {
    stopTimer_->stop();
    return;
  }
  if (++stopPolls_ >= kStopPolls) {
    stopTimer_->stop();
    sender_.Drop();
  }
}

void Tftpsend::InternetPreferencesClick() {
  if (sending_ || !OnInternetPreferences) return;
  if (auto host = OnInternetPreferences()) FillHost(*host);
}

void Tftpsend::done(int result) {
  if (sending_) {
    // Closing while a file goes out: stop it and close when it has ended.
    closeRequested_ = true;
    CancelClick();
    return;
  }
  stopTimer_->stop();
  if (connectedHere_) {
    sender_.DisconnectFtp();
    connectedHere_ = false;
  }
  QDialog::done(result);
}

}  // namespace vantlo
