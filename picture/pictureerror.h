// The one exception type of the picture code. Its text is the message the
// user sees, so callers can show what() as it is.
#pragma once

#include <stdexcept>
#include <string>

namespace vantlo {

class tpictureerror : public std::runtime_error {
 public:
  explicit tpictureerror(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vantlo
