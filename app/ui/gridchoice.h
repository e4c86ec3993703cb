// The layout controls the "Contact Sheet Setup" and "Page Setup" dialogs share: the line
// "<lead> [first] <middle> [second] <last>" with "( Giving a total of N pictures per page )"
// below it, updated on every change, and the " Margins : " slider from "Smaller" to "Larger"
// (positions 0..10); and the "OK" / "Cancel" row of both dialogs.
#pragma once

#include <QWidget>

class QDialog;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;

namespace vantlo {

class tgridchoice : public QWidget {
  Q_OBJECT
 public:
  struct tcaptions {
    const char* lead;
    const char* middle;
    const char* last;
  };
  // Both numbers run from 1 to `maximum`.
  tgridchoice(const tcaptions& captions, int maximum, int first, int second, int marginPosition,
              QWidget* parent = nullptr);

  void UpdateTotal();

  QSpinBox* FirstEdit = nullptr;
  QSpinBox* SecondEdit = nullptr;
  QLabel* TotalLabel = nullptr;
  QSlider* MarginSlider = nullptr;
};

// A number box from 1 to `maximum` showing `value`.
QSpinBox* NumberBox(int maximum, int value);

// "OK" (the default button, accepts) and "Cancel" (rejects) at the right of a row.
QHBoxLayout* OkCancelRow(QDialog& dialog, QPushButton*& ok, QPushButton*& cancel);

}  // namespace vantlo
