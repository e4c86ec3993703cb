#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTimer>  // for the tests that include this header

#include "dialoganswerer.h"

// Answers message boxes that a window under test opens, and records their
// texts, so a test never waits on a modal box. Boxes with a Yes button get
// `answerYes` when set; otherwise the escape (or only) button is pressed.
// Each box is answered once it is shown and has the focus (tdialoganswerer).
class tmodalcloser : public QObject {
 public:
  explicit tmodalcloser(bool closeAllDialogs = false)
      : closeAll_(closeAllDialogs), answerer_([this](QWidget* w) { Answer(w); }) {}
  QStringList texts;
  bool answerYes = false;

 private:
  void Answer(QWidget* w) {
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
  bool closeAll_;
  tdialoganswerer answerer_;
};
