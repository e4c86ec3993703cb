#include "popupbutton.h"

#include <QApplication>
#include <QMenu>
#include <QMouseEvent>

namespace vantlo {

tpopupbutton::tpopupbutton(const QString& caption, QMenu* menu, QWidget* parent)
    : QToolButton(parent), popup_(menu) {
  setText(caption);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  setToolTip(caption + " (Shift+click or right-click for more)");
  connect(this, &QToolButton::clicked, this, &tpopupbutton::OnClicked);
}

void tpopupbutton::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    OpenMenu();
    event->accept();
    return;
  }
  QToolButton::mousePressEvent(event);
}

void tpopupbutton::mouseReleaseEvent(QMouseEvent* event) {
  releaseModifiers_ = event->modifiers();
  QToolButton::mouseReleaseEvent(event);
  releaseModifiers_ = Qt::NoModifier;
}

void tpopupbutton::OnClicked() {
  if ((releaseModifiers_ | QApplication::keyboardModifiers()) & Qt::ShiftModifier) {
    OpenMenu();
    return;
  }
  if (!popup_) return;
  for (QAction* a : popup_->actions()) {
    if (a->isSeparator()) continue;
    if (a->isEnabled()) a->trigger();
    return;
  }
}

void tpopupbutton::OpenMenu() {
  if (popup_) popup_->popup(mapToGlobal(QPoint(0, height())));
}

}  // namespace vantlo
