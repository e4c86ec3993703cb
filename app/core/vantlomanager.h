// tvantlomanager: the webcam-mode scheduler. It decides when the next shot is due: never in
// manual mode, as fast as possible, every n seconds, or at the times of day listed in a schedule
// file. It works on the window's webcam settings block (the interval, the first picture time, the
// next shot time, the schedule file name and the running flag live there) and reads the time from
// an injected clock, so a test can walk it through a day.
#pragma once

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "library/records/datetime.h"
#include "library/records/webcamsettings.h"

namespace vantlo {

// A schedule that cannot be used, with the text for the user.
class tvantlomanagererror : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using tdatetimeclock = std::function<tdatetime()>;

// A time of day as written in a schedule file or a time box: "H:MM", "HH:MM:SS", optionally
// followed by "AM" or "PM" (any case, with or without a blank). The fraction of a day; nullopt
// for anything else (an hour above 23, a minute above 59, stray characters).
std::optional<double> ParseTimeOfDay(std::string_view text);

// The quiet period: with the switch on, equal times never block; from < to blocks from `from` to
// `to` inclusive; from > to (over midnight) allows a shot only from `to` up to and including
// `from`. Times are fractions of a day, compared to the second.
bool QuietPeriodAllows(bool on, double from, double to, double now);

// The units of the "Every" field.
enum class tintervalunit { secs = 0, mins = 1, hrs = 2 };

struct tintervalfield {
  int value = 0;
  tintervalunit unit = tintervalunit::secs;
};

// How a positive interval is shown: a whole number of minutes in "mins", otherwise in "secs".
tintervalfield IntervalField(int seconds);
// The seconds the field stands for (the value times 1, 60 or 3600).
int IntervalSeconds(int value, tintervalunit unit);

class tvantlomanager {
 public:
  // Nothing is owned; `block` must outlive the scheduler.
  explicit tvantlomanager(twebcamsettings& block, tdatetimeclock clock = tdatetime::Now);

  twebcamsettings& Block() { return block_; }
  const twebcamsettings& Block() const { return block_; }

  // -1 manual, -2 by schedule, 0 as fast as possible, n > 0 every n seconds. A new interval
  // starts counting from now; the same interval again changes nothing.
  void SetInterval(int seconds);
  int Interval() const { return block_.Interval(); }
  bool Manual() const { return manual_; }
  bool Scheduled() const { return scheduled_; }

  // Sets the running flag and the first shot time. By schedule the schedule file is loaded
  // first; its errors are thrown (the flag stays set, so "Stop" is still needed).
  void Activate();
  void Deactivate() { block_.SetActive(false); }
  bool Active() const { return block_.Active(); }

  // True when a shot is due now; the next shot time then moves on (the next scheduled time, or
  // plus the interval).
  bool Due();
  // Counts the interval again from now (by schedule: the next scheduled time).
  void RestartInterval();

  // Reads the schedule: one time of day per line, empty lines ignored, kept sorted by the time
  // of day they name. Throws "Schedule File not found : NAME" or "Error in Schedule File : NAME"
  // with the number of the line that could not be read; the old schedule then stays.
  void LoadSchedule(const std::string& file);
  // The times of day of the schedule (fractions of a day), ascending.
  const std::vector<double>& Schedule() const { return schedule_; }

  // The first scheduled time at or after now today, or the first one tomorrow when all have
  // passed; now itself for an empty schedule.
  tdatetime NextScheduledTime() const;
  tdatetime NextShotTime() const { return block_.NextShotTime(); }

  static constexpr const char* kNoScheduleFile =
      "You must specify a Schedule File for scheduled operation";
  static constexpr const char* kScheduleNotFound = "Schedule File not found : ";
  static constexpr const char* kScheduleError = "Error in Schedule File : ";

 private:
  // The first scheduled time strictly after `now` (the time just taken is not taken twice).
  tdatetime ScheduledAfter(tdatetime now, bool inclusive) const;
  tdatetime Plus(tdatetime t, int seconds) const;

  twebcamsettings& block_;
  tdatetimeclock clock_;
  bool manual_ = false;
  bool scheduled_ = false;
  std::vector<double> schedule_;
};

}  // namespace vantlo
