// Resampling of 24-bit bitmaps: every resize of the program goes through
// these routines. The plain stretch is the unfiltered nearest-neighbour copy
// used while decoding; the smooth path averages integer-factor shrinks and
// filters enlargements with a 3 x 3 kernel.
#pragma once

#include "picture/bitmap.h"

namespace vantlo {

class TJPEGImage;

// Width and height of a picture.
struct tdimensions {
  int Width = 0;
  int Height = 0;
  bool operator==(const tdimensions&) const = default;
};

// Nearest-neighbour stretch of the whole source over the whole target (the
// target keeps its size): target pixel (x, y) takes source pixel
// (x * sw div tw, y * sh div th). An empty source leaves the target black.
void PlainStretch(const tbitmap& src, tbitmap& dst);

// Fills the already sized target with the resized source: a copy when the
// sizes agree, the plain stretch when not smooth, otherwise SmoothEnlarge for
// a taller target and BoxShrink for the rest.
void AdvStretch(const tbitmap& src, tbitmap& dst, bool smooth);

// Integer-factor shrink: with k = sw div tw, each target pixel is the rounded
// average of the k x k source block at (k * x, k * y). Falls back to the plain
// stretch when sw is not exactly k * tw, or when k * th rows are not there.
void BoxShrink(const tbitmap& src, tbitmap& dst);

// Filtered enlargement: each target pixel is the 1-2-1 / 2-16-2 / 1-2-1
// weighted mean (divided by 28) of the source pixels under its 3 x 3
// neighbourhood. Source indexes are clamped into the source, so any pair of
// sizes is safe.
void SmoothEnlarge(const tbitmap& src, tbitmap& dst);

// The choices of the resize list ("Original", "Tiny (160 x 120)", ...,
// "Three-quarter"); any other index keeps the size.
enum tresizechoice : int {
  rcOriginal = 0,
  rcTiny = 1,
  rcSmall = 2,
  rcMedium = 3,
  rcVGA = 4,
  rcLarge = 5,
  rcHalf = 6,
  rcQuarter = 7,
  rcThreeQuarter = 8,
};

// Size that resize choice `choice` gives a w x h picture. Fixed widths keep
// the aspect ratio (height truncated). Neither side of the result is ever
// below 1, so tiny or degenerate pictures never produce an empty bitmap.
tdimensions ResizeDimensions(int width, int height, int choice);
// The same for a picture's dimensions.
tdimensions ResizeDimensions(TJPEGImage& picture, int choice);

}  // namespace vantlo
