// The fetch commands that go through the application's fetch workflow: `fetch N -o FILE` with
// --jpg/--cam (the finished picture and/or the CAM file), and `fetch-all DIR` (every picture
// under the generated names, with the stored caption, orientation, correction and CAM/JPEG
// choice, or --jpg/--cam). So a headless capture gives the same files as the window.
#pragma once

#include <string>

#include "tools/cli/commands.h"

namespace vantlo::cli {

// The --jpg and --cam flags taken out of a command's arguments.
struct FetchFlags {
  bool jpg = false;
  bool cam = false;
  bool Any() const { return jpg || cam; }
};
FetchFlags TakeFetchFlags(Arguments& args);

// Picture n through the workflow into `file` (--jpg: the finished JPEG; --cam: the CAM file; both:
// `file` with the extensions ".jpg" and ".cam"). A movie is written as fetched.
int RunFinishedFetch(CameraSession& session, int n, const std::string& file, FetchFlags flags);
// Every picture into `dir` through the workflow.
int RunWorkflowFetchAll(CameraSession& session, const std::string& dir, FetchFlags flags);

}  // namespace vantlo::cli
