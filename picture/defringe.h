// The de-fringe filter: finds thin stripes one pixel wide in which every
// second column (or row) is brighter or darker than its neighbours, keeps
// those that run on for more than three pixels, and smooths the luminance
// across them while every pixel keeps its own colour (Cb, Cr).
#pragma once

#include <cstdint>
#include <vector>

#include "picture/bitmap.h"
#include "picture/colourcorrection.h"

namespace vantlo {

// One found stripe segment: its first pixel and the number of pixels to
// repair from there along the stripe (down a column in the vertical pass,
// to the right along a row in the horizontal pass).
struct FringeRun {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t count = 0;
  bool operator==(const FringeRun&) const = default;
};

// The runs of the vertical pass (stripes running down the picture), in the
// order found: columns left to right, rows top to bottom. Only the even
// columns 2, 4, ... below the last column are examined, each from row 1
// down. Reports (10, "Finding Fringes") and then (-10, "Finding Fringes")
// after every (width div 8) examined columns (at least every column).
std::vector<FringeRun> FindVerticalFringes(const tbitmap& bitmap,
                                           const tpictureprogress& status = {});
// The same across the picture: even rows 2, 4, ..., each from column 1.
std::vector<FringeRun> FindHorizontalFringes(const tbitmap& bitmap,
                                             const tpictureprogress& status = {});

// Softens each run with its two neighbours, run after run, so a later
// repair sees the pixels earlier repairs left. Reports (50, "Processing
// Fringes") and (-10, "Processing Fringes") after every (runs div 4) runs.
void RepairVerticalFringes(tbitmap& bitmap, const std::vector<FringeRun>& runs,
                           const tpictureprogress& status = {});
void RepairHorizontalFringes(tbitmap& bitmap, const std::vector<FringeRun>& runs,
                             const tpictureprogress& status = {});

// Runs the vertical pass when `vertical` is set, then the horizontal pass
// when `horizontal` is set, both on `picture` in place, and finally copies
// `picture` into `result`, also when a pass fails (a bitmap that is not
// 24-bit or taller than 2400 rows fails with the tfastbm message, which is
// thrown on after the copy).
void DeFringe(tbitmap& picture, tbitmap& result, bool vertical, bool horizontal,
              const tpictureprogress& status = {});

}  // namespace vantlo
