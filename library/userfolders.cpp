#include "library/userfolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace vantlo {

namespace {

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

std::string WithoutTrailingSlash(std::string s) {
  while (s.size() > 1 && s.back() == '/') s.pop_back();
  return s;
}

std::string Trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return {};
  const auto e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

// The file is small and written by xdg-user-dirs-update; a bound keeps a strange file (a FIFO, a
// huge file) from stalling the start.
constexpr std::size_t kMaxUserDirsSize = 64 * 1024;

std::string ReadSmallFile(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
      static_cast<std::size_t>(st.st_size) > kMaxUserDirsSize)
    return {};
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace

std::string UserHomeFolder() {
  std::string home = Env("HOME");
  if (!home.empty() && home[0] == '/') return WithoutTrailingSlash(home);
  // No HOME (a service, a cron job): ask the password database.
  std::vector<char> buffer(16384);
  passwd pw{};
  passwd* result = nullptr;
  if (::getpwuid_r(::getuid(), &pw, buffer.data(), buffer.size(), &result) == 0 && result &&
      result->pw_dir && result->pw_dir[0] == '/')
    return WithoutTrailingSlash(result->pw_dir);
  return "/";
}

std::string PicturesDirFromUserDirs(const std::string& text, const std::string& home) {
  static const std::string kKey = "XDG_PICTURES_DIR=";
  std::string found;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line = Trim(line);
    if (line.rfind(kKey, 0) != 0) continue;
    std::string value = Trim(line.substr(kKey.size()));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
      value = value.substr(1, value.size() - 2);
    if (value.rfind("$HOME", 0) == 0 && (value.size() == 5 || value[5] == '/'))
      value = home + value.substr(5);
    else if (value.empty() || value[0] != '/')
      continue;                           // the file's rules allow only these two forms
    found = WithoutTrailingSlash(value);  // the last line wins, as when the shell reads it
  }
  return found;
}

std::string UserPicturesFolder() {
  const std::string home = UserHomeFolder();
  std::string config = Env("XDG_CONFIG_HOME");
  if (config.empty() || config[0] != '/') config = (home == "/" ? "" : home) + "/.config";
  const std::string fromFile = PicturesDirFromUserDirs(
      ReadSmallFile(WithoutTrailingSlash(config) + "/user-dirs.dirs"), home);
  if (!fromFile.empty()) return fromFile;
  return (home == "/" ? "" : home) + "/Pictures";
}

bool EnsureUserPicturesFolder() {
  const std::string folder = UserPicturesFolder();
  if (::mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST) return false;
  struct stat st {};
  return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace vantlo
