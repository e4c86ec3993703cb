// The refusal every pixel operation of the picture code shares: a bitmap is
// accepted only when `tfastbm` would attach to it (24-bit, at most 2400 rows).
// The routines then walk rows through plain row pointers for speed.
#pragma once

#include "picture/bitmap.h"

namespace vantlo {

// Throws the same error `tfastbm::Attach` raises for `bitmap`, if any.
void RequireFastBitmap(const tbitmap& bitmap);

// Rounds num / den (den > 0, num >= 0) to the nearest integer, ties to even.
inline int RoundDiv(long long num, long long den) {
  long long q = num / den;
  const long long r2 = (num % den) * 2;
  if (r2 > den || (r2 == den && (q & 1))) ++q;
  return static_cast<int>(q);
}

}  // namespace vantlo
