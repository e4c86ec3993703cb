// The fixed waits the camera protocol prescribes and the baud-index table,
// shared by the benchmarks that compute a transfer's line-time limit.
#pragma once

#include <cstdint>
#include <cstdio>

namespace vantlo::bench {

constexpr double kCheckCameraWaits = 0.300;    // the handshake's three 100 ms waits
constexpr double kCommandEnquiryWait = 0.001;  // after the command's ENQ
constexpr double kCommandByteWaits = 0.002;    // 1 ms before and after each command byte
constexpr double kDc2Wait = 0.010;             // after DC2 starts a transfer

// The prescribed waits of the exchanges the simulated camera counted (its LineStats): a
// handshake for every enquiry that did not start a command, the command pacing, the DC2 waits.
template <typename tstats>
double PrescribedWaits(const tstats& s) {
  const int checks = s.enquiries - s.commands;
  return checks * kCheckCameraWaits + s.commands * kCommandEnquiryWait +
         static_cast<double>(s.commandBytes) * kCommandByteWaits + s.transfers * kDc2Wait;
}

// One `name: value` line of a benchmark's output, flushed at once.
inline void PrintValue(const char* name, double value, const char* format = "%.4f") {
  std::printf("%s: ", name);
  std::printf(format, value);
  std::printf("\n");
  std::fflush(stdout);
}

inline std::uint8_t BaudIndex(int baud) {
  switch (baud) {
    case 9600:
      return 6;
    case 19200:
      return 8;
    case 38400:
      return 9;
    case 57600:
      return 11;
    case 115200:
      return 12;
    default:
      return 0;
  }
}

}  // namespace vantlo::bench
