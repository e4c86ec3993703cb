#include "tests/camera/ptypair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>

#include "camera/custombaud.h"

namespace vantlo::test {

tptypair::tptypair() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
    throw std::runtime_error("cannot open a pseudo-terminal");
  }
  char name[128] = {};
  if (ptsname_r(master_, name, sizeof name) != 0) throw std::runtime_error("ptsname failed");
  slavePath_ = name;
  slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) throw std::runtime_error("cannot open the pty slave");
  termios tio{};
  tcgetattr(slave_, &tio);
  cfmakeraw(&tio);
  tcsetattr(slave_, TCSANOW, &tio);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
}

tptypair::~tptypair() {
  if (slave_ >= 0) ::close(slave_);
  if (master_ >= 0) ::close(master_);
}

unsigned tptypair::OutputSpeedConstant() const {
  termios tio{};
  tcgetattr(slave_, &tio);
  return cfgetospeed(&tio);
}

unsigned tptypair::LineRate() const { return ReadLineRate(slave_); }

void tptypair::Write(const std::vector<std::uint8_t>& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else {
      pollfd p{master_, POLLOUT, 0};
      poll(&p, 1, 5);
    }
  }
}

std::vector<std::uint8_t> tptypair::Read(std::size_t count, int timeoutMs) {
  using clock = std::chrono::steady_clock;
  const auto end = clock::now() + std::chrono::milliseconds(timeoutMs);
  std::vector<std::uint8_t> out;
  while (out.size() < count) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(end - clock::now()).count();
    if (left <= 0) break;
    pollfd p{master_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    std::uint8_t buf[4096];
    const std::size_t want = std::min(sizeof buf, count - out.size());
    const ssize_t n = ::read(master_, buf, want);
    if (n > 0) out.insert(out.end(), buf, buf + n);
  }
  return out;
}

std::vector<std::uint8_t> tptypair::Drain(int quietMs) {
  std::vector<std::uint8_t> out;
  for (;;) {
    auto chunk = Read(4096, quietMs);
    if (chunk.empty()) return out;
    out.insert(out.end(), chunk.begin(), chunk.end());
  }
}

}  // namespace vantlo::test
