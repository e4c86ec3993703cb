#include "tools/cli/commands.h"
#include "tools/cli/webcam_command.h"

namespace vantlo::cli {

namespace {

// New command groups add their entries here.
constexpr CommandEntry kCommands[] = {
    {"info", RunInfo},     {"list", RunList},
    {"test", RunTest},     {"thumbs", RunThumbs},
    {"fetch", RunFetch},   {"fetch-all", RunFetchAll},
    {"delete", RunDelete}, {"delete-all", RunDeleteAll},
    {"take", RunTake},     {"reset", RunReset},
    {"off", RunOff},       {"decode", RunDecode},
    {"props", RunProps},   {"find", RunFind},
    {"send", RunSend},     {"contact-sheet", RunContactSheet},
    {"print", RunPrint},   {"autocapture", RunAutoCapture},
    {"movie", RunMovie},   {"webcam", RunWebcam},
};

}  // namespace

const CommandEntry* FindCommand(const std::string& name) {
  for (const auto& c : kCommands)
    if (name == c.name) return &c;
  return nullptr;
}

void ExpectArguments(const std::string& command, const Arguments& args, size_t count) {
  if (args.size() < count) throw UsageError(command + ": missing argument");
  if (args.size() > count) throw UsageError(command + ": unexpected argument: " + args[count]);
}

}  // namespace vantlo::cli
