// `vantlo-cli find ROOT TEXT`: finds pictures below ROOT whose properties or
// file names match TEXT, as the "Find Pictures" dialog does; prints one
// picture path a line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vantlo::cli {

extern const char* const kFindUsage;

// Runs the command on the words that follow "find". Returns 0 done (also
// when nothing was found), 1 the search failed (message on `err`), 2 usage.
int RunFindCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
int RunFindCommand(const std::vector<std::string>& args);

}  // namespace vantlo::cli
