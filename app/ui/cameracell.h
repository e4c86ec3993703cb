// Drawing one picture cell of the camera grid: raised frame, picture number, the "AVI"/"F"
// mark, the sunken well with the thumbnail, and the red frame of a selected picture. The grid and
// the delete confirmation draw cells with the same routine.
#pragma once

#include <QImage>
#include <QRect>

class QPainter;

namespace vantlo {

struct tcameracell {
  int number = 0;       // picture number (1..)
  bool exists = false;  // number within the picture count
  bool selected = false;
  bool loaded = false;  // thumbnail loaded
  bool movie = false;
  bool fine = false;
  QImage thumbnail;  // when loaded
};

void DrawCameraCell(QPainter& painter, const QRect& r, const tcameracell& cell);

}  // namespace vantlo
