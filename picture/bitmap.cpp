#include "picture/bitmap.h"

#include <stdexcept>

namespace vantlo {

tbitmap::tbitmap(int width, int height, PixelFormat format) : format_(format) {
  SetSize(width, height);
}

void tbitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0) throw std::invalid_argument("Negative bitmap size");
  width_ = width;
  height_ = height;
  data_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3, 0);
}

}  // namespace vantlo
