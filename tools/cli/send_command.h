// `vantlo-cli send FILE...`: uploads files by FTP through the program's own
// sending code, over one connection for all of them. The host comes from the
// options or, without any, from the stored settings (host details or host
// information file, connection type, firewall).
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantlo::cli {

extern const char* const kSendUsage;

// Returns 0 when every file was sent, 1 when any was not (the reasons on
// `err`), 2 for a usage error. A progress bar shows on a terminal.
int RunSendCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vantlo::cli
