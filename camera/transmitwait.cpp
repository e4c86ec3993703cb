#include "camera/transmitwait.h"

#include <algorithm>

namespace vantlo {

std::size_t WaitUntilSent(const std::function<int()>& queued, const tdeadline& deadline,
                          int lineTimeMs, const std::function<void(int ms)>& pause) {
  for (;;) {
    const int left = queued();
    if (left == 0) return 0;
    const int remaining = deadline.RemainingMs();
    if (left < 0) {
      if (remaining > 0) pause(std::clamp(lineTimeMs, 0, remaining));
      return 0;
    }
    if (remaining == 0) return static_cast<std::size_t>(left);
    // A byte takes about a millisecond at 9600 baud; polling at that pace
    // costs nothing next to the line.
    pause(std::min(remaining, 1));
  }
}

}  // namespace vantlo
