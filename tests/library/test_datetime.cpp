// Day-count date-times: the base date, fractions, negative counts, rounding
// and damaged values.
#include <gtest/gtest.h>

#include <limits>

#include "library/records/datetime.h"

namespace vantlo {
namespace {

TEST(DateTime, KnownDayCounts) {
  EXPECT_EQ(tdatetime(0.0).ToCivil(), (tcivildatetime{1899, 12, 30, 0, 0, 0, 0}));
  EXPECT_EQ(tdatetime(36526.5).ToCivil(), (tcivildatetime{2000, 1, 1, 12, 0, 0, 0}));
  EXPECT_EQ(tdatetime(2.75).ToCivil(), (tcivildatetime{1900, 1, 1, 18, 0, 0, 0}));
  EXPECT_EQ(tdatetime::FromCivil(2000, 1, 1, 12).Days(), 36526.5);
  EXPECT_EQ(tdatetime::FromCivil(1899, 12, 30).Days(), 0.0);
  EXPECT_EQ(tdatetime::FromCivil(2024, 2, 29).Days(), 45351.0);  // leap day
}

TEST(DateTime, NegativeCountsKeepTheTimeOfDayForward) {
  EXPECT_EQ(tdatetime(-1.25).ToCivil(), (tcivildatetime{1899, 12, 29, 6, 0, 0, 0}));
  EXPECT_EQ(tdatetime::FromCivil(1899, 12, 29, 6).Days(), -1.25);
  EXPECT_DOUBLE_EQ(tdatetime(-1.25).TimeOfDay(), 0.25);
}

TEST(DateTime, RoundTripsAndRoundsToTheMillisecond) {
  const tcivildatetime c{2026, 12, 7, 21, 28, 10, 123};
  EXPECT_EQ(tdatetime::FromCivil(c).ToCivil(), c);
  // Just under midnight rounds up into the next day.
  EXPECT_EQ(tdatetime(1.0 - 1e-10).ToCivil(), (tcivildatetime{1899, 12, 31, 0, 0, 0, 0}));
  const auto local = tdatetime(36526.5).ToLocal();
  EXPECT_EQ(tdatetime::FromLocal(local).Days(), 36526.5);
}

TEST(DateTime, DamagedValuesBecomeTheBaseDate) {
  for (double bad : {std::numeric_limits<double>::quiet_NaN(),
                     std::numeric_limits<double>::infinity(), 1e300, -1e9}) {
    EXPECT_EQ(tdatetime(bad).Days(), 0.0) << bad;
  }
  EXPECT_EQ(tdatetime(tdatetime::MinDays).ToCivil().year, 1);
  EXPECT_EQ(tdatetime(tdatetime::MaxDays - 0.5).ToCivil().year, 9999);
}

TEST(DateTime, NowIsAPlausibleLocalTime) {
  const tcivildatetime now = tdatetime::Now().ToCivil();
  EXPECT_GE(now.year, 2020);
  EXPECT_LE(now.year, 9999);
}

}  // namespace
}  // namespace vantlo
