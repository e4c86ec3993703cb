// Runs a program without a shell (posix_spawnp) and collects what it prints.
// Kept apart from the dial-up logic so the backend is plain text handling.
#pragma once

#include <string>
#include <vector>

namespace vantlo {

struct tprocessresult {
  bool started = false;  // false: the program could not be run (see `spawnError`)
  int spawnError = 0;    // errno of the failed start
  int exitCode = -1;     // -1 when it ended on a signal
  std::string out;
  std::string err;
};

// `args[0]` is looked up on PATH. The child runs with LC_ALL=C, so its
// messages are the untranslated ones the caller parses.
tprocessresult RunProcess(const std::vector<std::string>& args);

}  // namespace vantlo
