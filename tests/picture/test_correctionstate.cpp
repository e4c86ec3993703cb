// The start of every colour correction: the first one keeps the picture as
// the uncorrected copy, later ones start again from that copy, turned as
// the user turned the picture since.
#include <gtest/gtest.h>

#include "picture/colourcorrection.h"
#include "picture/correctionstate.h"
#include "picture/rawencoder.h"
#include "picture/rotation.h"

namespace vantlo {
namespace {

TEST(CorrectionState, RepeatedCorrectionsStartFromTheUncorrectedCopy) {
  const tbitmap pic = MakeTestPicture(40, 30, 3);
  tcorrectionstate state;
  tbitmap work = StartCorrection(state, pic, 0);
  EXPECT_EQ(work, pic);
  ASSERT_TRUE(state.Uncorrected);
  ApplyCasioCorrection(work, 10);
  state.Applied = true;
  const tbitmap once = work;

  // The same correction again gives the same picture, not a doubled one.
  tbitmap again = StartCorrection(state, once, 0);
  EXPECT_EQ(again, pic);
  ApplyCasioCorrection(again, 10);
  EXPECT_EQ(again, once);
}

TEST(CorrectionState, TurnsSinceTheCopyAreAppliedToIt) {
  const tbitmap pic = MakeTestPicture(40, 30, 4);
  tcorrectionstate state;
  tbitmap work = StartCorrection(state, pic, 1);
  ApplyCasioCorrection(work, 5);
  state.Applied = true;
  // The user turned the corrected picture clockwise twice more (counter 3)
  // and then corrects again: the turned, once-corrected picture.
  const tbitmap turned = RotateBitmap(RotateBitmap(work, 1), 1);
  tbitmap second = StartCorrection(state, turned, 3);
  ApplyCasioCorrection(second, 5);
  EXPECT_EQ(second, turned);
  // Counter-clockwise from 1 to 0 is three clockwise turns.
  tbitmap back = StartCorrection(state, RotateBitmap(work, 3), 0);
  EXPECT_EQ(back, RotateBitmap(pic, 3));
}

TEST(CorrectionState, ResetAndAFlagWithoutACopy) {
  const tbitmap pic = MakeTestPicture(10, 8, 1);
  tcorrectionstate state;
  state.Applied = true;  // no copy: the current picture is taken
  EXPECT_EQ(StartCorrection(state, pic, 2), pic);
  EXPECT_EQ(state.TurnsAtCopy, 2);
  state.Reset();
  EXPECT_FALSE(state.Uncorrected);
  EXPECT_FALSE(state.Applied);
}

}  // namespace
}  // namespace vantlo
