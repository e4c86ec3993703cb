#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

// Answers message boxes that a window under test opens, and records their
// texts, so a test never waits on a modal box. Boxes with a Yes button get
// `answerYes` when set; otherwise the escape (or only) button is pressed.
class tmodalcloser : public QObject {
 public:
  explicit tmodalcloser(bool closeAllDialogs = false) : closeAll_(closeAllDialogs) {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start();
  }
  QStringList texts;
  bool answerYes = false;

 private:
  void Poll() {
    QWidget* w = QApplication::activeModalWidget();
    if (!w) return;
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
      texts << box->text();
      QAbstractButton* b = nullptr;
      if (answerYes) b = box->button(QMessageBox::Yes);
      if (!b) b = box->escapeButton();
      if (!b && !box->buttons().isEmpty()) b = box->buttons().first();
      if (b) b->click();
      return;
    }
    if (closeAll_) {
      texts << "dialog:" + w->objectName();
      w->close();
    }
  }
  QTimer timer_;
  bool closeAll_;
};
