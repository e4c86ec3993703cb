// The commands of vantlo-cli. Each group of commands lives in its own file; a command checks its
// arguments first (UsageError) and then talks to the camera (camera exceptions, PortError).
// Returns the exit status: 0 done, 1 failed.
#pragma once

#include <string>
#include <vector>

#include "tools/cli/camerasession.h"

namespace vantlo::cli {

using Arguments = std::vector<std::string>;
using CommandFunction = int (*)(CameraSession&, const Arguments&);

struct CommandEntry {
  const char* name;
  CommandFunction run;
};

// camerainfo.cpp
int RunInfo(CameraSession& session, const Arguments& args);
int RunList(CameraSession& session, const Arguments& args);
int RunTest(CameraSession& session, const Arguments& args);
// camerafetch.cpp
int RunThumbs(CameraSession& session, const Arguments& args);
int RunFetch(CameraSession& session, const Arguments& args);
int RunFetchAll(CameraSession& session, const Arguments& args);
// cameracontrol.cpp
int RunDelete(CameraSession& session, const Arguments& args);
int RunDeleteAll(CameraSession& session, const Arguments& args);
int RunTake(CameraSession& session, const Arguments& args);
int RunReset(CameraSession& session, const Arguments& args);
int RunOff(CameraSession& session, const Arguments& args);
// picturecommands.cpp (no camera traffic)
int RunDecode(CameraSession& session, const Arguments& args);
int RunProps(CameraSession& session, const Arguments& args);
int RunFind(CameraSession& session, const Arguments& args);
// send_command.cpp (FTP upload, no camera traffic)
int RunSend(CameraSession& session, const Arguments& args);
// outputcommands.cpp (no camera traffic)
int RunContactSheet(CameraSession& session, const Arguments& args);
int RunPrint(CameraSession& session, const Arguments& args);
// movie_command.cpp (no camera traffic)
int RunMovie(CameraSession& session, const Arguments& args);

// autocapture_command.cpp (the AutoCapture station)
extern const char* const kAutoCaptureUsage;
int RunAutoCapture(CameraSession& session, const Arguments& args);

// The command table main dispatches through; nullptr for an unknown name.
const CommandEntry* FindCommand(const std::string& name);

// Throws UsageError unless args has exactly `count` entries.
void ExpectArguments(const std::string& command, const Arguments& args, size_t count);

}  // namespace vantlo::cli
