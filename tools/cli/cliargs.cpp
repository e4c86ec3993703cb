#include "tools/cli/cliargs.h"
#include "tools/cli/webcam_command.h"

#include <cerrno>
#include <cstdlib>
#include <iterator>

#include "camera/qv10int.h"
#include "tools/cli/commands.h"
#include "tools/cli/decode_command.h"
#include "tools/cli/find_command.h"
#include "tools/cli/movie_command.h"
#include "tools/cli/output_command.h"
#include "tools/cli/props_command.h"
#include "tools/cli/send_command.h"

namespace vantlo::cli {

namespace {

// The speed list of the connection settings, in the order of the window's speed choice.
constexpr const char* kSpeeds[] = {"auto", "9600", "19200", "38400", "57600", "115200"};

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

}  // namespace

std::string UsageText() {
  return "usage: vantlo-cli [--port COMn:|DEVICE] [--speed auto|9600|19200|38400|57600|115200]\n"
         "                  [--irda] [--simulate[=classic|extended|filesystem]]\n"
         "                  [--family classic|extended|filesystem] COMMAND ...\n"
         "  --family          the camera's family, so that it is not probed (the probe costs\n"
         "                    over a second per command); --simulate alone simulates that family\n"
         "commands:\n"
         "  info              camera family, file system, picture count, battery voltage\n"
         "  list              the pictures in the camera\n"
         "  thumbs DIR        save every thumbnail into DIR\n"
         "  fetch N -o FILE [--jpg] [--cam]\n"
         "                    save picture N as fetched (JPEG and AVI files as they are); with\n"
         "                    --jpg the finished picture (turned, captioned, corrected as\n"
         "                    stored), with --cam its CAM file (both: FILE.jpg and FILE.cam)\n"
         "  fetch-all DIR [--jpg] [--cam]\n"
         "                    fetch every picture into DIR under the generated names, finished\n"
         "                    as stored; JPEG/CAM as stored or as given; a taken name is asked\n"
         "                    about on a terminal and skipped without one\n"
         "  delete N          delete picture N\n"
         "  delete-all        delete all pictures\n"
         "  take              take a picture\n"
         "  reset             end the connection (camera back to 9600 baud)\n"
         "  off               switch the camera off\n"
         "  test              test the link and report its state\n" +
         std::string(kDecodeUsage) + kPropsUsage + kFindUsage + kSendUsage + kContactSheetUsage +
         kPrintUsage + kAutoCaptureUsage + kWebcamUsage + kMovieUsage;
}

int ParseNumber(const std::string& text, const char* what, int low, int high) {
  if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError(std::string(what) + " must be a number: " + text);
  int v = std::atoi(text.c_str());
  if (v < low || v > high)
    throw UsageError(std::string(what) + " must be between " + std::to_string(low) + " and " +
                     std::to_string(high) + ": " + text);
  return v;
}

CliOptions ParseCommandLine(int argc, char** argv) {
  CliOptions o;
  bool simulatedFamilyGiven = false;
  int i = 1;
  for (; i < argc; ++i) {
    std::string a = argv[i];
    if (!StartsWith(a, "--")) break;
    auto value = [&](const char* name) -> std::string {
      std::string prefix = std::string(name) + "=";
      if (StartsWith(a, prefix.c_str())) return a.substr(prefix.size());
      if (i + 1 >= argc) throw UsageError(std::string(name) + " needs a value");
      return argv[++i];
    };
    if (a == "--port" || StartsWith(a, "--port=")) {
      o.port = value("--port");
      if (o.port.empty()) throw UsageError("--port needs a value");
    } else if (a == "--speed" || StartsWith(a, "--speed=")) {
      std::string s = value("--speed");
      bool found = false;
      for (int choice = 0; choice < static_cast<int>(std::size(kSpeeds)); ++choice)
        if (s == kSpeeds[choice]) {
          o.speedIndex = BaudIndexOfSpeedChoice(choice);
          found = true;
        }
      if (!found) throw UsageError("unknown speed: " + s);
    } else if (a == "--family" || StartsWith(a, "--family=")) {
      o.knownFamily = value("--family");
      if (o.knownFamily != "classic" && o.knownFamily != "extended" &&
          o.knownFamily != "filesystem")
        throw UsageError("unknown camera family: " + o.knownFamily);
    } else if (a == "--irda") {
      o.irda = true;
    } else if (a == "--simulate") {
      o.simulate = true;
    } else if (StartsWith(a, "--simulate=")) {
      o.simulate = true;
      simulatedFamilyGiven = true;
      o.family = a.substr(11);
      if (o.family != "classic" && o.family != "extended" && o.family != "filesystem")
        throw UsageError("unknown camera family: " + o.family);
    } else if (a == "--help") {
      o.command = "help";
      return o;
    } else {
      throw UsageError("unknown option: " + a);
    }
  }
  if (i >= argc) throw UsageError("no command given");
  if (o.simulate && !simulatedFamilyGiven && !o.knownFamily.empty()) o.family = o.knownFamily;
  o.command = argv[i++];
  for (; i < argc; ++i) o.args.push_back(argv[i]);
  return o;
}

bool toptionwalk::Next() {
  if (next_ >= args_.size()) return false;
  word_ = args_[next_++];
  inline_.reset();
  if (word_.rfind("--", 0) == 0) {
    if (const auto eq = word_.find('='); eq != std::string::npos) {
      inline_ = word_.substr(eq + 1);
      word_.resize(eq);
    }
  }
  return true;
}

std::string toptionwalk::Value() {
  if (inline_) return *inline_;
  if (next_ >= args_.size()) throw UsageError(command_ + ": " + word_ + " needs a value");
  return args_[next_++];
}

void toptionwalk::Unknown() const { throw UsageError(command_ + ": unknown option " + word_); }

}  // namespace vantlo::cli
