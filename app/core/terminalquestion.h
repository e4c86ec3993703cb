// The overwrite question for a command-line run: asked on the terminal when there is one,
// answered "No" when there is none (a script, a pipe, a capture station), so a headless run
// never replaces a file nobody agreed to replace.
#pragma once

#include <istream>
#include <ostream>

#include "app/core/overwrite.h"

namespace vantlo {

class tterminalquestion : public toverwritequestion {
 public:
  // `interactive`: both streams are a terminal (see StdioIsTerminal).
  tterminalquestion(std::istream& in, std::ostream& out, bool interactive)
      : in_(in), out_(out), interactive_(interactive) {}

  // "Do you want to overwrite <path> ? [y]es, [n]o, yes to [a]ll: "; end of input or any other
  // answer is "No".
  toverwriteanswer AskOverwrite(const std::string& path) override;

 private:
  std::istream& in_;
  std::ostream& out_;
  bool interactive_;
};

// True when standard input and standard error are both terminals.
bool StdioIsTerminal();

}  // namespace vantlo
