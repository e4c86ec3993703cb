// The FTP progress log: the lines the "FTP Progress" window lists. A line
// equal to the last one is not added again; passwords never reach it (the
// client shows "PASS ****").
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vantlo {

class tftplog {
 public:
  void Add(const std::string& line);
  void Clear();
  const std::vector<std::string>& Lines() const { return lines_; }
  // Writes the lines as text, one a line, atomically; 0 or the errno.
  int Save(const std::string& path) const;

  // A view of the log hears of every change.
  std::function<void(const std::string& added)> OnAdded;
  std::function<void()> OnCleared;

 private:
  std::vector<std::string> lines_;
};

}  // namespace vantlo
