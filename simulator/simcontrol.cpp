#include "simulator/simcontrol.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace vantlo::camsim {

namespace {

constexpr int kMaxTake = 1000;
constexpr int kLineTimeoutMs = 1000;
constexpr std::size_t kMaxLine = 256;

sockaddr_un AddressOf(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path)
    throw std::runtime_error("control socket path too long: " + path);
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

// Reads up to a newline (or the end) within the time-out; what came so far otherwise.
std::string ReadLine(int fd, int timeoutMs) {
  std::string line;
  while (line.size() < kMaxLine) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0) break;
    char c = 0;
    const ssize_t n = ::read(fd, &c, 1);
    if (n <= 0 || c == '\n') break;
    line.push_back(c);
  }
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  return line;
}

void WriteLine(int fd, const std::string& line) {
  const std::string out = line + "\n";
  std::size_t done = 0;
  while (done < out.size()) {
    const ssize_t n = ::send(fd, out.data() + done, out.size() - done, MSG_NOSIGNAL);
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

}  // namespace

std::string ControlAnswer(SimulatedCamera& camera, const std::string& line) {
  if (line == "unplug") {
    camera.Unplug();
    return "ok";
  }
  if (line == "plug") {
    camera.Plug();
    return "ok";
  }
  if (line == "count") return "ok " + std::to_string(camera.PictureCount());
  if (line == "take" || line.rfind("take ", 0) == 0) {
    int count = 1;
    if (line.size() > 5) {
      char* end = nullptr;
      const long n = std::strtol(line.c_str() + 5, &end, 10);
      if (*end != '\0' || n < 1 || n > kMaxTake) return "error bad count";
      count = static_cast<int>(n);
    }
    return "ok " + std::to_string(camera.TakePictures(count));
  }
  return "error unknown command";
}

SimControl::SimControl(SimulatedCamera& camera, std::string path)
    : camera_(camera), path_(std::move(path)) {
  const sockaddr_un address = AddressOf(path_);
  fd_ = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd_ < 0) throw std::runtime_error(std::string("control socket: ") + std::strerror(errno));
  ::unlink(path_.c_str());
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd_, 8) != 0) {
    const int error = errno;
    ::close(fd_);
    fd_ = -1;
    throw std::runtime_error("control socket " + path_ + ": " + std::strerror(error));
  }
}

SimControl::~SimControl() {
  if (fd_ >= 0) ::close(fd_);
  ::unlink(path_.c_str());
}

void SimControl::ServeOne() {
  const int client = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  WriteLine(client, ControlAnswer(camera_, ReadLine(client, kLineTimeoutMs)));
  ::close(client);
}

std::string SendControl(const std::string& path, const std::string& line) {
  const sockaddr_un address = AddressOf(path);
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error(std::string("control socket: ") + std::strerror(errno));
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    const int error = errno;
    ::close(fd);
    throw std::runtime_error("control socket " + path + ": " + std::strerror(error));
  }
  WriteLine(fd, line);
  // Plugging in waits for the camera's thread; the answer may take a moment.
  std::string answer = ReadLine(fd, 10000);
  ::close(fd);
  return answer;
}

}  // namespace vantlo::camsim
