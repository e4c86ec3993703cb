#pragma once

#include <string>

namespace vantlo {

// Progress report interface handed to workflows, the engine adapter and the
// retoucher. The main window shows it in its status line; tools and tests
// supply their own.
class tprogressreport {
 public:
  virtual ~tprogressreport() = default;
  // Status text; a count above 0 is appended after a blank.
  virtual void ReportText(const std::string& text, int count) = 0;
  // Position >= 0 sets the bar; a negative value advances it by its magnitude.
  virtual void ReportPosition(int position) = 0;
};

// " text" or " text count" as the status line shows it.
std::string ProgressStatusText(const std::string& text, int count);

// Bar position after a report: negative values advance the bar and wrap it
// to 5 once it reaches 100 (a moving bar for work of open length); other
// values are taken unchanged.
int NextProgressPosition(int current, int position);

}  // namespace vantlo
