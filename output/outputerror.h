// The refusals and failures of the contact sheet manager and the printer, with the user's text.
#pragma once

#include <stdexcept>

namespace vantlo {

class toutputerror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kZeroPicsPerPage = "Zero pics per page!";

}  // namespace vantlo
