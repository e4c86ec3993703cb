// `vantlo-cli contact-sheet OUT.jpg FILES...` and `vantlo-cli print FILES...`: contact sheets and
// printing of picture files through the window's own classes, with the stored layout unless the
// options say otherwise. Need no camera.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantlo::cli {

extern const char* const kContactSheetUsage;
extern const char* const kPrintUsage;

// Exit codes: 0 done; 1 a picture or the output failed (the message on `err`); 2 usage error.
int RunContactSheetCommand(const std::vector<std::string>& args, std::ostream& out,
                           std::ostream& err);
int RunPrintCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantlo::cli
