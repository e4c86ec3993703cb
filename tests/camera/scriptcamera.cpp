#include "tests/camera/scriptcamera.h"

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>

namespace vantlo::test {

tbytes Packet(const tbytes& data, bool wrongChecksum) {
  // Sized once and filled by index: an insert into a three-byte vector
  // trips a false -Warray-bounds in GCC 12's inlined copy.
  tbytes p(3 + data.size());
  p[0] = 0x02;
  p[1] = static_cast<std::uint8_t>(data.size() >> 8);
  p[2] = static_cast<std::uint8_t>(data.size() & 0xFF);
  std::copy(data.begin(), data.end(), p.begin() + 3);
  p.push_back(0x17);
  std::uint8_t sum = 0;
  for (std::size_t i = 1; i < p.size(); ++i) sum = static_cast<std::uint8_t>(sum + p[i]);
  p.push_back(static_cast<std::uint8_t>(~sum + (wrongChecksum ? 1 : 0)));
  return p;
}

tbytes EndPacket() { return {0x02, 0x00, 0x00, 0x03, 0xFC}; }

int ArgumentBytes(const std::string& letters) {
  static const std::map<std::string, int> kArgs = {
      {"CB", 1}, {"PP", 2}, {"RB", 4}, {"DA", 1}, {"XA", 2}, {"DH", 1},  {"DY", 2}, {"XT", 2},
      {"XK", 2}, {"XG", 2}, {"DF", 2}, {"EY", 3}, {"XF", 4}, {"ZG", -1}, {"CD", -1}};
  const auto it = kArgs.find(letters);
  return it == kArgs.end() ? 0 : it->second;
}

tscriptcamera::tscriptcamera() {
  handler_ = [](const tbytes&) { return tscriptanswer{}; };
  thread_ = std::thread([this] { Serve(); });
}

tscriptcamera::~tscriptcamera() {
  stop_ = true;
  thread_.join();
}

void tscriptcamera::QueueEnquiryAnswers(const tbytes& answers) {
  std::lock_guard lock(mutex_);
  enquiryAnswers_.insert(enquiryAnswers_.end(), answers.begin(), answers.end());
}

void tscriptcamera::SetHandler(std::function<tscriptanswer(const tbytes&)> handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

std::vector<std::string> tscriptcamera::Commands() const {
  std::lock_guard lock(mutex_);
  return commands_;
}

tbytes tscriptcamera::PacketAnswers() const {
  std::lock_guard lock(mutex_);
  return packetAnswers_;
}

tbytes tscriptcamera::WaitPacketAnswers(std::size_t count) const {
  for (int i = 0; i < 250 && PacketAnswers().size() < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return PacketAnswers();
}

std::vector<std::string> tscriptcamera::WaitCommands(std::size_t count) const {
  for (int i = 0; i < 250 && Commands().size() < count; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return Commands();
}

bool tscriptcamera::ReadByte(std::uint8_t& b, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs && !stop_; waited += 20) {
    pollfd p{pty_.Master(), POLLIN, 0};
    if (poll(&p, 1, 20) > 0 && ::read(pty_.Master(), &b, 1) == 1) return true;
  }
  return false;
}

void tscriptcamera::Send(const tbytes& bytes) {
  // Written in slices so that a client that stopped reading cannot hold the
  // thread at shutdown.
  std::size_t done = 0;
  while (done < bytes.size() && !stop_) {
    const ssize_t n = ::write(pty_.Master(), bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else {
      pollfd p{pty_.Master(), POLLOUT, 0};
      poll(&p, 1, 5);
    }
  }
}

void tscriptcamera::Serve() {
  while (!stop_) {
    std::uint8_t b = 0;
    if (!ReadByte(b, 100)) continue;
    if (b == 0x05) {
      ++enquiries_;
      std::uint8_t answer = 0x06;
      {
        std::lock_guard lock(mutex_);
        if (!enquiryAnswers_.empty()) {
          answer = enquiryAnswers_.front();
          enquiryAnswers_.pop_front();
        }
      }
      if (answer != 0) Send({answer});
      continue;
    }
    if (b == 0x12) {
      ++dc2_;
      std::deque<tbytes> packets;
      std::function<bool(int, tbytes&)> source;
      {
        std::lock_guard lock(mutex_);
        packets.swap(pendingPackets_);
        source.swap(pendingSource_);
      }
      tbytes packet;
      for (int index = 0; !stop_; ++index) {
        if (source) {
          if (!source(index, packet)) break;
        } else {
          if (packets.empty()) break;
          packet = std::move(packets.front());
          packets.pop_front();
        }
        Send(packet);
        std::uint8_t reply = 0;
        if (!ReadByte(reply, 5000)) break;
        std::lock_guard lock(mutex_);
        packetAnswers_.push_back(reply);
      }
      continue;
    }
    if (b < 'A' || b > 'z') continue;  // stray ACK/NAK or noise
    std::uint8_t second = 0;
    if (!ReadByte(second, 1000)) continue;
    tbytes command = {b, second};
    const std::string letters(command.begin(), command.end());
    const int args = ArgumentBytes(letters);
    bool complete = true;
    if (args < 0) {
      std::uint8_t c = 1;
      while (complete && c != 0) {
        complete = ReadByte(c, 1000);
        if (complete) command.push_back(c);
      }
    } else {
      for (int i = 0; i < args && complete; ++i) {
        std::uint8_t c = 0;
        complete = ReadByte(c, 1000);
        if (complete) command.push_back(c);
      }
    }
    if (!complete) continue;
    std::string text = letters;
    for (std::size_t i = 2; i < command.size(); ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", command[i]);
      text += hex;
    }
    tscriptanswer answer;
    {
      std::lock_guard lock(mutex_);
      commands_.push_back(text);
      answer = handler_(command);
      for (auto& p : answer.packets) pendingPackets_.push_back(p);
      if (answer.packetSource) pendingSource_ = answer.packetSource;
    }
    if (answer.noChecksum) continue;
    std::uint8_t sum = 0;
    for (std::uint8_t c : command) sum = static_cast<std::uint8_t>(sum + c);
    sum = static_cast<std::uint8_t>(~sum);
    if (answer.wrongChecksum) sum = static_cast<std::uint8_t>(sum ^ 0x5A);
    Send({sum});
    std::uint8_t ack = 0;
    if (!ReadByte(ack, 3000) || ack != 0x06) continue;
    if (!answer.data.empty()) Send(answer.data);
  }
}

}  // namespace vantlo::test
