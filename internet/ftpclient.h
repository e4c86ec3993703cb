// TFTP: the FTP client. One libcurl easy handle, blocking calls, binary
// uploads in passive mode; the control connection stays open between the
// files of one run, so N files cost one log-in.
//
// libcurl works per transfer, so the client maps the classic control calls
// onto it: Open connects, logs in, changes to the folder, asks for the
// working folder and sets binary mode in one exchange (each step's failure
// is told apart by the command it answered), Put uploads over the same
// connection, Quit ends it. The firewall modes follow the classic FTP proxy
// conventions, built from libcurl's own log-in and its quote commands (sent
// right after the log-in, before the folder change):
//   Site          log in to the firewall, "SITE host", USER user, PASS pass
//   Open          log in to the firewall, "OPEN host", USER user, PASS pass
//   User Login    log in to the firewall, USER user@host, PASS pass
//   User No Login USER user@host, PASS pass (no firewall log-in)
// Those commands go only on the connection Open makes; a Put that would need
// a new connection through the firewall is refused (it would land on the
// firewall itself), so the caller opens again.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "internet/ftpurl.h"
#include "library/records/ftpconfigrecord.h"

namespace vantlo {

// libcurl could not be set up; what() is the text for the user.
class tftpclienterror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct tftpfirewall {
  bool use = false;
  std::string host;
  int port = 0;  // 0: 21
  std::string user;
  std::string password;
  tfirewallmode mode = tfirewallmode::Off;
};

struct tftperror {
  int code = 0;
  std::string description;
};

// What Open reached.
enum class tftpopenresult {
  Ok,
  ConnectFailed,    // no connection to the server (or the firewall could not reach it)
  LoginFailed,      // the server refused the user name or password
  DirectoryFailed,  // the folder change was refused
  TypeFailed,       // binary mode was refused
  Cancelled,
};

class TFTP {
 public:
  // Connection and protocol states the sending code checks.
  static constexpr int kConnected = 4;
  static constexpr int kLoggedIn = 2;

  // Throws tftpclienterror("Vantlo had a problem registering the FTP client.
  // Contact Corvane for help") when libcurl cannot be initialised.
  TFTP();
  ~TFTP();
  TFTP(const TFTP&) = delete;
  TFTP& operator=(const TFTP&) = delete;

  void SetFirewall(const tftpfirewall& firewall) { firewall_ = firewall; }
  const tftpfirewall& Firewall() const { return firewall_; }

  // Connect, log in, change to `directory` (when not empty), ask for the
  // working folder, binary mode. Any earlier connection is quit first.
  tftpopenresult Open(const std::string& host, const std::string& user, const std::string& password,
                      const std::string& directory);
  // Uploads `localPath` as `remoteName` (cut after its last "\" or "/") into
  // the folder Open changed to. False on any failure, also when fewer bytes
  // reached the server than the file holds; the failure is in Errors() and
  // was passed to OnError. A failed upload closes the connection.
  bool Put(const std::string& localPath, const std::string& remoteName);
  // Ends the connection (QUIT); nothing happens without one.
  void Quit();
  // Makes the running transfer stop at libcurl's next progress call (at
  // least about once a second, also on a stalled line).
  void Cancel() { cancel_ = true; }
  // Shuts the connection's sockets down at once, without QUIT: a running
  // transfer ends with an error right away.
  void Drop();

  bool Busy() const { return busy_; }
  bool Connected() const { return connected_; }
  int State() const { return connected_ ? kConnected : 0; }
  int ProtocolState() const { return connected_ && loggedIn_ ? kLoggedIn : loggedIn_ ? 1 : 0; }
  std::string StateText() const;
  std::string ProtocolStateText() const;
  // The server's last reply line.
  const std::string& ReplyText() const { return reply_; }
  // The working folder the server last named (257 reply).
  const std::string& WorkingDirectory() const { return workingDirectory_; }
  std::string FirewallStatus() const;

  const std::vector<tftperror>& Errors() const { return errors_; }
  void ClearErrors() { errors_.clear(); }

  // Events. OnReply: every reply line from the server. OnCommand: every
  // command sent, a password shown as "PASS ****". OnError: a failed call
  // (number, description, source). OnProgress: bytes sent of total during
  // an upload, (0, 0) while Open connects (a good place to let a window
  // process its events).
  std::function<void(const std::string&)> OnReply;
  std::function<void(const std::string&)> OnCommand;
  std::function<void(int, const std::string&, const std::string&)> OnError;
  std::function<void(std::uint64_t, std::uint64_t)> OnProgress;

 private:
  struct thandle;
  enum class tstep { Open, Put };

  int Perform(tstep step);
  int PerformPut(const std::string& url, void* file, std::int64_t size);
  void Fail(int code, const std::string& description);
  void FailCurl(int code);
  void ResetHandle();
  void Reply(const std::string& line);
  void Command(const std::string& line);

  friend struct tftpcallbacks;

  std::unique_ptr<thandle> handle_;
  tftpfirewall firewall_;
  tftpendpoint target_;       // the server (or the firewall) the connection goes to
  bool viaFirewall_ = false;  // the quote commands log in beyond the firewall
  std::string host_;          // what Open was given, to open again
  std::string user_;
  std::string password_;
  std::string directory_;
  std::string lastCommand_;  // verb of the last command sent
  std::string reply_;
  std::string workingDirectory_;
  std::string curlError_;
  std::vector<tftperror> errors_;
  std::set<int> sockets_;
  tstep step_ = tstep::Open;
  int repliesThisCall_ = 0;
  bool refusedNewConnection_ = false;
  bool connected_ = false;
  bool loggedIn_ = false;
  bool busy_ = false;
  bool cancel_ = false;
  bool dropped_ = false;
};

}  // namespace vantlo
