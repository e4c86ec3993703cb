// The local date and time as the naming and caption code sees it. Both take the clock as a
// function so that tests (and a capture station replaying a day) can fix the date.
#pragma once

#include <functional>

namespace vantlo {

struct tlocaltime {
  int year = 2000;
  int month = 1;  // 1..12
  int day = 1;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

using tlocalclock = std::function<tlocaltime()>;

// The machine's local time now.
tlocaltime SystemLocalTime();

}  // namespace vantlo
