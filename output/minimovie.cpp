#include "output/minimovie.h"

#include <algorithm>
#include <cstring>

#include "picture/advstretch.h"

namespace vantlo {

void tminimovie::SetGrid(int rows, int columns) {
  rows_ = std::clamp(rows, 1, kMaxGrid);
  columns_ = std::clamp(columns, 1, kMaxGrid);
  TakeFrameSizes();
}

void tminimovie::ClearMovie() {
  sources_.clear();
  frameWidth_ = 0;
  frameHeight_ = 0;
  currentFrame_ = 0;
}

void tminimovie::AddSourcePicture(const std::string& name, const tbitmap& bitmap, int orientation) {
  if (!sources_.empty() && orientation != orientation_) throw toutputerror(kDifferentOrientation);
  if (orientation < 0 || orientation > 3) throw toutputerror(kInvalidOrientation);
  const int fw = bitmap.Width() / columns_;
  const int fh = bitmap.Height() / rows_;
  // A picture narrower than the grid would give empty frames, and nothing to stretch.
  if (fw <= 0 || fh <= 0 || bitmap.Format() != PixelFormat::pf24bit)
    throw toutputerror(kPictureTooSmall);
  if (sources_.empty()) {
    orientation_ = orientation;
    frameWidth_ = fw;
    frameHeight_ = fh;
  } else {
    frameWidth_ = std::max(frameWidth_, fw);
    frameHeight_ = std::max(frameHeight_, fh);
  }
  sources_.push_back({name, bitmap});
}

void tminimovie::TakeFrameSizes() {
  // Every picture held was checked against the grid it was added with; a finer grid may now
  // leave one without whole frames, which then gives frames of at least one pixel.
  frameWidth_ = 0;
  frameHeight_ = 0;
  for (const tsource& s : sources_) {
    frameWidth_ = std::max(frameWidth_, std::max(1, s.bitmap.Width() / columns_));
    frameHeight_ = std::max(frameHeight_, std::max(1, s.bitmap.Height() / rows_));
  }
}

int tminimovie::FrameCount() const { return static_cast<int>(sources_.size()) * rows_ * columns_; }

void tminimovie::FramePlace(int k, int r, int c, int orientation, int& column, int& row) {
  switch (orientation) {
    case 0:
      column = k % c;
      row = k / c;
      break;
    case 1:
      column = c - 1 - k / r;
      row = k % r;
      break;
    case 2:
      column = c - 1 - k % c;
      row = r - 1 - k / c;
      break;
    case 3:
      // The frames of a picture turned counter-clockwise run down its columns from the bottom
      // left: column k div rows (k div columns would leave the mosaic of a grid with more rows
      // than columns).
      column = k / r;
      row = r - 1 - k % r;
      break;
    default:
      throw toutputerror(kInvalidOrientation);
  }
}

void tminimovie::GetFrame(int n, tbitmap& target) {
  if (n < 0 || n >= FrameCount()) throw toutputerror(kIllegalFrameNumber);
  const int perPicture = rows_ * columns_;
  const tbitmap& source = sources_[n / perPicture].bitmap;
  currentFrame_ = n;
  int column = 0;
  int row = 0;
  FramePlace(n % perPicture, rows_, columns_, orientation_, column, row);

  // A picture too small for a grid chosen after it was added gives one-pixel frames, taken
  // from inside the picture.
  const int fw = std::max(1, source.Width() / columns_);
  const int fh = std::max(1, source.Height() / rows_);
  const int x0 = std::min(fw * column, source.Width() - fw);
  const int y0 = std::min(fh * row, source.Height() - fh);
  if (target.Empty()) target.SetSize(frameWidth_, frameHeight_);

  const auto copyInto = [&](tbitmap& into) {
    const std::size_t rowBytes = static_cast<std::size_t>(fw) * 3;
    for (int y = 0; y < fh; ++y)
      std::memcpy(into.ScanLine(y), source.ScanLine(y0 + y) + static_cast<std::size_t>(x0) * 3,
                  rowBytes);
  };
  if (target.Width() == fw && target.Height() == fh) {
    copyInto(target);
    return;
  }
  tbitmap cut(fw, fh);
  copyInto(cut);
  PlainStretch(cut, target);
}

}  // namespace vantlo
