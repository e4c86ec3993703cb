// Line parameters of the serial port and the lookup tables that turn their
// indices into line settings. The indices are kept as the program stores them
// (baud index 6 = 9600 baud, and so on).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace vantlo {

struct tcommparams {
  std::string PortName = "COM2:";
  std::uint8_t BaudIndex = 6;
  std::uint8_t ParityIndex = 0;
  std::uint8_t StopBitsIndex = 0;
  std::uint8_t DataBitsIndex = 4;
  std::int32_t InQueueSize = 4500;
  std::int32_t OutQueueSize = 1024;
  std::uint16_t ReadTimeout = 3000;
  std::uint16_t WriteTimeout = 2000;
};

enum class tparity : std::uint8_t { none = 0, odd = 1, even = 2, mark = 3, space = 4 };
enum class tstopbits : std::uint8_t { one = 0, oneAndHalf = 1, two = 2 };

inline constexpr std::array<std::uint32_t, 15> kBaudRates = {110,   300,   600,    1200,   2400,
                                                             4800,  9600,  14400,  19200,  38400,
                                                             56000, 57600, 115200, 128000, 256000};
inline constexpr std::array<tparity, 5> kParities = {tparity::none, tparity::odd, tparity::even,
                                                     tparity::mark, tparity::space};
inline constexpr std::array<tstopbits, 3> kStopBits = {tstopbits::one, tstopbits::oneAndHalf,
                                                       tstopbits::two};
inline constexpr std::array<std::uint8_t, 5> kDataBits = {4, 5, 6, 7, 8};

// The process-wide default record: "COM2:", 9600 baud, 8N1, 3000/2000 ms.
const tcommparams& DefaultCommParams();
inline constexpr std::uint8_t kDefaultBaudIndex = 6;

// Baud rate of an index; 0 when the index is outside the table.
std::uint32_t BaudRateOfIndex(std::uint8_t index);

}  // namespace vantlo
