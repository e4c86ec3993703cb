// Finding pictures by their properties or file names in a folder tree: the
// core of the "Find Pictures" dialog and of `vantlo-cli find`.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vantlo {

// Match modes in the order of the dialog's list.
enum class tfindmode : int {
  Keywords = 0,
  Title = 1,
  Description = 2,
  Filename = 3,
  AnyProperty = 4
};

class tfinderror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The search's text test: without regard to case, the shorter of the two
// texts occurs in the longer, or both are equal. An empty text matches only
// an empty text.
bool TextMatches(const std::string& search, const std::string& property);

// Windows-style wildcard match of a file name ("*" and "?", any letter case;
// a trailing ".*" also matches names without a dot, so "*.*" matches all).
bool WildcardMatches(const std::string& pattern, const std::string& name);

struct tfindoptions {
  std::string root;  // absolute folder
  std::string text;
  tfindmode mode = tfindmode::Keywords;
  bool subfolders = true;
  bool jpg = true;
  bool cam = true;
};

struct tfindresult {
  std::vector<std::string> pictures;  // picture paths in folder order
  std::vector<std::string> skipped;   // companions without a picture, unreadable or stray files
  std::vector<std::string> errors;    // folders that could not be read
  bool stopped = false;
  // "<n> pictures found"
  std::string Summary() const;
};

class tfindpics {
 public:
  // Called with "Searching..." and "Searching <folder>"; returning false
  // stops the search before the next folder (the dialog's Stop button).
  using tstatus = std::function<bool(const std::string& text)>;

  // Throws "You have not selected any files to Look For" when neither JPG
  // nor CAM files are asked for (property modes). An empty text finds
  // nothing. In file-name mode companion files are never results. A
  // file-name pattern that names a folder is refused, so a
  // pattern cannot reach outside the search root.
  tfindresult Find(const tfindoptions& options, const tstatus& status = {});
};

}  // namespace vantlo
