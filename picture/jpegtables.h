// The typical Huffman tables of ITU-T T.81 Annex K.3 (Tables K.3 to K.6) and
// the DHT segments built from them. Camera raw data are coded with these
// tables but carry none, so they are written back when a JFIF stream is built.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace vantlo {

struct thufftable {
  std::uint8_t classid;               // DHT Tc/Th byte: 0x00, 0x10, 0x01, 0x11
  std::array<std::uint8_t, 16> bits;  // number of codes of each length 1..16
  std::vector<std::uint8_t> values;   // symbol values in code order
};

// In the order luminance DC, luminance AC, chrominance DC, chrominance AC.
const std::array<thufftable, 4>& StandardHuffmanTables();

// Four separate DHT segments, 432 bytes together.
const std::vector<std::uint8_t>& SeparateHuffmanSegments();
// One DHT segment holding the four tables, 420 bytes.
const std::vector<std::uint8_t>& CombinedHuffmanSegment();

}  // namespace vantlo
