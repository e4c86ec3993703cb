#include "camera/waiter.h"

#include <cerrno>
#include <ctime>
#include <numeric>

namespace vantlo {

void trealwaiter::Wait(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec left{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  // nanosleep reports the time still to sleep when a signal interrupts it.
  while (nanosleep(&left, &left) != 0 && errno == EINTR) {
  }
}

twaiter& trealwaiter::Instance() {
  static trealwaiter instance;
  return instance;
}

void trecordingwaiter::Wait(int milliseconds) {
  std::lock_guard lock(mutex_);
  waits_.push_back(milliseconds);
}

std::vector<int> trecordingwaiter::Waits() const {
  std::lock_guard lock(mutex_);
  return waits_;
}

long long trecordingwaiter::TotalMs() const {
  std::lock_guard lock(mutex_);
  return std::accumulate(waits_.begin(), waits_.end(), 0LL);
}

void trecordingwaiter::Clear() {
  std::lock_guard lock(mutex_);
  waits_.clear();
}

}  // namespace vantlo
