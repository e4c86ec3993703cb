#include "simulator/ptyline.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace vantlo::camsim {

namespace {

std::runtime_error SystemError(const char* what) {
  return std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

void MakeRaw(int fd) {
  termios t{};
  if (tcgetattr(fd, &t) != 0) return;
  cfmakeraw(&t);
  cfsetispeed(&t, B9600);
  cfsetospeed(&t, B9600);
  tcsetattr(fd, TCSANOW, &t);
}

}  // namespace

int BaudFromSpeed(unsigned speed) {
  switch (speed) {
    case B110:
      return 110;
    case B300:
      return 300;
    case B600:
      return 600;
    case B1200:
      return 1200;
    case B2400:
      return 2400;
    case B4800:
      return 4800;
    case B9600:
      return 9600;
    case B19200:
      return 19200;
    case B38400:
      return 38400;
    case B57600:
      return 57600;
    case B115200:
      return 115200;
    case B230400:
      return 230400;
    default:
      return 0;
  }
}

PtyLine::PtyLine() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (master_ < 0) throw SystemError("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
    int e = errno;
    close(master_);
    errno = e;
    throw SystemError("unlockpt");
  }
  char name[128];
  if (ptsname_r(master_, name, sizeof name) != 0) {
    int e = errno;
    close(master_);
    errno = e;
    throw SystemError("ptsname");
  }
  slavePath_ = name;
  slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) {
    int e = errno;
    close(master_);
    errno = e;
    throw SystemError("open pty slave");
  }
  MakeRaw(slave_);
  int flags = fcntl(master_, F_GETFL);
  fcntl(master_, F_SETFL, flags | O_NONBLOCK);
}

PtyLine::~PtyLine() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
}

int PtyLine::ClientBaud() const {
  termios t{};
  if (tcgetattr(master_, &t) != 0) return 0;
  return BaudFromSpeed(cfgetospeed(&t));
}

size_t PtyLine::Read(uint8_t* buffer, size_t max, int timeoutMs) {
  pollfd p{master_, POLLIN, 0};
  int r = poll(&p, 1, timeoutMs);
  if (r <= 0 || !(p.revents & POLLIN)) return 0;
  ssize_t n = read(master_, buffer, max);
  return n > 0 ? static_cast<size_t>(n) : 0;
}

bool PtyLine::Write(const uint8_t* data, size_t count, const std::atomic<bool>& abort) {
  size_t done = 0;
  while (done < count) {
    if (abort) return false;
    ssize_t n = write(master_, data + done, count - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    pollfd p{master_, POLLOUT, 0};
    poll(&p, 1, 50);
  }
  return true;
}

void PtyLine::DrainInput() {
  tcflush(master_, TCIFLUSH);
  uint8_t scratch[512];
  while (Read(scratch, sizeof scratch, 0) > 0) {
  }
}

}  // namespace vantlo::camsim
