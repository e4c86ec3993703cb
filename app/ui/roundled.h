// A round status light (RoundLed): a filled circle in its "on" colour or its "off" colour.
#pragma once

#include <QColor>
#include <QWidget>

namespace vantlo {

class troundled : public QWidget {
  Q_OBJECT
 public:
  troundled(const QColor& on, const QColor& off, QWidget* parent = nullptr);
  void SetOn(bool on);
  bool IsOn() const { return on_; }
  QColor Colour() const { return on_ ? onColour_ : offColour_; }
  QSize sizeHint() const override { return {16, 16}; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor onColour_;
  QColor offColour_;
  bool on_ = false;
};

}  // namespace vantlo
