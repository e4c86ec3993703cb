#include "internet/dialupconnect.h"

#include <algorithm>

namespace vantlo {

namespace {

constexpr const char* kNoEntry = "Cannot find dial-up networking address entry";

}  // namespace

tdialupconnector::tdialupconnector(tmakebackend makeBackend)
    : makeBackend_(std::move(makeBackend)) {}

TDialUp& tdialupconnector::Component() {
  if (!dialup_) {
    std::unique_ptr<tdialupbackend> backend;
    try {
      backend = makeBackend_();
    } catch (const tdialuperror&) {
      throw;
    } catch (const std::exception&) {
    }
    if (!backend) throw tdialuperror("There is a problem with Dial-Up Networking.");
    dialup_ = std::make_unique<TDialUp>(std::move(backend));
  }
  return *dialup_;
}

std::vector<std::string> tdialupconnector::EntryNames() {
  TDialUp& d = Component();
  d.GetEntries();
  return d.Entries;
}

// The state of the connection brought up from `entryId`; 0 when it is not
// among the active connections.
int tdialupconnector::EntryState(const std::string& entryId) {
  TDialUp& d = Component();
  int state = 0;
  d.OnActiveConnection = [&](const tdialconnection& c) {
    if (c.id == entryId) state = c.state;
  };
  d.GetConnections();
  d.OnActiveConnection = nullptr;
  return state;
}

bool tdialupconnector::EnsureUp(const tdialupchoice& choice, tdialupreport& report) {
  TDialUp& d = Component();
  d.GetEntries();
  const auto& entries = d.EntryDetails();
  if (choice.entryIndex < 0 || static_cast<std::size_t>(choice.entryIndex) >= entries.size())
    throw tdialuperror(kNoEntry);
  tdialentry entry = entries[static_cast<std::size_t>(choice.entryIndex)];
  if (!choice.entryName.empty() && entry.name != choice.entryName) {
    // The list changed since the entry was chosen: follow its name.
    const auto named = std::find_if(entries.begin(), entries.end(), [&](const tdialentry& e) {
      return e.name == choice.entryName;
    });
    if (named == entries.end()) throw tdialuperror(kNoEntry);
    entry = *named;
  }

  int state = EntryState(entry.id);
  if (state == 0) {
    d.Entry = entry.name;
    d.DialUserName = choice.useThisUsername ? choice.user : std::string();
    d.DialPassword = choice.useThisUsername ? choice.password : std::string();
    report.Log("Dialing " + entry.name + "...");
    report.Status("Dialing " + entry.name + "...");
    if (d.Dial() != 0) {
      report.Log("Error dialing " + entry.name);
      report.Status("Error dialing " + entry.name + "...");
      if (!choice.showProgress) return false;
      throw tdialuperror("Error dialing connection : " + entry.name);
    }
    report.Log("Dialup connected");
    return true;
  }
  if (state == kDialConnected) return true;  // up already; ours only if we dialled it

  for (int i = 0; i < kWaits; ++i) {
    report.Status("Dial-up connection in progress...");
    report.ProcessEvents();
    report.Wait(kWaitMs);
    state = EntryState(entry.id);
    if (state == kDialConnected) return true;
    // A connection that is no longer being made has ended.
    if (state == kDialDisconnected || state == 0) {
      if (!choice.showProgress) return false;
      throw tdialuperror("Error dialing connection");
    }
  }
  report.Log("Error getting connection");
  report.Status("Error getting connection");
  if (!choice.showProgress) return false;
  throw tdialuperror("Error getting connection");
}

void tdialupconnector::HangUp() {
  if (dialup_) dialup_->HangUp();
}

}  // namespace vantlo
