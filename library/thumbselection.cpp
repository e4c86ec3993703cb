#include "library/thumbselection.h"

#include <algorithm>

namespace vantlo {

void tthumbselection::Reset(int count) {
  selected_.assign(static_cast<std::size_t>(std::max(count, 0)), false);
  current_ = 0;
}

bool tthumbselection::Selected(int n) const {
  return n >= 1 && n <= Count() && selected_[static_cast<std::size_t>(n - 1)];
}

void tthumbselection::SetSelected(int n, bool on) {
  if (n >= 1 && n <= Count()) selected_[static_cast<std::size_t>(n - 1)] = on;
}

void tthumbselection::SetCurrent(int n) { current_ = (n >= 1 && n <= Count()) ? n : 0; }

void tthumbselection::Click(int n, tshiftstate state) {
  if (n < 1 || n > Count()) {
    SetSelected(current_, false);
    return;
  }
  if (state.ctrl) {
    SetSelected(n, !Selected(n));
    current_ = n;
    return;
  }
  if (state.shift) {
    const int anchor = current_ ? current_ : n;
    const int lo = std::min(anchor, n), hi = std::max(anchor, n);
    for (int i = 1; i <= Count(); ++i) SetSelected(i, i >= lo && i <= hi);
    if (!current_) current_ = n;
    return;
  }
  const bool was = Selected(n);
  SelectNone();
  SetSelected(n, !was);
  current_ = n;
}

void tthumbselection::SelectAll() { std::fill(selected_.begin(), selected_.end(), true); }
void tthumbselection::SelectNone() { std::fill(selected_.begin(), selected_.end(), false); }

void tthumbselection::Invert() {
  for (std::size_t i = 0; i < selected_.size(); ++i) selected_[i] = !selected_[i];
}

void tthumbselection::Step(int delta, tshiftstate state) {
  if (Count() == 0) return;
  const int target = std::clamp(current_ + delta, 1, Count());
  if (target == current_) return;
  if (!state.ctrl && !state.shift) SetSelected(current_, false);
  current_ = target;
}

void tthumbselection::Next(tshiftstate state) { Step(1, state); }
void tthumbselection::Previous(tshiftstate state) { Step(-1, state); }

int tthumbselection::SelectedCount() const {
  return static_cast<int>(std::count(selected_.begin(), selected_.end(), true));
}

}  // namespace vantlo
