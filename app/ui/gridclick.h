// The click rules of the camera grid on the picture selection: Ctrl, Shift with the anchor (the
// picture last clicked), and the plain click.
#pragma once

#include <vector>

#include "app/core/fetchworkflow.h"

namespace vantlo {

class tgridclicks {
 public:
  enum class tclick { plain, ctrl, shift };

  int Anchor() const { return anchor_; }
  void Forget() { anchor_ = 0; }

  // A click on picture p (1..300). Returns the numbers whose flag changed, so the grid redraws
  // only those cells. Ctrl sets p (no toggle); Shift selects anchor..p (the anchor becomes p when
  // there is none) and clears every other number; a plain click selects p alone. The anchor
  // becomes p in every case.
  std::vector<int> Click(tcameraselection& selection, int p, tclick how);

 private:
  int anchor_ = 0;
};

}  // namespace vantlo
