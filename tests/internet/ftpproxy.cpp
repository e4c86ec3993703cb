#include "ftpproxy.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vantlo::testing {

namespace {

bool SendAll(int fd, const std::string& s) {
  std::size_t done = 0;
  while (done < s.size()) {
    const ssize_t n = send(fd, s.data() + done, s.size() - done, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

tftpproxy::tftpproxy(int serverPort, toptions options)
    : serverPort_(serverPort), options_(std::move(options)) {
  listen_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 ||
      listen(listen_, 8) != 0 || getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len) != 0 ||
      pipe2(wake_, O_CLOEXEC) != 0 || pipe2(drop_, O_CLOEXEC) != 0)
    throw std::runtime_error("test firewall: cannot listen");
  port_ = ntohs(a.sin_port);
  thread_ = std::thread([this] { Run(); });
}

tftpproxy::~tftpproxy() {
  const char c = 'x';
  (void)!write(wake_[1], &c, 1);
  thread_.join();
  close(listen_);
  close(wake_[0]);
  close(wake_[1]);
  close(drop_[0]);
  close(drop_[1]);
}

void tftpproxy::DropClient() {
  std::unique_lock<std::mutex> lock(mutex_);
  const int before = closed_;
  const char c = 'd';
  (void)!write(drop_[1], &c, 1);
  closedChanged_.wait(lock, [&] { return closed_ > before; });
}

std::vector<std::string> tftpproxy::Commands() {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<std::string> tftpproxy::Targets() {
  std::lock_guard<std::mutex> lock(mutex_);
  return targets_;
}

void tftpproxy::Record(const std::string& line) {
  std::lock_guard<std::mutex> lock(mutex_);
  commands_.push_back(line);
}

void tftpproxy::Run() {
  for (;;) {
    pollfd p[2] = {{listen_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[1].revents) return;
    const int client = accept4(listen_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    ++connections_;
    Serve(client);
    close(client);
    std::lock_guard<std::mutex> lock(mutex_);
    ++closed_;
    closedChanged_.notify_all();
  }
}

int tftpproxy::ConnectServer() {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(serverPort_));
  if (fd >= 0 && connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

// Reads one line (up to LF) into `line`, keeping what follows in `buffer`.
// Also wakes on the stop pipe; false when the peer or the proxy ends.
bool tftpproxy::ReadLine(int fd, std::string& buffer, std::string& line) {
  for (;;) {
    const auto lf = buffer.find('\n');
    if (lf != std::string::npos) {
      line = buffer.substr(0, lf);
      if (!line.empty() && line.back() == '\r') line.pop_back();
      buffer.erase(0, lf + 1);
      return true;
    }
    pollfd p[2] = {{fd, POLLIN, 0}, {wake_[0], POLLIN, 0}};
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (p[1].revents) return false;
    char buf[4096];
    const ssize_t n = recv(fd, buf, sizeof buf, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    buffer.append(buf, static_cast<std::size_t>(n));
  }
}

void tftpproxy::Serve(int client) {
  std::string buffer, line;
  if (options_.transparent) {
    const int server = ConnectServer();
    if (server < 0) return;
    Relay(client, server, {});
    close(server);
    return;
  }
  if (!SendAll(client, "220 Test firewall ready\r\n")) return;
  std::string user;
  bool firewallLogin = false;
  while (ReadLine(client, buffer, line)) {
    Record(line);
    std::string target;
    std::string forwardUser;
    if (StartsWith(line, "USER ")) {
      user = line.substr(5);
      const auto at = user.find('@');
      if (at == std::string::npos) {
        SendAll(client, "331 Firewall password required\r\n");
        continue;
      }
      forwardUser = user.substr(0, at);
      target = user.substr(at + 1);
    } else if (StartsWith(line, "PASS ")) {
      firewallLogin = user == options_.firewallUser && line.substr(5) == options_.firewallPassword;
      SendAll(client, firewallLogin ? "230 Firewall log-in accepted\r\n"
                                    : "530 Firewall log-in refused\r\n");
      continue;
    } else if (StartsWith(line, "PWD")) {
      SendAll(client, "257 \"/\" is the firewall's folder\r\n");
      continue;
    } else if (StartsWith(line, "SITE ") || StartsWith(line, "OPEN ")) {
      if (!firewallLogin) {
        SendAll(client, "530 Log in to the firewall first\r\n");
        continue;
      }
      target = line.substr(5);
    } else {
      SendAll(client, "500 Not connected to a server\r\n");
      continue;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      targets_.push_back(target);
    }
    const int server = ConnectServer();
    if (server < 0) {
      SendAll(client, "421 Cannot reach " + target + "\r\n");
      return;
    }
    std::string serverBuffer, banner;
    if (!ReadLine(server, serverBuffer, banner)) {
      close(server);
      return;
    }
    if (!forwardUser.empty()) {
      // USER user@host: the server gets "USER user"; its reply goes back.
      SendAll(server, "USER " + forwardUser + "\r\n");
    } else {
      SendAll(client, banner + "\r\n");
    }
    Relay(client, server, serverBuffer);
    close(server);
    return;
  }
}

void tftpproxy::Relay(int client, int server, std::string pending) {
  if (!pending.empty() && !SendAll(client, pending)) return;
  std::string fromClient, line;
  for (;;) {
    pollfd p[4] = {
        {client, POLLIN, 0}, {server, POLLIN, 0}, {wake_[0], POLLIN, 0}, {drop_[0], POLLIN, 0}};
    if (poll(p, 4, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (p[2].revents) return;
    if (p[3].revents) {
      char c;
      (void)!read(drop_[0], &c, 1);
      return;
    }
    char buf[4096];
    if (p[1].revents) {
      const ssize_t n = recv(server, buf, sizeof buf, 0);
      if (n <= 0 || !SendAll(client, std::string(buf, static_cast<std::size_t>(n)))) return;
    }
    if (p[0].revents) {
      const ssize_t n = recv(client, buf, sizeof buf, 0);
      if (n <= 0) return;
      fromClient.append(buf, static_cast<std::size_t>(n));
      for (auto lf = fromClient.find('\n'); lf != std::string::npos; lf = fromClient.find('\n')) {
        line = fromClient.substr(0, lf);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        fromClient.erase(0, lf + 1);
        Record(line);
        if (options_.refuseType && StartsWith(line, "TYPE")) {
          if (!SendAll(client, "504 Type not available here\r\n")) return;
          continue;
        }
        if (!SendAll(server, line + "\r\n")) return;
      }
    }
  }
}

}  // namespace vantlo::testing
