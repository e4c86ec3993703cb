#include "library/records/recordbytes.h"

#include <cmath>

namespace vantlo::recordbytes {

std::string_view FitString(std::string_view text, std::size_t capacity) {
  if (text.size() <= capacity) return text;
  std::size_t cut = capacity;
  // Step back over UTF-8 continuation bytes so no character is split.
  while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;
  return text.substr(0, cut);
}

double ClampReal(double value, double low, double high, double fallback) {
  if (std::isnan(value)) return fallback;
  return std::clamp(value, low, high);
}

}  // namespace vantlo::recordbytes
