// The mini-movie maker: source pictures from disk, each one frame ("Single Image") or a mosaic
// of frames the camera took in a burst (2x2, 4x4 or a custom grid of up to 8 x 8), and the
// frames cut out of them in order. Frame n belongs to source picture n div (rows x columns);
// within a picture the frames run row by row as the camera held it, which for a turned picture
// is a different walk through the stored mosaic (the four orientation tables of GetFrame).
#pragma once

#include <string>
#include <vector>

#include "output/outputerror.h"
#include "picture/bitmap.h"

namespace vantlo {

inline constexpr const char* kDifferentOrientation = "Picture has different orientation";
inline constexpr const char* kIllegalFrameNumber = "Illegal frame number";
inline constexpr const char* kInvalidOrientation = "Invalid Orientation";
inline constexpr const char* kPictureTooSmall = "Picture is too small for the capture format";

class tminimovie {
 public:
  static constexpr int kMaxGrid = 8;

  tminimovie() = default;

  // The capture format, rows and columns each 1..8 (kept to that range). The grid is the
  // movie's: changing it recuts every source picture held, so the frame size is taken again
  // over all of them.
  void SetGrid(int rows, int columns);
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  int Orientation() const { return orientation_; }

  // Frees all source pictures.
  void ClearMovie();
  // Appends a copy of `bitmap` under `name`. Refused with "Picture has different orientation"
  // when the movie holds pictures of another orientation code, "Invalid Orientation" for a code
  // outside 0..3, and kPictureTooSmall when a frame of the grid would be empty. The frame size
  // becomes the largest frame over all pictures.
  void AddSourcePicture(const std::string& name, const tbitmap& bitmap, int orientation);
  // Cuts frame n (0..FrameCount()-1, else "Illegal frame number") out of its picture and
  // stretches it over the whole target; an empty target is first given the frame size.
  void GetFrame(int n, tbitmap& target);
  // Source pictures x rows x columns.
  int FrameCount() const;

  int FrameWidth() const { return frameWidth_; }
  int FrameHeight() const { return frameHeight_; }
  // The last frame cut out (0 before any).
  int CurrentFrame() const { return currentFrame_; }
  int PictureCount() const { return static_cast<int>(sources_.size()); }
  const std::string& PictureName(int i) const { return sources_.at(i).name; }

  // Column and row of frame k (0..rows x columns - 1) of a picture in its stored mosaic, for
  // orientation code `orientation` (else "Invalid Orientation").
  static void FramePlace(int k, int rows, int columns, int orientation, int& column, int& row);

 private:
  struct tsource {
    std::string name;
    tbitmap bitmap;
  };
  void TakeFrameSizes();

  int rows_ = 1;
  int columns_ = 1;
  int orientation_ = 0;
  std::vector<tsource> sources_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
  int currentFrame_ = 0;
};

}  // namespace vantlo
