#include "picture/bitmapcheck.h"

#include "picture/fastbm.h"

namespace vantlo {

void RequireFastBitmap(const tbitmap& bitmap) {
  // Attach only reads the bitmap's format, height and row addresses.
  tfastbm fastbm;
  fastbm.Attach(const_cast<tbitmap*>(&bitmap));
}

}  // namespace vantlo
