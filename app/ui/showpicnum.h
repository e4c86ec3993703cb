#pragma once

#include <QDialog>
#include <functional>

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
  // Enables "Fetch" (also Enter in the number field): it closes the dialog and hands the
  // chosen number to `fetch`.
  void SetFetch(std::function<void(int)> fetch);
  void FetchClick();

  QLabel* CountLabel = nullptr;
  QSpinBox* NumberEdit = nullptr;
  QPushButton* ShowButton = nullptr;
  QPushButton* FetchButton = nullptr;
  QPushButton* CloseButton = nullptr;

 private:
  tcameralink& link_;
  std::function<void(int)> fetch_;
};

}  // namespace vantlo
