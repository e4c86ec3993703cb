// `vantlo-cli webcam`: the headless webcam station (webcam mode with the stored settings).
#pragma once

#include "tools/cli/commands.h"

namespace vantlo::cli {

extern const char* const kWebcamUsage;
int RunWebcam(CameraSession& session, const Arguments& args);

}  // namespace vantlo::cli
