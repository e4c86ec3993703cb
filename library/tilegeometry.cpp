#include "library/tilegeometry.h"

#include <algorithm>
#include <cstring>

#include "picture/advstretch.h"

namespace vantlo {

namespace {

constexpr int kAreaWidth = 70;
constexpr int kAreaHeight = 55;
constexpr int kAreaLeft = 5;
constexpr int kAreaTop = 4;

// num / den rounded to the nearest integer, halves to even (den > 0).
long long RoundHalfEven(long long num, long long den) {
  long long q = num / den, rem = num % den;
  if (2 * rem > den || (2 * rem == den && (q & 1))) ++q;
  return q;
}

}  // namespace

ttilerect FitPictureRect(int width, int height) {
  if (width <= 0 || height <= 0)
    return {kAreaLeft, kAreaTop, kAreaLeft + kAreaWidth, kAreaTop + kAreaHeight};
  // r = w / h against R = 70 / 55, compared exactly: w * 55 against h * 70.
  const long long lhs = static_cast<long long>(width) * kAreaHeight;
  const long long rhs = static_cast<long long>(height) * kAreaWidth;
  if (lhs > rhs) {
    // h = R * 55 / r = 70 * height / width
    const int h =
        static_cast<int>(RoundHalfEven(static_cast<long long>(kAreaWidth) * height, width));
    const int t = (kAreaHeight - h) / 2;
    return {kAreaLeft, kAreaTop + t, kAreaLeft + kAreaWidth, kAreaTop + t + h};
  }
  if (lhs == rhs) return {kAreaLeft, kAreaTop, kAreaLeft + kAreaWidth, kAreaTop + kAreaHeight};
  // w = r * 70 / R = 55 * width / height
  const int w =
      static_cast<int>(RoundHalfEven(static_cast<long long>(kAreaHeight) * width, height));
  const int s = (kAreaWidth - w) / 2;
  return {kAreaLeft + s, kAreaTop, kAreaLeft + s + w, kAreaTop + kAreaHeight};
}

ttilerect ExifThumbnailRect(int thumbnailWidth) {
  return thumbnailWidth == 80 ? ttilerect{4, 4, 76, 58} : ttilerect{6, 4, 74, 58};
}

ttilerect CamThumbnailRect() { return {8, 7, 72, 55}; }

tgridshape GridShape(int gridWidth, int count) {
  tgridshape shape;
  shape.columns = std::max(1, gridWidth / kTileSize);
  shape.rows = count / shape.columns + (count % shape.columns ? 1 : 0);
  return shape;
}

std::string TileCaption(const std::string& displayName) { return displayName; }

ttilepictures PlainTilePictures() {
  static const std::uint8_t kColours[7][3] = {
      {0xC0, 0xD0, 0xE0}, {0xE0, 0xE0, 0xE0}, {0x40, 0xC0, 0xF0}, {0xA0, 0xA0, 0xA0},
      {0xF0, 0xF0, 0xF0}, {0x60, 0xD0, 0xF0}, {0xD0, 0xB0, 0xB0}};
  ttilepictures tiles;
  for (int i = 0; i < 7; ++i) {
    tiles[static_cast<std::size_t>(i)] = tbitmap(kTileSize, kTileSize);
    auto& bytes = tiles[static_cast<std::size_t>(i)].Bytes();
    for (std::size_t p = 0; p + 2 < bytes.size(); p += 3) std::memcpy(&bytes[p], kColours[i], 3);
  }
  return tiles;
}

tbitmap ComposeTile(const tbitmap& background, const tbitmap& picture, const ttilerect& rect) {
  tbitmap tile(kTileSize, kTileSize);
  PlainStretch(background, tile);
  if (picture.Empty() || rect.Width() <= 0 || rect.Height() <= 0) return tile;
  tbitmap part(rect.Width(), rect.Height());
  PlainStretch(picture, part);
  for (int y = 0; y < part.Height(); ++y) {
    const int ty = rect.top + y;
    if (ty < 0 || ty >= kTileSize) continue;
    for (int x = 0; x < part.Width(); ++x) {
      const int tx = rect.left + x;
      if (tx < 0 || tx >= kTileSize) continue;
      std::memcpy(tile.ScanLine(ty) + tx * 3, part.ScanLine(y) + x * 3, 3);
    }
  }
  return tile;
}

}  // namespace vantlo
