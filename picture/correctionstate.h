// What the window keeps about the colour correction of the displayed
// picture, and the step every correction starts with, so that repeated
// corrections never pile up: the second and later ones start again from the
// picture as it was before the first, turned as the user has turned it
// since.
#pragma once

#include <optional>

#include "picture/bitmap.h"

namespace vantlo {

struct tcorrectionstate {
  // The picture before the first correction, and the window's quarter-turn
  // counter when it was taken.
  std::optional<tbitmap> Uncorrected;
  int TurnsAtCopy = 0;
  // Set by every correction; cleared when a new picture is fetched or opened.
  bool Applied = false;

  // A new picture on display.
  void Reset() { *this = tcorrectionstate{}; }
};

// The bitmap a correction works on. With a correction already applied it is
// the uncorrected copy, turned clockwise by (quarterTurns - TurnsAtCopy) mod
// 4 quarter turns; otherwise `current` itself, which becomes the uncorrected
// copy (with `quarterTurns` recorded). An applied flag without a copy is
// treated as no correction yet.
tbitmap StartCorrection(tcorrectionstate& state, const tbitmap& current, int quarterTurns);

}  // namespace vantlo
