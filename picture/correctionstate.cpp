#include "picture/correctionstate.h"

#include "picture/rotation.h"

namespace vantlo {

tbitmap StartCorrection(tcorrectionstate& state, const tbitmap& current, int quarterTurns) {
  if (state.Applied && state.Uncorrected) {
    const int turns = QuarterTurnsBetween(state.TurnsAtCopy, quarterTurns);
    return turns == 0 ? *state.Uncorrected : RotateBitmap(*state.Uncorrected, turns);
  }
  state.Uncorrected = current;
  state.TurnsAtCopy = quarterTurns;
  return current;
}

}  // namespace vantlo
