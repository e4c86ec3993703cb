// A small FTP firewall on loopback for the firewall-mode tests. It answers a
// firewall log-in itself ("USER fwuser", "PASS fwpass"), and on "SITE host",
// "OPEN host" or "USER user@host" connects to the real server (every host
// name leads to the test server) and from then on relays the control
// connection both ways. Data connections go straight to the server (passive
// mode replies carry only a port). Every line the client sends is recorded.
// In transparent mode it relays from the first byte, and it can refuse
// "TYPE" to test a server that will not switch to binary.
#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantlo::testing {

class tftpproxy {
 public:
  struct toptions {
    std::string firewallUser = "fwuser";
    std::string firewallPassword = "fwpass";
    bool transparent = false;
    bool refuseType = false;
  };
  tftpproxy(int serverPort, toptions options);
  ~tftpproxy();
  tftpproxy(const tftpproxy&) = delete;
  tftpproxy& operator=(const tftpproxy&) = delete;

  int Port() const { return port_; }
  // Lines received from clients, in order, without line ends.
  std::vector<std::string> Commands();
  // Host names the client asked to reach (SITE, OPEN, user@host).
  std::vector<std::string> Targets();
  // Client connections accepted so far.
  int Connections() const { return connections_; }
  // Closes the client connection being served (as a firewall timing out an
  // idle session would) and returns once it is closed.
  void DropClient();

 private:
  void Run();
  void Serve(int client);
  int ConnectServer();
  void Relay(int client, int server, std::string pending);
  bool ReadLine(int fd, std::string& buffer, std::string& line);
  void Record(const std::string& line);

  int serverPort_;
  toptions options_;
  int listen_ = -1;
  int wake_[2] = {-1, -1};
  int drop_[2] = {-1, -1};
  int closed_ = 0;  // client connections closed so far
  std::condition_variable closedChanged_;
  int port_ = 0;
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<std::string> commands_;
  std::vector<std::string> targets_;
  std::thread thread_;
};

}  // namespace vantlo::testing
