#include "picture/fastbm.h"

#include "picture/pictureerror.h"

namespace vantlo {

void tfastbm::Attach(tbitmap* bitmap) {
  if (bitmap == nullptr) throw tpictureerror("Nil pointer to bitmap");
  if (bitmap->Format() != PixelFormat::pf24bit) throw tpictureerror("Not 24 bit bitmap");
  if (bitmap->Height() > kMaxRows) throw tpictureerror("Bitmap too big for this operation");
  bitmap_ = bitmap;
  bytesperpixel_ = 3;
  scanlines_.fill(nullptr);
  for (int y = 0; y < bitmap->Height(); ++y) scanlines_[y] = bitmap->ScanLine(y);
}

}  // namespace vantlo
