// A real FTP server for tests: pyftpdlib on 127.0.0.1 at a free port, serving
// one folder to user "user" with password "pass" (write access). Header-only,
// so the window tests use it too.
//
// The port is found by binding port 0 and then handed to the server; another
// program may take it in between, so a server that exits before it listens is
// started again on a new port. Ready means the server has printed that it
// listens (it does so after listen()), read from its log pipe: no sleeps. A
// thread keeps draining the log so a chatty server never blocks on a full pipe.
#pragma once

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vantlo::testing {

class tpyftpserver {
 public:
  explicit tpyftpserver(std::string root, std::string user = "user", std::string password = "pass")
      : root_(std::move(root)), user_(std::move(user)), password_(std::move(password)) {
    Start();
  }
  // A server of its own: `python3 -u SCRIPT PORT ROOT` (the script logs
  // pyftpdlib's start line, as the module does).
  struct tscript {
    std::string path;
  };
  tpyftpserver(tscript script, std::string root)
      : root_(std::move(root)), script_(std::move(script.path)) {
    Start();
  }
  ~tpyftpserver() { Stop(); }
  tpyftpserver(const tpyftpserver&) = delete;
  tpyftpserver& operator=(const tpyftpserver&) = delete;

  int Port() const { return port_; }
  // The host name the program is given: "127.0.0.1:PORT".
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  const std::string& Root() const { return root_; }

  // Ends the server at once (SIGKILL): its connections drop.
  void Kill() {
    if (pid_ > 0) kill(pid_, SIGKILL);
  }
  // Stops the server and returns everything it logged.
  std::string StopAndLog() {
    Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    return log_;
  }
  // How often `text` occurs in the log so far (call StopAndLog first for the
  // complete log).
  static int Count(const std::string& log, const std::string& text) {
    int n = 0;
    for (auto at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++n;
    return n;
  }

 private:
  void Start() {
    for (int attempt = 0; attempt < 20; ++attempt)
      if (TryStart()) return;
    throw std::runtime_error("pyftpdlib did not start (is python3-pyftpdlib installed?)");
  }

  static int FreePort() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return 0;
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len) == 0)
      port = ntohs(a.sin_port);
    close(fd);
    return port;
  }

  bool TryStart() {
    const int port = FreePort();
    if (port == 0) return false;
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    const std::string portText = std::to_string(port);
    std::vector<std::string> args = {
        "/usr/bin/python3", "-u", "-m", "pyftpdlib", "-i", "127.0.0.1", "-p",
        portText,           "-w", "-d", root_,       "-u", user_,       "-P",
        password_};
    if (!script_.empty()) args = {"/usr/bin/python3", "-u", script_, portText, root_};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (rc != 0) {
      close(fds[0]);
      return false;
    }
    // Read the log until the server says it listens, or ends.
    std::string seen;
    bool ready = false;
    for (;;) {
      pollfd p{fds[0], POLLIN, 0};
      // A fail-safe against a hung interpreter, not a measured wait.
      if (poll(&p, 1, 60000) <= 0) break;
      char buf[4096];
      const ssize_t n = read(fds[0], buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      seen.append(buf, static_cast<std::size_t>(n));
      if (seen.find(">>> starting FTP") != std::string::npos &&
          seen.find(" server on ", seen.find(">>> starting FTP")) != std::string::npos) {
        ready = true;
        break;
      }
    }
    if (!ready) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      close(fds[0]);
      return false;
    }
    pid_ = pid;
    port_ = port;
    log_ = seen;
    const int readFd = fds[0];
    reader_ = std::thread([this, readFd] {
      char buf[4096];
      for (;;) {
        const ssize_t n = read(readFd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        std::lock_guard<std::mutex> lock(mutex_);
        log_.append(buf, static_cast<std::size_t>(n));
      }
      close(readFd);
    });
    return true;
  }

  void Stop() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
      pid_ = -1;
    }
    if (reader_.joinable()) reader_.join();  // the pipe ends with the server
  }

  std::string root_, user_, password_, script_;
  pid_t pid_ = -1;
  int port_ = 0;
  std::thread reader_;
  std::mutex mutex_;
  std::string log_;
};

}  // namespace vantlo::testing
