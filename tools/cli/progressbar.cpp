#include "tools/cli/progressbar.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace vantlo::cli {

ProgressBar::ProgressBar() : enabled_(isatty(STDERR_FILENO) == 1) {}

ProgressBar::~ProgressBar() { End(); }

void ProgressBar::Begin(const std::string& label) {
  End();
  label_ = label;
  percent_ = 0;
  active_ = true;
  Draw();
}

void ProgressBar::Report(int position) {
  if (!active_) return;
  percent_ = position >= 0 ? position : percent_ - position;
  percent_ = std::clamp(percent_, 0, 100);
  Draw();
}

void ProgressBar::End() {
  if (!active_) return;
  active_ = false;
  if (enabled_) std::fprintf(stderr, "\r\033[K");
  std::fflush(stderr);
}

void ProgressBar::Draw() {
  if (!enabled_) return;
  constexpr int kWidth = 30;
  int filled = percent_ * kWidth / 100;
  std::fprintf(stderr, "\r%-20.20s [%.*s%*s] %3d%%", label_.c_str(), filled,
               "##############################", kWidth - filled, "", percent_);
  std::fflush(stderr);
}

}  // namespace vantlo::cli
