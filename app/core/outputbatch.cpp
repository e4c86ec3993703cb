#include "app/core/outputbatch.h"

namespace vantlo {

std::string tbatchreport::Summary(const char* verb) const {
  std::string s = std::string(verb) + " " + std::to_string(done.size()) + ", failed " +
                  std::to_string(failed.size());
  if (stopped) s += " (stopped)";
  if (!error.empty()) s += ": " + error;
  return s;
}

}  // namespace vantlo
