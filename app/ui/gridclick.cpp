#include "gridclick.h"

#include <algorithm>

namespace vantlo {

std::vector<int> tgridclicks::Click(tcameraselection& sel, int p, tclick how) {
  std::vector<int> changed;
  if (p < 1 || p > tcameraselection::kMax) return changed;
  auto put = [&](int n, bool on) {
    if (sel.IsSelected(n) != on) {
      sel.Set(n, on);
      changed.push_back(n);
    }
  };
  switch (how) {
    case tclick::ctrl:
      put(p, true);
      break;
    case tclick::shift: {
      if (anchor_ == 0) anchor_ = p;
      const int lo = std::min(anchor_, p);
      const int hi = std::max(anchor_, p);
      for (int n = 1; n <= tcameraselection::kMax; ++n) put(n, n >= lo && n <= hi);
      break;
    }
    case tclick::plain:
      for (int n = 1; n <= tcameraselection::kMax; ++n)
        if (n != p) put(n, false);
      put(p, true);
      break;
  }
  anchor_ = p;
  return changed;
}

}  // namespace vantlo
