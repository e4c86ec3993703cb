#pragma once

#include "stoprequest.h"

namespace vantlo {

// Processes window messages until the time has passed or a stop is
// requested. With the stop flag already set it processes pending messages
// once and returns.
void PumpingWait(int milliseconds, const tstoprequest& stop);

// The serial workflows' wait: sleeps 2000 ms plus the given time without
// processing messages, then processes pending messages once.
void SleepThenPump(int milliseconds);

}  // namespace vantlo
