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

class TForm1;
class tpictureview;

class tresizegroup : public QObject {
  Q_OBJECT
 public:
  // Adds the group at the top of `page`.
  tresizegroup(TForm1& form, tpictureview& view, QWidget* page);

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
  TForm1& form_;
  tpictureview& view_;
  QWidget* page_;
};

}  // namespace vantlo
