// vantlo-cli: the camera engine from a shell. Camera errors print the system's message on stderr
// and exit 1; usage errors print the usage and exit 2.
#include <signal.h>

#include <cstdio>
#include <exception>

#include "tools/cli/cliargs.h"
#include "tools/cli/commands.h"

namespace {

void OnInterrupt(int) { vantlo::cli::CameraSession::RequestStop(); }

}  // namespace

int main(int argc, char** argv) {
  using namespace vantlo::cli;
  CliOptions options;
  const CommandEntry* command = nullptr;
  try {
    options = ParseCommandLine(argc, argv);
    if (options.command == "help") {
      std::fputs(UsageText().c_str(), stdout);
      return 0;
    }
    command = FindCommand(options.command);
    if (!command) throw UsageError("unknown command: " + options.command);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "vantlo-cli: %s\n%s", e.what(), UsageText().c_str());
    return 2;
  }
  // The first Ctrl-C ends a running transfer cleanly (the engine resets the link); a second one
  // ends the program.
  struct sigaction sa {};
  sa.sa_handler = OnInterrupt;
  sa.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &sa, nullptr);
  try {
    CameraSession session(options);
    return command->run(session, options.args);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "vantlo-cli: %s\n%s", e.what(), UsageText().c_str());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
