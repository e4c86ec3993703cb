// A one-line progress bar on stderr for transfers, shown only when stderr is a terminal. It
// follows the engine's progress convention: a position of 0 or more sets the bar (percent), a
// negative one advances it by its magnitude.
#pragma once

#include <string>

namespace vantlo::cli {

class ProgressBar {
 public:
  ProgressBar();
  ~ProgressBar();
  void Begin(const std::string& label);
  void Report(int position);
  void End();

 private:
  void Draw();
  bool enabled_;
  bool active_ = false;
  int percent_ = 0;
  std::string label_;
};

}  // namespace vantlo::cli
