// The overwrite question: asked before a generated name that is already taken is written again.
// The window answers with `Toverdeldlg`; a headless run with no one to ask answers "No", so the
// file is skipped (and reported) rather than silently replaced.
#pragma once

#include <string>

namespace vantlo {

enum class toverwriteanswer { yes, no, yesToAll };

class toverwritequestion {
 public:
  virtual ~toverwritequestion() = default;
  // `path` is the file that exists; the window shows "Do you want to overwrite " and the name.
  virtual toverwriteanswer AskOverwrite(const std::string& path) = 0;
};

// The answer when nobody can be asked (no window, no terminal): "No".
class tnoonetoask : public toverwritequestion {
 public:
  toverwriteanswer AskOverwrite(const std::string&) override { return toverwriteanswer::no; }
};

}  // namespace vantlo
