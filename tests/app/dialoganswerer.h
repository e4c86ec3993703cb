// Answers the modal windows a window under test opens, the way a user does: only once the
// window is shown and has the keyboard focus. A window that is still settling (a file dialog
// that has not yet given its name field the focus) is never answered early, and no timer races
// it: the answer is queued from the focus change, so it runs inside the modal window's own event
// loop right after the focus has arrived.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class tdialoganswerer : public QObject {
 public:
  // `answer` gets the modal window; it must close it (or leave it open on purpose).
  explicit tdialoganswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    QObject::connect(qApp, &QApplication::focusChanged, this, [this] { Consider(); });
    qApp->installEventFilter(this);
  }

 protected:
  // A window being shown is looked at too: a modal window can open while no window has the
  // keyboard (a main window shown just before is still being activated), and then no focus
  // change would ever come for it.
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show && object->isWidgetType() &&
        static_cast<QWidget*>(object)->isWindow())
      Consider();
    return false;
  }

 private:
  // Looks once the event that called it is over: a window being shown becomes the active modal
  // window only after its show event.
  void Consider() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          pending_ = false;
          QWidget* modal = QApplication::activeModalWidget();
          if (!modal || !modal->isVisible()) return;
          QWidget* focus = QApplication::focusWidget();
          if (focus && focus->window() == modal) {
            answer_(modal);
            return;
          }
          // Shown, but without the keyboard: bring it forward as a user's click would; the
          // focus it gets then brings us back here.
          modal->activateWindow();
        },
        Qt::QueuedConnection);
  }

  std::function<void(QWidget*)> answer_;
  bool pending_ = false;
};
