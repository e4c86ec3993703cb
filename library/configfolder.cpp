#include "library/configfolder.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "library/unixfile.h"

namespace vantlo::configfolder {

namespace {

constexpr mode_t kFolderMode = 0700;

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty()) return home;
  // No HOME (a service, a cron job): ask the password database.
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result &&
      result->pw_dir) {
    return result->pw_dir;
  }
  return "/";
}

}  // namespace

std::string Resolve() {
  std::string dir = Env("VANTLO_CONFIG_DIR");
  if (!dir.empty()) return dir;
  std::string base = Env("XDG_CONFIG_HOME");
  if (base.empty() || base[0] != '/') {
    base = HomeFolder();
    if (base.empty() || base.back() != '/') base += '/';
    base += ".config";
  }
  if (base.back() != '/') base += '/';
  return base + "Corvane/Vantlo";
}

bool EnsurePrivate(const std::string& folder, bool tighten) {
  if (folder.empty()) {
    errno = ENOENT;
    return false;
  }
  // Create each missing component in turn, so parents made here are
  // private too (they are part of the path to the passwords).
  std::string path;
  std::size_t pos = 0;
  while (pos <= folder.size()) {
    std::size_t next = folder.find('/', pos);
    if (next == std::string::npos) next = folder.size();
    path = folder.substr(0, next);
    pos = next + 1;
    if (path.empty()) continue;  // the leading "/"
    if (::mkdir(path.c_str(), kFolderMode) != 0 && errno != EEXIST) return false;
  }
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return false;
  if (!S_ISDIR(st.st_mode)) {
    errno = ENOTDIR;
    return false;
  }
  if (tighten && st.st_uid == ::geteuid() && (st.st_mode & 077) != 0) {
    ::chmod(folder.c_str(), kFolderMode);  // best effort; reading still works
  }
  return true;
}

std::optional<std::vector<std::uint8_t>> ReadBounded(const std::string& path, std::size_t limit) {
  unixfile fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!fd) return std::nullopt;
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
  if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > limit) return std::nullopt;
  // Read one byte more than allowed so a file that grew after fstat is
  // still recognised as too large.
  std::vector<std::uint8_t> bytes(limit + 1);
  std::size_t got = 0;
  while (got < bytes.size()) {
    const ssize_t n = ::read(fd.get(), bytes.data() + got, bytes.size() - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return std::nullopt;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > limit) return std::nullopt;
  bytes.resize(got);
  return bytes;
}

}  // namespace vantlo::configfolder
