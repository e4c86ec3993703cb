#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vantlo {

// What the command line asks for. The program's own switches are read from
// the first remaining argument only, upper-cased; "--simulate[=FAMILY]" is
// taken out of the list first, wherever it stands, so it combines with them.
struct tcommandline {
  bool debug = false;      // "-DEBUGSTART"
  bool autostart = false;  // settings, then "-AUTOCAP" / "-NOAUTO"
  bool simulate = false;
  std::string simulateFamily;  // "classic", "extended" or "filesystem"
  std::optional<std::string> error;
};

// args excludes the program name. autostartSetting is "Run AutoCapture when
// program starts" from the AutoCapture settings.
tcommandline ParseCommandLine(const std::vector<std::string>& args, bool autostartSetting);

// The debug switch alone: start-up needs it before the settings are read.
bool DebugStartRequested(const std::vector<std::string>& args);

}  // namespace vantlo
