// Date-times as the settings store them: a double counting days since
// 30 December 1899 00:00, the time of day as the fraction. For negative
// counts the fraction still counts forward from midnight (-1.25 is
// 29 December 1899 06:00), as in the program's original date arithmetic.
#pragma once

#include <chrono>
#include <cstdint>

namespace vantlo {

struct tcivildatetime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  bool operator==(const tcivildatetime&) const = default;
};

class tdatetime {
 public:
  // Years 1 to 9999 are representable; anything beyond, and values that are
  // not numbers, become 0 (the base date) so a damaged record cannot
  // overflow a calendar computation.
  static constexpr double MinDays = -693593.0;  // 0001-01-01 00:00
  static constexpr double MaxDays = 2958466.0;  // 10000-01-01 00:00, excluded

  constexpr tdatetime() = default;
  explicit tdatetime(double days);

  double Days() const { return days_; }
  bool IsZero() const { return days_ == 0.0; }
  // The time of day alone (the fraction, always 0 <= x < 1).
  double TimeOfDay() const;

  static tdatetime FromCivil(const tcivildatetime& civil);
  static tdatetime FromCivil(int year, int month, int day, int hour = 0, int minute = 0,
                             int second = 0, int millisecond = 0);
  // Rounded to the nearest millisecond.
  tcivildatetime ToCivil() const;

  // Wall-clock (local) time without a time zone, as the settings hold it.
  using tlocaltime = std::chrono::local_time<std::chrono::milliseconds>;
  static tdatetime FromLocal(tlocaltime time);
  tlocaltime ToLocal() const;

  // The present local time.
  static tdatetime Now();

  auto operator<=>(const tdatetime&) const = default;

 private:
  double days_ = 0.0;
};

}  // namespace vantlo
