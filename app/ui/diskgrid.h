// The Browse page's tile grid: draws the 80 x 80 tiles of a
// tdiskthumbmanager and forwards clicks and keys to it.
#pragma once

#include <QAbstractScrollArea>
#include <functional>

#include "library/diskthumbmanager.h"

namespace vantlo {

class Tdiskgrid : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit Tdiskgrid(QWidget* parent = nullptr);
  void SetManager(tdiskthumbmanager* manager);
  tdiskthumbmanager* Manager() const { return manager_; }

  // Re-shapes the grid after a listing or a resize and repaints.
  void Reshape();
  void RepaintItem(int n);
  tgridshape Shape() const { return shape_; }
  // Item under a viewport point, or 0 beyond the last item.
  int ItemAt(const QPoint& viewportPoint) const;
  // Scrolls so that item n is visible.
  void ShowItem(int n);

  // Called for a right click, at a global position.
  std::function<void(const QPoint&)> contextMenu;
  // Called after a double-click or Enter did something.
  std::function<void(tactivation)> activated;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void UpdateScrollBar();
  tdiskthumbmanager* manager_ = nullptr;
  tgridshape shape_;
};

}  // namespace vantlo
