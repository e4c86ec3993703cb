// The " Resize " group of the correction page: the size list, "Apply" and
// the size report, with the saving quality slider.
#pragma once

#include <QObject>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QWidget;

namespace vantlo {

class twindowhost;

class tresizegroup : public QObject {
  Q_OBJECT
 public:
  // Adds the group at the top of `page`; works on the host's picture view.
  tresizegroup(twindowhost& host, QWidget* page);

  // "Apply".
  void Button9Click();
  // Shows "JPEG Quality N %" (done whenever the page is entered).
  void ShowQuality();
  int SavingQuality() const;

  QComboBox* ComboBox6 = nullptr;  // size choice
  QPushButton* Button9 = nullptr;  // Apply
  QSlider* TrackBar12 = nullptr;   // saving quality 0..100
  QLabel* QualityLabel = nullptr;
  QLabel* OriginalSizeLabel = nullptr;
  QLabel* CurrentSizeLabel = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  twindowhost& host_;
  QWidget* page_;
};

}  // namespace vantlo
