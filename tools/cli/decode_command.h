// `vantlo-cli decode FILE -o OUT.jpg`: turns a CAM file, a raw-data cache
// file, raw camera data or a JPEG file (told apart by content) into a
// finished JPEG through the decoding pipeline. Needs no camera.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantlo::cli {

// One line per option, for the tool's help text.
extern const char* const kDecodeUsage;

// Runs the command on the words that follow "decode". Returns the exit code:
// 0 done; 1 input unreadable or damaged, or the output not written (the
// system's message on `err`); 2 usage error.
int RunDecodeCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantlo::cli
