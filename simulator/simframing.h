// Bytes of the camera link as the camera sends them: control characters, the command checksum
// and the packet frame (0x02, length high/low, data, trailer, checksum).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantlo::camsim {

constexpr uint8_t kEnq = 0x05;
constexpr uint8_t kAck = 0x06;
constexpr uint8_t kNak = 0x15;
constexpr uint8_t kDc2 = 0x12;
constexpr uint8_t kPacketLead = 0x02;
constexpr uint8_t kDataTrailer = 0x17;
constexpr uint8_t kEndTrailer = 0x03;

// Ones' complement of the byte sum modulo 256.
inline uint8_t Checksum(const uint8_t* data, size_t count, uint8_t start = 0) {
  unsigned sum = start;
  for (size_t i = 0; i < count; ++i) sum += data[i];
  return static_cast<uint8_t>(~sum & 0xFF);
}

// One packet: lead, length high, length low, data, trailer, checksum over the length bytes, the
// data and the trailer. With no data it is the end packet 02 00 00 03 FC.
inline std::vector<uint8_t> MakePacket(const uint8_t* data, size_t count) {
  std::vector<uint8_t> p;
  p.reserve(count + 5);
  p.push_back(kPacketLead);
  p.push_back(static_cast<uint8_t>((count >> 8) & 0xFF));
  p.push_back(static_cast<uint8_t>(count & 0xFF));
  p.insert(p.end(), data, data + count);
  p.push_back(count ? kDataTrailer : kEndTrailer);
  p.push_back(Checksum(p.data() + 1, p.size() - 1));
  return p;
}

}  // namespace vantlo::camsim
