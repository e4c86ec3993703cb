// "Compress Properties Database": removes companion properties files whose
// picture is gone. A companion is deleted only when no file of its picture's
// name exists in its folder in any letter case (as on Windows, where
// "A.JPG" and "a.jpg" are one file); ".QVV" files and companions of unknown
// kind are kept. Symbolic links are never followed, the walk stays on the
// root's file system, and every failure is reported as one.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vantlo {

struct ttidyresult {
  int removed = 0;
  std::vector<std::string> failures;  // "path: reason" for each failed step
  bool stopped = false;
  bool Ok() const { return failures.empty() && !stopped; }
  // "Finished Compressing", or the failure count when something failed.
  std::string Summary() const;
};

class ttidydb {
 public:
  // Called with each status text ("Building directory list...", "Searching
  // <folder>", "Number of files removed : <n>"); returning false stops the
  // run before the next folder.
  using tstatus = std::function<bool(const std::string& text)>;

  ttidyresult Compress(const std::string& root, const tstatus& status = {});
};

}  // namespace vantlo
