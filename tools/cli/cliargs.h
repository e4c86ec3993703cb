// Command line of vantlo-cli: global options, then a command and its arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
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

// A command's arguments where options may come anywhere among the names, as "--name value" or
// "--name=value":
//   toptionwalk walk("movie", args);
//   while (walk.Next()) if (walk.Word() == "--fps") ... walk.Value() ... else if (walk.IsOption())
//   walk.Unknown(); else names.push_back(walk.Word());
class toptionwalk {
 public:
  toptionwalk(std::string command, const std::vector<std::string>& args)
      : command_(std::move(command)), args_(args) {}
  // Moves to the next argument; false after the last.
  bool Next();
  // The option's name (without an inline value), or a plain argument.
  const std::string& Word() const { return word_; }
  bool IsOption() const { return word_.size() > 1 && word_[0] == '-'; }
  // The option's value: the inline one, else the next argument (UsageError when there is none).
  std::string Value();
  [[noreturn]] void Unknown() const;

 private:
  std::string command_;
  const std::vector<std::string>& args_;
  std::size_t next_ = 0;
  std::string word_;
  std::optional<std::string> inline_;
};

}  // namespace vantlo::cli
