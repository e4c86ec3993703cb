#include "picturedescription.h"

namespace vantlo {

tpicturedescription DescribePicture(const std::string& path, std::int64_t bytes) {
  tpicturedescription d;
  if (path.empty() || bytes == 0) return d;
  std::string shown = path;
  if (path.size() > 35) {
    const auto slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    shown = path.substr(0, 3) + ".../" + name;
  }
  d.showing = "Showing " + shown;
  d.size = " " + std::to_string(bytes) + " bytes    ";
  return d;
}

}  // namespace vantlo
