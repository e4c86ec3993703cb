#pragma once

#include <QToolButton>

namespace vantlo {

// Tool bar button with a pop-up menu: a click runs the first item of the
// menu; a click with Shift held, or a press of the right mouse button,
// opens the menu instead.
class tpopupbutton : public QToolButton {
  Q_OBJECT
 public:
  tpopupbutton(const QString& caption, QMenu* menu, QWidget* parent = nullptr);
  QMenu* PopupMenu() const { return popup_; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void OnClicked();
  void OpenMenu();
  QMenu* popup_;
  Qt::KeyboardModifiers releaseModifiers_ = Qt::NoModifier;  // of the click being handled
};

}  // namespace vantlo
