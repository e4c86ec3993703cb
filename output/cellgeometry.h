// Grid arithmetic shared by contact sheets and printed pages: the rectangle of cell k of a
// rows x columns grid with margins, and the aspect-keeping fit of a picture into a rectangle.
// Rectangles are half-open, as the drawing code uses them: left/top inside, right/bottom outside.
// Reals are rounded to nearest with ties to even; integer division truncates towards zero.
#pragma once

namespace vantlo {

struct tcellrect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  // False for an empty or inverted rectangle: nothing can be drawn into it.
  bool HasArea() const { return right > left && bottom > top; }
  tcellrect Inflated(int d) const { return {left - d, top - d, right + d, bottom + d}; }
  bool operator==(const tcellrect&) const = default;
};

// Round to nearest, ties to even (2.5 gives 2, 3.5 gives 4).
int RoundEven(double value);

// Cell k (1-based, filled row by row) of a `width` x `height` area: the horizontal gap is
// round(width x margin), the vertical gap round(height x margin), at the edges and between cells.
tcellrect GridCellRect(int width, int height, double margin, int rows, int columns, int k);

// Shrinks `r` to the picture's aspect ratio, the surplus of the long side split s div 2 on each
// side. A rectangle without area, or a picture without pixels, is returned unchanged (the caller
// draws nothing then); no division by zero can happen.
tcellrect FitPicture(const tcellrect& r, int pictureWidth, int pictureHeight);

}  // namespace vantlo
