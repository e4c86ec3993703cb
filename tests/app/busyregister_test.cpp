#include "app/busyregister.h"

#include <gtest/gtest.h>

namespace vantlo {
namespace {

struct trecordingview : tbusyview {
  std::string status;
  bool busy = false;
  int progressResets = 0;
  int indicatorCalls = 0;
  void BusyStatusText(const std::string& t) override { status = t; }
  void BusyIndicators(bool b) override {
    busy = b;
    ++indicatorCalls;
  }
  void BusyProgressReset() override { ++progressResets; }
};

using S = tbusyregister;

// The full truth table: each held slot against each request.
TEST(BusyRegister, TruthTableOfEveryRequestAgainstEveryHeldSlot) {
  const int requests[] = {0, 2, 4, 6, 10, 12, 14};
  const int heldCodes[] = {0, 2, 4, 6, 10, 12, 14};
  for (int held : heldCodes) {
    for (int req : requests) {
      tstoprequest stop;
      trecordingview view;
      S reg(stop, &view);
      ASSERT_TRUE(reg.BusyControl(held));
      const bool heldIsTask = held <= 6;  // T, P, W, A
      const bool heldIsMiniLab = held == 10;
      bool expect = !heldIsTask;
      if (req == 12 || req == 14) {
        expect = true;
      } else if (req == 10) {
        expect = !(heldIsTask || heldIsMiniLab);
      }
      EXPECT_EQ(reg.BusyControl(req), expect) << "held " << held << " request " << req;
      if (!expect) {
        EXPECT_EQ(view.status, " Program is busy");
      }
    }
  }
}

TEST(BusyRegister, GrantClearsStopAndRefusalChangesNothing) {
  tstoprequest stop;
  trecordingview view;
  S reg(stop, &view);
  stop.Set();
  EXPECT_TRUE(reg.BusyControl(S::kThumbnails));
  EXPECT_FALSE(stop.IsSet());
  EXPECT_TRUE(view.busy);
  stop.Set();
  EXPECT_FALSE(reg.BusyControl(S::kPictures));  // P while T is held
  EXPECT_TRUE(stop.IsSet());                    // a refusal leaves the stop request
  EXPECT_FALSE(reg.IsHeld(S::slotP));
  EXPECT_EQ(view.status, " Program is busy");
}

TEST(BusyRegister, ReleaseAndIdleRestoresReady) {
  tstoprequest stop;
  trecordingview view;
  S reg(stop, &view);
  reg.BusyControl(S::kPictures);
  reg.BusyControl(S::kDiskThumbnails);
  EXPECT_FALSE(reg.BusyControl(S::kPictures + 1));  // release answers false
  EXPECT_TRUE(view.busy);                           // D still held
  EXPECT_EQ(view.progressResets, 0);
  reg.BusyControl(S::kDiskThumbnails + 1);
  EXPECT_FALSE(view.busy);
  EXPECT_EQ(view.status, " Ready");
  EXPECT_EQ(view.progressResets, 1);
  EXPECT_FALSE(reg.AnyHeld());
}

TEST(BusyRegister, QueryIgnoresDiskSlotsAndUpdatesViewOnlyWhenHeld) {
  tstoprequest stop;
  trecordingview view;
  S reg(stop, &view);
  EXPECT_TRUE(reg.BusyControl(S::kQuery));
  EXPECT_EQ(view.indicatorCalls, 0);  // nothing held: the query leaves the view alone
  reg.BusyControl(S::kDiskThumbnails);
  reg.BusyControl(S::kDiskList);
  EXPECT_TRUE(reg.BusyControl(S::kQuery));  // D and S do not block closing
  reg.BusyControl(S::kMiniLab);
  EXPECT_FALSE(reg.BusyControl(S::kQuery));
  reg.BusyControl(S::kMiniLab + 1);
  for (int code : {0, 2, 4, 6}) {
    reg.BusyControl(code);
    EXPECT_FALSE(reg.BusyControl(S::kQuery)) << code;
    reg.BusyControl(code + 1);
  }
}

TEST(BusyRegister, CodesNamingNoSlotChangeNothing) {
  tstoprequest stop;
  S reg(stop, nullptr);
  for (int code : {8, 9, -1, 17, 255}) EXPECT_FALSE(reg.BusyControl(code)) << code;
  EXPECT_FALSE(reg.AnyHeld());
}

TEST(BusyRegister, GuardReleasesOnException) {
  tstoprequest stop;
  S reg(stop, nullptr);
  try {
    tbusyguard g(reg, S::kPictures);
    ASSERT_TRUE(g.Granted());
    throw 1;
  } catch (int) {
  }
  EXPECT_FALSE(reg.IsHeld(S::slotP));
  tbusyguard first(reg, S::kThumbnails);
  {
    tbusyguard refused(reg, S::kPictures);
    EXPECT_FALSE(refused.Granted());
  }
  EXPECT_TRUE(reg.IsHeld(S::slotT));  // a refused guard releases nothing
}

}  // namespace
}  // namespace vantlo
