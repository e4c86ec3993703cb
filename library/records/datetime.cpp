#include "library/records/datetime.h"

#include <cmath>
#include <ctime>

namespace vantlo {

namespace {

using namespace std::chrono;

constexpr std::int64_t kMsPerDay = 86'400'000;
// Day 0 of the stored counts.
constexpr local_days kBase = local_days(year(1899) / December / 30);

}  // namespace

tdatetime::tdatetime(double days) {
  days_ = (std::isfinite(days) && days >= MinDays && days < MaxDays) ? days : 0.0;
}

double tdatetime::TimeOfDay() const {
  const double frac = std::fabs(days_ - std::trunc(days_));
  return frac < 1.0 ? frac : 0.0;
}

tdatetime::tlocaltime tdatetime::ToLocal() const {
  const double whole = std::trunc(days_);
  std::int64_t ms = std::llround(std::fabs(days_ - whole) * static_cast<double>(kMsPerDay));
  std::int64_t day = static_cast<std::int64_t>(whole);
  if (ms >= kMsPerDay) {  // rounding reached the next midnight
    ms -= kMsPerDay;
    day += 1;
  }
  return tlocaltime(kBase + days(day)) + milliseconds(ms);
}

tdatetime tdatetime::FromLocal(tlocaltime time) {
  const local_days day = floor<days>(time);
  const std::int64_t ms = (time - day).count();
  const std::int64_t count = (day - kBase).count();
  const double frac = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  // Before the base date the fraction still counts forward from midnight,
  // so it is subtracted from the (negative) day number.
  return tdatetime(count >= 0 ? static_cast<double>(count) + frac
                              : static_cast<double>(count) - frac);
}

tcivildatetime tdatetime::ToCivil() const {
  const tlocaltime t = ToLocal();
  const local_days day = floor<days>(t);
  const year_month_day ymd(day);
  const hh_mm_ss<milliseconds> hms(t - day);
  tcivildatetime out;
  out.year = static_cast<int>(ymd.year());
  out.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
  out.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
  out.hour = static_cast<int>(hms.hours().count());
  out.minute = static_cast<int>(hms.minutes().count());
  out.second = static_cast<int>(hms.seconds().count());
  out.millisecond = static_cast<int>(hms.subseconds().count());
  return out;
}

tdatetime tdatetime::FromCivil(const tcivildatetime& c) {
  // Out-of-range months and days are normalised by the calendar arithmetic
  // (as sys_days does); hours, minutes and seconds simply add up.
  local_days base = local_days(year_month_day(year(c.year) / January / 1) + months(c.month - 1));
  base += days(c.day - 1);
  const tlocaltime t = tlocaltime(base) + hours(c.hour) + minutes(c.minute) + seconds(c.second) +
                       milliseconds(c.millisecond);
  return FromLocal(t);
}

tdatetime tdatetime::FromCivil(int year_, int month_, int day_, int hour, int minute, int second,
                               int millisecond) {
  return FromCivil(tcivildatetime{year_, month_, day_, hour, minute, second, millisecond});
}

tdatetime tdatetime::Now() {
  const auto now = system_clock::now();
  const std::time_t secs = system_clock::to_time_t(now);
  std::tm tm{};
  localtime_r(&secs, &tm);
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  return FromCivil(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                   static_cast<int>(ms < 0 ? ms + 1000 : ms));
}

}  // namespace vantlo
