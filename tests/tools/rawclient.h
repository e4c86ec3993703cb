// A bare pty client for the simulator tests: it speaks the link byte by byte so the tests see
// exactly what the simulated camera puts on the wire, with no engine in between.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vantlo::testing {

using Bytes = std::vector<uint8_t>;

class RawClient {
 public:
  explicit RawClient(const std::string& device, int baud = 9600);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  void SetBaud(int baud);
  void Write(const Bytes& bytes);
  // Reads up to n bytes, waiting at most timeoutMs in total.
  Bytes Read(size_t n, int timeoutMs = 1000);

  struct Exchange {
    int enquiryAnswer = -1;  // ACK, NAK or -1 for none
    int checksum = -1;       // the camera's checksum byte, -1 for none
    Bytes data;              // data bytes after the checksum
  };
  // ENQ, the command, ACK, then `dataBytes` data bytes.
  Exchange Command(const Bytes& command, size_t dataBytes, int timeoutMs = 500);

  // An enquiry answered: the camera has finished everything sent before it.
  bool Sync();

  struct Packet {
    Bytes raw;  // as received
    bool complete = false;
  };
  // DC2, then reads packets (answering each with ACK) until the end packet; returns them all.
  std::vector<Packet> ReceivePackets(int timeoutMs = 1000);

 private:
  int fd_ = -1;
};

Bytes Cmd(const std::string& text);    // command bytes from text (letters and arguments)
Bytes Named(const std::string& text);  // command with a name argument: the text and a NUL
uint8_t OnesComplementSum(const Bytes& bytes);

}  // namespace vantlo::testing
