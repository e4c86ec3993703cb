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

}  // namespace vantlo
