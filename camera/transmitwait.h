// Waiting until written bytes have left the serial adapter. tcdrain() has no
// time limit: a wedged USB-serial adapter would hold the caller (the window's
// only thread) for ever. So the transmit queue is watched instead, and the wait
// ends with the write's own time-out. Kept apart from the port so that the
// bound can be tested without a device that refuses to drain.
#pragma once

#include <cstddef>
#include <functional>

#include "camera/deadline.h"

namespace vantlo {

// Polls `queued` (bytes still in the transmit queue, or a negative value when
// the driver cannot tell) until it reports 0 or `deadline` has passed,
// pausing through `pause` (milliseconds) between polls. A driver that cannot
// tell gets `lineTimeMs` (the line time of what was written, within the
// deadline) and is then taken as drained. Returns the bytes still queued:
// 0 once everything is on the line.
std::size_t WaitUntilSent(const std::function<int()>& queued, const tdeadline& deadline,
                          int lineTimeMs, const std::function<void(int ms)>& pause);

}  // namespace vantlo
