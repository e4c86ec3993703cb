// One deadline object for every blocking read and write of the serial port.
// "Read n bytes within t ms" must hold across partial reads and EINTR: the
// caller asks the deadline for the time left before each poll() instead of
// passing the full time-out again. The clock is injectable for tests.
#pragma once

#include <cstdint>

namespace vantlo {

class tclock {
 public:
  virtual ~tclock() = default;
  // Milliseconds on a monotonic scale.
  virtual std::int64_t NowMs() const = 0;
};

class tsteadyclock final : public tclock {
 public:
  std::int64_t NowMs() const override;
  static const tclock& Instance();
};

class tdeadline {
 public:
  tdeadline(const tclock& clock, std::int64_t timeoutMs);
  // Milliseconds left, never negative; clipped to what poll() accepts.
  int RemainingMs() const;
  bool Expired() const { return RemainingMs() == 0; }

 private:
  const tclock& clock_;
  std::int64_t end_;
};

}  // namespace vantlo
