#pragma once

#include <string>

namespace vantlo {

// The serial port setting is "COM1:".."COM8:"; its fourth character picks
// the port list entry.
inline constexpr int kPortCount = 8;

// List index 0..7 for a stored port name, or -1 when the fourth character is
// not "1".."8" (a damaged or foreign setting).
int PortListIndex(const std::string& portName);

// The port name as the window uses it: the stored name cut to 5 characters,
// or "COM1:" when its fourth character does not name a port of the list.
std::string ValidPortName(const std::string& portName);

// "COM1:".."COM8:" for list index 0..7.
std::string PortNameOfIndex(int index);

}  // namespace vantlo
