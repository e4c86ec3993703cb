#pragma once

#include <cstdint>
#include <string>

namespace vantlo {

enum class tgaugecolour { red, yellow, green };

struct tbatterygauge {
  int position = 0;  // 0..100
  tgaugecolour colour = tgaugecolour::green;
  std::string text;  // e.g. "4.18 volts"
};

// Gauge for a battery reading. storedThreshold is the low-voltage threshold
// in tenths of a volt as stored; 0 means the default 4.0 V.
tbatterygauge BatteryGaugeFor(double volts, std::int32_t storedThreshold);

// The reading as the voltage label shows it: the first four characters of
// the number's shortest form, then " volts".
std::string VoltageText(double volts);

}  // namespace vantlo
