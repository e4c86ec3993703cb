// Geometry of the Browse page's 80 x 80 tiles: where a thumbnail goes on
// its tile, how the grid is shaped, and how a tile is put together.
#pragma once

#include <array>
#include <string>

#include "picture/bitmap.h"

namespace vantlo {

inline constexpr int kTileSize = 80;

// A rectangle from (left, top) to (right, bottom), right and bottom
// exclusive, as the program's drawing calls take it.
struct ttilerect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const ttilerect&) const = default;
};

// Fits a width x height picture into the 70 x 55 area at (5, 4): the long
// side fills the area, the other is rounded half to even and centred
// (offset truncated). 400 x 300 gives (5, 5)-(75, 57).
ttilerect FitPictureRect(int width, int height);
// Where an EXIF thumbnail goes: an 80 x 60 one into (4, 4)-(76, 58), the
// 68 x 54 form into (6, 4)-(74, 58).
ttilerect ExifThumbnailRect(int thumbnailWidth);
// Where a CAM picture goes: (8, 7)-(72, 55).
ttilerect CamThumbnailRect();

struct tgridshape {
  int columns = 1;
  int rows = 0;
  bool operator==(const tgridshape&) const = default;
};
// columns = width div 80 (at least 1); rows = count div columns, rounded up.
tgridshape GridShape(int gridWidth, int count);
// 1-based item number of a cell.
inline int CellItem(const tgridshape& shape, int row, int column) {
  return row * shape.columns + column + 1;
}

// A tile's caption: the name as it is on disk. File names here are case-sensitive, so a caption
// in another case (the Windows "Myphoto.jpg" for MyPhoto.JPG) would name another file.
std::string TileCaption(const std::string& displayName);

// The seven tile pictures "B1" to "B7", in that order: CAM background, JPEG
// background, parent folder, other file, JPEG placeholder, folder, AVI.
enum ttilepicture : int { tpCam = 0, tpJpeg, tpParent, tpOther, tpJpegWaiting, tpFolder, tpAvi };
using ttilepictures = std::array<tbitmap, 7>;
// Plain coloured 80 x 80 stand-ins, used until the window gives the real
// artwork (and by tests).
ttilepictures PlainTilePictures();

// A tile: `background` stretched over 80 x 80, then `picture` stretched
// into `rect` (clipped to the tile).
tbitmap ComposeTile(const tbitmap& background, const tbitmap& picture, const ttilerect& rect);

}  // namespace vantlo
