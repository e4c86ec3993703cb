#include "app/core/webcamoutput.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "app/core/naming.h"
#include "library/unixfile.h"

extern char** environ;

namespace vantlo {

namespace {

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

std::string Reason(int error) { return std::strerror(error); }

}  // namespace

std::string WebcamOutputPath(const std::string& setting, tfilenamer& namer, long counter) {
  namer.EnsureDailyFolder();
  if (setting.empty()) return namer.FileName(counter, tnamekind::webcam, "JPG");
  const std::size_t slash = setting.rfind('/');
  if (slash == std::string::npos) return namer.Folder() + Lower(setting);
  return setting.substr(0, slash + 1) + Lower(setting.substr(slash + 1));
}

void WriteWebcamOutput(const std::string& path, std::span<const std::uint8_t> bytes) {
  const std::string temp = path + "_";
  if (const int e = WriteFileAtomically(temp, bytes, 0666); e != 0)
    throw twebcamerror("Error writing file " + temp + ": " + Reason(e));
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(temp.c_str());
    throw twebcamerror("Error writing file " + path + ": " + Reason(e));
  }
}

void RunWebcamProgram(const std::string& program, const std::string& picture) {
  if (program.empty()) throw twebcamerror("No program is set to run after each picture");
  std::string p = program;
  std::string a = picture;
  char* argv[] = {p.data(), a.data(), nullptr};
  pid_t pid = 0;
  // A name with a "/" is a path; a bare name is looked up on PATH as a shell would.
  const int e = program.find('/') != std::string::npos
                    ? ::posix_spawn(&pid, p.c_str(), nullptr, nullptr, argv, environ)
                    : ::posix_spawnp(&pid, p.c_str(), nullptr, nullptr, argv, environ);
  if (e != 0) throw twebcamerror("Cannot run " + program + ": " + Reason(e));
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
}

}  // namespace vantlo
