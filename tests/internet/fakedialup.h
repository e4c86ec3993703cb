// A fake NetworkManager for the dial-up tests: saved entries, active
// connections, and a record of every call. The test keeps the state; the
// backend handed to TDialUp works on it.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "internet/dialup.h"
#include "internet/dialupconnect.h"

namespace vantlo::testing {

struct tfakenetwork {
  std::vector<tdialentry> entries;
  std::vector<tdialconnection> active;
  std::vector<std::string> calls;  // "entries", "active", "up NAME USER PASS", "down ID"
  int activateResult = 0;          // non-zero: the dial fails
  int deactivateResult = 0;        // non-zero: the hang-up fails
  bool installed = true;
  int backendsMade = 0;
  // Runs before each listing of the active connections (a line that
  // changes its state while we wait).
  std::function<void(tfakenetwork&)> beforeActive;

  void SetActive(const std::string& id, const std::string& name, int state) {
    for (auto& c : active)
      if (c.id == id) {
        c.state = state;
        return;
      }
    active.push_back({id, name, state, "", "", ""});
  }
  int Count(const std::string& prefix) const {
    int n = 0;
    for (const auto& c : calls) n += c.rfind(prefix, 0) == 0;
    return n;
  }
  tdialupconnector::tmakebackend Factory();
};

class tfakebackend : public tdialupbackend {
 public:
  explicit tfakebackend(tfakenetwork& net) : net_(net) {}
  int Entries(std::vector<tdialentry>& out, std::string&) override {
    Check();
    net_.calls.push_back("entries");
    out = net_.entries;
    return 0;
  }
  int ActiveConnections(std::vector<tdialconnection>& out, std::string&) override {
    Check();
    net_.calls.push_back("active");
    if (net_.beforeActive) net_.beforeActive(net_);
    out = net_.active;
    return 0;
  }
  int Activate(const tdialentry& entry, const std::string& user, const std::string& password,
               std::string& error) override {
    Check();
    net_.calls.push_back("up " + entry.name + " " + user + " " + password);
    if (net_.activateResult != 0) {
      error = "Error: Connection activation failed";
      return net_.activateResult;
    }
    net_.SetActive(entry.id, entry.name, kDialConnected);
    return 0;
  }
  int Deactivate(const std::string& id, std::string& error) override {
    Check();
    net_.calls.push_back("down " + id);
    if (net_.deactivateResult != 0) {
      error = "Error: not all active connections found";
      return net_.deactivateResult;
    }
    std::erase_if(net_.active, [&](const tdialconnection& c) { return c.id == id; });
    return 0;
  }

 private:
  void Check() {
    if (!net_.installed)
      throw tdialuperror(
          "Dial-Up Networking Not Correctly Installed -- NetworkManager is not running");
  }
  tfakenetwork& net_;
};

inline tdialupconnector::tmakebackend tfakenetwork::Factory() {
  return [this]() -> std::unique_ptr<tdialupbackend> {
    ++backendsMade;
    return std::make_unique<tfakebackend>(*this);
  };
}

// Records what the dial-up steps tell; waiting only counts.
struct tfakedialreport : tdialupreport {
  std::vector<std::string> log, status;
  int events = 0;
  std::vector<int> waits;
  void Log(const std::string& t) override { log.push_back(t); }
  void Status(const std::string& t) override { status.push_back(t); }
  void ProcessEvents() override { ++events; }
  void Wait(int ms) override { waits.push_back(ms); }
};

}  // namespace vantlo::testing
