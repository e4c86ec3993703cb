// A scripted camera on a pseudo-terminal: answers enquiries and commands the
// way a test prescribes, byte for byte, so the engine's handling of odd
// answers (refusals, bad checksums, damaged packets, a folder climb that never
// ends) can be driven exactly. The simulated camera covers the realistic
// behaviour; this covers the cases a camera should never produce.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/camera/ptypair.h"

namespace vantlo::test {

using tbytes = std::vector<std::uint8_t>;

struct tscriptanswer {
  tbytes data;                  // data bytes after the checksum (reply length - 2)
  bool wrongChecksum = false;   // send a checksum byte that does not match
  bool noChecksum = false;      // say nothing after the command
  std::vector<tbytes> packets;  // raw packets sent, in order, after the next DC2
  // Alternatively, packets made one at a time (for long transfers): returns
  // false when there are no more.
  std::function<bool(int index, tbytes& packet)> packetSource;
};

// A data packet as the camera frames it: 0x02, length, data, trailer, checksum.
tbytes Packet(const tbytes& data, bool wrongChecksum = false);
tbytes EndPacket();

class tscriptcamera {
 public:
  tscriptcamera();
  ~tscriptcamera();

  const std::string& DevicePath() const { return pty_.SlavePath(); }
  tptypair& Pty() { return pty_; }

  // Answers to the next enquiries, one byte each (0 = say nothing); once
  // used up, enquiries get ACK.
  void QueueEnquiryAnswers(const tbytes& answers);
  // Answer for a command (by its letters); the default answers checksum OK,
  // data of zeros.
  void SetHandler(std::function<tscriptanswer(const tbytes& command)> handler);

  // Commands received so far, as text: letters, then arguments in hex.
  std::vector<std::string> Commands() const;
  // ACK/NAK bytes the client sent after each packet.
  tbytes PacketAnswers() const;
  // Waits (up to 5 s) until `count` packet answers or commands have come in.
  tbytes WaitPacketAnswers(std::size_t count) const;
  std::vector<std::string> WaitCommands(std::size_t count) const;
  int Enquiries() const { return enquiries_; }
  int TransferStarts() const { return dc2_; }

 private:
  void Serve();
  bool ReadByte(std::uint8_t& b, int timeoutMs);
  void Send(const tbytes& bytes);

  tptypair pty_;
  mutable std::mutex mutex_;
  std::deque<std::uint8_t> enquiryAnswers_;
  std::function<tscriptanswer(const tbytes&)> handler_;
  std::vector<std::string> commands_;
  tbytes packetAnswers_;
  std::deque<tbytes> pendingPackets_;
  std::function<bool(int, tbytes&)> pendingSource_;
  std::atomic<int> enquiries_{0};
  std::atomic<int> dc2_{0};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Argument bytes that follow the letters of a command; -1 = a NUL-ended name.
int ArgumentBytes(const std::string& letters);

}  // namespace vantlo::test
