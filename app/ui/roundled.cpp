#include "app/ui/roundled.h"

#include <QPainter>

namespace vantlo {

troundled::troundled(const QColor& on, const QColor& off, QWidget* parent)
    : QWidget(parent), onColour_(on), offColour_(off) {
  setFixedSize(16, 16);
}

void troundled::SetOn(bool on) {
  if (on_ == on) return;
  on_ = on;
  update();
}

void troundled::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Colour());
  p.drawEllipse(rect().adjusted(1, 1, -2, -2));
}

}  // namespace vantlo
