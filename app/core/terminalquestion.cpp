#include "app/core/terminalquestion.h"

#include <unistd.h>

#include <string>

namespace vantlo {

toverwriteanswer tterminalquestion::AskOverwrite(const std::string& path) {
  if (!interactive_) return toverwriteanswer::no;
  out_ << "Do you want to overwrite " << path << " ? [y]es, [n]o, yes to [a]ll: " << std::flush;
  std::string line;
  if (!std::getline(in_, line)) return toverwriteanswer::no;
  const auto first = line.find_first_not_of(" \t");
  const char c = first == std::string::npos ? '\0' : line[first];
  if (c == 'y' || c == 'Y') return toverwriteanswer::yes;
  if (c == 'a' || c == 'A') return toverwriteanswer::yesToAll;
  return toverwriteanswer::no;
}

bool StdioIsTerminal() { return ::isatty(STDIN_FILENO) == 1 && ::isatty(STDERR_FILENO) == 1; }

}  // namespace vantlo
