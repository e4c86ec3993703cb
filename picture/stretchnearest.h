// Nearest-neighbour stretch of a whole bitmap over another, for the small
// pictures of this folder's formats (thumbnails, raw encoding). Target pixel
// (x, y) takes source pixel (x * sw div tw, y * sh div th).
#pragma once

#include "picture/bitmap.h"

namespace vantlo::detail {

// dst keeps its size; an empty source leaves it unchanged.
void StretchNearest(const tbitmap& src, tbitmap& dst);

}  // namespace vantlo::detail
