// Command line of vantlo-cli: global options, then a command and its arguments.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantlo::cli {

// A command line the tool cannot run; main prints it with the usage text and exits 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct CliOptions {
  std::string port = "COM1:";   // "COMn:" (through the port map) or a device path
  std::uint8_t speedIndex = 9;  // baud index; "auto" is 38400
  bool irda = false;
  bool simulate = false;
  std::string family = "classic";  // with simulate
  // --family: the camera's family as the user knows it ("classic", "extended", "filesystem");
  // the engine then skips the family probe. Empty: the camera is identified.
  std::string knownFamily;
  std::string command;
  std::vector<std::string> args;  // after the command
};

CliOptions ParseCommandLine(int argc, char** argv);
std::string UsageText();

// Strict decimal number in [low, high]; throws UsageError naming `what` otherwise.
int ParseNumber(const std::string& text, const char* what, int low, int high);

}  // namespace vantlo::cli
