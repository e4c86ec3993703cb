// Sending pictures by FTP: where the host details come from, the connect /
// log-in / upload / disconnect sequence (dialling first when the connection
// is dial-up), the progress log and the error report. Window-free: the
// window, AutoCapture, webcam mode and vantlo-cli all send through it and
// see it through tftpview.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "internet/dialupconnect.h"
#include "internet/ftpclient.h"
#include "internet/ftplog.h"
#include "internet/ftpsettings.h"
#include "internet/hostinfo.h"

namespace vantlo {

// A failure of a sending step, with the text for the user.
class tftpsenderror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What the caller shows of an upload.
class tftpview {
 public:
  virtual ~tftpview() = default;
  virtual void StatusLine(const std::string& text) = 0;
  // The status label beside the line ("Sending picture with FTP", the URL).
  virtual void StatusLabel(const std::string& text) = 0;
  virtual void ShowProgressWindow() = 0;
  virtual void HideProgressWindow() = 0;
  virtual void ErrorBox(const std::string& text) = 0;
  // Lets the window handle its events during a blocking call.
  virtual void ProcessEvents() = 0;
  // Waits with the window alive (dial-up waits).
  virtual void Wait(int milliseconds) = 0;
  // Webcam mode or AutoCapture runs: the idle status line reads "Vantlo
  // Active" instead of "Ready".
  virtual bool CaptureModeRunning() const = 0;
};

enum class tftpsendkind { Normal, Webcam, SlideShow };

struct tftpsendresult {
  enum tstatus { Sent, NotSent, Failed } status = Failed;
  std::string remoteName;
  std::string message;  // why it failed
  bool Ok() const { return status == Sent; }
};

class tftpsender {
 public:
  using tmakeclient = std::function<std::unique_ptr<TFTP>()>;

  tftpsender(
      tftpview& view, tftplog& log, tdialupconnector& dialup,
      tmakeclient makeClient = [] { return std::make_unique<TFTP>(); });
  ~tftpsender();

  // The settings of the next calls.
  void SetSettings(const tftpsettings& settings) { settings_ = settings; }
  const tftpsettings& Settings() const { return settings_; }

  // The client, created on first need; nullptr (after one error box) when
  // libcurl cannot be set up.
  TFTP* Client();

  // Host details from the host information file (when chosen) or the stored
  // ones. Throws "Error loading Host Information File : " + path after the
  // illegal line (if any) was shown in an error box.
  HostInformation HostDetails();

  void LogFtp(const std::string& message);
  // Dials if needed, connects, logs in, changes folder, binary mode. True
  // when logged in; false when a dial-up gave up quietly. Throws
  // tftpsenderror (or tdialuperror) on failure.
  bool ConnectFtp(const std::string& host, const std::string& user, const std::string& directory,
                  const std::string& password);
  // Uploads one file over the open connection, with the error report
  // installed. False on failure (also reported).
  bool PutFile(const std::string& localPath, const std::string& remoteName);
  // Quits, hangs up a connection this program dialled, restores the status
  // line, hides the progress window.
  void DisconnectFtp();
  // The whole upload of one file. Throws for a host information file that
  // does not load and for missing host details; in webcam mode connection
  // failures are thrown too. Every other failure is in the result, and told
  // once in the status line (or error boxes with progress on).
  tftpsendresult SendPictureByFtp(const std::string& localPath,
                                  tftpsendkind kind = tftpsendkind::Normal);

  // The client's error handler during uploads (error boxes, progress on).
  void ReportFtpError(int number, const std::string& description, const std::string& source);

  bool Connected() const { return client_ && client_->Connected(); }
  bool Busy() const { return client_ && client_->Busy(); }
  // Stops the running transfer (its failure is then not reported).
  void Cancel();
  // Drops the connection at once.
  void Drop();

  // Bytes sent of total during an upload, after the window had its events.
  std::function<void(std::uint64_t sent, std::uint64_t total)> OnProgress;

 private:
  class treport;
  void RouteEvents();
  std::string IdleStatus() const;

  tftpview& view_;
  tftplog& log_;
  tdialupconnector& dialup_;
  tmakeclient makeClient_;
  std::unique_ptr<TFTP> client_;
  bool clientFailed_ = false;
  tftpsettings settings_;
  bool reportErrors_ = false;  // ReportFtpError is installed
  std::string lastError_;      // of the last upload
};

}  // namespace vantlo
