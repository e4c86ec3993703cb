#include "camera/deadline.h"

#include <algorithm>
#include <chrono>
#include <climits>

namespace vantlo {

std::int64_t tsteadyclock::NowMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

const tclock& tsteadyclock::Instance() {
  static const tsteadyclock instance;
  return instance;
}

tdeadline::tdeadline(const tclock& clock, std::int64_t timeoutMs)
    : clock_(clock), end_(clock.NowMs() + std::max<std::int64_t>(timeoutMs, 0)) {}

int tdeadline::RemainingMs() const {
  const std::int64_t left = end_ - clock_.NowMs();
  return static_cast<int>(std::clamp<std::int64_t>(left, 0, INT_MAX));
}

}  // namespace vantlo
