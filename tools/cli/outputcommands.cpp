// Contact sheets and printing of picture files (no camera traffic); the commands live in
// output_command.cpp, these adapters put them into the command table.
#include <iostream>

#include "tools/cli/commands.h"
#include "tools/cli/output_command.h"

namespace vantlo::cli {

int RunContactSheet(CameraSession&, const Arguments& args) {
  return RunContactSheetCommand(args, std::cout, std::cerr);
}

int RunPrint(CameraSession&, const Arguments& args) {
  return RunPrintCommand(args, std::cout, std::cerr);
}

}  // namespace vantlo::cli
