#include "portchoice.h"

namespace vantlo {

int PortListIndex(const std::string& portName) {
  if (portName.size() < 4) return -1;
  const char c = portName[3];
  if (c < '1' || c > '8') return -1;
  return c - '1';
}

std::string ValidPortName(const std::string& portName) {
  if (PortListIndex(portName) < 0) return "COM1:";
  return portName.substr(0, 5);
}

std::string PortNameOfIndex(int index) {
  if (index < 0 || index >= kPortCount) index = 0;
  return "COM" + std::to_string(index + 1) + ":";
}

unsigned char SpeedChoiceToBaudIndex(int choice) {
  switch (choice) {
    case 0:
      return 9;
    case 1:
      return 6;
    case 2:
      return 8;
    case 3:
      return 9;
    case 4:
      return 11;
    case 5:
      return 12;
    default:
      return 6;
  }
}

}  // namespace vantlo
