#pragma once

namespace vantlo {

// The one cancellation path of the program: set by the Stop button and by
// closing the window, polled by every long operation between items (a
// camera transfer under way is finished first, so the link stays in step).
class tstoprequest {
 public:
  void Set() { requested_ = true; }
  void Clear() { requested_ = false; }
  bool IsSet() const { return requested_; }

 private:
  bool requested_ = false;
};

}  // namespace vantlo
