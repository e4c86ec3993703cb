#include "progressreport.h"

namespace vantlo {

std::string ProgressStatusText(const std::string& text, int count) {
  if (count <= 0) return " " + text;
  return " " + text + " " + std::to_string(count);
}

int NextProgressPosition(int current, int position) {
  if (position >= 0) return position;
  // Magnitude of INT_MIN does not fit; one step of 100 wraps the same way.
  const long long step = -static_cast<long long>(position);
  long long next = static_cast<long long>(current) + step;
  if (next >= 100) next = 5;
  return static_cast<int>(next);
}

}  // namespace vantlo
