// `vantlo-cli props FILE`: shows a picture's properties (title, description,
// keywords, orientation) from its companion file; with options it changes
// and saves them, exactly as the "Picture Properties" dialog does.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantlo::cli {

extern const char* const kPropsUsage;

// Runs the command on the words that follow "props". Returns 0 done, 1 the
// picture or its companion file could not be read or written (message on
// `err`), 2 usage error.
int RunPropsCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunPropsCommand(const std::vector<std::string>& args);

}  // namespace vantlo::cli
