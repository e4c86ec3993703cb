// Selection and current item of the Browse page's tile grid, apart from
// any widget: what a click, Ctrl+click, Shift+click or a step does to which
// items. Items are 1-based; current item 0 means none.
#pragma once

#include <vector>

namespace vantlo {

struct tshiftstate {
  bool shift = false;
  bool ctrl = false;
};

class tthumbselection {
 public:
  // A new listing of `count` items: nothing selected, no current item.
  void Reset(int count);
  int Count() const { return static_cast<int>(selected_.size()); }

  bool Selected(int n) const;
  void SetSelected(int n, bool on);
  int Current() const { return current_; }
  // Makes n current (0 for none); other items keep their selection.
  void SetCurrent(int n);

  // A click on item n (n beyond the last item: the current item is
  // deselected). Plain: everything else is deselected and n flips its own
  // selection and becomes current. Ctrl: n flips and becomes current.
  // Shift: the items from the current one (or n when there is none) to n
  // are selected, all others deselected; the current item stays.
  void Click(int n, tshiftstate state);
  void SelectAll();
  void SelectNone();
  void Invert();
  // One item forward or back within 1..count; the old current item is
  // deselected unless Ctrl or Shift is held; the new one is not selected.
  void Next(tshiftstate state);
  void Previous(tshiftstate state);

  int SelectedCount() const;

 private:
  void Step(int delta, tshiftstate state);
  std::vector<bool> selected_;
  int current_ = 0;
};

}  // namespace vantlo
