#include "batterygauge.h"

#include <charconv>
#include <cmath>

namespace vantlo {

std::string VoltageText(double volts) {
  char buf[64];
  auto res = std::to_chars(buf, buf + sizeof buf, volts);
  std::string s = res.ec == std::errc() ? std::string(buf, res.ptr) : std::string("0");
  return s.substr(0, 4) + " volts";
}

tbatterygauge BatteryGaugeFor(double volts, std::int32_t storedThreshold) {
  tbatterygauge g;
  g.text = VoltageText(volts);
  const double raw = std::trunc((volts - 3.5) * 40.0);
  if (!(raw > 0))
    g.position = 0;  // also a NaN reading
  else if (raw > 100)
    g.position = 100;
  else
    g.position = static_cast<int>(raw);

  const double t = storedThreshold == 0 ? 40.0 : static_cast<double>(storedThreshold);
  const double tenths = 10.0 * volts;
  if (t > tenths)
    g.colour = tgaugecolour::red;
  else if (t + 3 > tenths)
    g.colour = tgaugecolour::yellow;
  else
    g.colour = tgaugecolour::green;
  return g;
}

}  // namespace vantlo
