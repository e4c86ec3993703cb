// The stored settings an upload works from, gathered from the settings
// records so the sending code needs no whole records.
#pragma once

#include <string>

#include "internet/dialupconnect.h"
#include "internet/ftpclient.h"
#include "library/records.h"

namespace vantlo {

struct tftpsettings {
  bool showProgress = false;  // "Show FTP Progress"
  tftpfirewall firewall;
  // "Use these details :" (kept with the webcam-mode settings).
  std::string host;
  std::string directory;
  std::string user;
  std::string password;
  std::string webcamRemoteFile;  // webcam mode's " Output File :"
  // "Use Host Information File" and its path.
  bool useHostInfoFile = false;
  std::string hostInfoFile;
  // Internet connection: -1 network, else the dial-up entry's index.
  int connection = tcontactrecord::kNetworkConnection;
  std::string connectionName;  // the entry's name when known
  bool useThisUsername = false;
  std::string dialUser;
  std::string dialPassword;
  std::string slideShowRemoteName;

  bool DialUp() const { return connection != tcontactrecord::kNetworkConnection; }
  tdialupchoice DialChoice() const;
};

tftpsettings FtpSettingsFrom(const tsettingsrecords& records, const twebcamsettings& webcam);

}  // namespace vantlo
