#include "internet/runprocess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace vantlo {

namespace {

std::vector<std::string> ChildEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; e && *e; ++e)
    if (std::strncmp(*e, "LC_ALL=", 7) != 0 && std::strncmp(*e, "LANG=", 5) != 0)
      env.emplace_back(*e);
  env.emplace_back("LC_ALL=C");
  return env;
}

}  // namespace

tprocessresult RunProcess(const std::vector<std::string>& args) {
  tprocessresult r;
  if (args.empty()) return r;
  int out[2], err[2];
  if (pipe2(out, O_CLOEXEC) != 0) {
    r.spawnError = errno;
    return r;
  }
  if (pipe2(err, O_CLOEXEC) != 0) {
    r.spawnError = errno;
    close(out[0]);
    close(out[1]);
    return r;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err[1], 2);
  std::vector<std::string> argStore = args;
  std::vector<char*> argv;
  for (auto& a : argStore) argv.push_back(a.data());
  argv.push_back(nullptr);
  std::vector<std::string> envStore = ChildEnvironment();
  std::vector<char*> envp;
  for (auto& e : envStore) envp.push_back(e.data());
  envp.push_back(nullptr);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  close(err[1]);
  if (rc != 0) {
    r.spawnError = rc;
    close(out[0]);
    close(err[0]);
    return r;
  }
  r.started = true;
  // Read both pipes until both end, so neither can fill up and stall the child.
  pollfd p[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
  std::string* sink[2] = {&r.out, &r.err};
  int open = 2;
  while (open > 0) {
    if (poll(p, 2, -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (int i = 0; i < 2; ++i) {
      if (p[i].fd < 0 || !(p[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
      char buf[4096];
      const ssize_t n = read(p[i].fd, buf, sizeof buf);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        close(p[i].fd);
        p[i].fd = -1;
        --open;
      } else {
        sink[i]->append(buf, static_cast<std::size_t>(n));
      }
    }
  }
  for (auto& pf : p)
    if (pf.fd >= 0) close(pf.fd);
  int status = 0;
  while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

}  // namespace vantlo
