// Timing of the simulated line: with `realtime`, bytes take 10 bit times each in both directions;
// with a latency, the output behaves like a USB-serial adapter's latency timer (every full 62-byte
// chunk is passed on as soon as it is complete, the rest of a burst waits `latencyMs` more).
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

namespace vantlo::camsim {

class LinePacer {
 public:
  using Clock = std::chrono::steady_clock;
  // Delivers bytes to the client; returns false when the line is gone.
  using Sink = std::function<bool(const uint8_t*, size_t)>;

  static constexpr size_t kAdapterChunk = 62;

  LinePacer(bool realtime, int latencyMs) : realtime_(realtime), latencyMs_(latencyMs) {}

  void SetBaud(int baud) { baud_ = baud; }
  // Sends one burst through the sink, paced as configured; `latencyMs` receives the latency
  // timer's share of its time (0 without a latency).
  bool Send(const uint8_t* data, size_t count, const Sink& sink, const std::atomic<bool>& stop,
            int* latencyMs = nullptr);
  // Called when `count` bytes from the client have been read: in realtime mode waits until they
  // could have crossed the line.
  void Received(size_t count, const std::atomic<bool>& stop);

 private:
  Clock::duration ByteTime() const;
  static void SleepUntil(Clock::time_point t, const std::atomic<bool>& stop);

  bool realtime_;
  int latencyMs_;
  int baud_ = 9600;
  Clock::time_point txFree_{};
  Clock::time_point rxFree_{};
};

}  // namespace vantlo::camsim
