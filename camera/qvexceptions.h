// The camera exceptions. Each carries the text shown to the user. The side
// effects of a lost connection (back to 9600 baud, camera type forgotten) are
// done by the engine before it throws tqvnotconnected, in a step that cannot
// itself throw, so constructing the exception stays a plain value operation.
#pragma once

#include <stdexcept>
#include <string>

namespace vantlo {

inline constexpr const char* kNotConnectedMessage =
    "Camera is not connected or communicating properly; check and reset";
// Used by the picture count check; two spaces after the semicolon, as shown.
inline constexpr const char* kNotCommunicatingMessage =
    "Camera is not communicating properly;  check and reset";
inline constexpr const char* kBadPicNumMessage = "Illegal Picture Number";
inline constexpr const char* kPlayPosMessage = "Camera must be in REC mode";
inline constexpr const char* kLowVoltageMessage = "Battery Voltage is low; change batteries now";
inline constexpr const char* kStoppedMessage = "Stopped";

class tqvnotconnected : public std::runtime_error {
 public:
  explicit tqvnotconnected(const std::string& message = kNotConnectedMessage)
      : std::runtime_error(message) {}
};

class tqvbadpicnum : public std::runtime_error {
 public:
  tqvbadpicnum() : std::runtime_error(kBadPicNumMessage) {}
};

class tqvplaypos : public std::runtime_error {
 public:
  tqvplaypos() : std::runtime_error(kPlayPosMessage) {}
};

class tqvlowvoltage : public std::runtime_error {
 public:
  tqvlowvoltage() : std::runtime_error(kLowVoltageMessage) {}
};

// The progress listener asked the running operation to stop. Not a link
// failure and not an error to report: camera and engine are in step when it
// is raised (a transfer cut short has been ended and the link reset on both
// sides, to 9600 baud), so the next operation works as usual.
class tqvcancelled : public std::runtime_error {
 public:
  tqvcancelled() : std::runtime_error(kStoppedMessage) {}
};

}  // namespace vantlo
