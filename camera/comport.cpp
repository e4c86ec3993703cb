#include "camera/comport.h"

#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

#include "camera/custombaud.h"
#include "camera/porterrors.h"
#include "camera/portmap.h"
#include "camera/transmitwait.h"

namespace vantlo {

namespace {

// The rates termios has constants for; the others need the custom-rate call.
speed_t StandardSpeed(std::uint32_t rate) {
  switch (rate) {
    case 110:
      return B110;
    case 300:
      return B300;
    case 600:
      return B600;
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    case 19200:
      return B19200;
    case 38400:
      return B38400;
    case 57600:
      return B57600;
    case 115200:
      return B115200;
    default:
      return B0;
  }
}

class tcommstateerror : public std::runtime_error {
 public:
  tcommstateerror() : std::runtime_error("Error setting comm state in setparams") {}
};

}  // namespace

tcomport::tcomport(const tcommparams& params, twaiter* waiter, const tclock* clock)
    : params_(params),
      waiter_(waiter ? waiter : &trealwaiter::Instance()),
      clock_(clock ? clock : &tsteadyclock::Instance()) {}

tcomport::~tcomport() { Close(); }

void tcomport::SetWaiter(twaiter* waiter) { waiter_ = waiter ? waiter : &trealwaiter::Instance(); }

void tcomport::SetErrno(int err) {
  lastError_ = PortErrorFromErrno(err);
  if (lastError_ == 0) lastError_ = kErrorGenFailure;
  permissionText_ = lastError_ == kErrorPermission ? PermissionErrorText(device_) : std::string();
}

void tcomport::FailClosed() {
  // Invalid handle; but a failed open's own code says more, so it stays.
  if (lastError_ == 0) lastError_ = 6;
  ReportLineErrors();
}

std::string tcomport::LastErrorText() const {
  if (lastError_ == kErrorPermission && !permissionText_.empty()) return permissionText_;
  return PortErrorText(lastError_);
}

void tcomport::Open() {
  Close();
  lastError_ = 0;
  permissionText_.clear();
  device_ = tportmap::Global().DevicePath(params_.PortName);
  // Non-blocking: every wait is a poll() against a deadline, never a read
  // that could hang on a silent line.
  const int fd = ::open(device_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  const int openErr = errno;
  if (irdaMode_) waiter_->Wait(1000);
  if (fd < 0) {
    SetErrno(openErr);
    return;
  }
  // TIOCEXCL keeps other programs out, but root passes it; the advisory lock
  // is what makes a second Vantlo (or a second port object) see "Already Open".
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int err = errno;
    ::close(fd);
    SetErrno(err == EWOULDBLOCK ? EBUSY : err);
    return;
  }
  (void)ioctl(fd, TIOCEXCL);
  fd_ = fd;
  struct stat st {};
  // Unix98 pseudo-terminal slaves have majors 136..143.
  pseudoTerminal_ = fstat(fd, &st) == 0 && S_ISCHR(st.st_mode) && major(st.st_rdev) >= 136 &&
                    major(st.st_rdev) <= 143;
  haveCounters_ = false;
  try {
    ApplyLineSettings();
    if (irdaMode_) waiter_->Wait(1000);
    ClearLineErrors();
  } catch (const std::exception&) {
    // A refused line setting leaves the port closed and a non-zero code, so
    // no caller reads the failure as "No Error".
    const int code = lastError_ != 0 ? lastError_ : kErrorGenFailure;
    const std::string text = permissionText_;
    Close();
    lastError_ = code;
    permissionText_ = text;
  }
}

void tcomport::Close() {
  if (fd_ < 0) return;
  // Drop exclusive mode first: on a pseudo-terminal the flag outlives our
  // descriptor and would refuse our own reopen after a speed change.
  (void)ioctl(fd_, TIOCNXCL);
  flock(fd_, LOCK_UN);
  ::close(fd_);
  fd_ = -1;
}

void tcomport::ApplyLineSettings() {
  termios tio{};
  auto refuse = [this](int err) {
    SetErrno(err);
    throw tcommstateerror();
  };
  if (tcgetattr(fd_, &tio) != 0) refuse(errno);
  cfmakeraw(&tio);
  tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
  tio.c_cflag |= CLOCAL | CREAD;
  tio.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;

  if (params_.DataBitsIndex >= kDataBits.size()) refuse(EINVAL);
  switch (kDataBits[params_.DataBitsIndex]) {
    case 5:
      tio.c_cflag |= CS5;
      break;
    case 6:
      tio.c_cflag |= CS6;
      break;
    case 7:
      tio.c_cflag |= CS7;
      break;
    case 8:
      tio.c_cflag |= CS8;
      break;
    default:
      refuse(EINVAL);  // 4-bit characters: no UART driver offers them
  }
  if (params_.ParityIndex >= kParities.size()) refuse(EINVAL);
  switch (kParities[params_.ParityIndex]) {
    case tparity::none:
      break;
    case tparity::odd:
      tio.c_cflag |= PARENB | PARODD;
      break;
    case tparity::even:
      tio.c_cflag |= PARENB;
      break;
    case tparity::mark:
      tio.c_cflag |= PARENB | CMSPAR | PARODD;
      break;
    case tparity::space:
      tio.c_cflag |= PARENB | CMSPAR;
      break;
  }
  if (params_.StopBitsIndex >= kStopBits.size()) refuse(EINVAL);
  // With 5-bit characters a UART sends 1.5 stop bits for CSTOPB.
  if (kStopBits[params_.StopBitsIndex] != tstopbits::one) tio.c_cflag |= CSTOPB;

  const std::uint32_t rate = BaudRateOfIndex(params_.BaudIndex);
  if (rate == 0) refuse(EINVAL);
  const speed_t standard = StandardSpeed(rate);
  cfsetispeed(&tio, standard != B0 ? standard : B9600);
  cfsetospeed(&tio, standard != B0 ? standard : B9600);

  if (irdaMode_) waiter_->Wait(100);
  if (tcsetattr(fd_, TCSANOW, &tio) != 0) refuse(errno);
  if (standard == B0) {
    if (const int err = SetCustomLineRate(fd_, rate); err != 0) refuse(err);
  }
  if (irdaMode_) waiter_->Wait(100);

  // DTR on; RTS on for an infrared adapter (it powers the transceiver), off on
  // a cable. Devices without modem lines (pseudo-terminals) refuse these
  // calls, which must not stop the open.
  int dtr = TIOCM_DTR;
  (void)ioctl(fd_, TIOCMBIS, &dtr);
  int rts = TIOCM_RTS;
  (void)ioctl(fd_, irdaMode_ ? TIOCMBIS : TIOCMBIC, &rts);

  ApplyTimeouts();
}

void tcomport::ApplyTimeouts() {
  // Reads and writes take their limits from params_ on every call; only the
  // infrared settle wait remains of applying them.
  if (irdaMode_) waiter_->Wait(100);
}

std::uint32_t tcomport::ClearLineErrors() {
  if (fd_ < 0) return 0;
  serial_icounter_struct counters{};
  if (ioctl(fd_, TIOCGICOUNT, &counters) != 0) return 0;
  const std::uint32_t now[5] = {
      static_cast<std::uint32_t>(counters.buf_overrun),
      static_cast<std::uint32_t>(counters.overrun), static_cast<std::uint32_t>(counters.parity),
      static_cast<std::uint32_t>(counters.frame), static_cast<std::uint32_t>(counters.brk)};
  std::uint32_t mask = 0;
  if (haveCounters_) {
    static const std::uint32_t kBits[5] = {1, 2, 4, 8, 16};
    for (int i = 0; i < 5; ++i) {
      if (now[i] != lastCounters_[i]) mask |= kBits[i];
    }
  }
  for (int i = 0; i < 5; ++i) lastCounters_[i] = now[i];
  haveCounters_ = true;
  return mask;
}

void tcomport::ReportLineErrors() {
  if (lastError_ == 0 || lastError_ == kErrorNotReady) return;
  const std::uint32_t mask = ClearLineErrors();
  if (!showErrors_) return;
  // Flow control is off, so none of the hold states can arise here.
  const std::string text = LineErrorText(mask, 0, lastError_);
  if (OnLineErrorReport) {
    OnLineErrorReport(text);
  } else {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
}

int tcomport::WriteBytes(const void* buffer, std::size_t count, std::size_t& written) {
  written = 0;
  if (showErrors_) ReportLineErrors();
  if (fd_ < 0) {
    FailClosed();
    return -1;
  }
  ClearLineErrors();
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  tdeadline deadline(*clock_, params_.WriteTimeout);
  while (written < count) {
    const ssize_t n = ::write(fd_, bytes + written, count - written);
    if (n > 0) {
      written += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      SetErrno(errno);
      ReportLineErrors();
      return -1;
    }
    pollfd p{fd_, POLLOUT, 0};
    const int r = poll(&p, 1, deadline.RemainingMs());
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) {
      SetErrno(errno);
      ReportLineErrors();
      return -1;
    }
    if (r == 0) break;  // write time-out: the count tells the caller
  }
  // Return once the bytes are on the line, as a synchronous write to a
  // Windows port does: the next command's transmit purge must not discard an
  // ACK still sitting in the UART. The wait ends with the write time-out;
  // bytes still queued then count as not written, and are dropped so that
  // they cannot leave later in the middle of another exchange.
  if (written > 0 && !pseudoTerminal_) {
    const std::uint32_t rate = BaudRateOfIndex(params_.BaudIndex);
    const int lineTimeMs =
        rate == 0 ? 0 : static_cast<int>((written * 10 * 1000 + rate - 1) / rate);
    const int fd = fd_;
    const std::size_t stuck = WaitUntilSent(
        [fd] {
          int queued = 0;
          return ioctl(fd, TIOCOUTQ, &queued) == 0 ? queued : -1;
        },
        deadline, lineTimeMs,
        [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); });
    if (stuck > 0) {
      tcflush(fd_, TCOFLUSH);
      written -= std::min(stuck, written);
    }
  }
  return 0;
}

