// The Internet features of the window in one place: the progress log and its
// window, dial-up, the sender, and the commands that open the FTP dialogs.
// The window makes one on first need and hands it its records and hooks;
// AutoCapture, webcam mode and the slide show send through SendPicture.
#pragma once

#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/ftpwindowview.h"
#include "internet/dialupconnect.h"
#include "internet/ftplog.h"
#include "internet/ftpsender.h"
#include "library/records.h"

class QWidget;

namespace vantlo {

class TFTPprogress;

class tinternetfeatures {
 public:
  tinternetfeatures(QWidget* window, tsettingsrecords& records, twebcamsettings& webcam,
                    tftpwindowview::thooks hooks,
                    tdialupconnector::tmakebackend makeBackend = MakeNetworkManagerBackend);
  ~tinternetfeatures();

  // The sender with the current settings.
  tftpsender& Sender();

  // "Send Selected Files using FTP...": the caller has checked the busy
  // register ("Vantlo is busy"). No files: "No files are selected".
  void SendFiles(const std::vector<std::string>& files);
  // "Internet Settings...": true when OK was pressed.
  bool InternetSettings();
  // "Firewall Parameters": true when OK was pressed.
  bool FirewallParameters();
  // One picture, as AutoCapture, webcam mode and the slide show send it.
  tftpsendresult SendPicture(const std::string& path, tftpsendkind kind);

  TFTPprogress& ProgressWindow() { return *progress_; }
  tftplog& Log() { return log_; }
  tdialupconnector& DialUp() { return dialup_; }

 private:
  HostInformation StoredHostDetails() const;

  QPointer<QWidget> window_;
  tsettingsrecords& records_;
  twebcamsettings& webcam_;
  tftplog log_;
  tdialupconnector dialup_;
  std::unique_ptr<TFTPprogress> progress_;
  std::unique_ptr<tftpwindowview> view_;
  std::unique_ptr<tftpsender> sender_;
  std::string entryName_;  // the dial-up entry chosen in this run's preferences
};

}  // namespace vantlo
