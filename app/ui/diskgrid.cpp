#include "diskgrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "tilepictures.h"

namespace vantlo {

namespace {

tshiftstate StateOf(Qt::KeyboardModifiers m) {
  return {(m & Qt::ShiftModifier) != 0, (m & Qt::ControlModifier) != 0};
}

}  // namespace

Tdiskgrid::Tdiskgrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  verticalScrollBar()->setSingleStep(kTileSize / 4);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void Tdiskgrid::SetManager(tdiskthumbmanager* manager) {
  manager_ = manager;
  Reshape();
}

void Tdiskgrid::Reshape() {
  const int count = manager_ ? manager_->Count() : 0;
  shape_ = GridShape(viewport()->width(), count);
  UpdateScrollBar();
  viewport()->update();
}

void Tdiskgrid::UpdateScrollBar() {
  const int total = shape_.rows * kTileSize;
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setRange(0, std::max(0, total - viewport()->height()));
}

void Tdiskgrid::RepaintItem(int n) {
  if (n < 1 || shape_.columns < 1) return;
  const int row = (n - 1) / shape_.columns, col = (n - 1) % shape_.columns;
  viewport()->update(
      QRect(col * kTileSize, row * kTileSize - verticalScrollBar()->value(), kTileSize, kTileSize));
}

int Tdiskgrid::ItemAt(const QPoint& p) const {
  if (!manager_ || p.x() < 0 || p.y() < 0) return 0;
  const int col = p.x() / kTileSize;
  const int row = (p.y() + verticalScrollBar()->value()) / kTileSize;
  if (col >= shape_.columns) return 0;
  const int n = CellItem(shape_, row, col);
  return n <= manager_->Count() ? n : 0;
}

void Tdiskgrid::ShowItem(int n) {
  if (n < 1 || shape_.columns < 1) return;
  const int top = ((n - 1) / shape_.columns) * kTileSize;
  QScrollBar* sb = verticalScrollBar();
  if (top < sb->value())
    sb->setValue(top);
  else if (top + kTileSize > sb->value() + viewport()->height())
    sb->setValue(top + kTileSize - viewport()->height());
}

void Tdiskgrid::paintEvent(QPaintEvent* event) {
  QPainter p(viewport());
  const QColor window = palette().color(QPalette::Window);
  p.fillRect(event->rect(), window);
  if (!manager_) return;
  const int offset = verticalScrollBar()->value();
  QFont font("Arial");
  font.setPointSize(7);
  p.setFont(font);
  const int firstRow = (event->rect().top() + offset) / kTileSize;
  const int lastRow = (event->rect().bottom() + offset) / kTileSize;
  for (int row = firstRow; row <= lastRow; ++row) {
    for (int col = 0; col < shape_.columns; ++col) {
      const QRect cell(col * kTileSize, row * kTileSize - offset, kTileSize, kTileSize);
      const int n = CellItem(shape_, row, col);
      if (n > manager_->Count()) continue;  // window background, filled above
      const QImage picture = ImageFromBitmap(manager_->CellPicture(n));
      if (!picture.isNull()) p.drawImage(cell, picture);
      const QString caption =
          QString::fromStdString(TileCaption(manager_->Collection().DisplayName(n)));
      const bool selected = manager_->Selection().Selected(n);
      const QRect band(cell.left() + 4, cell.top() + 64, 72, 12);
      const QFontMetrics fm(font);
      const int w = fm.horizontalAdvance(caption);
      QRect text(w > band.width() ? band.left() : band.left() + (band.width() - w) / 2, band.top(),
                 w, band.height());
      p.save();
      p.setClipRect(band);
      if (selected) {
        p.fillRect(text.intersected(band), palette().color(QPalette::Highlight));
        p.setPen(palette().color(QPalette::HighlightedText));
      } else {
        p.setPen(Qt::black);
      }
      p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, caption);
      p.restore();
      if (n == manager_->CurrentItem() && hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        p.drawRect(cell.adjusted(0, 0, -1, -1));
      }
    }
  }
}

void Tdiskgrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  const int count = manager_ ? manager_->Count() : 0;
  const tgridshape shape = GridShape(viewport()->width(), count);
  if (!(shape == shape_)) shape_ = shape;
  UpdateScrollBar();
  viewport()->update();
}

void Tdiskgrid::mousePressEvent(QMouseEvent* event) {
  if (!manager_) return;
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::RightButton) {
    if (contextMenu) contextMenu(event->globalPosition().toPoint());
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  int n = ItemAt(pos);
  if (n == 0) n = manager_->Count() + 1;  // a click beyond the last item
  manager_->Click(n, StateOf(event->modifiers()));
  viewport()->update();
}

void Tdiskgrid::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!manager_ || event->button() != Qt::LeftButton) return;
  const int n = ItemAt(event->position().toPoint());
  if (n == 0) return;
  const tactivation a = manager_->DoubleClick(n);
  viewport()->update();
  if (activated) activated(a);
}

void Tdiskgrid::keyPressEvent(QKeyEvent* event) {
  if (!manager_) return QAbstractScrollArea::keyPressEvent(event);
  const tshiftstate state = StateOf(event->modifiers());
  const int before = manager_->CurrentItem();
  switch (event->key()) {
    case Qt::Key_Right:
      manager_->NextItem(state);
      break;
    case Qt::Key_Left:
      manager_->PreviousItem(state);
      break;
    case Qt::Key_Down:
      for (int i = 0; i < shape_.columns; ++i) manager_->NextItem(state);
      break;
    case Qt::Key_Up:
      for (int i = 0; i < shape_.columns; ++i) manager_->PreviousItem(state);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      manager_->KeyDown(tgridkey::Enter);
      return;
    case Qt::Key_Delete:
      manager_->KeyDown(tgridkey::Delete);
      return;
    case Qt::Key_Space:
      manager_->Click(std::max(1, manager_->CurrentItem()), {false, true});
      break;
    default:
      if (event->key() == Qt::Key_A && (event->modifiers() & Qt::ControlModifier)) {
        manager_->KeyPress('\x01');
        break;
      }
      manager_->KeyDown(tgridkey::Other);
      return QAbstractScrollArea::keyPressEvent(event);
  }
  if (manager_->CurrentItem() != before) ShowItem(manager_->CurrentItem());
  viewport()->update();
}

void Tdiskgrid::keyReleaseEvent(QKeyEvent* event) {
  if (!manager_ || event->isAutoRepeat()) return;
  tgridkey key = tgridkey::Other;
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) key = tgridkey::Enter;
  if (event->key() == Qt::Key_Delete) key = tgridkey::Delete;
  if (key == tgridkey::Other) return;
  const tactivation a = manager_->KeyUp(key);
  viewport()->update();
  if (activated) activated(a);
}

}  // namespace vantlo
