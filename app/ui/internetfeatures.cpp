#include "app/ui/internetfeatures.h"

#include <QMessageBox>

#include "app/ui/firewallcfg.h"
#include "app/ui/ftpprogress.h"
#include "app/ui/ftpsend.h"
#include "app/ui/hostsetup.h"

namespace vantlo {

tinternetfeatures::tinternetfeatures(QWidget* window, tsettingsrecords& records,
                                     twebcamsettings& webcam, tftpwindowview::thooks hooks,
                                     tdialupconnector::tmakebackend makeBackend)
    : window_(window), records_(records), webcam_(webcam), dialup_(std::move(makeBackend)) {
  progress_ = std::make_unique<TFTPprogress>(log_, window);
  view_ = std::make_unique<tftpwindowview>(window, *progress_, std::move(hooks));
  sender_ = std::make_unique<tftpsender>(*view_, log_, dialup_);
}

tinternetfeatures::~tinternetfeatures() {
  sender_.reset();
  view_.reset();
  progress_.reset();
}

tftpsender& tinternetfeatures::Sender() {
  tftpsettings s = FtpSettingsFrom(records_, webcam_);
  s.connectionName = entryName_;
  sender_->SetSettings(s);
  return *sender_;
}

HostInformation tinternetfeatures::StoredHostDetails() const {
  HostInformation h;
  h.HostName = webcam_.RemoteHost();
  h.UserName = webcam_.RemoteUser();
  h.Password = webcam_.RemotePassword();
  h.Directory = webcam_.RemoteDirectory();
  return h;
}

void tinternetfeatures::SendFiles(const std::vector<std::string>& files) {
  if (files.empty()) {
    QMessageBox::information(window_, "Vantlo", "No files are selected");
    return;
  }
  tftpsender& sender = Sender();
  if (!sender.Client()) return;
  HostInformation host;
  try {
    host = sender.HostDetails();
  } catch (const std::exception& e) {
    QMessageBox::critical(window_, "Vantlo", QString::fromStdString(e.what()));
    return;
  }
  Tftpsend dlg(sender, files, host, window_);
  dlg.OnInternetPreferences = [this]() -> std::optional<HostInformation> {
    InternetSettings();
    Sender();  // the changed settings apply to the next connection
    return StoredHostDetails();
  };
  dlg.exec();
}

bool tinternetfeatures::InternetSettings() {
  THostsetup dlg(
      {webcam_, records_.ftp, records_.extra, records_.contact},
      [this] { return dialup_.EntryNames(); }, window_);
  if (dlg.exec() != QDialog::Accepted) return false;
  entryName_ = dlg.ChosenEntryName();
  return true;
}

bool tinternetfeatures::FirewallParameters() {
  Tfirewallcfg dlg(records_.ftp, window_);
  return dlg.exec() == QDialog::Accepted;
}

tftpsendresult tinternetfeatures::SendPicture(const std::string& path, tftpsendkind kind) {
  return Sender().SendPictureByFtp(path, kind);
}

}  // namespace vantlo
