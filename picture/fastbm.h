// Direct pixel access to a 24-bit bitmap through a table of row addresses.
// There is deliberately no bounds test in GetPixel/SetPixel: the picture
// algorithms keep their coordinates inside the bitmap themselves.
#pragma once

#include <array>
#include <cstdint>

#include "picture/bitmap.h"
#include "picture/colour.h"

namespace vantlo {

class tfastbm {
 public:
  static constexpr int kMaxRows = 2400;

  // Binds the bitmap (not owned). Throws tpictureerror "Nil pointer to bitmap",
  // "Not 24 bit bitmap" or "Bitmap too big for this operation" (height > 2400).
  // The row table is fetched now: resizing the bitmap afterwards needs a new Attach.
  void Attach(tbitmap* bitmap);

  tcolor GetPixel(int x, int y) const {
    const std::uint8_t* p = scanlines_[y] + x * 3;
    return static_cast<tcolor>(p[2]) | (static_cast<tcolor>(p[1]) << 8) |
           (static_cast<tcolor>(p[0]) << 16);
  }
  void SetPixel(int x, int y, tcolor c) {
    std::uint8_t* p = scanlines_[y] + x * 3;
    p[0] = static_cast<std::uint8_t>((c >> 16) & 0xFF);
    p[1] = static_cast<std::uint8_t>((c >> 8) & 0xFF);
    p[2] = static_cast<std::uint8_t>(c & 0xFF);
  }

  tbitmap* Bitmap() const { return bitmap_; }
  int BytesPerPixel() const { return bytesperpixel_; }
  std::uint8_t* ScanLine(int y) const { return scanlines_[y]; }

 private:
  tbitmap* bitmap_ = nullptr;
  int bytesperpixel_ = 0;
  std::array<std::uint8_t*, kMaxRows> scanlines_{};
};

}  // namespace vantlo