int tcomport::ReadBytes(void* buffer, std::size_t count, std::size_t& read) {
  read = 0;
  if (showErrors_) ReportLineErrors();
  if (fd_ < 0) {
    FailClosed();
    return -1;
  }
  ClearLineErrors();
  auto* bytes = static_cast<std::uint8_t*>(buffer);
  // Total time-out: 1 ms per byte plus the constant, as one deadline across
  // every partial read and interrupted poll.
  tdeadline deadline(*clock_, static_cast<std::int64_t>(count) + params_.ReadTimeout);
  while (read < count) {
    pollfd p{fd_, POLLIN, 0};
    const int r = poll(&p, 1, deadline.RemainingMs());
    if (r < 0) {
      if (errno == EINTR) continue;
      SetErrno(errno);
      ReportLineErrors();
      return -1;
    }
    if (r == 0) break;  // time-out: return what arrived
    if (p.revents & POLLIN) {
      const ssize_t n = ::read(fd_, bytes + read, count - read);
      if (n > 0) {
        read += static_cast<std::size_t>(n);
        continue;
      }
      if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
      if (n < 0) {
        SetErrno(errno);
        ReportLineErrors();
        return -1;
      }
    }
    // Hang-up (the other end of a pseudo-terminal went away, an adapter was
    // unplugged) or an end of file: nothing more can arrive.
    lastError_ = kErrorNotReady;
    return read > 0 ? 0 : -1;
  }
  return 0;
}

