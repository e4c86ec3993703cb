// The " Resize " group of the correction page: the size list, "Apply" and the size report. The
// saving quality comes from the page's slider.
#pragma once

#include <QGroupBox>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;

namespace vantlo {

class twindowhost;

class tresizegroup : public QGroupBox {
  Q_OBJECT
 public:
  // Works on the host's picture view; `savingQuality` gives the quality to measure at (0..100).
  tresizegroup(twindowhost& host, std::function<int()> savingQuality);

  // "Apply".
  void Button9Click();

  QComboBox* ComboBox6 = nullptr;  // size choice
  QPushButton* Button9 = nullptr;  // Apply
  QLabel* OriginalSizeLabel = nullptr;
  QLabel* CurrentSizeLabel = nullptr;

 private:
  twindowhost& host_;
  std::function<int()> savingQuality_;
};

}  // namespace vantlo
