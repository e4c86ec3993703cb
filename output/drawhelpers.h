// Small drawing helpers shared by contact sheets and printed pages: the stored font setting as
// a QFont, colour values as QColor, 24-bit bitmaps as QImages, one-pixel frames, and the
// reduction of a picture to the colours of an 8-bit palette display.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <cstdint>
#include <string>
#include <string_view>

#include "output/cellgeometry.h"
#include "picture/bitmap.h"

class QPainter;

namespace vantlo {

// A font as the settings records keep it: name (up to 32 characters), size in points, colour
// value (red in bits 0-7) and style bits (1 bold, 2 italic, 4 underline, 8 strike-out).
struct tfontsetting {
  std::string name = "Arial";
  int size = 8;
  std::uint32_t colour = 0;
  std::uint8_t style = 0;
  bool operator==(const tfontsetting&) const = default;
};

// The font for drawing on a picture: its size in points on a 96-dpi screen, as pixels, so a
// sheet looks the same whatever resolution the image claims.
QFont ScreenFont(const tfontsetting& font);
// The font for a device with its own resolution (a printer): the size in points.
QFont DeviceFont(const tfontsetting& font);

QColor ToQColor(std::uint32_t colour);
std::uint32_t FromQColor(const QColor& colour);
// Stored text (UTF-8, or Latin-1 when it is not valid UTF-8) as a QString.
QString ToQString(std::string_view text);

// The program's 24-bit bitmaps (rows of blue, green, red) as Qt images and back: the one
// conversion the window, captions, contact sheets and printing use.
// A QImage sharing the bitmap's pixels (no copy); valid while the bitmap lives unchanged.
QImage BitmapView(const tbitmap& bitmap);
// A QImage copy of the bitmap (a null image for an empty or not 24-bit bitmap).
QImage ImageFromBitmap(const tbitmap& bitmap);
// A 24-bit bitmap copy of any QImage.
tbitmap BitmapFromImage(const QImage& image);

// Frames `r` one pixel wide inside its edges in `colour` (a black frame for borders).
void FrameRect(QPainter& painter, const tcellrect& r, const QColor& colour = Qt::black);
QRect ToQRect(const tcellrect& r);

// The picture in the colours of an 8-bit palette display (6 levels per channel), for screens of
// 8 bits or less.
tbitmap PaletteBitmap(const tbitmap& bitmap);

}  // namespace vantlo
