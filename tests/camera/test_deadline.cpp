// The deadline helper with an injected clock, and the recording waiter.
#include <gtest/gtest.h>

#include "camera/deadline.h"
#include "camera/waiter.h"

namespace vantlo {
namespace {

class tfakeclock : public tclock {
 public:
  std::int64_t NowMs() const override { return now; }
  std::int64_t now = 1000;
};

TEST(Deadline, CountsDownWithTheClockAndNeverGoesNegative) {
  tfakeclock clock;
  tdeadline deadline(clock, 250);
  EXPECT_EQ(deadline.RemainingMs(), 250);
  clock.now += 100;
  EXPECT_EQ(deadline.RemainingMs(), 150);
  EXPECT_FALSE(deadline.Expired());
  clock.now += 150;
  EXPECT_TRUE(deadline.Expired());
  clock.now += 5000;
  EXPECT_EQ(deadline.RemainingMs(), 0);
}

TEST(Deadline, NegativeTimeoutIsExpiredAndHugeOneIsClipped) {
  tfakeclock clock;
  EXPECT_TRUE(tdeadline(clock, -5).Expired());
  EXPECT_GT(tdeadline(clock, 1LL << 40).RemainingMs(), 0);
}

TEST(Waiter, RecordingWaiterKeepsTheOrder) {
  trecordingwaiter waiter;
  waiter.Wait(100);
  waiter.Wait(1);
  waiter.Wait(500);
  EXPECT_EQ(waiter.Waits(), (std::vector<int>{100, 1, 500}));
  EXPECT_EQ(waiter.TotalMs(), 601);
  waiter.Clear();
  EXPECT_TRUE(waiter.Waits().empty());
}

}  // namespace
}  // namespace vantlo
