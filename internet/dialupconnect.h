// Making sure the dial-up connection is up before an upload, and hanging up
// afterwards only what this program dialled. Only the configured entry
// counts: another active connection (a VPN, the wired network) neither
// stands for the dial-up being up nor gets hung up.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "internet/dialup.h"

namespace vantlo {

struct tdialupchoice {
  int entryIndex = -1;    // index into the entry list; -1: network (no dial-up)
  std::string entryName;  // the name chosen with that index, when known
  bool useThisUsername = false;
  std::string user;
  std::string password;
  bool showProgress = false;  // failures raise instead of giving up quietly
};

// Where the steps are told, and how time passes while waiting.
class tdialupreport {
 public:
  virtual ~tdialupreport() = default;
  virtual void Log(const std::string& text) = 0;
  virtual void Status(const std::string& text) = 0;
  virtual void ProcessEvents() = 0;
  virtual void Wait(int milliseconds) = 0;
};

class tdialupconnector {
 public:
  static constexpr int kWaits = 13;
  static constexpr int kWaitMs = 5000;
  using tmakebackend = std::function<std::unique_ptr<tdialupbackend>()>;

  explicit tdialupconnector(tmakebackend makeBackend = MakeNetworkManagerBackend);

  // The component, created on first need ("There is a problem with Dial-Up
  // Networking." when that fails).
  TDialUp& Component();

  // True when the configured entry's connection is up (found up, or dialled
  // now); false when giving up quietly (progress off). Throws tdialuperror
  // with progress on, and always for an entry that is not in the list.
  bool EnsureUp(const tdialupchoice& choice, tdialupreport& report);
  // True while a connection this program dialled may still be up.
  bool DialledByUs() const { return dialup_ && !dialup_->DialledConnection().empty(); }
  // Hangs up the connection this program dialled; a failed hang-up keeps it
  // for the next time.
  void HangUp();

  // The entry names, for the settings dialog (fills the component's list).
  std::vector<std::string> EntryNames();

 private:
  int EntryState(const std::string& entryId);

  tmakebackend makeBackend_;
  std::unique_ptr<TDialUp> dialup_;
};

}  // namespace vantlo
