#include "internet/ftpsettings.h"

namespace vantlo {

tdialupchoice tftpsettings::DialChoice() const {
  tdialupchoice c;
  c.entryIndex = connection;
  c.entryName = connectionName;
  c.useThisUsername = useThisUsername;
  c.user = dialUser;
  c.password = dialPassword;
  c.showProgress = showProgress;
  return c;
}

tftpsettings FtpSettingsFrom(const tsettingsrecords& records, const twebcamsettings& webcam) {
  tftpsettings s;
  const tftpconfigrecord& ftp = records.ftp;
  s.showProgress = ftp.ShowFtpProgress();
  s.firewall.use = ftp.UseFirewall();
  s.firewall.host = ftp.FirewallHost();
  s.firewall.port = ftp.FirewallPort();
  s.firewall.user = ftp.FirewallUser();
  s.firewall.password = ftp.FirewallPassword();
  s.firewall.mode = ftp.FirewallMode();
  s.host = webcam.RemoteHost();
  s.directory = webcam.RemoteDirectory();
  s.user = webcam.RemoteUser();
  s.password = webcam.RemotePassword();
  s.webcamRemoteFile = webcam.OutputFile();
  s.useHostInfoFile = records.contact.UseHostInfoFile();
  s.hostInfoFile = records.extra.HostInfoFile();
  s.connection = records.contact.InternetConnection();
  s.useThisUsername = records.extra.UseThisUsername();
  s.dialUser = ftp.DialUser();
  s.dialPassword = ftp.DialPassword();
  s.slideShowRemoteName = records.capdata.SlideShowRemoteName();
  return s;
}

}  // namespace vantlo
