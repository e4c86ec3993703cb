// The camera grid behaviour on the window's two-column table `DrawGrid11`: every cell is painted
// by DrawCameraCell from what `CellAt` tells, and clicks, double clicks, keys and pointer moves
// are turned into picture numbers for the window's handlers. The table's own selection is off;
// the selection lives in tcameraselection.
#pragma once

#include <QObject>
#include <functional>

#include "cameracell.h"

class QTableWidget;

namespace vantlo {

class tcameragrid : public QObject {
  Q_OBJECT
 public:
  static constexpr int kCellHeight = 64;

  explicit tcameragrid(QTableWidget* table);

  // What the cell of picture n shows.
  std::function<tcameracell(int n)> CellAt;
  // Click on picture n with the modifiers of that click.
  std::function<void(int n, Qt::KeyboardModifiers modifiers)> OnClick;
  std::function<void(int n)> OnDoubleClick;
  std::function<void(int n)> OnPointerOver;
  std::function<void()> OnDeleteKey;
  std::function<void()> OnSelectAllKey;

  // Rows for `count` pictures: (count + 1) div 2.
  void SetPictureCount(int count);
  void RedrawPicture(int n);
  void RedrawAll();
  // Picture number of the cell at the table's current cell (0 when none).
  int CurrentNumber() const;
  // Picture number of a cell (row r, column c).
  static int NumberAt(int row, int column) { return row * 2 + column + 1; }
  QTableWidget* Table() const { return table_; }
  Qt::KeyboardModifiers ShiftState() const { return shiftState_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int NumberAtPoint(const QPoint& viewportPos) const;
  QTableWidget* table_;
  Qt::KeyboardModifiers shiftState_ = Qt::NoModifier;
};

}  // namespace vantlo
