// Every fixed pause of the serial port and the camera protocol (the IrDA
// settle waits, the 100 ms handshake waits, the 1 ms command pacing, ...) goes
// through a twaiter, so tests whose subject is not timing can run without them
// and still see which waits the protocol asked for.
#pragma once

#include <mutex>
#include <vector>

namespace vantlo {

class twaiter {
 public:
  virtual ~twaiter() = default;
  virtual void Wait(int milliseconds) = 0;
};

// Sleeps for real (nanosleep, resumed after signals).
class trealwaiter final : public twaiter {
 public:
  void Wait(int milliseconds) override;
  // A shared instance for objects that were given no waiter.
  static twaiter& Instance();
};

// Records the waits and returns at once.
class trecordingwaiter final : public twaiter {
 public:
  void Wait(int milliseconds) override;
  std::vector<int> Waits() const;
  long long TotalMs() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<int> waits_;
};

}  // namespace vantlo
