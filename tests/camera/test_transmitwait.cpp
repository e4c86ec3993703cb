// The wait for written bytes to leave the adapter ends with the write time-out,
// also when the adapter never drains its queue.
#include <gtest/gtest.h>

#include "camera/transmitwait.h"

namespace vantlo {
namespace {

class tmanualclock : public tclock {
 public:
  std::int64_t NowMs() const override { return now; }
  std::int64_t now = 1000;
};

struct twaitrun {
  tmanualclock clock;
  long long paused = 0;
  std::size_t Run(const std::function<int()>& queued, std::int64_t timeoutMs, int lineTimeMs) {
    const tdeadline deadline(clock, timeoutMs);
    return WaitUntilSent(queued, deadline, lineTimeMs, [this](int ms) {
      paused += ms;
      clock.now += ms;
    });
  }
};

TEST(TransmitWait, AWedgedAdapterEndsWithTheWriteTimeout) {
  twaitrun run;
  EXPECT_EQ(run.Run([] { return 3; }, 2000, 1), 3u);
  EXPECT_EQ(run.paused, 2000);
}

TEST(TransmitWait, AQueueThatDrainsEndsAtOnce) {
  twaitrun run;
  int left = 4;
  EXPECT_EQ(run.Run([&] { return left > 0 ? left-- : 0; }, 2000, 4), 0u);
  EXPECT_EQ(run.paused, 4);
  EXPECT_EQ(run.Run([] { return 0; }, 2000, 4), 0u);
  EXPECT_EQ(run.paused, 4);
}

TEST(TransmitWait, ADriverThatCannotTellGetsTheLineTimeWithinTheTimeout) {
  twaitrun run;
  EXPECT_EQ(run.Run([] { return -1; }, 2000, 5), 0u);
  EXPECT_EQ(run.paused, 5);
  EXPECT_EQ(run.Run([] { return -1; }, 2000, 50000), 0u);
  EXPECT_EQ(run.paused, 5 + 2000);
}

}  // namespace
}  // namespace vantlo
