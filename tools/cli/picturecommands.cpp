// Commands on pictures and the picture library that need no camera: decode, props, find. Each
// lives in its own file; these adapters put them into the command table.
#include <iostream>

#include "tools/cli/commands.h"
#include "tools/cli/decode_command.h"
#include "tools/cli/find_command.h"
#include "tools/cli/props_command.h"

namespace vantlo::cli {

int RunDecode(CameraSession&, const Arguments& args) {
  return RunDecodeCommand(args, std::cout, std::cerr);
}

int RunProps(CameraSession&, const Arguments& args) {
  return RunPropsCommand(args, std::cout, std::cerr);
}

int RunFind(CameraSession&, const Arguments& args) {
  return RunFindCommand(args, std::cout, std::cerr);
}

}  // namespace vantlo::cli
