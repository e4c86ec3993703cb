#include "rawclient.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace vantlo::testing {

namespace {

speed_t SpeedOf(int baud) {
  switch (baud) {
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
      throw std::invalid_argument("unsupported baud rate");
  }
}

}  // namespace

RawClient::RawClient(const std::string& device, int baud) {
  fd_ = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) throw std::runtime_error("cannot open " + device);
  SetBaud(baud);
}

RawClient::~RawClient() {
  if (fd_ >= 0) close(fd_);
}

void RawClient::SetBaud(int baud) {
  termios t{};
  tcgetattr(fd_, &t);
  cfmakeraw(&t);
  cfsetispeed(&t, SpeedOf(baud));
  cfsetospeed(&t, SpeedOf(baud));
  tcsetattr(fd_, TCSANOW, &t);
}

void RawClient::Write(const Bytes& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0)
      done += static_cast<size_t>(n);
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

Bytes RawClient::Read(size_t n, int timeoutMs) {
  Bytes out;
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (out.size() < n) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                    deadline - std::chrono::steady_clock::now())
                    .count();
    if (left <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
    uint8_t buffer[4096];
    ssize_t got = read(fd_, buffer, std::min(sizeof buffer, n - out.size()));
    if (got > 0) out.insert(out.end(), buffer, buffer + got);
  }
  return out;
}

RawClient::Exchange RawClient::Command(const Bytes& command, size_t dataBytes, int timeoutMs) {
  Exchange e;
  Write({0x05});
  Bytes a = Read(1, timeoutMs);
  if (a.empty()) return e;
  e.enquiryAnswer = a[0];
  if (a[0] != 0x06) return e;
  for (uint8_t b : command) {
    Write({b});
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  Bytes c = Read(1, timeoutMs);
  if (c.empty()) return e;
  e.checksum = c[0];
  Write({0x06});
  if (dataBytes) e.data = Read(dataBytes, timeoutMs);
  return e;
}

bool RawClient::Sync() {
  Write({0x05});
  return Read(1) == Bytes{0x06};
}

std::vector<RawClient::Packet> RawClient::ReceivePackets(int timeoutMs) {
  std::vector<Packet> packets;
  Write({0x12});
  for (int guard = 0; guard < 10000; ++guard) {
    Packet p;
    p.raw = Read(3, timeoutMs);
    if (p.raw.size() < 3) {
      packets.push_back(p);
      return packets;
    }
    size_t n = static_cast<size_t>(p.raw[1]) * 256 + p.raw[2];
    Bytes rest = Read(n + 2, timeoutMs);
    p.raw.insert(p.raw.end(), rest.begin(), rest.end());
    p.complete = rest.size() == n + 2;
    packets.push_back(p);
    if (!p.complete) return packets;
    Write({0x06});
    if (n == 0) return packets;
  }
  return packets;
}

Bytes Cmd(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Named(const std::string& text) {
  Bytes b(text.begin(), text.end());
  b.push_back(0);
  return b;
}

uint8_t OnesComplementSum(const Bytes& bytes) {
  unsigned sum = 0;
  for (uint8_t b : bytes) sum += b;
  return static_cast<uint8_t>(~sum & 0xFF);
}

}  // namespace vantlo::testing
