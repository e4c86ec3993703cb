// `vantlo-cli movie OUT.avi|OUT.mp4 FILES... [--fps N] [--grid RxC] [--codec raw|mjpeg|h264]`:
// a mini movie of JPEG and CAM files through the movie page's own classes. Needs no camera.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantlo::cli {

extern const char* const kMovieUsage;

// Exit codes: 0 saved; 1 a picture or the movie failed (the message on `err`); 2 usage error.
int RunMovieCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantlo::cli
