#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;

namespace vantlo {

class tcameralink;

// "Show Picture by Number": shows a picture on the camera's own display.
class Tshowpicnum : public QDialog {
  Q_OBJECT
 public:
  Tshowpicnum(tcameralink& link, int count, QWidget* parent = nullptr);

  void ShowOnCameraClick();

  QLabel* CountLabel = nullptr;
  QSpinBox* NumberEdit = nullptr;
  QPushButton* ShowButton = nullptr;
  QPushButton* FetchButton = nullptr;
  QPushButton* CloseButton = nullptr;

 private:
  tcameralink& link_;
};

}  // namespace vantlo
