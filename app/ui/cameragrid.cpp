#include "cameragrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace vantlo {

namespace {

class tcelldelegate : public QStyledItemDelegate {
 public:
  explicit tcelldelegate(tcameragrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    const int n = tcameragrid::NumberAt(index.row(), index.column());
    tcameracell cell;
    cell.number = n;
    if (grid_->CellAt) cell = grid_->CellAt(n);
    DrawCameraCell(*p, option.rect, cell);
  }

 private:
  tcameragrid* grid_;
};

}  // namespace

tcameragrid::tcameragrid(QTableWidget* table) : QObject(table), table_(table) {
  table_->setColumnCount(2);
  table_->setShowGrid(false);
  table_->horizontalHeader()->hide();
  table_->verticalHeader()->hide();
  table_->verticalHeader()->setDefaultSectionSize(kCellHeight);
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setItemDelegate(new tcelldelegate(this));
  table_->setMouseTracking(true);
  table_->viewport()->setMouseTracking(true);
  table_->viewport()->installEventFilter(this);
  table_->installEventFilter(this);
}

void tcameragrid::SetPictureCount(int count) {
  table_->setRowCount(count <= 0 ? 0 : (count + 1) / 2);
  RedrawAll();
}

void tcameragrid::RedrawPicture(int n) {
  if (n < 1) return;
  const QModelIndex i = table_->model()->index((n - 1) / 2, (n - 1) % 2);
  if (i.isValid()) table_->viewport()->update(table_->visualRect(i));
}

void tcameragrid::RedrawAll() { table_->viewport()->update(); }

int tcameragrid::CurrentNumber() const {
  const int r = table_->currentRow();
  const int c = table_->currentColumn();
  if (r < 0 || c < 0) return 0;
  return NumberAt(r, c);
}

int tcameragrid::NumberAtPoint(const QPoint& pos) const {
  const QModelIndex i = table_->indexAt(pos);
  if (!i.isValid()) return 0;
  return NumberAt(i.row(), i.column());
}

bool tcameragrid::eventFilter(QObject* watched, QEvent* event) {
  if (watched == table_->viewport()) {
    switch (event->type()) {
      case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() != Qt::LeftButton) break;
        const QModelIndex i = table_->indexAt(me->position().toPoint());
        if (!i.isValid()) break;
        table_->setCurrentCell(i.row(), i.column());
        table_->setFocus();
        if (OnClick) OnClick(NumberAt(i.row(), i.column()), me->modifiers());
        return true;
      }
      case QEvent::MouseButtonDblClick: {
        auto* me = static_cast<QMouseEvent*>(event);
        const int n = NumberAtPoint(me->position().toPoint());
        if (n > 0 && OnDoubleClick) OnDoubleClick(n);
        return true;
      }
      case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(event);
        const int n = NumberAtPoint(me->position().toPoint());
        if (n > 0 && OnPointerOver) OnPointerOver(n);
        break;
      }
      default:
        break;
    }
  } else if (watched == table_) {
    if (event->type() == QEvent::KeyPress) {
      auto* ke = static_cast<QKeyEvent*>(event);
      shiftState_ = ke->modifiers();
      if (ke->key() == Qt::Key_A && (ke->modifiers() & Qt::ControlModifier)) {
        if (OnSelectAllKey) OnSelectAllKey();
        return true;
      }
    } else if (event->type() == QEvent::KeyRelease) {
      auto* ke = static_cast<QKeyEvent*>(event);
      shiftState_ = ke->modifiers();
      if (ke->key() == Qt::Key_Delete && !ke->isAutoRepeat() && OnDeleteKey) {
        OnDeleteKey();
        return true;
      }
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace vantlo
