// TDialUp: dial-up networking over a backend that knows the system's
// connections (NetworkManager on a real machine, a fake in tests). The
// backend's saved connections are the phonebook entries; a connection
// brought up is known by its identity (NetworkManager's UUID), so hanging up
// drops exactly the connection this program dialled and nothing else.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantlo {

// A dial-up failure with the text for the user.
class tdialuperror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Connection states as the sending code counts them.
inline constexpr int kDialConnected = 8192;
inline constexpr int kDialDisconnected = 8193;
inline constexpr int kDialInProgress = 1;

struct tdialentry {
  std::string name;
  std::string id;    // stable identity (UUID)
  std::string type;  // "gsm", "pppoe", "vpn", ...
};

struct tdialconnection {
  std::string id;  // identity of the saved connection it was brought up from
  std::string name;
  int state = 0;  // kDialConnected, kDialDisconnected or kDialInProgress
  std::string stateText;
  std::string deviceType;
  std::string deviceName;
};

class tdialupbackend {
 public:
  virtual ~tdialupbackend() = default;
  // Each returns 0 or an error code with its text in `error`; a machine
  // without the service throws tdialuperror ("Dial-Up Networking Not
  // Correctly Installed -- ...").
  virtual int Entries(std::vector<tdialentry>& out, std::string& error) = 0;
  virtual int ActiveConnections(std::vector<tdialconnection>& out, std::string& error) = 0;
  // Brings `entry` up and returns when it is up or has failed. Empty user
  // and password: the entry's saved ones.
  virtual int Activate(const tdialentry& entry, const std::string& user,
                       const std::string& password, std::string& error) = 0;
  virtual int Deactivate(const std::string& id, std::string& error) = 0;
};

// The NetworkManager backend (nmcli in terse mode).
std::unique_ptr<tdialupbackend> MakeNetworkManagerBackend();

class TDialUp {
 public:
  explicit TDialUp(std::unique_ptr<tdialupbackend> backend);

  // Refilled by GetEntries, in a stable order (by name).
  std::vector<std::string> Entries;
  std::string Entry;         // the entry Dial brings up
  std::string DialUserName;  // empty: the entry's saved user name
  std::string DialPassword;  // empty: the entry's saved password

  int Dial();
  int GetEntries();
  int GetConnections();
  // Hangs up the connection of the last successful dial; 0 when there is
  // none (any more). A failed hang-up keeps it, to try again later.
  int HangUp();
  // The identity of the connection the last dial brought up; empty: none.
  const std::string& DialledConnection() const { return dialled_; }
  const std::vector<tdialentry>& EntryDetails() const { return entries_; }

  std::function<void(const std::string& name)> OnEntryGet;
  std::function<void()> OnDialing;
  std::function<void()> OnConnect;
  std::function<void(int code, const std::string& message)> OnNotConnected;
  std::function<void(int code, const std::string& text)> OnError;
  std::function<void(const tdialconnection&)> OnActiveConnection;

 private:
  std::unique_ptr<tdialupbackend> backend_;
  std::vector<tdialentry> entries_;
  std::string dialled_;
};

}  // namespace vantlo
