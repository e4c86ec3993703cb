#include "tools/cli/send_command.h"

#include <chrono>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

#include "internet/ftpsender.h"
#include "library/regconfig.h"
#include "tools/cli/camerasession.h"
#include "tools/cli/cliftpview.h"
#include "tools/cli/commands.h"
#include "tools/cli/progressbar.h"

namespace vantlo::cli {

const char* const kSendUsage =
    "send FILE... [--host HOST --user USER [--password-file F] [--dir DIR] | --hif FILE]\n"
    "             [--dial-up] [--verbose]\n"
    "  upload FILEs by FTP over one connection; without --host or --hif the\n"
    "  stored Internet settings are used (connection type included). HOST may\n"
    "  carry :PORT, ftps:// (FTP over TLS) or sftp://\n"
    "  --password-file: its first line is the password\n"
    "  --dial-up: dial the stored dial-up entry first (with --host or --hif)\n"
    "  --verbose: print the FTP progress log on stderr (passwords hidden)\n";

namespace {

bool ReadPasswordFile(const std::string& path, std::string& password) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::getline(in, password);
  while (!password.empty() && (password.back() == '\r' || password.back() == '\n'))
    password.pop_back();
  return true;
}

}  // namespace

int RunSendCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::vector<std::string> files;
  std::string host, user, passwordFile, dir, hif;
  bool haveHost = false, haveUser = false, haveDir = false, haveHif = false, havePassword = false;
  bool dialUp = false, verbose = false;
  auto usage = [&](const std::string& problem) {
    err << problem << "\nusage: vantlo-cli " << kSendUsage;
    return 2;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](bool& seen, std::string& into) {
      if (i + 1 >= args.size()) return false;
      seen = true;
      into = args[++i];
      return true;
    };
    bool ok = true;
    if (a == "--host")
      ok = value(haveHost, host);
    else if (a == "--user")
      ok = value(haveUser, user);
    else if (a == "--password-file")
      ok = value(havePassword, passwordFile);
    else if (a == "--dir")
      ok = value(haveDir, dir);
    else if (a == "--hif")
      ok = value(haveHif, hif);
    else if (a == "--dial-up")
      dialUp = true;
    else if (a == "--verbose")
      verbose = true;
    else if (a.rfind("--", 0) == 0)
      return usage("send: unknown option " + a);
    else
      files.push_back(a);
    if (!ok) return usage("send: " + a + " needs a value");
  }
  if (files.empty()) return usage("send: no file given");
  if (haveHif && (haveHost || haveUser || havePassword || haveDir))
    return usage("send: --hif and --host/--user/--password-file/--dir exclude each other");
  if ((haveUser || havePassword || haveDir) && !haveHost)
    return usage("send: --user, --password-file and --dir need --host");
  if (haveHost && !haveUser) return usage("send: --host needs --user");
  if (dialUp && !haveHost && !haveHif) return usage("send: --dial-up goes with --host or --hif");

  try {
    tsettingsrecords records;
    tregconfig store;
    store.ReadAll(records);
    tftpsettings settings = FtpSettingsFrom(records, records.config.WebcamSettings());
    if (haveHost || haveHif) {
      if (!dialUp) settings.connection = tcontactrecord::kNetworkConnection;
      settings.useHostInfoFile = haveHif;
      settings.hostInfoFile = hif;
    }
    if (haveHost) {
      std::string password;
      if (havePassword && !ReadPasswordFile(passwordFile, password)) {
        err << "Cannot read the password file " << passwordFile << "\n";
        return 1;
      }
      settings.host = host;
      settings.user = user;
      settings.password = password;
      settings.directory = dir;
    }
    if (verbose) settings.showProgress = true;

    tcliftpview view(err);
    tftplog log;
    if (verbose) log.OnAdded = [&](const std::string& line) { err << line << "\n"; };
    tdialupconnector dialup;
    tftpsender sender(view, log, dialup);
    sender.SetSettings(settings);
    const HostInformation info = sender.HostDetails();
    if (!info.Send) {
      err << "Sending is switched off in " << settings.hostInfoFile << "\n";
      return 1;
    }
    if (info.HostName.empty() || info.UserName.empty())
      throw tftpsenderror("No host or username specified");

    ProgressBar bar;
    sender.OnProgress = [&](std::uint64_t sent, std::uint64_t total) {
      if (CameraSession::StopRequested()) sender.Cancel();
      bar.Report(total > 0 ? static_cast<int>(sent * 100 / total) : 0);
    };
    // Whatever happens, the connection is closed and a dialled line hung up.
    struct tdisconnect {
      tftpsender& s;
      ~tdisconnect() { s.DisconnectFtp(); }
    } disconnect{sender};
    auto connect = [&] {
      if (!sender.ConnectFtp(info.HostName, info.UserName, info.Directory, info.Password))
        throw tftpsenderror("Error dialing connection");
    };
    connect();
    int sent = 0;
    for (const auto& file : files) {
      if (CameraSession::StopRequested()) break;
      const std::string local = std::filesystem::absolute(file).string();
      // A host information file's FILENAME names the upload of a single file;
      // several files keep their own names rather than overwrite each other.
      const std::string remote =
          settings.useHostInfoFile && !info.FileName.empty() && files.size() == 1
              ? info.FileName
              : RemoteLeafName(local);
      if (!sender.Connected()) connect();  // the server closed the connection
      bar.Begin(RemoteLeafName(local));
      std::string reason;
      TFTP* client = sender.Client();
      const std::size_t before = client ? client->Errors().size() : 0;
      const bool ok = sender.PutFile(local, remote);
      bar.End();
      if (ok) {
        ++sent;
        out << "sent " << local << " as " << RemoteLeafName(remote) << "\n";
      } else {
        if (client && client->Errors().size() > before)
          reason = client->Errors().back().description;
        err << "Error sending " << local << " by FTP" << (reason.empty() ? "" : ": " + reason)
            << "\n";
      }
    }
    if (CameraSession::StopRequested()) err << "stopped\n";
    return sent == static_cast<int>(files.size()) ? 0 : 1;
  } catch (const std::exception& e) {
    err << e.what() << "\n";
    return 1;
  }
}

int RunSend(CameraSession&, const Arguments& args) {
  return RunSendCommand(args, std::cout, std::cerr);
}

}  // namespace vantlo::cli
