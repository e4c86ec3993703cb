#include "simulator/linepacer.h"

#include <algorithm>
#include <thread>

namespace vantlo::camsim {

LinePacer::Clock::duration LinePacer::ByteTime() const {
  if (!realtime_ || baud_ <= 0) return Clock::duration::zero();
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::nanoseconds(10'000'000'000LL / baud_));
}

void LinePacer::SleepUntil(Clock::time_point t, const std::atomic<bool>& stop) {
  // Sleep in short steps so that Stop() is never held up by a slow line.
  while (!stop) {
    auto now = Clock::now();
    if (now >= t) return;
    std::this_thread::sleep_for(std::min<Clock::duration>(t - now, std::chrono::milliseconds(20)));
  }
}

bool LinePacer::Send(const uint8_t* data, size_t count, const Sink& sink,
                     const std::atomic<bool>& stop, int* latencyMs) {
  if (latencyMs) *latencyMs = 0;
  if (count == 0) return true;
  auto byteTime = ByteTime();
  if (byteTime == Clock::duration::zero() && latencyMs_ <= 0) return sink(data, count);

  auto start = std::max(Clock::now(), txFree_);
  // Without the latency timer, pass bytes on in slices of about a millisecond of line time (at
  // least one byte) so the client sees them trickle in as from a real line.
  size_t slice = kAdapterChunk;
  if (latencyMs_ <= 0) {
    auto perMs =
        std::chrono::milliseconds(1) / std::max<Clock::duration>(byteTime, Clock::duration(1));
    slice = std::max<size_t>(1, static_cast<size_t>(perMs));
  }
  size_t done = 0;
  while (done < count) {
    size_t n = std::min(slice, count - done);
    auto complete = start + byteTime * static_cast<long>(done + n);
    bool tail = latencyMs_ > 0 && n < kAdapterChunk;
    if (tail) {
      complete += std::chrono::milliseconds(latencyMs_);
      if (latencyMs) *latencyMs += latencyMs_;
    }
    SleepUntil(complete, stop);
    if (stop || !sink(data + done, n)) return false;
    done += n;
  }
  txFree_ = start + byteTime * static_cast<long>(count);
  return true;
}

void LinePacer::Received(size_t count, const std::atomic<bool>& stop) {
  auto byteTime = ByteTime();
  if (byteTime == Clock::duration::zero() || count == 0) return;
  auto done = std::max(Clock::now(), rxFree_) + byteTime * static_cast<long>(count);
  rxFree_ = done;
  SleepUntil(done, stop);
}

}  // namespace vantlo::camsim