void tcomport::SetBaudIndex(std::uint8_t index) {
  params_.BaudIndex = index;
  if (irdaMode_ || fd_ < 0) return;
  tcflush(fd_, pseudoTerminal_ ? TCIFLUSH : TCIOFLUSH);
  termios tio{};
  if (tcgetattr(fd_, &tio) != 0) return;
  const std::uint32_t rate = BaudRateOfIndex(index);
  if (rate == 0) return;
  const speed_t standard = StandardSpeed(rate);
  if (standard != B0) {
    cfsetispeed(&tio, standard);
    cfsetospeed(&tio, standard);
    (void)tcsetattr(fd_, TCSANOW, &tio);
  } else {
    (void)SetCustomLineRate(fd_, rate);
  }
}

void tcomport::PurgeReceive() {
  if (fd_ >= 0) tcflush(fd_, TCIFLUSH);
}

void tcomport::PurgeTransmit() {
  // A pseudo-terminal has no transmit queue: written bytes are already in the
  // other side's input, and flushing "output" there would destroy bytes that
  // have, in effect, crossed the wire (an ACK the camera has not read yet).
  if (fd_ >= 0 && !pseudoTerminal_) tcflush(fd_, TCOFLUSH);
}

void tcomport::SetReadTimeout(std::uint16_t ms) {
  if (ms == params_.ReadTimeout) return;
  params_.ReadTimeout = ms;
  if (fd_ >= 0) ApplyTimeouts();
}

void tcomport::SetWriteTimeout(std::uint16_t ms) {
  if (ms == params_.WriteTimeout) return;
  params_.WriteTimeout = ms;
  if (fd_ >= 0) ApplyTimeouts();
}

void tcomport::SetIrdaMode(bool irda) {
  if (irda == irdaMode_) return;
  irdaMode_ = irda;
  if (fd_ >= 0) {
    Close();
    waiter_->Wait(1000);
    Open();
  }
}

}  // namespace vantlo
