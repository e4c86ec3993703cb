// Answers the modal windows a window under test opens, the way a user does: only once the
// window is shown and has the keyboard focus. A window that is still settling (a file dialog
// that has not yet given its name field the focus) is never answered early, and no timer races
// it: the answer is queued from the focus change, so it runs inside the modal window's own event
// loop right after the focus has arrived.
#pragma once

#include <QApplication>
#include <QMetaObject>
#include <QPointer>
#include <QWidget>
#include <functional>

class tdialoganswerer : public QObject {
 public:
  // `answer` gets the modal window; it must close it (or leave it open on purpose).
  explicit tdialoganswerer(std::function<void(QWidget*)> answer) : answer_(std::move(answer)) {
    QObject::connect(qApp, &QApplication::focusChanged, this,
                     [this](QWidget*, QWidget* now) { Consider(now); });
  }

 private:
  void Consider(QWidget* now) {
    QWidget* modal = QApplication::activeModalWidget();
    if (!now || !modal || now->window() != modal || pending_ == modal) return;
    pending_ = modal;
    QMetaObject::invokeMethod(
        this,
        [this] {
          QPointer<QWidget> modal = pending_;
          pending_ = nullptr;
          QWidget* focus = QApplication::focusWidget();
          if (modal && modal == QApplication::activeModalWidget() && modal->isVisible() && focus &&
              focus->window() == modal) {
            answer_(modal);
          }
        },
        Qt::QueuedConnection);
  }

  std::function<void(QWidget*)> answer_;
  QPointer<QWidget> pending_;
};
