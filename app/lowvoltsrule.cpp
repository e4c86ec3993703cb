#include "lowvoltsrule.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vantlo {

std::string ThresholdEditText(std::int32_t stored) {
  const double v = stored == 0 ? 4.0 : stored / 10.0;
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", v);
  return buf;
}

std::optional<double> ParseThresholdText(const std::string& text) {
  // Surrounding blanks are allowed, anything else after the number is not.
  std::size_t b = text.find_first_not_of(" \t");
  std::size_t e = text.find_last_not_of(" \t");
  if (b == std::string::npos) return std::nullopt;
  const std::string t = text.substr(b, e - b + 1);
  char* end = nullptr;
  const double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0' || !std::isfinite(v)) return std::nullopt;
  return v;
}

bool ThresholdInRange(double volts) { return volts >= 3.5 && volts <= 6.0; }

std::int32_t StoredThresholdFor(double volts) {
  if (volts == 4.0) return 0;
  return static_cast<std::int32_t>(std::nearbyint(volts * 10.0));
}

double EngineThresholdFor(std::int32_t stored) { return stored / 10.0; }

}  // namespace vantlo
