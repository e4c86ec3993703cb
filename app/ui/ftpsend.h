// Tftpsend ("Send Using FTP"): walks a list of files and sends them one by
// one or all at once over one connection, through the window-free sender.
// The connection is made when a file is to be sent and none is open (again
// after a dropped one), and closed when the dialog closes.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "internet/hostinfo.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vantlo {

class tftpsender;

class Tftpsend : public QDialog {
  Q_OBJECT
 public:
  // How long "Stop FTP" waits for a transfer to end before the connection
  // is dropped: polls of the busy flag, 200 ms apart.
  static constexpr int kStopPollMs = 200;
  static constexpr int kStopPolls = 25;

  Tftpsend(tftpsender& sender, std::vector<std::string> files, const HostInformation& host,
           QWidget* parent = nullptr);

  // "Internet Preferences...": runs that dialog and gives the stored remote
  // host details to show afterwards (nullopt: leave the fields).
  std::function<std::optional<HostInformation>()> OnInternetPreferences;

  void SendThisFileClick();
  void SkipThisFileClick();
  void SendAllFilesClick();
  void CancelClick();  // "Stop FTP" while sending, else "Close"
  void InternetPreferencesClick();

  int CurrentFile() const { return current_; }
  bool Sending() const { return sending_; }
  const std::vector<std::string>& SentFiles() const { return sent_; }
  const std::vector<std::string>& FailedFiles() const { return failed_; }

  QLineEdit* HostEdit = nullptr;
  QLineEdit* UserEdit = nullptr;
  QLineEdit* PasswordEdit = nullptr;
  QLineEdit* DirectoryEdit = nullptr;
  QGroupBox* FileGroup = nullptr;
  QLabel* LocalFileLabel = nullptr;
  QLineEdit* RemoteFileEdit = nullptr;
  QLabel* UrlLabel = nullptr;
  QLabel* StatusLabel = nullptr;
  QPushButton* SendThisButton = nullptr;
  QPushButton* SkipButton = nullptr;
  QPushButton* SendAllButton = nullptr;
  QPushButton* CancelButton = nullptr;
  QPushButton* PreferencesButton = nullptr;

 protected:
  void done(int result) override;

 private:
  enum class tsent { Sent, Failed, NoConnection };
  tsent SendOne();
  void ShowCurrent();
  void SetSending(bool sending);
  void FillHost(const HostInformation& host);
  void StopPoll();

  tftpsender& sender_;
  std::vector<std::string> files_;
  std::vector<std::string> sent_, failed_;
  int current_ = 0;
  int shown_ = -1;  // the file whose names the controls show
  bool sending_ = false;
  bool stopped_ = false;
  bool closeRequested_ = false;
  bool connectedHere_ = false;
  int stopPolls_ = 0;
  QTimer* stopTimer_ = nullptr;
};

}  // namespace vantlo
