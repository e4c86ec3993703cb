// The dial-up backend on NetworkManager, through `nmcli -t` (terse, script
// friendly output) run without a shell. Chosen over D-Bus so the core stays
// free of Qt and the calls are the documented command-line ones.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "internet/dialup.h"
#include "internet/runprocess.h"
#include "library/unixfile.h"

namespace vantlo {

namespace {

constexpr int kNotRunning = 8;  // nmcli: NetworkManager is not running

// Splits one line of terse output: fields are separated by ":", and a ":"
// or "\" inside a field is written "\:" or "\\".
std::vector<std::string> SplitTerse(const std::string& line) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size()) {
      fields.back() += line[++i];
    } else if (line[i] == ':') {
      fields.emplace_back();
    } else {
      fields.back() += line[i];
    }
  }
  return fields;
}

std::vector<std::vector<std::string>> TerseLines(const std::string& out, std::size_t fields) {
  std::vector<std::vector<std::string>> rows;
  std::size_t start = 0;
  while (start < out.size()) {
    auto end = out.find('\n', start);
    if (end == std::string::npos) end = out.size();
    auto row = SplitTerse(out.substr(start, end - start));
    if (row.size() == fields) rows.push_back(std::move(row));
    start = end + 1;
  }
  return rows;
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.pop_back();
  return s;
}

// The secret a connection type keeps its password in, for a passwd-file.
std::string PasswordKey(const std::string& type) {
  if (type == "gsm") return "gsm.password";
  if (type == "cdma") return "cdma.password";
  if (type == "pppoe") return "pppoe.password";
  if (type == "vpn") return "vpn.secrets.password";
  return {};
}

// A 0600 file with the password in a private folder, removed afterwards, so
// the password never shows in a process list.
class tsecretfile {
 public:
  tsecretfile(const std::string& key, const std::string& value) {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    std::string pattern =
        std::string(runtime && *runtime ? runtime : "/tmp") + "/vantlo-dial-XXXXXX";
    unixfile fd(mkstemp(pattern.data()));
    if (!fd) return;
    path_ = pattern;
    const std::string text = key + ":" + value + "\n";
    if (!WriteAll(fd.get(), text.data(), text.size())) {
      unlink(path_.c_str());
      path_.clear();
    }
  }
  ~tsecretfile() {
    if (!path_.empty()) unlink(path_.c_str());
  }
  tsecretfile(const tsecretfile&) = delete;
  tsecretfile& operator=(const tsecretfile&) = delete;
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

class tnmclibackend : public tdialupbackend {
 public:
  int Entries(std::vector<tdialentry>& out, std::string& error) override {
    const auto r = Run({"nmcli", "-t", "-f", "NAME,UUID,TYPE", "connection", "show"}, error);
    if (r != 0) return r;
    out.clear();
    for (auto& row : TerseLines(last_.out, 3))
      if (row[2] != "loopback") out.push_back({row[0], row[1], row[2]});
    return 0;
  }

  int ActiveConnections(std::vector<tdialconnection>& out, std::string& error) override {
    const auto r =
        Run({"nmcli", "-t", "-f", "NAME,UUID,TYPE,DEVICE,STATE", "connection", "show", "--active"},
            error);
    if (r != 0) return r;
    out.clear();
    for (auto& row : TerseLines(last_.out, 5)) {
      tdialconnection c;
      c.name = row[0];
      c.id = row[1];
      c.deviceType = row[2];
      c.deviceName = row[3];
      c.stateText = row[4];
      c.state = row[4] == "activated"     ? kDialConnected
                : row[4] == "deactivated" ? kDialDisconnected
                                          : kDialInProgress;
      out.push_back(std::move(c));
    }
    return 0;
  }

  int Activate(const tdialentry& entry, const std::string&, const std::string& password,
               std::string& error) override {
    // NetworkManager takes no per-connection user name on activation; a
    // password is handed over as the connection type's secret.
    std::vector<std::string> args = {"nmcli", "-w", "90", "connection", "up", "uuid", entry.id};
    std::unique_ptr<tsecretfile> secret;
    const std::string key = PasswordKey(entry.type);
    if (!password.empty() && !key.empty() && password.find('\n') == std::string::npos) {
      secret = std::make_unique<tsecretfile>(key, password);
      if (!secret->Path().empty()) {
        args.push_back("passwd-file");
        args.push_back(secret->Path());
      }
    }
    return Run(args, error);
  }

  int Deactivate(const std::string& id, std::string& error) override {
    return Run({"nmcli", "connection", "down", "uuid", id}, error);
  }

 private:
  int Run(const std::vector<std::string>& args, std::string& error) {
    last_ = RunProcess(args);
    if (!last_.started)
      throw tdialuperror(
          "Dial-Up Networking Not Correctly Installed -- Cannot run nmcli (NetworkManager)");
    if (last_.exitCode == kNotRunning)
      throw tdialuperror(
          "Dial-Up Networking Not Correctly Installed -- NetworkManager is not running");
    if (last_.exitCode == 0) return 0;
    error = Trimmed(last_.err.empty() ? last_.out : last_.err);
    if (error.empty()) error = "nmcli failed";
    return last_.exitCode > 0 ? last_.exitCode : 1;
  }

  tprocessresult last_;
};

}  // namespace

std::unique_ptr<tdialupbackend> MakeNetworkManagerBackend() {
  return std::make_unique<tnmclibackend>();
}

}  // namespace vantlo
