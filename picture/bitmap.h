// A plain in-memory bitmap: rows top to bottom, three bytes per pixel stored
// blue, green, red, no row padding. Every picture of the program lives in one
// of these between decoding and saving; `tfastbm` gives the fast pixel access.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantlo {

enum class PixelFormat { pf24bit, pf32bit, pfOther };

class tbitmap {
 public:
  tbitmap() = default;
  tbitmap(int width, int height, PixelFormat format = PixelFormat::pf24bit);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }
  PixelFormat Format() const { return format_; }

  // Resizing keeps no pixels; the new area is black.
  void SetSize(int width, int height);
  // Only pf24bit carries pixels; the other formats exist so that code which
  // must refuse them (tfastbm) can be exercised.
  void SetPixelFormat(PixelFormat format) { format_ = format; }

  std::size_t RowBytes() const { return static_cast<std::size_t>(width_) * 3; }
  std::uint8_t* ScanLine(int y) { return data_.data() + static_cast<std::size_t>(y) * RowBytes(); }
  const std::uint8_t* ScanLine(int y) const {
    return data_.data() + static_cast<std::size_t>(y) * RowBytes();
  }
  std::vector<std::uint8_t>& Bytes() { return data_; }
  const std::vector<std::uint8_t>& Bytes() const { return data_; }

  bool operator==(const tbitmap&) const = default;

 private:
  int width_ = 0;
  int height_ = 0;
  PixelFormat format_ = PixelFormat::pf24bit;
  std::vector<std::uint8_t> data_;
};

}  // namespace vantlo
