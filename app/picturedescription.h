#pragma once

#include <cstdint>
#include <string>

namespace vantlo {

// Texts of the status line for the current picture: Label9 ("Showing " and
// the path, shortened beyond 35 characters) and Label19 (the size).
struct tpicturedescription {
  std::string showing;
  std::string size;
};

tpicturedescription DescribePicture(const std::string& path, std::int64_t bytes);

}  // namespace vantlo
