#include "cameracell.h"

#include <QApplication>
#include <QFont>
#include <QPainter>
#include <QPalette>

namespace vantlo {

namespace {

const QColor kSilver(192, 192, 192);
const QColor kGrey(128, 128, 128);

QFont CellFont() {
  QFont f("Arial");
  f.setPointSize(7);
  return f;
}

}  // namespace

void DrawCameraCell(QPainter& p, const QRect& r, const tcameracell& cell) {
  const QPalette pal = QApplication::palette();
  p.save();
  if (!cell.exists) {
    p.fillRect(r, pal.color(QPalette::Base));
    p.restore();
    return;
  }
  // Raised inner rectangle: silver 2-pixel lines left and top, grey 1-pixel right and bottom.
  const QRect inner = r.adjusted(2, 2, -2, -2);
  p.fillRect(inner, pal.color(QPalette::Button));
  p.fillRect(QRect(inner.left(), inner.top(), inner.width(), 2), kSilver);
  p.fillRect(QRect(inner.left(), inner.top(), 2, inner.height()), kSilver);
  p.fillRect(QRect(inner.left(), inner.bottom(), inner.width(), 1), kGrey);
  p.fillRect(QRect(inner.right(), inner.top(), 1, inner.height()), kGrey);

  const QColor text = cell.selected ? QColor(Qt::red) : QColor(Qt::black);
  p.setFont(CellFont());
  p.setPen(text);
  const int right = r.left() + r.width();   // exclusive right edge, as the cell rectangle has it
  const int bottom = r.top() + r.height();  // exclusive bottom edge
  p.drawText(QRect(QPoint(r.left() + 6, r.top() + 48), QPoint(right - 16, bottom - 6)),
             Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::number(cell.number));
  if (cell.loaded && (cell.movie || cell.fine)) {
    p.drawText(QRect(QPoint(right - 32, r.top() + 48), QPoint(right - 4, bottom - 6)),
               Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, cell.movie ? "AVI" : "F");
  }
  // Sunken well: grey left and top, silver right and bottom.
  const QRect well(QPoint(r.left() + 4, r.top() + 4), QPoint(right - 5, r.top() + 43));
  p.setPen(kGrey);
  p.drawLine(well.topLeft(), well.topRight());
  p.drawLine(well.topLeft(), well.bottomLeft());
  p.setPen(kSilver);
  p.drawLine(well.bottomLeft(), well.bottomRight());
  p.drawLine(well.topRight(), well.bottomRight());
  if (cell.loaded && !cell.thumbnail.isNull())
    p.drawImage(QPoint(r.left() + 6, r.top() + 6), cell.thumbnail);
  if (cell.selected) {
    p.setPen(QPen(Qt::red, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -2, -2));
  }
  p.restore();
}

}  // namespace vantlo
