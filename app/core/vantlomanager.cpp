#include "app/core/vantlomanager.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <sys/stat.h>

namespace vantlo {

namespace {

constexpr int kSecondsPerDay = 86400;

int SecondOfDay(double timeOfDay) {
  const double f = timeOfDay - std::floor(timeOfDay);
  const int s = static_cast<int>(std::lround(f * kSecondsPerDay));
  return s >= kSecondsPerDay ? kSecondsPerDay - 1 : s;
}

// Reads digits at `pos`: at least one, at most two.
std::optional<int> Number(std::string_view text, std::size_t& pos) {
  int value = 0;
  std::size_t digits = 0;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) && digits < 2) {
    value = value * 10 + (text[pos] - '0');
    ++pos;
    ++digits;
  }
  if (digits == 0) return std::nullopt;
  return value;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<double> ParseTimeOfDay(std::string_view text) {
  text = Trimmed(text);
  std::size_t pos = 0;
  const auto hour = Number(text, pos);
  if (!hour || pos >= text.size() || text[pos] != ':') return std::nullopt;
  ++pos;
  const auto minute = Number(text, pos);
  if (!minute || *minute > 59) return std::nullopt;
  int second = 0;
  if (pos < text.size() && text[pos] == ':') {
    ++pos;
    const auto s = Number(text, pos);
    if (!s || *s > 59) return std::nullopt;
    second = *s;
  }
  int h = *hour;
  std::string_view rest = Trimmed(text.substr(pos));
  if (!rest.empty()) {
    if (rest.size() != 2 || std::toupper(static_cast<unsigned char>(rest[1])) != 'M')
      return std::nullopt;
    const char ap = static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0])));
    if ((ap != 'A' && ap != 'P') || h < 1 || h > 12) return std::nullopt;
    h = h % 12 + (ap == 'P' ? 12 : 0);
  }
  if (h > 23) return std::nullopt;
  return (h * 3600 + *minute * 60 + second) / static_cast<double>(kSecondsPerDay);
}

bool QuietPeriodAllows(bool on, double from, double to, double now) {
  if (!on) return true;
  const int a = SecondOfDay(from);
  const int b = SecondOfDay(to);
  const int t = SecondOfDay(now);
  if (a == b) return true;
  if (a < b) return t < a || t > b;
  return t >= b && t <= a;
}

tintervalfield IntervalField(int seconds) {
  if (seconds > 0 && seconds % 60 == 0) return {seconds / 60, tintervalunit::mins};
  return {seconds, tintervalunit::secs};
}

int IntervalSeconds(int value, tintervalunit unit) {
  switch (unit) {
    case tintervalunit::mins:
      return value * 60;
    case tintervalunit::hrs:
      return value * 3600;
    case tintervalunit::secs:
      break;
  }
  return value;
}

tvantlomanager::tvantlomanager(twebcamsettings& block, tdatetimeclock clock)
    : block_(block), clock_(std::move(clock)) {
  manual_ = block_.Interval() == twebcamsettings::kManual;
  scheduled_ = block_.Interval() == twebcamsettings::kBySchedule;
}

tdatetime tvantlomanager::Plus(tdatetime t, int seconds) const {
  return tdatetime(t.Days() + seconds / static_cast<double>(kSecondsPerDay));
}

void tvantlomanager::SetInterval(int seconds) {
  if (seconds < twebcamsettings::kBySchedule) seconds = twebcamsettings::kManual;
  if (seconds == twebcamsettings::kManual) {
    manual_ = true;
    scheduled_ = false;
    block_.SetNextShotTime(tdatetime(-1));
    block_.SetInterval(seconds);
    return;
  }
  manual_ = false;
  scheduled_ = seconds == twebcamsettings::kBySchedule;
  if (seconds == block_.Interval()) return;
  if (seconds >= 0) block_.SetNextShotTime(Plus(clock_(), seconds));
  block_.SetInterval(seconds);
}

void tvantlomanager::Activate() {
  block_.SetActive(true);
  if (scheduled_) {
    const std::string file = block_.ScheduleFile();
    if (file.empty()) throw tvantlomanagererror(kNoScheduleFile);
    LoadSchedule(file);
    block_.SetNextShotTime(NextScheduledTime());
    return;
  }
  if (manual_) {
    block_.SetNextShotTime(tdatetime(-1));
    return;
  }
  const tdatetime now = clock_();
  const tdatetime first = block_.FirstPictureTime();
  block_.SetNextShotTime(!first.IsZero() && first > now ? first : now);
}

bool tvantlomanager::Due() {
  if (manual_ || !block_.Active()) return false;
  const tdatetime now = clock_();
  if (now < block_.NextShotTime()) return false;
  if (scheduled_)
    block_.SetNextShotTime(ScheduledAfter(now, false));
  else {
    // After a long shot (or a machine that slept) the missed shots are not made up in a burst.
    const int interval = std::max(0, block_.Interval());
    tdatetime next = Plus(block_.NextShotTime(), interval);
    if (interval > 0 && next <= now) next = Plus(now, interval);
    block_.SetNextShotTime(next);
  }
  return true;
}

void tvantlomanager::RestartInterval() {
  if (scheduled_)
    block_.SetNextShotTime(NextScheduledTime());
  else
    block_.SetNextShotTime(Plus(clock_(), std::max(0, block_.Interval())));
}

void tvantlomanager::LoadSchedule(const std::string& file) {
  struct stat st {};
  if (::stat(file.c_str(), &st) != 0) throw tvantlomanagererror(kScheduleNotFound + file);
  std::ifstream in(file);
  // A schedule is a short list of times; a file far beyond that is not a schedule (and is not
  // read into memory).
  constexpr off_t kMaxBytes = 1 << 20;
  if (!in || !S_ISREG(st.st_mode) || st.st_size > kMaxBytes)
    throw tvantlomanagererror(kScheduleError + file);
  std::vector<double> times;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (Trimmed(line).empty()) continue;
    const auto t = ParseTimeOfDay(line);
    if (!t)
      throw tvantlomanagererror(kScheduleError + file + " (line " + std::to_string(number) + ": \"" +
                                std::string(Trimmed(line).substr(0, 40)) + "\")");
    times.push_back(*t);
  }
  if (in.bad()) throw tvantlomanagererror(kScheduleError + file);
  std::sort(times.begin(), times.end());
  schedule_ = std::move(times);
}

tdatetime tvantlomanager::ScheduledAfter(tdatetime now, bool inclusive) const {
  if (schedule_.empty()) return now;
  const double today = std::floor(now.Days());
  const int t = SecondOfDay(now.Days() - today);
  for (const double s : schedule_) {
    const int at = SecondOfDay(s);
    if (at > t || (inclusive && at == t)) return tdatetime(today + at / double(kSecondsPerDay));
  }
  return tdatetime(today + 1 + SecondOfDay(schedule_.front()) / double(kSecondsPerDay));
}

tdatetime tvantlomanager::NextScheduledTime() const { return ScheduledAfter(clock_(), true); }

}  // namespace vantlo
